// The store of loaded profiles: every profile loaded since start, its file
// byte for byte and one window handle per entry, in two append-only pools.
#pragma once
#include <cstddef>
#include <cstdint>

#include "profile_format.h"
#include "qd_text.h"

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

// ---- Appending a profile ------------------------------------------------
// The pools are obtained and released by the program (committed memory,
// zero-filled); the functions below only hand out their bytes.

enum : int32_t {
    QD_LP_OK = 1,
    // Refusals for lack of room, in the order they are tested.
    QD_LP_NO_ROOM_PROFILES = 2,  // all uiMax_num_loaded_prfls slots taken
    QD_LP_NO_ROOM_HWNDS = 3,     // the handle pool cannot hold one handle per entry
    QD_LP_NO_ROOM_FILES = 4,     // the file pool cannot hold the file
    QD_LP_BAD_INPUT = -1,        // missing array or file, size 0, no entries
    QD_LP_NOT_READY = -2,        // capacity, pool size or pool missing (or capacity above 1024)
    QD_LP_BAD_FILE = -3,         // the file does not pass profile_open
    QD_LP_COUNTS_MISMATCH = -4,  // folder/program counts differ from the file's kind bytes
};

// What a caller needs to word its report or to use the new profile.
struct STR_LoadedAddInfo {
    uint32_t uiMax_num_loaded_prfls;  // capacity at the time of the call
    uint32_t uiN_loaded_prfls;        // profiles already loaded before the call
    uint32_t ui_index;                // QD_LP_OK: store index of the new profile
    int32_t iFile_refusal;            // QD_LP_BAD_FILE: the profile_open code
};

// Appends one profile: its file byte for byte to the file pool and one
// 32-bit handle per entry to the handle pool, in the file's entry order;
// an entry of kind 0 takes arr1D_hwnd_Folders_only[i], kind 1 takes
// arr1D_hwnd_Programs_only[i], any other kind 0. Both arrays have N_wnds
// slots. uiN_Folders and uiN_Programs must be the file's counts (kind 0;
// all others). The file is validated with profile_open before anything is
// written, and every code other than QD_LP_OK leaves the record and both
// pools exactly as they were. A profile that exactly fills the remaining
// room is accepted. pInfo is optional.
int32_t loaded_profiles_add(LoadedProfiles_STR* p_LoadedProfiles_STR,
                            const uint32_t* arr1D_hwnd_Programs_only,
                            const uint32_t* arr1D_hwnd_Folders_only, uint32_t size_FileProfile,
                            const uint8_t* pc_raw_FileProfile, uint32_t uiN_Folders,
                            uint32_t uiN_Programs, STR_LoadedAddInfo* pInfo);

// What loaded_profiles_add would answer for this file, without the handle
// arrays and without changing anything: the same checks in the same order.
// Lets a load refuse a profile before it starts anything for it.
int32_t loaded_profiles_check(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t size_FileProfile,
                              const uint8_t* pc_raw_FileProfile, uint32_t uiN_Folders, uint32_t uiN_Programs,
                              STR_LoadedAddInfo* pInfo);

// The room checks that need only the file's size, in the append's order
// (not ready, profiles, files), so a file the store could never take is
// refused before its bytes are read into memory.
int32_t loaded_profiles_check_file_room(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint64_t uiSize_file,
                                        STR_LoadedAddInfo* pInfo);

// The value the append operation returns for a code: 1, 2 for the three
// room refusals, -1 for the argument and file refusals, -2 for the record.
int32_t loaded_profiles_add_result(int32_t iCode);

// Detail line of the report of a room refusal; "" for other codes. The
// profile-count line takes the maximum and the number already loaded (%d).
const char* loaded_profiles_room_detail(int32_t iCode);

// ---- Reading a stored profile --------------------------------------------
// k is a store index. Every accessor first checks that k < uiN_loaded_prfls,
// that the pools exist and that profile k's recorded ranges lie inside them
// and agree with its size and counts; otherwise it gives 0, "" or a
// negative code, so a reader never leaves the pools.

// Number of entries (= handles) of profile k; 0 for an unusable k.
uint32_t loaded_profile_entry_count(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k);

// Handle slot i of profile k (0 when no window was found for the entry,
// or for an unusable k or i).
uint32_t loaded_profile_handle(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k, uint32_t i);

// Puts ui_hwnd into handle slot i of profile k (a program that swapped the
// window it showed first for another); false for an unusable k or i.
bool loaded_profile_set_handle(LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k, uint32_t i, uint32_t ui_hwnd);

// Profile k's name copied out of the file pool (where it may start at any
// byte) into ptcBuf: at most uiCap - 1 units, terminated when uiCap > 0.
// Returns the name's full length in units (> uiCap - 1 means cut), 0 for
// an unusable k.
size_t loaded_profile_copy_name(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k,
                                qd_char* ptcBuf, size_t uiCap);

// A walk over profile k's entries in file order. The stored bytes are
// opened again with profile_open, so the walk stays inside profile k's
// file whatever the pool holds.
struct STR_LoadedEntryWalk {
    STR_ProfileView view;    // profile k's stored file
    STR_ProfileEntry entry;  // current entry: kind, saved geometry, path
    uint32_t ui_hwnd;        // the current entry's handle slot
    const uint8_t* pc_hwnds; // profile k's handles in the handle pool
};

// Positions the walk on entry 0: QD_LP_OK; QD_LP_BAD_INPUT for a missing
// argument or an unusable k; QD_LP_BAD_FILE when the stored bytes do not
// open (nothing is walked).
int32_t loaded_walk_first(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k,
                          STR_LoadedEntryWalk* pWalk);
// Moves to the next entry: 1, 0 after the last one, QD_LP_BAD_INPUT for a
// walk that loaded_walk_first did not start.
int32_t loaded_walk_next(STR_LoadedEntryWalk* pWalk);
