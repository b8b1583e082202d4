#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_monitors.h"
#include "platform/zt_win.h"

namespace {

// Every window handle of store profile k, in the file's entry order; the
// slots of entries whose window was never found are 0 and skipped.
template <typename F>
void for_each_window(const LoadedProfiles_STR* pStore, uint32_t k, F f)
{
    const uint32_t n = loaded_profile_entry_count(pStore, k);
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t h = loaded_profile_handle(pStore, k, i);
        if (h) f(zt_hwnd(h));
    }
}

int32_t selection_of(uint32_t hwndCB)
{
    return static_cast<int32_t>(SendMessageW(zt_hwnd(hwndCB), CB_GETCURSEL, 0, 0));
}

}  // namespace

int32_t Restore_Move_Size_wnds_Profile(LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p_LoadedProfiles_STR) return report_missing_store(__FILE__, __func__, __LINE__);
    if (!p_LoadedProfiles_STR->pc_raw_FilesProfile) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_LoadedProfiles_STR->pc_raw_FilesProfile = %p",
                     p_LoadedProfiles_STR->pc_raw_FilesProfile);
        return -1;
    }
    STR_LoadedEntryWalk walk{};
    if (loaded_walk_first(p_LoadedProfiles_STR, k, &walk) != QD_LP_OK) return 1;  // nothing stored to restore
    do {
        const STR_ProfileEntry& e = walk.entry;
        if (!walk.ui_hwnd || !profile_has_saved_geometry(&e)) continue;
        // Back where it was saved, or onto a monitor when that place is out of reach now.
        const STR_Place p = zt_PlaceInReach(e.i_x, e.i_y, e.i_w, e.i_h);
        zt_PlaceWindowAsync(zt_hwnd(walk.ui_hwnd), true, p.i_x, p.i_y, p.i_w, p.i_h);
    } while (loaded_walk_next(&walk) == 1);
    return 1;
}

int32_t onButton_Apply_press(CB_Profile_manage_STR* p_CB_Profile_manage_STR, STR_ProfileListNames* pNames,
                             CB_Action_manage_STR* p_CB_Action_manage_STR,
                             LoadedProfiles_STR* p_LoadedProfiles_STR)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p_CB_Profile_manage_STR || !pNames || !p_CB_Action_manage_STR || !p_LoadedProfiles_STR) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_CB_Profile_manage_STR = %p\np_CB_Action_manage_STR = %p",
                     p_CB_Profile_manage_STR, p_CB_Action_manage_STR);
        return -1;
    }
    const int32_t iAction = selection_of(p_CB_Action_manage_STR->hwnd_CB);
    if (iAction < 0) {
        zt_Box(nullptr, L"There is no selected item in \"Action\" list", L"info", MB_OK);
        return 1;
    }
    uint32_t k = 0;
    const int32_t iPos = selection_of(p_CB_Profile_manage_STR->hwnd_CB);
    if (profile_list_store_index(p_CB_Profile_manage_STR, iPos, &k) != QD_PL_OK) {
        zt_Box(nullptr, L"There is no selected item in \"Profile\" list.\nSelect or Load at least one Profile.", L"info", MB_OK);
        return 1;
    }
    switch (iAction) {
    case QD_ACTION_MINIMIZE:
        for_each_window(p_LoadedProfiles_STR, k, [](HWND h) { ShowWindowAsync(h, SW_MINIMIZE); });
        break;
    case QD_ACTION_RESTORE:
        Restore_Move_Size_wnds_Profile(p_LoadedProfiles_STR, k);
        break;
    case QD_ACTION_CLOSE:
        for_each_window(p_LoadedProfiles_STR, k, [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); });
        CB_Profile_del_string(p_CB_Profile_manage_STR, pNames);
        break;
    default:
        break;
    }
    return 1;
}
