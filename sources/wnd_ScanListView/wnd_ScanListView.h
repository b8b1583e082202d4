// The List of Windows window: the scan result as a table with check boxes,
// the Move and Create Profile buttons above it, and the Modify Cell popup
// menu on its geometry cells. The window owns the scan result while it is
// open: destroying it releases the store's buffers.
#pragma once
#include <windows.h>

#include <cstdint>

#include "scan_store.h"

// Creation data of the window (lpParam of CreateWindowExW): the store it
// shows and releases, and the creator's variable holding the window's
// handle, which is cleared when the window is destroyed.
struct STR_ScanListView_Create {
    STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA;
    HWND* p_hwnd_ScanListView;
};

enum : int {
    IDC_SCANLIST_BTN_MOVE = 1,
    IDC_SCANLIST_BTN_CREATEPROFILE = 2,
    IDC_SCANLIST_LISTVIEW = 4,
};

LRESULT CALLBACK WndProc_ScanListView(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
