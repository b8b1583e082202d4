#include "process_paths.h"

#include <algorithm>
#include <new>

namespace {

std::vector<STR_ProcPath>::const_iterator lower(const STR_ProcPaths* p, uint32_t uiPid)
{
    return std::lower_bound(p->entries.begin(), p->entries.end(), uiPid,
                            [](const STR_ProcPath& e, uint32_t ui) { return e.ui_Pid < ui; });
}

std::vector<STR_WndOwner>::const_iterator lower_window(const STR_ProcPaths* p, uint32_t ui_hwnd)
{
    return std::lower_bound(p->windows.begin(), p->windows.end(), ui_hwnd,
                            [](const STR_WndOwner& w, uint32_t ui) { return w.ui_hwnd < ui; });
}

}  // namespace

const STR_ProcPath* proc_paths_find(const STR_ProcPaths* pSTR, uint32_t uiPid)
{
    if (!pSTR) return nullptr;
    auto it = lower(pSTR, uiPid);
    return it != pSTR->entries.end() && it->ui_Pid == uiPid ? &*it : nullptr;
}

bool proc_paths_keep(STR_ProcPaths* pSTR, uint32_t uiPid, QD_ProcPathKind kind, uint32_t uiError,
                     const qd_char* ptcPath, uint32_t uiN_Path)
{
    if (!pSTR || (kind == QD_PROC_PATH && !ptcPath)) return false;
    auto it = lower(pSTR, uiPid);
    if (it != pSTR->entries.end() && it->ui_Pid == uiPid) return true;
    const size_t uiPos = static_cast<size_t>(it - pSTR->entries.begin());
    STR_ProcPath e = {uiPid, kind, uiError, 0, 0};
    const size_t uiUnits = pSTR->units.size();
    try {
        if (kind == QD_PROC_PATH) {
            e.ui_First = static_cast<uint32_t>(uiUnits);
            e.uiN_Path = uiN_Path;
            pSTR->units.insert(pSTR->units.end(), ptcPath, ptcPath + uiN_Path);
            pSTR->units.push_back(0);
        }
        pSTR->entries.insert(pSTR->entries.begin() + static_cast<std::ptrdiff_t>(uiPos), e);
    } catch (const std::bad_alloc&) {
        pSTR->units.resize(uiUnits);  // shrinking needs no memory
        return false;
    }
    return true;
}

const qd_char* proc_paths_text(const STR_ProcPaths* pSTR, const STR_ProcPath* pEntry)
{
    static const qd_char kEmpty[1] = {0};
    if (!pSTR || !pEntry || pEntry->uc_Kind != QD_PROC_PATH) return kEmpty;
    return pSTR->units.data() + pEntry->ui_First;
}

const STR_WndOwner* proc_paths_find_window(const STR_ProcPaths* pSTR, uint32_t ui_hwnd)
{
    if (!pSTR) return nullptr;
    auto it = lower_window(pSTR, ui_hwnd);
    return it != pSTR->windows.end() && it->ui_hwnd == ui_hwnd ? &*it : nullptr;
}

bool proc_paths_keep_window(STR_ProcPaths* pSTR, const STR_WndOwner& owner)
{
    if (!pSTR) return false;
    auto it = lower_window(pSTR, owner.ui_hwnd);
    if (it != pSTR->windows.end() && it->ui_hwnd == owner.ui_hwnd) return true;
    try {
        pSTR->windows.insert(it, owner);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool proc_paths_thread_hung(const STR_ProcPaths* pSTR, uint32_t uiTid)
{
    return pSTR && std::find(pSTR->hung_threads.begin(), pSTR->hung_threads.end(), uiTid) != pSTR->hung_threads.end();
}

void proc_paths_keep_hung_thread(STR_ProcPaths* pSTR, uint32_t uiTid)
{
    if (!pSTR || proc_paths_thread_hung(pSTR, uiTid)) return;
    try {
        pSTR->hung_threads.push_back(uiTid);
    } catch (const std::bad_alloc&) {
        // not kept: the next window of that thread waits again
    }
}
