// The Modify Cell window: four number fields X, Y, Width and Height for one
// row of the List of Windows table. Its OK writes the numbers back into the
// row's cells and into the row's geometry record in the scan result store.
// One such window exists at a time: opening another closes the first.
#pragma once
#include <windows.h>

#include <cstdint>

#include "scan_store.h"

// The cell that opens the window: it travels as the 12-byte data of a
// WM_COPYDATA message (dwData 0, cbData 12).
struct STR_CELL_ADDR {
    int32_t i_row;        // list row = store entry
    int32_t i_column;     // 2 to 5 (X, Y, Width, Height); kept, not used
    uint32_t ui_hwnd_LV;  // the list view, as zt_hwnd32 stores a handle
};
static_assert(sizeof(STR_CELL_ADDR) == 12, "STR_CELL_ADDR travels as 12 bytes");

// Control identifiers, in focus (TAB) order.
enum : int {
    IDC_MC_EDIT_X = 0,
    IDC_MC_EDIT_Y = 1,
    IDC_MC_EDIT_WIDTH = 2,
    IDC_MC_EDIT_HEIGHT = 3,
    IDC_MC_BTN_OK = 4,
    IDC_MC_BTN_CANCEL = 5,
    QD_MC_CONTROLS = 6,
};

extern const wchar_t* const QD_MODIFYCELL_CLASS;  // "Modify Cell Window"

// Opens the Modify Cell window on a cell of the list window's table:
// closes a Modify Cell window still open, registers the class on first
// use (instance of hwnd_ListOfWnds), creates the window 30 pixels right of
// and below the cursor, shows it and hands it the cell, which fills the
// fields from the row. OK later writes into pSTR_ENUM_WNDS_DATA, which
// must outlive the window. The new window is stored through
// p_hwnd_ModifyCell (null when none was created).
// Returns 1; -1 for a missing argument (reported); -2 when the window
// cannot be created, after the system's text for the error has been shown.
int32_t open_ModifyCell_window(HWND hwnd_ListOfWnds, const STR_CELL_ADDR* pSTR_CELL_ADDR,
                               STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA, HWND* p_hwnd_ModifyCell);

// Destroys the Modify Cell window if one is open (the list window calls
// this when it is destroyed, before the store is released).
void close_ModifyCell_window();

// The open Modify Cell window, or null.
HWND current_ModifyCell_window();

// OK: every field whose text is non-empty and all digits is written into
// its cell (columns 2 to 5 of row `row`); all four texts, converted by
// modify_cell_field_number whether valid or not, go into the row's
// geometry record; then hwndThis is destroyed.
// Returns 1; -1 missing hwndThis, hwndListView or pSTR; -2 the store has no
// handle or geometry buffer; -3 the row is not in the store. A negative
// result is reported and leaves the window open.
int32_t on_Button_OK(HWND hwndThis, HWND hwndListView, int32_t row, STR_ENUM_WNDS_DATA* pSTR);

LRESULT CALLBACK WndProc_ModifyCell(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
