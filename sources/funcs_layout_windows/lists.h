// The Profile and Action lists of the main window, and the Apply command.
#pragma once
#include <windows.h>

#include <cstdint>

#include "loaded_profiles.h"
#include "profile_list.h"
#include "profile_lists.h"

int32_t CB_Action_init(HWND hwnd_CB_Action, uint32_t uiID, CB_Action_manage_STR* p_CB_Action_manage_STR);
int32_t onWM_COMMAND_CB_Profile(UINT uiCode, UINT uiID, HWND hwndCtl, CB_Profile_manage_STR* pCB_mng_STR);
int32_t onWM_COMMAND_CB_Action(UINT uiCode, UINT uiID, HWND hwndCtl, CB_Action_manage_STR* pCB_Action_mng_STR);

// Appends store profile k to the Profile list and selects the new entry.
// 1; 2 when the list is full (told in a "warning" box); -1 missing argument.
int32_t CB_Profile_add_string(CB_Profile_manage_STR* p_CB_mng_STR, STR_ProfileListNames* pNames,
                              const LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k);
// Removes the Profile list's selected entry: 1; 2 when nothing valid is
// selected or the control refuses; -1 missing argument.
int32_t CB_Profile_del_string(CB_Profile_manage_STR* p_CB_mng_STR, STR_ProfileListNames* pNames);

int32_t onButton_Apply_press(CB_Profile_manage_STR* p_CB_Profile_manage_STR, STR_ProfileListNames* pNames,
                             CB_Action_manage_STR* p_CB_Action_manage_STR,
                             LoadedProfiles_STR* p_LoadedProfiles_STR);
int32_t Restore_Move_Size_wnds_Profile(LoadedProfiles_STR* p_LoadedProfiles_STR, uint32_t k);
