#include <cstring>

#include "funcs_layout_windows/load_profile.h"
#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"

int32_t preInitOnce_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p_LoadedProfiles_STR) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_LoadedProfiles_STR = %p",
                  __FILE__, __func__, rep->iLine, __LINE__, p_LoadedProfiles_STR);
        return -1;
    }
    LoadedProfiles_STR* p = p_LoadedProfiles_STR;
    std::memset(p, 0, sizeof(*p));
    p->uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES;
    p->uiSize_DynMem_hwnds_wnds_prfl = QD_POOL_HWNDS_SIZE;
    p->uiSize_DynMem_files = QD_POOL_FILES_SIZE;
    p->pc_hwnds_wnds_of_prfl = static_cast<uint8_t*>(zt_VirtualAlloc(p->uiSize_DynMem_hwnds_wnds_prfl));
    if (p->pc_hwnds_wnds_of_prfl)
        p->pc_raw_FilesProfile = static_cast<uint8_t*>(zt_VirtualAlloc(p->uiSize_DynMem_files));
    if (!p->pc_hwnds_wnds_of_prfl || !p->pc_raw_FilesProfile) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\n\nerror <- VirtualAlloc()",
                  __FILE__, __func__, rep->iLine, __LINE__);
        return -2;
    }
    return 1;
}

int32_t finishWork_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p_LoadedProfiles_STR) {
        rep->iLine = __LINE__;
        zt_Report(rep, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_LoadedProfiles_STR = %p",
                  __FILE__, __func__, rep->iLine, __LINE__, p_LoadedProfiles_STR);
        return -1;
    }
    zt_VirtualFree(p_LoadedProfiles_STR->pc_hwnds_wnds_of_prfl);
    zt_VirtualFree(p_LoadedProfiles_STR->pc_raw_FilesProfile);
    return 1;
}
