#include "funcs_layout_windows/find_windows.h"

#include "funcs_layout_windows/explorer_folders.h"
#include "funcs_layout_windows/scan_passes.h"
#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"
#include "window_rules.h"

#include <algorithm>
#include <string>

// The eligible program windows one enumeration met, with their paths.
struct STR_SeenWindows {
    struct Window {
        uint32_t ui_hwnd, ui_pid;
        std::u16string path;
    };
    std::vector<Window> list;
};

namespace {

struct FolderMatchCtx {
    const STR_EntryPaths* pPaths;
    uint32_t* arr1D_hwnd;
    uint32_t uiN_Seen;  // shell windows that showed a folder
};

bool on_folder_found(void* pCtx, HWND hwndFolder, const wchar_t* ptcPath, uint32_t uiN_Path)
{
    FolderMatchCtx* c = static_cast<FolderMatchCtx*>(pCtx);
    ++c->uiN_Seen;
    if (hwndFolder) match_folder_window(c->pPaths, zt_Q(ptcPath), uiN_Path, zt_hwnd32(hwndFolder), c->arr1D_hwnd, zt_PathEqual);
    return true;
}

BOOL CALLBACK collect_top_level(HWND hwnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<uint32_t>*>(lParam)->push_back(zt_hwnd32(hwnd));
    return TRUE;
}

}  // namespace

std::vector<uint32_t> top_level_windows()
{
    std::vector<uint32_t> all;
    EnumWindows(collect_top_level, reinterpret_cast<LPARAM>(&all));
    std::sort(all.begin(), all.end());
    return all;
}

void launch_ids_refresh(const STR_InfoLoadedPrg* arr_Launch, uint32_t uiN_Launch, int32_t* arr_iEndedAt,
                        int32_t iAttempt, STR_LaunchIds* arr_Ids)
{
    for (uint32_t k = 0; arr_Launch && arr_Ids && k < uiN_Launch; ++k) {
        const STR_InfoLoadedPrg& r = arr_Launch[k];
        const bool bRunning = r.hProcess && WaitForSingleObject(r.hProcess, 0) == WAIT_TIMEOUT;
        if (arr_iEndedAt && !bRunning && arr_iEndedAt[k] < 0) arr_iEndedAt[k] = iAttempt;
        const bool bEndedAPauseAgo = arr_iEndedAt && !bRunning && arr_iEndedAt[k] < iAttempt;
        arr_Ids[k] = {r.ui_index, r.dwProcessId, bRunning, bEndedAPauseAgo};
    }
}

uint32_t release_closed_windows(const STR_EntryPaths* pPaths, uint32_t* arr1D_hwnd, uint32_t* arr1D_pid,
                                uint8_t* arr1D_lost)
{
    uint32_t n = 0;
    for (uint32_t i = 0; pPaths && arr1D_hwnd && arr1D_pid && i < pPaths->kind.size(); ++i) {
        if (pPaths->kind[i] != QD_PRF_KIND_PROGRAM || !arr1D_hwnd[i] || IsWindow(zt_hwnd(arr1D_hwnd[i]))) continue;
        arr1D_hwnd[i] = arr1D_pid[i] = 0;
        if (arr1D_lost) arr1D_lost[i] = 1;
        ++n;
    }
    return n;
}

int32_t GetHWNDS_of_LoadedFolders(const uint8_t* pcFileData, const STR_EntryPaths* pPaths, uint32_t* p_arr1D_hwnd)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!pcFileData || !pPaths || !p_arr1D_hwnd) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters: pcFileData = %p, p_arr1D_hwnd = %p\nline of error handler:\n%d",
                  pcFileData, p_arr1D_hwnd);
        return -1;
    }
    const STR_ShellFolderSource* src = explorer_folder_source();
    FolderMatchCtx ctx = {pPaths, p_arr1D_hwnd, 0};
    STR_ShellWalk walk = src->pfnWalk(src->pCtx, on_folder_found, &ctx);
    if (!walk.b_Created) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\none of callable functions returned error\n\nfunction : CoCreateInstance()\n\nret code hResult = %d\n\nline of error handler:\n%d",
                  static_cast<int>(walk.hr));
        return -4;
    }
    if (FAILED(walk.hr)) return 1;
    return ctx.uiN_Seen ? 1 : -3;
}

int32_t check_folders_loaded(const uint8_t* pcFileData, const STR_EntryPaths* pPaths, const uint32_t* pc_arr1D_hwnd,
                             uint32_t uiN_wnds, const STR_LoadFailures* pFailures)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!pcFileData || !pPaths || !pc_arr1D_hwnd || !uiN_wnds) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters: pcFileData = %p, pc_arr1D_hwnd = %p, uiN_wnds = %u\n\nline of error handler:\n%d",
                  pcFileData, pc_arr1D_hwnd, uiN_wnds);
        return -1;
    }
    return folders_all_found(pPaths, pc_arr1D_hwnd, pFailures);
}

BOOL CALLBACK GetHWNDS_of_LoadedPrograms(HWND hwnd, LPARAM lParam)
{
    STR_ReportUnit* rep = rep_profiles();
    HWNDs_loadedPrgsProfile_STR* p = reinterpret_cast<HWNDs_loadedPrgsProfile_STR*>(lParam);
    if (!p) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\nlParam = %p\nline of error handler:%d",
                  p);
        return FALSE;
    }
    if (!p->p_hwnd_arr || !p->ptcBuf || !p->uiSize_chars || !p->uiSize_bytes || !p->pcFileData ||
        !p->pc_arr_STRs_InfoLoadedPrg || !p->N_prgs || !p->pPaths || !p->p_pid_arr || !p->pLaunchIds || !p->pSeen) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nerror, incorrect input parameters\npParams_STR->p_hwnd_arr = %p\npParams_STR->ptcBuf = %p\npParams_STR->uiSize_chars = %u\npParams_STR->uiSize_bytes\npParams_STR->pcFileData = %p\npParams_STR->pc_arr_STRs_InfoLoadedPrg = %p\npParams_STR->N_prgs = %u\nline of error handler:%d",
                  p->p_hwnd_arr, p->ptcBuf, p->uiSize_chars, p->pcFileData, p->pc_arr_STRs_InfoLoadedPrg, p->N_prgs);
        return FALSE;
    }
    wchar_t tcCaption[2];  // only whether there is one counts
    const STR_WndAsk ask = {tcCaption, 2, p->ptcBuf, p->uiSize_bytes, true, p->pProcPaths};
    STR_WndFacts f;
    const QD_WndVerdict v = window_eligibility(hwnd, &ask, &f);
    if (v == QD_WND_PATH_FAILED) return p->b_Quiet ? TRUE : report_path_failure(rep, __func__);
    if (v != QD_WND_ELIGIBLE || f.b_Explorer) return TRUE;  // folders are found by the folder search

    // Matched once the walk is over: the user's own windows only take what the new ones leave.
    p->pSeen->list.push_back({zt_hwnd32(hwnd), f.dwPid, std::u16string(zt_Q(p->ptcBuf), f.uiN_Path)});
    return TRUE;
}

int32_t find_hwnds_Programs_fill_array(HWNDs_loadedPrgsProfile_STR* p, uint32_t uiN_wnds,
                                       uint32_t* pc_arr1D_hwnd_Programs_only)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p || !pc_arr1D_hwnd_Programs_only || !uiN_wnds) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_HWNDs_loadedPrgsProfile_STR = %p, pc_arr1D_hwnd_Programs_only = %p, uiN_wnds = %u\n",
                     p, pc_arr1D_hwnd_Programs_only, uiN_wnds);
        return -1;
    }
    if (!p->p_hwnd_arr || !p->ptcBuf || !p->pcFileData || !p->uiSize_chars || !p->uiSize_bytes || !p->pPaths ||
        !p->p_pid_arr || !p->pLaunchIds) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_HWNDs_loadedPrgsProfile_STR->p_hwnd_arr = %p, p_HWNDs_loadedPrgsProfile_STR->ptcBuf = %p, p_HWNDs_loadedPrgsProfile_STR->pcFileData = %p, p_HWNDs_loadedPrgsProfile_STR->uiSize_chars = %d, p_HWNDs_loadedPrgsProfile_STR->uiSize_bytes = %d\n",
                     p->p_hwnd_arr, p->ptcBuf, p->pcFileData, p->uiSize_chars, p->uiSize_bytes);
        return -2;
    }
    // One attempt asks each process once; a thread that did not answer is
    // not waited for again while the command runs.
    STR_ProcPaths memo;
    STR_SeenWindows seen;
    if (p->pHungThreads) memo.hung_threads = *p->pHungThreads;
    p->pProcPaths = &memo;
    p->pSeen = &seen;
    EnumWindows(GetHWNDS_of_LoadedPrograms, reinterpret_cast<LPARAM>(p));
    p->pProcPaths = nullptr;
    p->pSeen = nullptr;
    if (p->pHungThreads) *p->pHungThreads = memo.hung_threads;

    std::vector<STR_WndSeen> arr;
    arr.reserve(seen.list.size());
    for (const STR_SeenWindows::Window& w : seen.list) arr.push_back({w.ui_hwnd, w.ui_pid, w.path.data(), w.path.size()});
    STR_ProgramSlots slots = {p->p_hwnd_arr, p->p_pid_arr, p->arr1D_open};
    const std::vector<uint32_t>* pPre = p->pPreexisting;
    match_program_windows(p->pPaths, arr.data(), static_cast<uint32_t>(arr.size()), pPre ? pPre->data() : nullptr,
                          pPre ? pPre->size() : 0, p->pLaunchIds, p->N_prgs, &slots, zt_PathEqual);
    const STR_EntryPaths* paths = p->pPaths;
    for (uint32_t i = 0; i < uiN_wnds && i < paths->kind.size(); ++i)
        if (paths->kind[i] == QD_PRF_KIND_PROGRAM) pc_arr1D_hwnd_Programs_only[i] = p->p_hwnd_arr[i];
    return 1;
}
