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

void take_slot(STR_ProgramSlots* pSlots, uint32_t j, const STR_WndSeen* pSeen)
{
    pSlots->arr1D_hwnd[j] = pSeen->ui_hwnd;
    pSlots->arr1D_pid[j] = pSeen->ui_pid;
}

}  // namespace

int32_t match_program_window(const STR_EntryPaths* pPaths, const STR_WndSeen* pSeen, const STR_LaunchIds* arr_Launch,
                             uint32_t uiN_Launch, STR_ProgramSlots* pSlots, QD_PathEq pfnEq)
{
    if (!pPaths || !pSeen || !pSeen->ptcModule || !pSlots || !pSlots->arr1D_hwnd || !pSlots->arr1D_pid) return -1;
    const uint32_t uiN = static_cast<uint32_t>(pPaths->kind.size());
    const STR_LaunchIds* pOwn = launch_of_process(arr_Launch, uiN_Launch, pSeen->ui_pid);
    if (pOwn) {
        const uint32_t j = pOwn->ui_index;
        if (j >= uiN || pPaths->kind[j] == QD_PRF_KIND_FOLDER ||
            !same_path(pPaths, j, pSeen->ptcModule, pSeen->uiN_Module, pfnEq))
            return -1;
        const bool bPrimary = pSeen->ui_tid == pOwn->ui_tid;
        if (!bPrimary && pSlots->arr1D_hwnd[j] && pSlots->arr1D_pid[j] == pSeen->ui_pid) return -1;
        take_slot(pSlots, j, pSeen);
        return static_cast<int32_t>(j);
    }
    for (uint32_t j = 0; j < uiN; ++j)
        if (pSlots->arr1D_hwnd[j] == pSeen->ui_hwnd) return -1;  // one window, one entry
    for (uint32_t j = 0; j < uiN; ++j) {
        if (pPaths->kind[j] == QD_PRF_KIND_FOLDER || pSlots->arr1D_hwnd[j] ||
            !same_path(pPaths, j, pSeen->ptcModule, pSeen->uiN_Module, pfnEq))
            continue;
        take_slot(pSlots, j, pSeen);
        return static_cast<int32_t>(j);
    }
    return -1;
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

bool programs_all_found(const STR_EntryPaths* pPaths, const STR_ProgramSlots* pSlots, const STR_LaunchIds* arr_Launch,
                        uint32_t uiN_Launch, const STR_LoadFailures* pFail)
{
    for (uint32_t i = 0; pPaths && pSlots && i < pPaths->kind.size(); ++i) {
        if (pPaths->kind[i] != QD_PRF_KIND_PROGRAM) continue;
        if (!pSlots->arr1D_hwnd[i]) {
            if (pFail && pFail->contains(i)) continue;  // failed to start: excused at once
            return false;
        }
        const STR_LaunchIds* pOwn = launch_of_entry(arr_Launch, uiN_Launch, i);
        if (pOwn && pOwn->ui_pid && pOwn->b_Running && pSlots->arr1D_pid[i] != pOwn->ui_pid) return false;
    }
    return true;
}
