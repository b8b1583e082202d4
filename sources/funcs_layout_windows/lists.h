// The Profile and Action lists of the main window, and the Apply command.
#pragma once
#include <windows.h>

#include <cstdint>

#include "loaded_profiles.h"
#include "profile_lists.h"

int32_t CB_Action_init(HWND hwnd_CB_Action, uint32_t uiID, CB_Action_manage_STR* p_CB_Action_manage_STR);
int32_t onWM_COMMAND_CB_Profile(UINT uiCode, UINT uiID, HWND hwndCtl, CB_Profile_manage_STR* pCB_mng_STR);
int32_t onWM_COMMAND_CB_Action(UINT uiCode, UINT uiID, HWND hwndCtl, CB_Action_manage_STR* pCB_Action_mng_STR);
int32_t onButton_Apply_press(CB_Profile_manage_STR* p_CB_Profile_manage_STR,
                             CB_Action_manage_STR* p_CB_Action_manage_STR,
                             LoadedProfiles_STR* p_LoadedProfiles_STR);
