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
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\nhwnd_CB_Action = %p, p_CB_Action_manage_STR = %p",
                  __FILE__, __func__, rep->iLine, __LINE__, hwnd_CB_Action, p_CB_Action_manage_STR);
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
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\nhwndCtl = %p, pCB_mng_STR = %p",
                  __FILE__, __func__, rep->iLine, __LINE__, hwndCtl, pCB_mng_STR);
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
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\nhwndCtl = %p, pCB_Action_mng_STR = %p",
                  __FILE__, __func__, rep->iLine, __LINE__, hwndCtl, pCB_Action_mng_STR);
        return -1;
    }
    if (is_selchange_of(uiCode, uiID, hwndCtl, pCB_Action_mng_STR->uiID_CB, pCB_Action_mng_STR->hwnd_CB))
        pCB_Action_mng_STR->iSel_CB = static_cast<int32_t>(SendMessageW(hwndCtl, CB_GETCURSEL, 0, 0));
    return 1;
}
