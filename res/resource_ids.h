// The numbers of the program's resources, menu commands and dialog controls,
// read by pokopon.rc and by the code alike: plain defines, which windres
// understands. The numbers stay as they are; the tests know them.
#pragma once

#define IDI_POKOPON 1  // the program's icon, also in the about box

#define IDR_MAIN_MENU 109  // the main window's menu, and its carried accelerators
#define IDD_SLOT_EDIT 102
#define IDD_ABOUT 103

// The main menu's commands.
#define IDM_OPEN 32792
#define IDM_STOP_PLAYBACK 32795
#define IDM_SAVE 32796
#define IDM_QUIT 105
#define IDM_START_RECORDING 32799
#define IDM_STOP_RECORDING 32800
#define IDM_RATE_MINUS_3 32808
#define IDM_RATE_MINUS_2 32809
#define IDM_RATE_MINUS_1 32810
#define IDM_RATE_44100 32811
#define IDM_RATE_PLUS_1 32812
#define IDM_RATE_PLUS_2 32813
#define IDM_RATE_PLUS_3 32814
#define IDM_ABOUT 104

// The right-click menus' commands: RBTN_MENU1 on a drum part, RBTN_MENU2 on
// a slot row.
#define IDM_SHOW_PART 50000
#define IDM_ADD 50001
#define IDM_SHOW_ALL 32778  // in both; also the show-slots message's "all"
#define IDM_MINIMISE 32788
#define IDM_EDIT 32779
#define IDM_DELETE 32782

// The slot edit dialog's controls besides IDOK and IDCANCEL.
#define IDC_BROWSE 3
#define IDC_KEY 1001
#define IDC_PATH 1002
#define IDC_VOLUME 1003
#define IDC_PAN 1004
#define IDC_KEY_NAME 1005
// The about box's controls that have an id.
#define IDC_ABOUT_ICON 109
#define IDC_ABOUT_VERSION 104

#define IDB_LOADING_SPLASH 224
// The faces of the slot list's rows.
#define IDB_ROW_HEADER 141
#define IDB_ROW_NORMAL 142
#define IDB_ROW_HOVER 143
#define IDB_ROW_PRESSED 144
// The drum kit's pictures and masks.
#define IDB_BASS_DRUM 149
#define IDB_SPLASH_CYMBAL 222
#define IDB_CYMBAL_MASK 225
#define IDB_CYMBAL 231
#define IDB_SNARE 232
#define IDB_SNARE_HEAD_MASK 233
#define IDB_MID_TOM_MASK 234
#define IDB_MID_TOM 235
#define IDB_HIGH_TOM 236
#define IDB_HIGH_TOM_MASK 237
#define IDB_FLOOR_TOM 238
#define IDB_FLOOR_TOM_MASK 239
#define IDB_BASS_DRUM_MASK 241
#define IDB_SNARE_RIM_MASK 244
#define IDB_HIHAT 245
#define IDB_HIHAT_MASK 246
#define IDB_SPLASH_CYMBAL_MASK 248
#define IDB_COWBELL 249
#define IDB_COWBELL_MASK 250
#define IDB_BELL_MASK 255

// The default sound set.
#define IDR_SETTING_CSV 196
#define IDR_BASS2_WAV 197
#define IDR_CHINA1_WAV 198
#define IDR_CHINA2_WAV 199
#define IDR_CRASH1_WAV 200
#define IDR_CRASH2_WAV 201
#define IDR_HHCLOSE1_WAV 202
#define IDR_HHCLOSE2_WAV 203
#define IDR_HHOPEN_WAV 204
#define IDR_RIDE_WAV 205
#define IDR_RIDE_H_WAV 206
#define IDR_RIM_WAV 207
#define IDR_SNR1_WAV 208
#define IDR_SNR2_WAV 209
#define IDR_SNR3_WAV 210
#define IDR_SNR4_WAV 211
#define IDR_SPLASH_WAV 212
#define IDR_TAM1E_WAV 213
#define IDR_TAM2E_WAV 214
#define IDR_TAM3E_WAV 215
#define IDR_TAMH2_WAV 216
#define IDR_TAML2_WAV 217
#define IDR_TAMM2_WAV 218
#define IDR_COWBELL_WAV 252

// The exporter's progress dialog.
#define IDD_EXPORT_PROGRESS 110
#define IDC_EXPORT_TEXT 1101
#define IDC_EXPORT_BAR 1102
