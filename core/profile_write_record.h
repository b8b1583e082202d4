// The profile write record: the ticked rows of a scan, copied out of the
// scan result store when Create Profile is pressed, waiting for a name and
// a file. Editing the table afterwards does not change what is saved.
#pragma once
#include <cstddef>
#include <cstdint>

#include "profile_format.h"
#include "qd_text.h"
#include "scan_store.h"

struct STR_RW_PRFL {
    qd_char tc_PrfName[QD_PRF_NAME_MAX_UNITS];  // not terminated
    uint32_t uiSize_PrfName_inBytes;
    uint32_t N_wnds_in_profile;
    uint32_t* p_arr1D_ui_indexes_wnds_profile;  // list row (= store index) per entry, ascending
    uint8_t* p_arr1D_uc_flag_Prg_or_Folder;
    uint32_t* p_arr1D_ui_x;
    uint32_t* p_arr1D_ui_y;
    uint32_t* p_arr1D_ui_w;
    uint32_t* p_arr1D_ui_h;
    uint32_t* p_arr1D_ui_len_path;
    qd_char* p_arr_strz_paths;  // packed, each path followed by a zero unit
};

enum : int32_t { QD_RW_ARRAYS = 8 };

// Sizes in bytes of the eight arrays, in record order, for N entries and
// the store's longest path L (bytes). Returns false when a size overflows.
bool rw_profile_array_sizes(uint32_t N, uint32_t uiMaxLen_inBytes_AllPath, size_t arr_uiSizes[QD_RW_ARRAYS]);

// Addresses of the eight array pointers in record order, for allocating
// and releasing them uniformly.
void** rw_profile_array_slot(STR_RW_PRFL* pSTR_RW_PRFL, int i);

// Copies kind, geometry and path of each entry's row from the store.
// Entries must already hold their row numbers. Returns 1, or -1 when the
// record, the store, a buffer or the count is missing, or a row is not in
// the store.
int32_t rw_profile_prepare(STR_RW_PRFL* pSTR_RW_PRFL, const STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA);

// Stores a name handed back as cbData bytes: whole units only, cut to the
// record's 256 units. Returns the bytes stored.
uint32_t rw_profile_set_name(STR_RW_PRFL* pSTR_RW_PRFL, const void* pvData, size_t cbData);

// The record as the file writer's input.
STR_ProfileData rw_profile_as_data(const STR_RW_PRFL* pSTR_RW_PRFL);
