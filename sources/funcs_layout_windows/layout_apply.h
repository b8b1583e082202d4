// The main window's layout on WM_SIZE and its drop handler.
#pragma once
#include <windows.h>

#include <cstdint>

#include "layout_main.h"
#include "loaded_profiles.h"
#include "profile_list.h"
#include "profile_lists.h"
#include "funcs_layout_windows/settle_watch.h"

int32_t on_WM_SIZE(HWND hwnd_MW, WPARAM wParam, LPARAM lParam, STR_GeomLt* pSTR_GeomLt, HWND hWndBTN00,
                   HWND hWndBTN02, HWND hWndBTN_Apply, HWND hwnd_CB_Profile, HWND hwnd_CB_Action);

int32_t on_wm_dropfiles(HWND hwnd_MW, HDROP hDrop, LoadedProfiles_STR* pLoadedProfiles_STR,
                        CB_Profile_manage_STR* pCB_Profile_manage_STR, STR_ProfileListNames* pNames,
                        STR_SettleWatch* pSettle);
