#include <cstring>
#include <string>

#include "funcs_layout_windows/load_profile.h"
#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"

int32_t preInitOnce_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR)
{
    STR_ReportUnit* rep = rep_profiles();
    if (!p_LoadedProfiles_STR) return report_missing_store(__FILE__, __func__, __LINE__);
    LoadedProfiles_STR* p = p_LoadedProfiles_STR;
    std::memset(p, 0, sizeof(*p));
    p->uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES;
    p->uiSize_DynMem_hwnds_wnds_prfl = QD_POOL_HWNDS_SIZE;
    p->uiSize_DynMem_files = QD_POOL_FILES_SIZE;
    p->pc_hwnds_wnds_of_prfl = static_cast<uint8_t*>(zt_VirtualAlloc(p->uiSize_DynMem_hwnds_wnds_prfl));
    if (p->pc_hwnds_wnds_of_prfl)
        p->pc_raw_FilesProfile = static_cast<uint8_t*>(zt_VirtualAlloc(p->uiSize_DynMem_files));
    if (!p->pc_hwnds_wnds_of_prfl || !p->pc_raw_FilesProfile) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\n\nerror <- VirtualAlloc()");
        return -2;
    }
    return 1;
}

int32_t finishWork_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR)
{
    if (!p_LoadedProfiles_STR) return report_missing_store(__FILE__, __func__, __LINE__);
    zt_VirtualFree(p_LoadedProfiles_STR->pc_hwnds_wnds_of_prfl);
    zt_VirtualFree(p_LoadedProfiles_STR->pc_raw_FilesProfile);
    return 1;
}

namespace {

// The store's report of a refused append (or of a refusal known before
// it); returns the operation's result for the code.
int32_t report_append(int32_t iCode, const LoadedProfiles_STR* p_LoadedProfiles_STR, const STR_LoadedAddInfo& info,
                      const void* pc_arr1D_hwnd_Programs_only, const void* pc_arr1D_hwnd_Folders_only,
                      const uint8_t* pc_raw_FileProfile, uint32_t size_FileProfile, uint32_t uiN_Folders,
                      uint32_t uiN_Programs)
{
    STR_ReportUnit* rep = rep_profiles();
    const LoadedProfiles_STR* p = p_LoadedProfiles_STR;
    const char* const pcFunc = "add_profile_data_to_DynMem";
    switch (iCode) {
    case QD_LP_OK:
        return 1;
    case QD_LP_BAD_INPUT:
        QD_REPORT_HF(rep, pcFunc, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_LoadedProfiles_STR = %p, pc_arr1D_hwnd_Programs_only = %p, pc_arr1D_hwnd_Folders_only = %p, pc_raw_FileProfile = %p, size_FileProfile = %d, uiN_Folders = %d, uiN_Programs = %d",
                     p_LoadedProfiles_STR, pc_arr1D_hwnd_Programs_only, pc_arr1D_hwnd_Folders_only, pc_raw_FileProfile,
                     size_FileProfile, uiN_Folders, uiN_Programs);
        break;
    case QD_LP_NOT_READY:
        QD_REPORT_HF(rep, pcFunc, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters (fields of STRUCTURE):\n\nuiMax_num_loaded_prfls = %d, uiSize_DynMem_hwnds_wnds_prfl = %d, uiSize_DynMem_files = %d, pc_hwnds_wnds_of_prfl = %p, pc_raw_FilesProfile = %p",
                     p->uiMax_num_loaded_prfls, p->uiSize_DynMem_hwnds_wnds_prfl, p->uiSize_DynMem_files,
                     p->pc_hwnds_wnds_of_prfl, p->pc_raw_FilesProfile);
        break;
    case QD_LP_BAD_FILE:
    case QD_LP_COUNTS_MISMATCH:
        QD_REPORT_HF(rep, pcFunc, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, the profile's data are not a valid profile file (%d, %d)\nProfile will not be added\n",
                     iCode, info.iFile_refusal);
        break;
    default: {
        // Room refusals: the header, then the detail of the room that ran out.
        const std::string tmpl = std::string("error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\n\n") +
                                 loaded_profiles_room_detail(iCode);
        QD_REPORT_HF(rep, pcFunc, tmpl.c_str(), info.uiMax_num_loaded_prfls, info.uiN_loaded_prfls);
        break;
    }
    }
    return loaded_profiles_add_result(iCode);
}

}  // namespace

int32_t add_profile_data_to_DynMem(LoadedProfiles_STR* p_LoadedProfiles_STR, const uint32_t* pc_arr1D_hwnd_Programs_only,
                                   const uint32_t* pc_arr1D_hwnd_Folders_only, uint32_t size_FileProfile,
                                   const uint8_t* pc_raw_FileProfile, uint32_t uiN_Folders, uint32_t uiN_Programs)
{
    STR_LoadedAddInfo info{};
    const int32_t iCode = loaded_profiles_add(p_LoadedProfiles_STR, pc_arr1D_hwnd_Programs_only, pc_arr1D_hwnd_Folders_only,
                                              size_FileProfile, pc_raw_FileProfile, uiN_Folders, uiN_Programs, &info);
    return report_append(iCode, p_LoadedProfiles_STR, info, pc_arr1D_hwnd_Programs_only, pc_arr1D_hwnd_Folders_only,
                         pc_raw_FileProfile, size_FileProfile, uiN_Folders, uiN_Programs);
}

int32_t check_room_for_profile(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t size_FileProfile,
                               const uint8_t* pc_raw_FileProfile, uint32_t uiN_Folders, uint32_t uiN_Programs)
{
    STR_LoadedAddInfo info{};
    const int32_t iCode =
        loaded_profiles_check(p_LoadedProfiles_STR, size_FileProfile, pc_raw_FileProfile, uiN_Folders, uiN_Programs, &info);
    return report_append(iCode, p_LoadedProfiles_STR, info, nullptr, nullptr, pc_raw_FileProfile, size_FileProfile,
                         uiN_Folders, uiN_Programs);
}

int32_t check_file_room_for_profile(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint64_t uiSize_file)
{
    STR_LoadedAddInfo info{};
    const int32_t iCode = loaded_profiles_check_file_room(p_LoadedProfiles_STR, uiSize_file, &info);
    return report_append(iCode, p_LoadedProfiles_STR, info, nullptr, nullptr, nullptr,
                         static_cast<uint32_t>(uiSize_file), 0, 0);
}
