#include "funcs_layout_windows/lists.h"

#include "platform/zt_win.h"

// Apply needs loaded profiles; it arrives with the Load Profile command.
int32_t onButton_Apply_press(CB_Profile_manage_STR* /*p_CB_Profile_manage_STR*/,
                             CB_Action_manage_STR* /*p_CB_Action_manage_STR*/,
                             LoadedProfiles_STR* /*p_LoadedProfiles_STR*/)
{
    zt_MessageBox(nullptr, L"Applying actions to profiles is not available in this version yet.", L"information", MB_OK);
    return 1;
}
