#include "funcs_layout_windows/scan_command.h"

#include "platform/zt_win.h"

int32_t onButton_Scan_Clicked(HWND hwndThis, HWND* /*p_hwnd_ScanListView*/, WPARAM, LPARAM, STR_ENUM_WNDS_DATA* /*pSTR*/)
{
    zt_MessageBox(hwndThis, L"Scanning is not available in this version yet.", L"information", MB_OK);
    return 1;
}
