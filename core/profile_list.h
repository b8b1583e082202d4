// The Profile list record without its control: which store profile each
// list position shows, and the text each position shows.
//
// Names in the store's file pool may start at any byte, so the list never
// points into the pool. Each position's text is a copy held in
// STR_ProfileListNames, and CB_Profile_manage_STR::arr_p_PrfName[p] points
// at that copy (slot p) for p < uiN_strs, null from uiN_strs on. The Win32
// layer inserts arr_p_PrfName[p] into the control.
#pragma once
#include <cstdint>

#include "loaded_profiles.h"
#include "profile_lists.h"
#include "qd_text.h"

// A list entry shows at most this many units of the profile's name.
enum : uint32_t { QD_PROFILE_LIST_TEXT_UNITS = 201 };

// Per-position copies of the entry texts, each zero-terminated. Lives as
// long as the record that points into it (the main window's lifetime).
struct STR_ProfileListNames {
    qd_char arr_tc_Name[QD_PROFILE_LIST_CAPACITY][QD_PROFILE_LIST_TEXT_UNITS + 1];
};

enum : int32_t {
    QD_PL_OK = 1,
    QD_PL_REFUSED = 2,     // list full (add), no valid selection (delete, lookup)
    QD_PL_BAD_INPUT = -1,  // missing record or names, or k is not a stored profile
};

// Appends store profile k at position p = uiN_strs and writes p to
// *puiPos: arr_ind_prfl[p] = k, the text is the first 201 units of the
// profile's stored name. QD_PL_REFUSED when uiN_strs + 1 > uiMax_strs
// (capacity never above 32); every code but QD_PL_OK changes nothing.
int32_t profile_list_add(CB_Profile_manage_STR* pCB, STR_ProfileListNames* pNames,
                         const LoadedProfiles_STR* pStore, uint32_t k, uint32_t* puiPos);

// Whether iSel names an entry: QD_PL_OK for 0 <= iSel < uiN_strs,
// QD_PL_REFUSED otherwise (no selection, -1, included).
int32_t profile_list_check_selection(const CB_Profile_manage_STR* pCB, int32_t iSel);

// Removes the entry at iSel: the entries after it move one position up,
// each with its own store index and text, and the freed positions are
// zeroed. QD_PL_REFUSED, changing nothing, for a selection that
// profile_list_check_selection refuses.
int32_t profile_list_delete(CB_Profile_manage_STR* pCB, STR_ProfileListNames* pNames, int32_t iSel);

// Store index of the entry at iPos into *puiK: QD_PL_OK, QD_PL_REFUSED
// for no valid entry there.
int32_t profile_list_store_index(const CB_Profile_manage_STR* pCB, int32_t iPos, uint32_t* puiK);
