// State and handlers shared by the source files of the List of Windows
// window: the window procedure and layout, the filling of the list view,
// and the list view's notifications with the popup menu.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "profile_write_record.h"
#include "report/report.h"
#include "scan_store.h"
#include "wnd_ModifyCell/wnd_ModifyCell.h"
#include "wnd_ScanListView/wnd_ScanListView.h"

// State of the open window; one such window exists at a time.
struct STR_ScanListView {
    HWND hwnd;
    HINSTANCE hInst;
    HWND hWndBTN01;  // Move
    HWND hWndBTN02;  // Create Profile
    HWND hwndLV;
    HFONT hFont_buttons;
    HMENU hMenu;         // the loaded menu resource
    HMENU hMenu_Popup;   // its first submenu
    int32_t iHitRow;     // last hit cell, from a click or right-click
    int32_t iHitColumn;
    STR_CELL_ADDR cellModify;  // cell of the latest Modify Cell command
    HWND hwnd_ModifyCell;      // latest Modify Cell window
    HWND hwnd_ProfileName;     // Name of Profile window of Create Profile
    STR_RW_PRFL rwProfile;     // the profile being created, taken when Create Profile is pressed
    STR_ENUM_WNDS_DATA* pSTR;  // the store shown; released on destruction
    HWND* p_hwnd_Self;         // creator's variable holding this window
};

// The state of a List of Windows window (kept in its user data from
// WM_CREATE on), null for any other window.
STR_ScanListView* ScanListView_state(HWND hwnd);

// Report buffer of the window's unit.
STR_ReportUnit* rep_scanlist();

// Creates the list view (control id uiCtlID) over the client area, with
// check boxes, grid lines and double buffering, its six columns and one row
// per entry of the store. Returns 1; -1 for missing input, -2 when the list
// view cannot be created (both reported).
int32_t on_WM_CREATE_02_ListView(HWND hwndThis, HINSTANCE hInst, HWND* p_hwndLV, UINT uiCtlID,
                                 const STR_ENUM_WNDS_DATA* pSTR);

// Notifications of the list view: a row is selected exactly when ticked;
// clicks remember the hit cell; a right-click on a geometry cell opens the
// popup menu.
void on_WM_NOTIFY_ListView(HWND hwndThis, HWND hwndLV, const NMLISTVIEW* pNM, STR_ScanListView* p);

// The click handlers with the cursor's screen position as a plain value.
void onListView_Click(STR_ScanListView* p, POINT ptScreen);
void onListView_RClick(STR_ScanListView* p, POINT ptScreen);

// Menu command Modify Cell: takes the last hit cell.
void onMenu_ModifyCell(STR_ScanListView* p);
