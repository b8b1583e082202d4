#include "funcs_layout_windows/settle_watch.h"

#include <algorithm>

#include "funcs_layout_windows/load_profile.h"
#include "platform/zt_win.h"

namespace {

void close_launch_handles(STR_SettleLoad* pLoad)
{
    for (STR_InfoLoadedPrg& r : pLoad->launches) {
        if (r.hProcess) CloseHandle(r.hProcess);
        if (r.hThread) CloseHandle(r.hThread);
        r.hProcess = r.hThread = nullptr;
    }
}

bool still_listed(const CB_Profile_manage_STR* pList, uint32_t k)
{
    for (uint32_t p = 0; pList && p < pList->uiN_strs && p < QD_PROFILE_LIST_CAPACITY; ++p)
        if (pList->arr_ind_prfl[p] == k) return true;
    return false;
}

void CALLBACK on_settle_timer(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    settle_watch_tick(reinterpret_cast<STR_SettleWatch*>(idEvent));
}

// The windows of a load's lost slots: one search like a load's attempt,
// limited to those slots and to new windows. Places what it finds and
// keeps the store in step. False when the profile cannot be read any more.
bool refill(STR_SettleWatch* w, STR_SettleLoad* pLoad, const std::vector<uint8_t>& open)
{
    const uint32_t N = static_cast<uint32_t>(pLoad->hwnd.size());
    std::vector<uint32_t> before = pLoad->hwnd, programsOnly(N, 0);
    std::vector<STR_LaunchIds> ids(pLoad->launches.size());
    launch_ids_refresh(pLoad->launches.data(), static_cast<uint32_t>(ids.size()), nullptr, 0, ids.data());
    std::vector<wchar_t> scratch(QD_MODULE_PATH_UNITS);
    HWNDs_loadedPrgsProfile_STR s = {pLoad->hwnd.data(), scratch.data(), QD_MODULE_PATH_UNITS,
                                     QD_MODULE_PATH_UNITS * 2, pLoad->file.data(), pLoad->launches.data(),
                                     static_cast<uint32_t>(ids.size()), &pLoad->paths, pLoad->pid.data(), ids.data(),
                                     &pLoad->preexisting, open.data(), nullptr, true, nullptr, nullptr};
    if (ids.empty() || find_hwnds_Programs_fill_array(&s, N, programsOnly.data()) < 0) return true;
    STR_LoadedEntryWalk walk{};
    if (loaded_walk_first(w->pStore, pLoad->k, &walk) != QD_LP_OK) return false;
    uint32_t i = 0;
    do {
        if (i < N && pLoad->hwnd[i] != before[i]) {
            loaded_profile_set_handle(w->pStore, pLoad->k, i, pLoad->hwnd[i]);
            place_loaded_window(pLoad->hwnd[i], walk.entry);
        }
        ++i;
    } while (loaded_walk_next(&walk) == 1);
    return true;
}

// One look at one load; false once its watch is over.
bool look(STR_SettleWatch* w, STR_SettleLoad* pLoad, DWORD dwNow)
{
    if (static_cast<LONG>(dwNow - pLoad->dwEnd) >= 0 || !still_listed(w->pList, pLoad->k)) return false;
    const uint32_t N = static_cast<uint32_t>(pLoad->hwnd.size());
    std::vector<uint8_t> lost(N, 0);
    if (release_closed_windows(&pLoad->paths, pLoad->hwnd.data(), pLoad->pid.data(), lost.data())) {
        for (uint32_t i = 0; i < N; ++i)
            if (lost[i]) loaded_profile_set_handle(w->pStore, pLoad->k, i, 0);
    }
    // Only the slots of windows that were placed and have closed since.
    std::vector<uint8_t> open(N, 0);
    bool bAny = false;
    for (uint32_t i = 0; i < N; ++i) {
        open[i] = pLoad->watched[i] && !pLoad->hwnd[i];
        bAny = bAny || open[i];
    }
    return !bAny || refill(w, pLoad, open);
}

}  // namespace

void settle_watch_add(STR_SettleWatch* pWatch, HWND hwnd_MW, LoadedProfiles_STR* pStore,
                      const CB_Profile_manage_STR* pList, STR_SettleLoad&& load)
{
    if (!pWatch || !hwnd_MW || !pStore || !pList ||
        std::none_of(load.watched.begin(), load.watched.end(), [](uint8_t b) { return b != 0; })) {
        close_launch_handles(&load);
        return;
    }
    if (pWatch->hwnd_owner && pWatch->hwnd_owner != hwnd_MW) settle_watch_end(pWatch);
    pWatch->hwnd_owner = hwnd_MW;
    pWatch->pStore = pStore;
    pWatch->pList = pList;
    load.dwEnd = GetTickCount() + QD_SETTLE_MS;
    pWatch->loads.push_back(std::move(load));
    SetTimer(hwnd_MW, reinterpret_cast<UINT_PTR>(pWatch), QD_SETTLE_TICK_MS, on_settle_timer);
}

void settle_watch_tick(STR_SettleWatch* pWatch)
{
    if (!pWatch) return;
    const DWORD dwNow = GetTickCount();
    for (size_t i = 0; i < pWatch->loads.size();) {
        if (look(pWatch, &pWatch->loads[i], dwNow)) {
            ++i;
            continue;
        }
        close_launch_handles(&pWatch->loads[i]);
        pWatch->loads.erase(pWatch->loads.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (pWatch->loads.empty()) settle_watch_end(pWatch);
}

void settle_watch_end(STR_SettleWatch* pWatch)
{
    if (!pWatch) return;
    if (pWatch->hwnd_owner) KillTimer(pWatch->hwnd_owner, reinterpret_cast<UINT_PTR>(pWatch));
    for (STR_SettleLoad& load : pWatch->loads) close_launch_handles(&load);
    pWatch->loads.clear();
    pWatch->hwnd_owner = nullptr;
}
