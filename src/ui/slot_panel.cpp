#include "ui/slot_panel.h"

#include <cstdio>

#include "res/resource_ids.h"
#include "slots/sound_slot.h"
#include "ui/custom_button.h"
#include "ui/loading_splash.h"
#include "ui/slot_rows.h"
#include "util/font.h"
#include "util/path_names.h"

namespace {

const char* const kHeaderCaptions[kRowCaptions] = {"ドラムパーツ", "キー", "Vol", "Pan", "ファイル名"};

HFONT panelFont;
Lumo::CustomButton* header;
Lumo::CustomButton* rows[kSlotTableSize];
// Each row keeps the captions it shows: a key without a name keeps the old one.
char rowTexts[kSlotTableSize][kRowCaptions][kCaptionSize];

HBITMAP face(int number)
{
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(number),
                                           IMAGE_BITMAP, 0, 0, 0));
}

void fillRow(int i)
{
    rowCaptions(soundSlots[i], FileNamePart(soundSlots[i].path), rowTexts[i]);
    for (int c = 0; c < kRowCaptions; ++c)
        rows[i]->SetCaption(c, kCaptionX[c], 0, rowTexts[i][c]);
    rows[i]->RedrawFace();
}

void placeRows(int32_t onlyPart, LoadingSplash* splash)
{
    int centres[kSlotTableSize];
    rowCentres(soundSlots, onlyPart, centres);
    for (Lumo::CustomButton* row : rows)
        ShowWindow(row->GetHandle(), SW_HIDE);
    for (int i = 0; i < kSlotTableSize; ++i) {
        if (centres[i] >= 0) {
            rows[i]->SetCenter(kRowCentreX, centres[i]);
            ShowWindow(rows[i]->GetHandle(), SW_SHOWNORMAL);
        }
        if (splash) {
            char text[32];
            std::snprintf(text, sizeof text, "ボタン%dを表示", i);
            splash->SetProgressText(text);
        }
    }
}

}  // namespace

void BuildSlotPanel(HWND panel, LoadingSplash* splash)
{
    panelFont = MakeFont("Tahoma", 13, 0, 800);
    // The faces are shared by all buttons: read only, never freed.
    HBITMAP headerFace = face(IDB_ROW_HEADER), rowFace = face(IDB_ROW_NORMAL);
    HBITMAP hoverFace = face(IDB_ROW_HOVER), pressedFace = face(IDB_ROW_PRESSED);
    Lumo::CreateCustomButton(panel, &header);
    header->SetFont(panelFont);
    for (int c = 0; c < kRowCaptions; ++c)
        header->SetCaption(c, kCaptionX[c], 0, kHeaderCaptions[c]);
    header->SetSkin(headerFace, pressedFace, hoverFace);
    header->SetCenter(kRowCentreX, kFirstRowCentre - kRowStep);
    // The header never reacts to the mouse and never opens a menu.
    EnableWindow(header->GetHandle(), FALSE);

    for (int i = 0; i < kSlotTableSize; ++i) {
        Lumo::CreateCustomButton(panel, &rows[i]);
        rows[i]->SetFont(panelFont);
        fillRow(i);
        splash->SetProgressText(rowTexts[i][4]);
        rows[i]->SetSkin(rowFace, pressedFace, hoverFace);
        rows[i]->SetCenter(kRowCentreX, kFirstRowCentre + kRowStep * i);
        rows[i]->rowIndex = i;
    }
}

void RefreshSlotRows()
{
    for (int i = 0; i < kSlotTableSize; ++i) {
        fillRow(i);
        rows[i]->SetCenter(kRowCentreX, kFirstRowCentre + kRowStep * i);
        rows[i]->rowIndex = i;
    }
}

void ShowAllSlotRows(LoadingSplash* splash)
{
    placeRows(-1, splash);
}

void ShowPartSlotRows(int32_t partId)
{
    placeRows(partId, nullptr);
}
