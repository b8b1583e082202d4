#include <windows.h>

#include "funcs_layout_windows/layout_apply.h"
#include "funcs_layout_windows/load_profile.h"
#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_shell.h"
#include "platform/zt_win.h"

int32_t on_wm_dropfiles(HWND hwnd_MW, HDROP hDrop, LoadedProfiles_STR* pLoadedProfiles_STR,
                        CB_Profile_manage_STR* pCB_Profile_manage_STR, STR_ProfileListNames* pNames,
                        STR_SettleWatch* pSettle)
{
    STR_ReportUnit* rep = rep_layout();
    if (!hwnd_MW || !hDrop) {
        if (hDrop) zt_DragFinish(hDrop);  // the drop is released on every path
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input:\nhwnd_MW = %p, hDrop = %p\nline of error handler:\n%d",
                  hwnd_MW, hDrop);
        return -1;
    }
    // Only the first of several dropped files is loaded.
    zt_DragQueryFile(hDrop, 0xFFFFFFFF, nullptr, 0);
    // 2048 units as a rule; a longer name gets a buffer that holds it whole.
    const UINT uiNeed = zt_DragQueryFile(hDrop, 0, nullptr, 0);
    const UINT uiCapUnits = uiNeed + 1 > 2048 ? uiNeed + 1 : 2048;
    wchar_t* ptcPath = static_cast<wchar_t*>(zt_VirtualAlloc(uiCapUnits * sizeof(wchar_t)));
    if (!ptcPath) {
        zt_DragFinish(hDrop);
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror while DynMemAlloc()\n\nline of error handler:\n%d");
        return -2;
    }
    UINT uiLen = zt_DragQueryFile(hDrop, 0, ptcPath, uiCapUnits);
    zt_DragFinish(hDrop);  // the name is read; the drop handle is no longer needed
    if (uiLen == 0) {
        zt_VirtualFree(ptcPath);
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror, one of callable functions returned error, DragQueryFile( )\n\nline of error handler:\n%d");
        return -3;
    }
    int32_t iRet = onButton_LoadProfile_clicked(hwnd_MW, 1, ptcPath, pLoadedProfiles_STR, pCB_Profile_manage_STR, pNames, pSettle);
    zt_VirtualFree(ptcPath);
    if (iRet < 0) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror, one of callable functions returned error, onButton_LoadProfile_clicked()\n\nline of error handler:\n%d");
        return -4;
    }
    return 1;
}
