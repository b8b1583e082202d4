// Records behind the main window's Profile and Action lists.
#pragma once
#include <cstdint>

#include "qd_text.h"

enum : uint32_t { QD_PROFILE_LIST_CAPACITY = 32 };

// Actions by their position in the Action list.
enum : int32_t { QD_ACTION_MINIMIZE = 0, QD_ACTION_RESTORE = 1, QD_ACTION_CLOSE = 2 };

struct CB_Profile_manage_STR {
    uint32_t hwnd_CB;  // the Profile list control (32-bit window handle)
    uint32_t uiID_CB;
    uint32_t uiN_strs;
    uint32_t uiMax_strs;
    int32_t iSel_CB;   // last selection the list reported
    const qd_char* arr_p_PrfName[QD_PROFILE_LIST_CAPACITY];  // list texts: aligned copies of the names (STR_ProfileListNames)
    uint32_t arr_ind_prfl[QD_PROFILE_LIST_CAPACITY];         // store index of each list position
};

struct CB_Action_manage_STR {
    uint32_t hwnd_CB;
    uint32_t uiID_CB;
    uint32_t uiN_strs;
    int32_t iSel_CB;
};
