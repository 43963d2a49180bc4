// The slot list: a header and one row per entry of the sound slot table,
// owner-painted buttons in the slot panel window.
#pragma once

#include <windows.h>

#include <cstdint>

class LoadingSplash;

// Builds the header and the 60 rows once, telling the splash about each.
void BuildSlotPanel(HWND panel, LoadingSplash* splash);
// Refills every row from the table and puts it back at its table position.
void RefreshSlotRows();
// Shows the rows of every used slot, packed from the top.
void ShowAllSlotRows(LoadingSplash* splash);
// Shows only the used slots of one drum part.
void ShowPartSlotRows(int32_t partId);
