#include "window_match.h"

#include <algorithm>

namespace {

qd_char fold_az(qd_char c) { return (c >= u'A' && c <= u'Z') ? static_cast<qd_char>(c + 32) : c; }

bool same_path(const STR_EntryPaths* p, uint32_t i, const qd_char* ptc, size_t n, QD_PathEq pfnEq)
{
    return (pfnEq ? pfnEq : path_eq_ascii_nocase)(p->units.data() + p->off[i], p->len[i], ptc, n);
}

}  // namespace

bool path_eq_ascii_nocase(const qd_char* a, size_t uiN_a, const qd_char* b, size_t uiN_b)
{
    if (uiN_a != uiN_b) return false;
    for (size_t i = 0; i < uiN_a; ++i)
        if (fold_az(a[i]) != fold_az(b[i])) return false;
    return true;
}

void entry_paths_build(const STR_ProfileView* pView, STR_EntryPaths* pPaths)
{
    *pPaths = STR_EntryPaths{};
    if (!pView) return;
    STR_ProfileEntry e{};
    if (profile_entry_at(pView, 0, &e) != QD_PRF_OK) return;
    // The paths and their terminators fill the bytes between the arrays and
    // the name: one reservation instead of growing entry by entry.
    pPaths->units.reserve((pView->uiOff_PrfName_beg - pView->uiOff_paths) / 2 + 1);
    pPaths->off.reserve(pView->N_wnds);
    pPaths->len.reserve(pView->N_wnds);
    pPaths->kind.reserve(pView->N_wnds);
    do {
        const uint32_t uiUnits = e.ui_len_path / 2;
        const size_t uiAt = pPaths->units.size();
        pPaths->units.resize(uiAt + uiUnits + 1);
        profile_copy_path(&e, pPaths->units.data() + uiAt, uiUnits + 1);
        pPaths->off.push_back(static_cast<uint32_t>(uiAt));
        pPaths->len.push_back(uiUnits);
        pPaths->kind.push_back(e.uc_kind);
    } while (profile_next_entry(pView, &e) == 1);
}

uint32_t match_folder_window(const STR_EntryPaths* pPaths, const qd_char* ptcPath, size_t uiN_Path, uint32_t ui_hwnd,
                             uint32_t* arr1D_hwnd, QD_PathEq pfnEq)
{
    if (!pPaths || !ptcPath || !arr1D_hwnd) return 0;
    uint32_t n = 0;
    for (uint32_t i = 0; i < pPaths->kind.size(); ++i) {
        if (pPaths->kind[i] == QD_PRF_KIND_PROGRAM || !same_path(pPaths, i, ptcPath, uiN_Path, pfnEq)) continue;
        arr1D_hwnd[i] = ui_hwnd;
        ++n;
    }
    return n;
}

namespace {

const STR_LaunchIds* launch_of_process(const STR_LaunchIds* arr_Launch, uint32_t uiN_Launch, uint32_t ui_pid)
{
    for (uint32_t k = 0; arr_Launch && ui_pid && k < uiN_Launch; ++k)
        if (arr_Launch[k].ui_pid == ui_pid) return &arr_Launch[k];
    return nullptr;
}

const STR_LaunchIds* launch_of_entry(const STR_LaunchIds* arr_Launch, uint32_t uiN_Launch, uint32_t ui_index)
{
    for (uint32_t k = 0; arr_Launch && k < uiN_Launch; ++k)
        if (arr_Launch[k].ui_index == ui_index) return &arr_Launch[k];
    return nullptr;
}

// The search of one attempt over the slots.
struct Matcher {
    const STR_EntryPaths* pPaths;
    const STR_LaunchIds* arr_Launch;
    uint32_t uiN_Launch;
    STR_ProgramSlots* pSlots;
    QD_PathEq pfnEq;

    uint32_t entries() const { return static_cast<uint32_t>(pPaths->kind.size()); }
    bool held(uint32_t ui_hwnd) const
    {
        for (uint32_t j = 0; j < entries(); ++j)
            if (pSlots->arr1D_hwnd[j] == ui_hwnd) return true;
        return false;
    }
    // An entry that may take this window at all: a program of its path, open for matching.
    bool fits(uint32_t j, const STR_WndSeen& w) const
    {
        return j < entries() && pPaths->kind[j] == QD_PRF_KIND_PROGRAM &&
               (!pSlots->arr1D_open || pSlots->arr1D_open[j]) &&
               same_path(pPaths, j, w.ptcModule, w.uiN_Module, pfnEq);
    }
    bool empty(uint32_t j) const { return pSlots->arr1D_hwnd[j] == 0; }
    // The first empty entry of the window's path whose start passes the test.
    template <typename F>
    bool take_first(const STR_WndSeen& w, F startTest)
    {
        for (uint32_t j = 0; j < entries(); ++j) {
            if (!fits(j, w) || !empty(j) || !startTest(launch_of_entry(arr_Launch, uiN_Launch, j))) continue;
            take(j, w);
            return true;
        }
        return false;
    }
    void take(uint32_t j, const STR_WndSeen& w)
    {
        pSlots->arr1D_hwnd[j] = w.ui_hwnd;
        pSlots->arr1D_pid[j] = w.ui_pid;
    }

    bool new_window(const STR_WndSeen& w)
    {
        const STR_LaunchIds* pOwn = launch_of_process(arr_Launch, uiN_Launch, w.ui_pid);
        if (pOwn && fits(pOwn->ui_index, w) && pSlots->arr1D_pid[pOwn->ui_index] != w.ui_pid) {
            take(pOwn->ui_index, w);
            return true;
        }
        if (take_first(w, [](const STR_LaunchIds* p) { return !p || !p->b_Running; })) return true;
        return !pOwn && take_first(w, [](const STR_LaunchIds*) { return true; });
    }
    bool user_window(const STR_WndSeen& w)
    {
        return take_first(w, [](const STR_LaunchIds* p) { return p && p->b_EndedAPauseAgo; });
    }
};

}  // namespace

uint32_t match_program_windows(const STR_EntryPaths* pPaths, const STR_WndSeen* arr_Seen, uint32_t uiN_Seen,
                               const uint32_t* arr1D_preexisting, size_t uiN_preexisting,
                               const STR_LaunchIds* arr_Launch, uint32_t uiN_Launch, STR_ProgramSlots* pSlots,
                               QD_PathEq pfnEq)
{
    if (!pPaths || (!arr_Seen && uiN_Seen) || !pSlots || !pSlots->arr1D_hwnd || !pSlots->arr1D_pid) return 0;
    Matcher m = {pPaths, arr_Launch, uiN_Launch, pSlots, pfnEq};
    const uint32_t* const pPreEnd = arr1D_preexisting ? arr1D_preexisting + uiN_preexisting : nullptr;
    auto preexisting = [&](uint32_t h) { return arr1D_preexisting && std::binary_search(arr1D_preexisting, pPreEnd, h); };
    uint32_t uiN_Taken = 0;
    // The new windows first: the user's own are taken only for what they leave.
    for (int iPass = 0; iPass < 2; ++iPass) {
        for (uint32_t i = 0; i < uiN_Seen; ++i) {
            const STR_WndSeen& w = arr_Seen[i];
            if (!w.ptcModule || preexisting(w.ui_hwnd) != (iPass == 1) || m.held(w.ui_hwnd)) continue;
            uiN_Taken += (iPass == 0 ? m.new_window(w) : m.user_window(w)) ? 1 : 0;
        }
    }
    return uiN_Taken;
}

bool start_without_redirection(bool bWow64, const qd_char* ptcPath, size_t uiN_Path, const qd_char* ptcSystemDir,
                               size_t uiN_SystemDir, QD_PathEq pfnEq)
{
    auto separator = [](qd_char c) { return c == u'\\' || c == u'/'; };
    while (uiN_SystemDir && separator(ptcSystemDir[uiN_SystemDir - 1])) --uiN_SystemDir;
    if (!bWow64 || !ptcPath || !ptcSystemDir || !uiN_SystemDir || uiN_Path <= uiN_SystemDir + 1) return false;
    return separator(ptcPath[uiN_SystemDir]) &&
           (pfnEq ? pfnEq : path_eq_ascii_nocase)(ptcPath, uiN_SystemDir, ptcSystemDir, uiN_SystemDir);
}

bool STR_LoadFailures::contains(uint32_t ui) const
{
    return std::find(indices.begin(), indices.end(), ui) != indices.end();
}

int32_t folders_all_found(const STR_EntryPaths* pPaths, const uint32_t* arr1D_hwnd, const STR_LoadFailures* pFail)
{
    for (uint32_t i = 0; pPaths && i < pPaths->kind.size(); ++i) {
        if (pPaths->kind[i] != QD_PRF_KIND_FOLDER || arr1D_hwnd[i]) continue;
        if (pFail && pFail->uiN_Folders && pFail->contains(i)) continue;  // never opened: not waited for
        return 2;
    }
    return 1;
}

bool programs_all_found(const STR_EntryPaths* pPaths, const uint32_t* arr1D_hwnd, const STR_LoadFailures* pFail)
{
    for (uint32_t i = 0; pPaths && arr1D_hwnd && i < pPaths->kind.size(); ++i) {
        if (pPaths->kind[i] != QD_PRF_KIND_PROGRAM || arr1D_hwnd[i]) continue;
        if (pFail && pFail->contains(i)) continue;  // failed to start: excused at once
        return false;
    }
    return true;
}
