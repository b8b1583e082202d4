#include "platform/zt_win.h"
#include "wnd_ScanListView/scan_list_commands.h"

// Saving profiles arrives with the profile writer and the Name of Profile
// window; until then the button says so plainly.
int32_t onButton_Create_Profile(HWND hwndThis, HWND, HWND*, STR_ENUM_WNDS_DATA*)
{
    zt_MessageBox(hwndThis, L"Creating profiles is not available in this version yet.", L"information", MB_OK);
    return 1;
}
