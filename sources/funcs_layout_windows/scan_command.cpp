#include "funcs_layout_windows/scan_command.h"

#include "funcs_layout_windows/explorer_folders.h"
#include "funcs_layout_windows/scan_passes.h"
#include "funcs_layout_windows/unit_reports.h"
#include "layout_scan_list.h"
#include "main_prg/main_window.h"
#include "platform/zt_win.h"
#include "wnd_ScanListView/wnd_ScanListView.h"

namespace {

// What one Scan learns of processes and windows, kept for both walks and
// forgotten by the store when the command ends, on every path.
struct ProcMemo {
    explicit ProcMemo(STR_ENUM_WNDS_DATA* pSTR) : p(pSTR) { p->pProcPaths = &paths; }
    ~ProcMemo() { p->pProcPaths = nullptr; }
    ProcMemo(const ProcMemo&) = delete;
    ProcMemo& operator=(const ProcMemo&) = delete;
    STR_ENUM_WNDS_DATA* p;
    STR_ProcPaths paths;
};

// Nothing to list: the counts say so in a notice, and no list opens.
void show_nothing_found(const STR_ENUM_WNDS_DATA* pSTR)
{
    const wchar_t* ptcText = zt_ComposeReport(rep_layout(), "Number of found valid windows = %d\nMax length of path to valid windows = %d",
                                              static_cast<int32_t>(pSTR->counter_valid),
                                              static_cast<int32_t>(pSTR->uiMaxLen_inBytes_AllPath));
    zt_Box(nullptr, ptcText, L"info", MB_OK);
}

// The five entry buffers, in their order, sized for the counted entries.
// Stops at the first failure; what was taken stays in the store until
// its next release.
bool allocate_entry_buffers(STR_ENUM_WNDS_DATA* pSTR)
{
    STR_ScanBufSizes s = {};
    if (scan_buffer_sizes(pSTR->counter_valid, pSTR->uiMaxLen_inBytes_AllPath, &s) < 0) return false;
    pSTR->arr1D_ui_LenPath = static_cast<uint32_t*>(zt_VirtualAlloc(s.ui_LenPath));
    if (!pSTR->arr1D_ui_LenPath) return false;
    pSTR->arr1D_uc_flag_FP = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_flag_FP));
    if (!pSTR->arr1D_uc_flag_FP) return false;
    pSTR->pcDynMem_GeomText = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_GeomText));
    if (!pSTR->pcDynMem_GeomText) return false;
    pSTR->pcDynMem_WinHndls = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_WinHndls));
    if (!pSTR->pcDynMem_WinHndls) return false;
    pSTR->pcDynMem_FullPaths = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_FullPaths));
    return pSTR->pcDynMem_FullPaths != nullptr;
}

void open_list_window(HWND hwndThis, HWND* p_hwnd_ScanListView, STR_ENUM_WNDS_DATA* pSTR)
{
    const STR_Size size = scan_list_window_size(zt_ScreenW(), zt_ScreenH());
    HINSTANCE hInst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwndThis, GWLP_HINSTANCE));
    STR_ScanListView_Create create = {pSTR, p_hwnd_ScanListView};
    *p_hwnd_ScanListView = CreateWindowExW(0, QD_SCANLIST_CLASS, L"List of windows", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                           QD_SCANLIST_LEFT, QD_SCANLIST_TOP, size.i_w, size.i_h, nullptr, nullptr,
                                           hInst, &create);
    if (!*p_hwnd_ScanListView) zt_ShowLastError();
}

}  // namespace

int32_t onButton_Scan_Clicked(HWND hwndThis, HWND* p_hwnd_ScanListView, WPARAM, LPARAM, STR_ENUM_WNDS_DATA* pSTR)
{
    STR_ReportUnit* rep = rep_layout();
    if (!hwndThis || !pSTR || !p_hwnd_ScanListView) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\nhwndThis = %p\npSTR = %p\np_hwnd_ScanListView = %p\nline of error handler:%d",
                  hwndThis, pSTR, p_hwnd_ScanListView);
        return -1;
    }
    if (!pSTR->uiSize_TmpBuf_Path) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\npSTR->uiSize_TmpBuf_Path = %u\n\nline of error handler:%d",
                  pSTR->uiSize_TmpBuf_Path);
        return -1;
    }

    // The open list goes first: its destruction releases the store and
    // closes the windows opened from it.
    if (*p_hwnd_ScanListView && IsWindow(*p_hwnd_ScanListView)) DestroyWindow(*p_hwnd_ScanListView);
    *p_hwnd_ScanListView = nullptr;
    scan_store_release_win(pSTR);

    pSTR->pcTmpBuf_Prg_Folder_Path = static_cast<uint8_t*>(zt_VirtualAlloc(pSTR->uiSize_TmpBuf_Path));
    if (!pSTR->pcTmpBuf_Prg_Folder_Path) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- VirtualAlloc()\nline of error handler:%d");
        return -3;
    }
    pSTR->counter_valid = 0;
    pSTR->uiMaxLen_inBytes_PrgPath = 0;
    pSTR->uiMaxLen_inBytes_FolderPath = 0;

    ProcMemo memo(pSTR);  // both walks ask each process once
    if (!EnumWindows(EnumWindowsProc_Calc, reinterpret_cast<LPARAM>(pSTR))) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- EnumWindows()\nline of error handler:%d");
        return -2;
    }
    GetCurrentExplorerFolders_01(pSTR);  // without folder paths the scan goes on
    pSTR->uiMaxLen_inBytes_AllPath = pSTR->uiMaxLen_inBytes_PrgPath > pSTR->uiMaxLen_inBytes_FolderPath
                                         ? pSTR->uiMaxLen_inBytes_PrgPath
                                         : pSTR->uiMaxLen_inBytes_FolderPath;
    if (pSTR->counter_valid == 0 || pSTR->uiMaxLen_inBytes_AllPath == 0) {
        show_nothing_found(pSTR);
        return 1;
    }

    if (!allocate_entry_buffers(pSTR)) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- VirtualAlloc()\nline of error handler:%d");
        return -3;
    }
    pSTR->counter_filled = 0;
    if (!EnumWindows(EnumWindowsProc_Calc_02, reinterpret_cast<LPARAM>(pSTR))) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- EnumWindows()\nline of error handler:%d");
        return -2;
    }
    // Windows counted but closed before the filling pass leave no rows.
    if (scan_store_trim(pSTR) == 0) {
        show_nothing_found(pSTR);
        return 1;
    }
    GetCurrentExplorerFolders_02(pSTR);  // Explorer entries may stay without paths

    open_list_window(hwndThis, p_hwnd_ScanListView, pSTR);
    return 1;
}
