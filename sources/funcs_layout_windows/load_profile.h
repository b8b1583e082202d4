// The Load Profile command, the loaded-profile store's preparation and release.
#pragma once
#include <windows.h>

#include <cstdint>

#include "loaded_profiles.h"
#include "profile_lists.h"

// iMode 0: ask for the file in an Open dialog; 1: load ptcPath (a dropped file).
int32_t onButton_LoadProfile_clicked(HWND hwnd_MW, int32_t iMode, const wchar_t* ptcPath,
                                     LoadedProfiles_STR* p_LoadedProfiles_STR,
                                     CB_Profile_manage_STR* p_CB_Profile_manage_STR);

int32_t preInitOnce_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR);
int32_t finishWork_onLoadProfile(LoadedProfiles_STR* p_LoadedProfiles_STR);
