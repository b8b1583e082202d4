#include <windows.h>
#include <commctrl.h>

#include "modify_cell_layout.h"
#include "platform/zt_win.h"
#include "wnd_ScanListView/scan_list_commands.h"
#include "wnd_ScanListView/scan_list_internal.h"

namespace {

bool row_ticked(HWND hwndLV, uint32_t uiRow)
{
    return (static_cast<UINT>(SendMessageW(hwndLV, LVM_GETITEMSTATE, uiRow, 0xF000)) >> 12) >= 2;
}

// A geometry cell's number, converted as typed: sign, digits up to the
// first other character, 0 for none.
int32_t cell_number(HWND hwndLV, uint32_t uiRow, int iColumn)
{
    wchar_t tc[19] = {};
    LVITEMW it = {};
    it.iSubItem = iColumn;
    it.pszText = tc;
    it.cchTextMax = 19;
    SendMessageW(hwndLV, LVM_GETITEMTEXTW, uiRow, reinterpret_cast<LPARAM>(&it));
    return modify_cell_field_number(zt_Q(tc));
}

}  // namespace

int32_t onButton_Move(HWND /*hwndThis*/, HWND hwndLV, WPARAM, LPARAM, const uint8_t* pcDynMem_WinHndls,
                      uint32_t counter_valid)
{
    if (!hwndLV || !pcDynMem_WinHndls) {
        STR_ReportUnit* rep = rep_scanlist();
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR, incorrect input parameters\nline of error handler:%d");
        return -1;
    }
    const uint32_t* arrHwnd = reinterpret_cast<const uint32_t*>(pcDynMem_WinHndls);
    uint32_t uiTicked = 0;
    for (uint32_t i = 0; i < counter_valid; ++i) {
        if (!row_ticked(hwndLV, i)) continue;
        ++uiTicked;
        HWND hwnd = zt_hwnd(arrHwnd[i]);
        const int32_t x = cell_number(hwndLV, i, 2), y = cell_number(hwndLV, i, 3);
        const int32_t w = cell_number(hwndLV, i, 4), h = cell_number(hwndLV, i, 5);
        if (w == 0 || h == 0) continue;
        if (IsIconic(hwnd)) ShowWindowAsync(hwnd, SW_RESTORE);
        // Asynchronous: a program that does not answer cannot stop the loop.
        if (!SetWindowPos(hwnd, HWND_TOP, x, y, w, h, SWP_ASYNCWINDOWPOS | SWP_SHOWWINDOW)) {
            wchar_t tc[200];
            wsprintfW(tc, L"impossible to move one of windows:\nx = %d\ny = %d\nwidth = %d\nheight = %d\nProbably, it was closed. Try to SCAN again.",
                      x, y, w, h);
            zt_Box(nullptr, tc, L"error", MB_ICONINFORMATION);
        }
    }
    if (!uiTicked)
        zt_Box(nullptr, L"There are no selected items.\nSelect any item, change its position (or/and dimensions)\nand then press button Move.",
               L"info", MB_OK);
    return 1;
}
