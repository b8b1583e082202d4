#include "platform/zt_win.h"
#include "wnd_ScanListView/scan_list_commands.h"

// Moving windows arrives with the Modify Cell window; until then the
// button says so plainly.
int32_t onButton_Move(HWND hwndThis, HWND, WPARAM, LPARAM, uint8_t*, uint32_t)
{
    zt_MessageBox(hwndThis, L"Moving windows is not available in this version yet.", L"information", MB_OK);
    return 1;
}
