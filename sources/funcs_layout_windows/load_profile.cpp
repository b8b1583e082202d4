#include "funcs_layout_windows/load_profile.h"

#include "platform/zt_win.h"

// Loading profiles arrives with the profile store's append, the window
// search and the launcher; until then the command says so plainly.
int32_t onButton_LoadProfile_clicked(HWND hwnd_MW, int32_t /*iMode*/, const wchar_t* /*ptcPath*/,
                                     LoadedProfiles_STR* /*p_LoadedProfiles_STR*/,
                                     CB_Profile_manage_STR* /*p_CB_Profile_manage_STR*/)
{
    zt_MessageBox(hwnd_MW, L"Loading profiles is not available in this version yet.", L"information", MB_OK);
    return 1;
}
