// The store of loaded profiles: every profile loaded since start, its file
// byte for byte and one window handle per entry, in two append-only pools.
#pragma once
#include <cstdint>

enum : uint32_t {
    QD_MAX_LOADED_PROFILES = 1024,
    QD_POOL_HWNDS_SIZE = 4194304,   // 4 MiB of 32-bit window handles
    QD_POOL_FILES_SIZE = 33554432,  // 32 MiB of profile files
};

struct LoadedProfiles_STR {
    uint32_t uiN_loaded_prfls;
    uint32_t arr_size_FileProfile[QD_MAX_LOADED_PROFILES];
    uint32_t uiMax_num_loaded_prfls;
    uint32_t arr_uiN_Folders[QD_MAX_LOADED_PROFILES];
    uint32_t arr_uiN_Programs[QD_MAX_LOADED_PROFILES];
    uint32_t uiSize_DynMem_hwnds_wnds_prfl;
    uint32_t uiSize_DynMem_files;
    uint8_t* pc_hwnds_wnds_of_prfl;
    uint8_t* pc_raw_FilesProfile;
    uint32_t arr_uiOff_PrfName_beg[QD_MAX_LOADED_PROFILES];
    uint32_t arr_uiOff_PrfName_end[QD_MAX_LOADED_PROFILES];
    uint32_t arr_uiOff_hwnds_beg[QD_MAX_LOADED_PROFILES];
    uint32_t arr_uiOff_hwnds_end[QD_MAX_LOADED_PROFILES];
    uint32_t arr_uiOff_file_beg[QD_MAX_LOADED_PROFILES];
    uint32_t arr_uiOff_file_end[QD_MAX_LOADED_PROFILES];
};
