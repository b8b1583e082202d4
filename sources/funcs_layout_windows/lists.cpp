#include "funcs_layout_windows/lists.h"

#include <cstring>

#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"

namespace {

bool is_selchange_of(UINT uiCode, UINT uiID, HWND hwndCtl, uint32_t uiIDExpected, uint32_t hwndExpected)
{
    return uiCode == CBN_SELCHANGE && uiID == uiIDExpected && zt_hwnd32(hwndCtl) == hwndExpected;
}

}  // namespace

int32_t CB_Action_init(HWND hwnd_CB_Action, uint32_t uiID, CB_Action_manage_STR* p_CB_Action_manage_STR)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!hwnd_CB_Action || !p_CB_Action_manage_STR) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\nhwnd_CB_Action = %p, p_CB_Action_manage_STR = %p",
                     hwnd_CB_Action, p_CB_Action_manage_STR);
        return -1;
    }
    const wchar_t* const actions[3] = {L"Minimize", L"Restore", L"Close"};
    for (int i = 0; i < 3; ++i) {
        LRESULT r = SendMessageW(hwnd_CB_Action, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(actions[i]));
        if (r == CB_ERR || r == CB_ERRSPACE)
            zt_Box(nullptr, L"error while inserting string to ComboBox Action", L"error", MB_OK);
    }
    std::memset(p_CB_Action_manage_STR, 0, sizeof(*p_CB_Action_manage_STR));
    p_CB_Action_manage_STR->hwnd_CB = zt_hwnd32(hwnd_CB_Action);
    p_CB_Action_manage_STR->uiID_CB = uiID;
    p_CB_Action_manage_STR->uiN_strs = 3;
    p_CB_Action_manage_STR->iSel_CB = 0;
    return 1;
}

int32_t onWM_COMMAND_CB_Profile(UINT uiCode, UINT uiID, HWND hwndCtl, CB_Profile_manage_STR* pCB_mng_STR)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!hwndCtl || !pCB_mng_STR) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\nhwndCtl = %p, pCB_mng_STR = %p",
                     hwndCtl, pCB_mng_STR);
        return -1;
    }
    if (is_selchange_of(uiCode, uiID, hwndCtl, pCB_mng_STR->uiID_CB, pCB_mng_STR->hwnd_CB))
        pCB_mng_STR->iSel_CB = static_cast<int32_t>(SendMessageW(hwndCtl, CB_GETCURSEL, 0, 0));
    return 1;
}

int32_t onWM_COMMAND_CB_Action(UINT uiCode, UINT uiID, HWND hwndCtl, CB_Action_manage_STR* pCB_Action_mng_STR)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!hwndCtl || !pCB_Action_mng_STR) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\nhwndCtl = %p, pCB_Action_mng_STR = %p",
                     hwndCtl, pCB_Action_mng_STR);
        return -1;
    }
    if (is_selchange_of(uiCode, uiID, hwndCtl, pCB_Action_mng_STR->uiID_CB, pCB_Action_mng_STR->hwnd_CB))
        pCB_Action_mng_STR->iSel_CB = static_cast<int32_t>(SendMessageW(hwndCtl, CB_GETCURSEL, 0, 0));
    return 1;
}

int32_t CB_Profile_add_string(CB_Profile_manage_STR* p_CB_mng_STR, STR_ProfileListNames* pNames,
                              const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p_CB_mng_STR || !pNames || !p_LoadedProfiles_STR) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\np_CB_mng_STR = %p, p_tc_sz_name = %p",
                     p_CB_mng_STR, pNames);
        return -1;
    }
    uint32_t uiPos = 0;
    int32_t iRet = profile_list_add(p_CB_mng_STR, pNames, p_LoadedProfiles_STR, k, &uiPos);
    if (iRet == QD_PL_REFUSED) {
        zt_Box(nullptr, L"impossible to add string to ComboBox, max number exceeded", L"warning", MB_OK);
        return 2;
    }
    if (iRet != QD_PL_OK) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, the profile is not in the store: k = %u",
                     k);
        return -1;
    }
    HWND hwndCB = zt_hwnd(p_CB_mng_STR->hwnd_CB);
    LRESULT r = SendMessageW(hwndCB, CB_INSERTSTRING, uiPos, reinterpret_cast<LPARAM>(zt_W(p_CB_mng_STR->arr_p_PrfName[uiPos])));
    if (r == CB_ERR || r == CB_ERRSPACE) zt_Box(nullptr, L"error while inserting string to ComboBox Profile", L"error", MB_OK);
    // The new entry is selected by its position: selecting by text would
    // pick an older entry whose name begins with the new one.
    SendMessageW(hwndCB, CB_SETCURSEL, uiPos, 0);
    p_CB_mng_STR->iSel_CB = static_cast<int32_t>(uiPos);
    return 1;
}

int32_t CB_Profile_del_string(CB_Profile_manage_STR* p_CB_mng_STR, STR_ProfileListNames* pNames)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p_CB_mng_STR || !pNames) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\np_CB_mng_STR = %p",
                     p_CB_mng_STR);
        return -1;
    }
    HWND hwndCB = zt_hwnd(p_CB_mng_STR->hwnd_CB);
    const int32_t iSel = static_cast<int32_t>(SendMessageW(hwndCB, CB_GETCURSEL, 0, 0));
    if (profile_list_check_selection(p_CB_mng_STR, iSel) != QD_PL_OK) {
        zt_Box(nullptr, L"error while deleting string from ComboBox Profile\nind > uiN_strs or 0 == uiN_strs", L"error", MB_OK);
        return 2;
    }
    if (SendMessageW(hwndCB, CB_DELETESTRING, iSel, 0) == CB_ERR) {
        zt_Box(nullptr, L"error while deleting string from ComboBox Profile", L"error", MB_OK);
        return 2;
    }
    profile_list_delete(p_CB_mng_STR, pNames, iSel);
    return 1;
}
