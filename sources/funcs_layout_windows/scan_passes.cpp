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

// Opens the process and reads its path: what a process costs without a
// record of what it gave before.
QD_WndVerdict ask_process(DWORD dwPid, wchar_t* ptcBuf, uint32_t uiSize, uint32_t* puiN_Path)
{
    zt_Handle process(g_pQueries->pfnOpen(g_pQueries->pCtx, dwPid));
    if (!process) return QD_WND_SKIPPED;
    const int32_t iN = read_process_path(process.get(), ptcBuf, uiSize);
    const DWORD dwErr = GetLastError();
    process.reset();
    SetLastError(dwErr);  // for the system-error box that follows
    *puiN_Path = iN > 0 ? static_cast<uint32_t>(iN) : 0;
    return iN > 0 ? QD_WND_ELIGIBLE : iN == 0 ? QD_WND_SKIPPED : QD_WND_PATH_FAILED;  // an empty path: passed over
}

// What a process gave before, as if it were asked again.
QD_WndVerdict replay(const STR_ProcPaths* pMemo, const STR_ProcPath* e, wchar_t* ptcBuf, uint32_t uiSize,
                     uint32_t* puiN_Path)
{
    std::memset(ptcBuf, 0, uiSize);
    if (e->uc_Kind == QD_PROC_NOT_OPENED) return QD_WND_SKIPPED;
    if (e->uc_Kind == QD_PROC_NO_PATH) {
        SetLastError(e->ui_Error);
        return QD_WND_PATH_FAILED;
    }
    const uint32_t uiCap = uiSize / 2 - 1;
    *puiN_Path = e->uiN_Path < uiCap ? e->uiN_Path : uiCap;
    std::memcpy(ptcBuf, proc_paths_text(pMemo, e), *puiN_Path * sizeof(wchar_t));
    return QD_WND_ELIGIBLE;
}

// The executable path of process dwPid, asked once while pMemo keeps it.
QD_WndVerdict process_path_of(STR_ProcPaths* pMemo, DWORD dwPid, wchar_t* ptcBuf, uint32_t uiSize, uint32_t* puiN_Path)
{
    *puiN_Path = 0;
    if (!ptcBuf || uiSize < MIN_SCRATCH_BYTES) return QD_WND_PATH_FAILED;
    if (const STR_ProcPath* e = proc_paths_find(pMemo, dwPid)) return replay(pMemo, e, ptcBuf, uiSize, puiN_Path);
    const QD_WndVerdict v = ask_process(dwPid, ptcBuf, uiSize, puiN_Path);
    const DWORD dwErr = GetLastError();
    const QD_ProcPathKind kind = v == QD_WND_ELIGIBLE  ? QD_PROC_PATH
                                 : v == QD_WND_SKIPPED ? QD_PROC_NOT_OPENED
                                                       : QD_PROC_NO_PATH;
    proc_paths_keep(pMemo, dwPid, kind, dwErr, zt_Q(ptcBuf), *puiN_Path);
    SetLastError(dwErr);
    return v;
}

bool scratch_usable(const STR_ENUM_WNDS_DATA* p)
{
    return p->pcTmpBuf_Prg_Folder_Path && p->uiSize_TmpBuf_Path >= MIN_SCRATCH_BYTES;
}

bool class_excluded(HWND hwnd)
{
    wchar_t ptcClass[N_CLASS_NAME + 1] = {};
    GetClassNameW(hwnd, ptcClass, N_CLASS_NAME);
    return is_excluded_class(zt_Q(ptcClass));
}

// The window's owning process and thread and whether its class is
// excluded: asked once per window while pMemo keeps them, as none of them
// changes while the window exists.
STR_WndOwner window_owner(HWND hwnd, STR_ProcPaths* pMemo)
{
    if (const STR_WndOwner* w = proc_paths_find_window(pMemo, zt_hwnd32(hwnd))) return *w;
    DWORD dwPid = 0;
    const DWORD dwTid = GetWindowThreadProcessId(hwnd, &dwPid);
    const STR_WndOwner w = {zt_hwnd32(hwnd), dwPid, dwTid, class_excluded(hwnd)};
    proc_paths_keep_window(pMemo, w);
    return w;
}

// A zero-sized rectangle away from the origin is a parked helper window,
// never a program's main window.
bool parked_zero_size(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return (rc.left != 0 || rc.top != 0) && rc.right == rc.left && rc.bottom == rc.top;
}

}  // namespace

uint32_t read_caption(HWND hwnd, DWORD dwTid, wchar_t* ptcCaption, uint32_t uiCap, STR_ProcPaths* pMemo)
{
    if (!ptcCaption || !uiCap) return 0;
    ptcCaption[0] = 0;
    DWORD_PTR dwCopied = 0;
    LRESULT n = 0;
    if (!proc_paths_thread_hung(pMemo, dwTid) &&
        zt_SendMessageTimeout(hwnd, WM_GETTEXT, uiCap, reinterpret_cast<LPARAM>(ptcCaption), SMTO_ABORTIFHUNG,
                              QD_CAPTION_WAIT_MS, &dwCopied)) {
        n = static_cast<LRESULT>(dwCopied);
    } else {
        // Not answering: the caption the system keeps for the window.
        if (GetLastError() == ERROR_TIMEOUT) proc_paths_keep_hung_thread(pMemo, dwTid);
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

void scan_set_proc_queries(const STR_ProcQueries* pSTR_Queries)
{
    g_pQueries = pSTR_Queries ? pSTR_Queries : &g_sysQueries;
}

int32_t read_process_path(HANDLE hProcess, wchar_t* ptcBuf, uint32_t uiSize)
{
    if (!hProcess || !ptcBuf || uiSize < MIN_SCRATCH_BYTES) return -1;
    const DWORD uiN_Chars = uiSize / 2 - 1;  // the last unit stays the terminator
    std::memset(ptcBuf, 0, uiSize);
    if (g_pQueries->pfnModuleFileName(g_pQueries->pCtx, hProcess, ptcBuf, uiN_Chars))
        return static_cast<int32_t>(qd_strlen(zt_Q(ptcBuf)));
    // A 32-bit program cannot read a 64-bit process's modules, and some
    // processes hide them; the image name needs only limited rights.
    const DWORD dwModuleErr = GetLastError();
    std::memset(ptcBuf, 0, uiSize);
    if (g_pQueries->pfnImageName(g_pQueries->pCtx, hProcess, ptcBuf, uiN_Chars))
        return static_cast<int32_t>(qd_strlen(zt_Q(ptcBuf)));
    std::memset(ptcBuf, 0, uiSize);
    SetLastError(dwModuleErr);
    return -1;
}

QD_WndVerdict window_eligibility(HWND hwnd, const STR_WndAsk* a, STR_WndFacts* pFacts)
{
    *pFacts = STR_WndFacts{};
    if (!hwnd || !IsWindowVisible(hwnd)) return QD_WND_SKIPPED;
    const STR_WndOwner owner = window_owner(hwnd, a->pMemo);
    pFacts->dwPid = owner.ui_Pid;
    pFacts->dwTid = owner.ui_Tid;
    pFacts->uiN_Caption = read_caption(hwnd, pFacts->dwTid, a->ptcCaption, a->uiCaptionCap, a->pMemo);
    if (!pFacts->uiN_Caption) return QD_WND_SKIPPED;
    if (a->b_ZeroSizeRule && parked_zero_size(hwnd)) return QD_WND_SKIPPED;
    if (owner.b_Excluded) return QD_WND_SKIPPED;
    const QD_WndVerdict v = process_path_of(a->pMemo, pFacts->dwPid, a->ptcPath, a->uiPathBytes, &pFacts->uiN_Path);
    if (v == QD_WND_ELIGIBLE) pFacts->b_Explorer = is_explorer_path(zt_Q(a->ptcPath), pFacts->uiN_Path);
    return v;
}

BOOL report_path_failure(STR_ReportUnit* pUnit, const char* pcFunc)
{
    zt_ShowLastError();
    QD_REPORT(pUnit, pcFunc, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- GetModuleFileNameEx()\nline of error handler:%d");
    return FALSE;
}

namespace {

// One window of a Scan walk: its facts into pFacts, the caption into
// ptcCaption, the path into the store's scratch buffer.
QD_WndVerdict scan_window(HWND hwnd, STR_ENUM_WNDS_DATA* pSTR, wchar_t* ptcCaption, uint32_t uiCap, STR_WndFacts* pFacts)
{
    const STR_WndAsk ask = {ptcCaption, uiCap, reinterpret_cast<wchar_t*>(pSTR->pcTmpBuf_Prg_Folder_Path),
                            pSTR->uiSize_TmpBuf_Path, false, pSTR->pProcPaths};
    return window_eligibility(hwnd, &ask, pFacts);
}

}  // namespace

BOOL CALLBACK EnumWindowsProc_Calc(HWND hwnd, LPARAM lParam)
{
    STR_ReportUnit* rep = rep_layout();
    STR_ENUM_WNDS_DATA* pSTR = reinterpret_cast<STR_ENUM_WNDS_DATA*>(lParam);
    if (!pSTR) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\nlParam = %p\nline of error handler:%d",
                  reinterpret_cast<void*>(lParam));
        return FALSE;
    }
    if (!scratch_usable(pSTR)) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\npcTmpBuf_Prg_Folder_Path = %p\nuiSize_TmpBuf_Path = %u\nline of error handler:%d",
                  pSTR->pcTmpBuf_Prg_Folder_Path, pSTR->uiSize_TmpBuf_Path);
        return FALSE;
    }
    wchar_t ptcCaption[N_CAPTION_COUNTING];
    STR_WndFacts facts = {};
    const QD_WndVerdict v = scan_window(hwnd, pSTR, ptcCaption, N_CAPTION_COUNTING, &facts);
    if (v == QD_WND_PATH_FAILED) return report_path_failure(rep, __func__);
    // Explorer windows are counted; their folder paths are measured later.
    if (v == QD_WND_ELIGIBLE) scan_store_count_window(pSTR, !facts.b_Explorer, facts.uiN_Path);
    return TRUE;
}

BOOL CALLBACK EnumWindowsProc_Calc_02(HWND hwnd, LPARAM lParam)
{
    STR_ReportUnit* rep = rep_layout();
    STR_ENUM_WNDS_DATA* pSTR = reinterpret_cast<STR_ENUM_WNDS_DATA*>(lParam);
    if (!pSTR) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\nlParam = %p\nline of error handler:%d",
                  reinterpret_cast<void*>(lParam));
        return FALSE;
    }
    if (!pSTR->arr1D_ui_LenPath || !pSTR->arr1D_uc_flag_FP || !scratch_usable(pSTR) || !pSTR->pcDynMem_WinHndls ||
        !pSTR->pcDynMem_GeomText) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\narr1D_ui_LenPath = %p\narr1D_uc_flag_FP = %p\npcTmpBuf_Prg_Folder_Path = %p\nuiSize_TmpBuf_Path = %u\npcDynMem_WinHndls = %p\npcDynMem_GeomText = %p\nline of error handler:%d",
                  pSTR->arr1D_ui_LenPath, pSTR->arr1D_uc_flag_FP, pSTR->pcTmpBuf_Prg_Folder_Path, pSTR->uiSize_TmpBuf_Path, pSTR->pcDynMem_WinHndls, pSTR->pcDynMem_GeomText);
        return FALSE;
    }
    wchar_t ptcCaption[N_CAPTION_FILLING];
    STR_WndFacts facts = {};
    const QD_WndVerdict v = scan_window(hwnd, pSTR, ptcCaption, N_CAPTION_FILLING, &facts);
    if (v == QD_WND_PATH_FAILED) return report_path_failure(rep, __func__);
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
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\none of callable functions returned error, scan_store_write_entry()\nret code = %d\npcDynMem_FullPaths = %p\nline of error handler:%d",
                  iRet, pSTR->pcDynMem_FullPaths);
        return FALSE;
    }
    return TRUE;
}
