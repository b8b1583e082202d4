// The Load Profile command, the loaded-profile store's preparation, append
// and release.
#pragma once
#include <windows.h>

#include <cstdint>

#include "loaded_profiles.h"
#include "profile_format.h"
#include "profile_list.h"
#include "profile_lists.h"
#include "funcs_layout_windows/settle_watch.h"

// iMode 0: ask for the file in an Open dialog; 1: load ptcFilePath_Profile
// (a dropped file). The profile's programs then settle under pSettle's
// watch (a splash screen's slot goes to the main window that follows it).
// 1 when the profile was processed or the dialog was cancelled; a negative code after its report:
//   -1 missing argument, -2 the dialog failed or the file did not open,
//   -3 empty file, -4 no room for the end mark, -5 a read failed,
//   -6 wrong end mark, -7 no memory for the file, -8 the file's counts or
//   lengths do not fit it, -9 no memory for a working buffer, -10 no
//   entries, -11 a file of 4 GiB or more, -15 the folder check failed.
int32_t onButton_LoadProfile_clicked(HWND hwnd_MW, int32_t iMode, const wchar_t* ptcFilePath_Profile,
                                     LoadedProfiles_STR* p_LoadedProfiles_STR,
                                     CB_Profile_manage_STR* p_CB_Profile_mng_STR, STR_ProfileListNames* pNames,
                                     STR_SettleWatch* pSettle);

// Puts a found window where its entry was saved: a window with a saved
// geometry is restored when minimised, then placed; one without is
// minimised. Nothing waits for the window's program.
void place_loaded_window(uint32_t ui_hwnd, const STR_ProfileEntry& e);

int32_t preInitOnce_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR);

// Appends a loaded profile to the store: 1 added; 2 refused for lack of
// room (reported); -1 bad arguments or a file the store cannot take; -2 the
// store was not prepared. The new profile's index is uiN_loaded_prfls - 1.
int32_t add_profile_data_to_DynMem(LoadedProfiles_STR* p_LoadedProfiles_STR, const uint32_t* pc_arr1D_hwnd_Programs_only,
                                   const uint32_t* pc_arr1D_hwnd_Folders_only, uint32_t size_FileProfile,
                                   const uint8_t* pc_raw_FileProfile, uint32_t uiN_Folders, uint32_t uiN_Programs);

// The same answer and report as add_profile_data_to_DynMem would give for
// this file, before anything is started for it; nothing is changed.
int32_t check_room_for_profile(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t size_FileProfile,
                               const uint8_t* pc_raw_FileProfile, uint32_t uiN_Folders, uint32_t uiN_Programs);

// The room checks that need only the file's size, with the same report:
// 1 there is room, 2 refused, -2 the store was not prepared.
int32_t check_file_room_for_profile(const LoadedProfiles_STR* p_LoadedProfiles_STR, uint64_t uiSize_file);

int32_t finishWork_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR);
