#include "funcs_layout_windows/scan_passes.h"

#include <psapi.h>

#include <cstring>

#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"
#include "window_rules.h"

namespace {

enum : uint32_t {
    N_CAPTION_COUNTING = 512,
    N_CAPTION_FILLING = 1000,
    N_CLASS_NAME = 250,
    MIN_SCRATCH_BYTES = 4,  // a path unit and the terminator
};

HANDLE sys_open(void*, DWORD dwProcessId)
{
    return OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwProcessId);
}

DWORD sys_module_file_name(void*, HANDLE hProcess, wchar_t* ptcBuf, DWORD uiN_Chars)
{
    return GetModuleFileNameExW(hProcess, nullptr, ptcBuf, uiN_Chars);
}

DWORD sys_image_name(void*, HANDLE hProcess, wchar_t* ptcBuf, DWORD uiN_Chars)
{
    DWORD dwN = uiN_Chars;
    return QueryFullProcessImageNameW(hProcess, 0, ptcBuf, &dwN) ? dwN : 0;
}

const STR_ProcQueries g_sysQueries = {sys_open, sys_module_file_name, sys_image_name, nullptr};
const STR_ProcQueries* g_pQueries = &g_sysQueries;
STR_ProcPaths* g_pPaths = nullptr;  // the living scope's record

// Opens the process and reads its path: what a window costs without a scope.
QD_WndVerdict ask_process(DWORD dwPid, wchar_t* ptcBuf, uint32_t uiSize, uint32_t* puiN_Path)
{
    zt_Handle process(g_pQueries->pfnOpen(g_pQueries->pCtx, dwPid));
    if (!process) return QD_WND_SKIPPED;
    *puiN_Path = read_process_path(process.get(), ptcBuf, uiSize);
    if (*puiN_Path) return QD_WND_ELIGIBLE;
    const DWORD dwErr = GetLastError();
    process.reset();
    SetLastError(dwErr);  // for the system-error box that follows
    return QD_WND_PATH_FAILED;
}

// What a process gave before, as if it were asked again.
QD_WndVerdict replay(const STR_ProcPath* e, wchar_t* ptcBuf, uint32_t uiSize, uint32_t* puiN_Path)
{
    if (e->uc_Kind == QD_PROC_NOT_OPENED) return QD_WND_SKIPPED;
    std::memset(ptcBuf, 0, uiSize);
    if (e->uc_Kind == QD_PROC_NO_PATH) {
        SetLastError(e->ui_Error);
        return QD_WND_PATH_FAILED;
    }
    const uint32_t uiCap = uiSize / 2 - 1;
    *puiN_Path = e->uiN_Path < uiCap ? e->uiN_Path : uiCap;
    std::memcpy(ptcBuf, proc_paths_text(g_pPaths, e), *puiN_Path * sizeof(wchar_t));
    return QD_WND_ELIGIBLE;
}

bool scratch_usable(const STR_ENUM_WNDS_DATA* p)
{
    return p->pcTmpBuf_Prg_Folder_Path && p->uiSize_TmpBuf_Path >= MIN_SCRATCH_BYTES;
}

bool class_excluded(HWND hwnd)
{
    wchar_t ptcClass[N_CLASS_NAME] = {};
    GetClassNameW(hwnd, ptcClass, N_CLASS_NAME);
    return is_excluded_class(zt_Q(ptcClass));
}

// The window's owning process; false when its class is excluded. Asked
// once per window while a scope lives: neither changes while it exists.
bool window_owner(HWND hwnd, DWORD* pdwPid)
{
    if (const STR_WndOwner* w = proc_paths_find_window(g_pPaths, zt_hwnd32(hwnd))) {
        *pdwPid = w->ui_Pid;
        return !w->b_Excluded;
    }
    const bool bExcluded = class_excluded(hwnd);
    if (!bExcluded) GetWindowThreadProcessId(hwnd, pdwPid);
    proc_paths_keep_window(g_pPaths, zt_hwnd32(hwnd), *pdwPid, bExcluded);
    return !bExcluded;
}

// System-error box, then the pass's report: the path of an eligible
// window's process could not be read.
BOOL report_path_failure(const char* pcFunc, int iLine)
{
    STR_ReportUnit* rep = rep_layout();
    zt_ShowLastError();
    rep->iLine = iLine;
    zt_Report(rep, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- GetModuleFileNameEx()\nline of error handler:%d",
              __FILE__, pcFunc, rep->iLine, __LINE__);
    return FALSE;
}

}  // namespace

uint32_t read_caption(HWND hwnd, wchar_t* ptcCaption, uint32_t uiCap)
{
    if (!ptcCaption || !uiCap) return 0;
    ptcCaption[0] = 0;
    DWORD_PTR dwCopied = 0;
    LRESULT n = 0;
    if (SendMessageTimeoutW(hwnd, WM_GETTEXT, uiCap, reinterpret_cast<LPARAM>(ptcCaption), SMTO_ABORTIFHUNG,
                            QD_CAPTION_WAIT_MS, &dwCopied)) {
        n = static_cast<LRESULT>(dwCopied);
    } else {
        // Not answering: the caption the system keeps for the window, read
        // without sending the program anything.
        ptcCaption[0] = 0;
        n = InternalGetWindowText(hwnd, ptcCaption, static_cast<int>(uiCap));
    }
    if (n <= 0) {
        ptcCaption[0] = 0;
        return 0;
    }
    const uint32_t uiN = static_cast<uint32_t>(n) < uiCap ? static_cast<uint32_t>(n) : uiCap - 1;
    ptcCaption[uiN] = 0;
    return uiN;
}

const STR_ProcQueries* scan_system_proc_queries() { return &g_sysQueries; }

const STR_ProcQueries* scan_proc_queries() { return g_pQueries; }

void scan_set_proc_queries(const STR_ProcQueries* pSTR_Queries)
{
    g_pQueries = pSTR_Queries ? pSTR_Queries : &g_sysQueries;
}

uint32_t read_process_path(HANDLE hProcess, wchar_t* ptcBuf, uint32_t uiSize)
{
    if (!hProcess || !ptcBuf || uiSize < MIN_SCRATCH_BYTES) return 0;
    const DWORD uiN_Chars = uiSize / 2 - 1;  // the last unit stays the terminator
    std::memset(ptcBuf, 0, uiSize);
    if (g_pQueries->pfnModuleFileName(g_pQueries->pCtx, hProcess, ptcBuf, uiN_Chars))
        return static_cast<uint32_t>(qd_strlen(zt_Q(ptcBuf)));
    // A 32-bit program cannot read a 64-bit process's modules, and some
    // processes hide them; the image name needs only limited rights.
    const DWORD dwModuleErr = GetLastError();
    std::memset(ptcBuf, 0, uiSize);
    if (g_pQueries->pfnImageName(g_pQueries->pCtx, hProcess, ptcBuf, uiN_Chars))
        return static_cast<uint32_t>(qd_strlen(zt_Q(ptcBuf)));
    std::memset(ptcBuf, 0, uiSize);
    SetLastError(dwModuleErr);
    return 0;
}

ProcPathScope::ProcPathScope() : m_pOuter(g_pPaths) { g_pPaths = &m_paths; }

ProcPathScope::~ProcPathScope() { g_pPaths = m_pOuter; }

QD_WndVerdict process_path_of(DWORD dwPid, wchar_t* ptcBuf, uint32_t uiSize, uint32_t* puiN_Path)
{
    *puiN_Path = 0;
    if (!ptcBuf || uiSize < MIN_SCRATCH_BYTES) return QD_WND_PATH_FAILED;
    if (const STR_ProcPath* e = proc_paths_find(g_pPaths, dwPid)) return replay(e, ptcBuf, uiSize, puiN_Path);
    const QD_WndVerdict v = ask_process(dwPid, ptcBuf, uiSize, puiN_Path);
    const DWORD dwErr = GetLastError();
    const QD_ProcPathKind kind = v == QD_WND_ELIGIBLE  ? QD_PROC_PATH
                                 : v == QD_WND_SKIPPED ? QD_PROC_NOT_OPENED
                                                       : QD_PROC_NO_PATH;
    proc_paths_keep(g_pPaths, dwPid, kind, dwErr, zt_Q(ptcBuf), *puiN_Path);
    SetLastError(dwErr);
    return v;
}

QD_WndVerdict scan_window_facts(HWND hwnd, wchar_t* ptcCaption, uint32_t uiCaptionCap, STR_ENUM_WNDS_DATA* pSTR,
                                STR_WndFacts* pFacts)
{
    if (!hwnd || !ptcCaption || !uiCaptionCap || !pSTR || !pFacts || !scratch_usable(pSTR)) return QD_WND_SKIPPED;
    if (!IsWindowVisible(hwnd)) return QD_WND_SKIPPED;
    const uint32_t uiN_Caption = read_caption(hwnd, ptcCaption, uiCaptionCap);
    if (!uiN_Caption) return QD_WND_SKIPPED;
    DWORD dwPid = 0;
    if (!window_owner(hwnd, &dwPid)) return QD_WND_SKIPPED;
    wchar_t* ptcPath = reinterpret_cast<wchar_t*>(pSTR->pcTmpBuf_Prg_Folder_Path);
    uint32_t uiN_Path = 0;
    const QD_WndVerdict v = process_path_of(dwPid, ptcPath, pSTR->uiSize_TmpBuf_Path, &uiN_Path);
    if (v != QD_WND_ELIGIBLE) return v;

    pFacts->uiN_Caption = uiN_Caption;
    pFacts->uiN_Path = uiN_Path;
    pFacts->b_Explorer = is_explorer_path(zt_Q(ptcPath), uiN_Path);
    return QD_WND_ELIGIBLE;
}

BOOL CALLBACK EnumWindowsProc_Calc(HWND hwnd, LPARAM lParam)
{
    STR_ReportUnit* rep = rep_layout();
    STR_ENUM_WNDS_DATA* pSTR = reinterpret_cast<STR_ENUM_WNDS_DATA*>(lParam);
    if (!pSTR) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\nlParam = %p\nline of error handler:%d",
                  __FILE__, __func__, rep->iLine, reinterpret_cast<void*>(lParam), __LINE__);
        return FALSE;
    }
    if (!scratch_usable(pSTR)) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\npcTmpBuf_Prg_Folder_Path = %p\nuiSize_TmpBuf_Path = %u\nline of error handler:%d",
                  __FILE__, __func__, rep->iLine, pSTR->pcTmpBuf_Prg_Folder_Path, pSTR->uiSize_TmpBuf_Path, __LINE__);
        return FALSE;
    }
    wchar_t ptcCaption[N_CAPTION_COUNTING];
    STR_WndFacts facts = {};
    const QD_WndVerdict v = scan_window_facts(hwnd, ptcCaption, N_CAPTION_COUNTING, pSTR, &facts);
    if (v == QD_WND_PATH_FAILED) return report_path_failure(__func__, __LINE__);
    // Explorer windows are counted; their folder paths are measured later.
    if (v == QD_WND_ELIGIBLE) scan_store_count_window(pSTR, !facts.b_Explorer, facts.uiN_Path);
    return TRUE;
}

BOOL CALLBACK EnumWindowsProc_Calc_02(HWND hwnd, LPARAM lParam)
{
    STR_ReportUnit* rep = rep_layout();
    STR_ENUM_WNDS_DATA* pSTR = reinterpret_cast<STR_ENUM_WNDS_DATA*>(lParam);
    if (!pSTR) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\nlParam = %p\nline of error handler:%d",
                  __FILE__, __func__, rep->iLine, reinterpret_cast<void*>(lParam), __LINE__);
        return FALSE;
    }
    if (!pSTR->arr1D_ui_LenPath || !pSTR->arr1D_uc_flag_FP || !scratch_usable(pSTR) || !pSTR->pcDynMem_WinHndls ||
        !pSTR->pcDynMem_GeomText) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\narr1D_ui_LenPath = %p\narr1D_uc_flag_FP = %p\npcTmpBuf_Prg_Folder_Path = %p\nuiSize_TmpBuf_Path = %u\npcDynMem_WinHndls = %p\npcDynMem_GeomText = %p\nline of error handler:%d",
                  __FILE__, __func__, rep->iLine, pSTR->arr1D_ui_LenPath, pSTR->arr1D_uc_flag_FP,
                  pSTR->pcTmpBuf_Prg_Folder_Path, pSTR->uiSize_TmpBuf_Path, pSTR->pcDynMem_WinHndls,
                  pSTR->pcDynMem_GeomText, __LINE__);
        return FALSE;
    }
    wchar_t ptcCaption[N_CAPTION_FILLING];
    STR_WndFacts facts = {};
    const QD_WndVerdict v = scan_window_facts(hwnd, ptcCaption, N_CAPTION_FILLING, pSTR, &facts);
    if (v == QD_WND_PATH_FAILED) return report_path_failure(__func__, __LINE__);
    if (v != QD_WND_ELIGIBLE) return TRUE;
    // A window that opened after the counting pass finds no room.
    if (pSTR->counter_filled >= pSTR->counter_valid) return TRUE;

    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    STR_ScanEntryIn in = {};
    in.ui_hwnd = zt_hwnd32(hwnd);
    in.i_left = rc.left;
    in.i_top = rc.top;
    in.i_right = rc.right;
    in.i_bottom = rc.bottom;
    in.b_Iconic = IsIconic(hwnd) != FALSE;
    in.ptc_Caption = zt_Q(ptcCaption);
    in.uiN_Caption = caption_shown_length(GetWindowTextLengthW(hwnd), facts.uiN_Caption);
    in.b_Program = !facts.b_Explorer;
    in.ptc_Path = zt_Q(reinterpret_cast<const wchar_t*>(pSTR->pcTmpBuf_Prg_Folder_Path));
    in.uiN_Path = facts.uiN_Path;
    const int32_t iRet = scan_store_write_entry(pSTR, &in);
    if (iRet < 0) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\none of callable functions returned error, scan_store_write_entry()\nret code = %d\npcDynMem_FullPaths = %p\nline of error handler:%d",
                  __FILE__, __func__, rep->iLine, iRet, pSTR->pcDynMem_FullPaths, __LINE__);
        return FALSE;
    }
    return TRUE;
}
