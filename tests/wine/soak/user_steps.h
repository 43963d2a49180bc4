// What a user does to the running program, through its windows, menus and
// dialogs, with the X server's keyboard and mouse where a user would use them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct Program {
    DWORD process;
    HWND window;
};

// A menu command, as the menu sends it.
void Command(const Program& p, int id);
// 開く, and the file name typed into its dialog.
bool OpenThroughDialog(const Program& p, const std::string& name);
// The file dragged from the desktop and dropped on the main window.
bool DropFile(const Program& p, const std::string& path);
// Keys typed on the main window (xdotool key names).
bool TypeKeys(const Program& p, const std::string& keys);
// 編集 on the slot list's row: VOL set to volume, and newKey (an xdotool key
// name) pressed in the KEY field when given, then OK. The settings line the
// dialog stored, as the program writes it; nothing when the dialog did not
// take it.
std::optional<std::string> EditRow(const Program& p, int row, int volume, const char* newKey);
// Right-click on the row, then the menu's item at place, chosen with the keys;
// a place below 0 leaves the menu open.
bool RowMenu(const Program& p, int row, int place);
// 削除 on the slot list's row; its question is left to the box watch.
bool DeleteRow(const Program& p, int row);
// Cancels the dialogs with fields (file dialogs, the slot edit dialog) that a
// step left open; how many there were.
int CancelOpenDialogs(const Program& p);
