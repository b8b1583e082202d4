#include "profile_list.h"

#include <cstring>

namespace {

uint32_t capacity(const CB_Profile_manage_STR* pCB)
{
    return pCB->uiMax_strs < QD_PROFILE_LIST_CAPACITY ? pCB->uiMax_strs : QD_PROFILE_LIST_CAPACITY;
}

}  // namespace

int32_t profile_list_add(CB_Profile_manage_STR* pCB, STR_ProfileListNames* pNames,
                         const LoadedProfiles_STR* pStore, uint32_t k, uint32_t* puiPos)
{
    if (!pCB || !pNames || !puiPos) return QD_PL_BAD_INPUT;
    // Checked first: a name that cannot be read means k is no stored profile.
    if (!loaded_profile_copy_name(pStore, k, nullptr, 0)) return QD_PL_BAD_INPUT;
    const uint32_t p = pCB->uiN_strs;
    if (uint64_t{p} + 1 > capacity(pCB)) return QD_PL_REFUSED;
    qd_char* ptcText = pNames->arr_tc_Name[p];
    std::memset(ptcText, 0, sizeof pNames->arr_tc_Name[p]);
    loaded_profile_copy_name(pStore, k, ptcText, QD_PROFILE_LIST_TEXT_UNITS + 1);
    pCB->uiN_strs = p + 1;
    pCB->arr_ind_prfl[p] = k;
    pCB->arr_p_PrfName[p] = ptcText;
    *puiPos = p;
    return QD_PL_OK;
}

int32_t profile_list_check_selection(const CB_Profile_manage_STR* pCB, int32_t iSel)
{
    if (!pCB) return QD_PL_BAD_INPUT;
    // Taken as unsigned, -1 (no selection) is above any count.
    const uint32_t p = static_cast<uint32_t>(iSel);
    return p < pCB->uiN_strs && p < QD_PROFILE_LIST_CAPACITY ? QD_PL_OK : QD_PL_REFUSED;
}

int32_t profile_list_delete(CB_Profile_manage_STR* pCB, STR_ProfileListNames* pNames, int32_t iSel)
{
    if (!pCB || !pNames) return QD_PL_BAD_INPUT;
    const int32_t iRet = profile_list_check_selection(pCB, iSel);
    if (iRet != QD_PL_OK) return iRet;
    const uint32_t p = static_cast<uint32_t>(iSel);
    const uint32_t n = (pCB->uiN_strs < QD_PROFILE_LIST_CAPACITY ? pCB->uiN_strs : QD_PROFILE_LIST_CAPACITY) - 1;
    // The texts move with their indices; each position keeps pointing at
    // its own slot, so a later add never writes a text another position shows.
    for (uint32_t j = p; j < n; ++j) {
        pCB->arr_ind_prfl[j] = pCB->arr_ind_prfl[j + 1];
        std::memcpy(pNames->arr_tc_Name[j], pNames->arr_tc_Name[j + 1], sizeof pNames->arr_tc_Name[j]);
        pCB->arr_p_PrfName[j] = pNames->arr_tc_Name[j];
    }
    for (uint32_t j = n; j < QD_PROFILE_LIST_CAPACITY; ++j) {
        pCB->arr_ind_prfl[j] = 0;
        pCB->arr_p_PrfName[j] = nullptr;
        std::memset(pNames->arr_tc_Name[j], 0, sizeof pNames->arr_tc_Name[j]);
    }
    pCB->uiN_strs = n;
    return QD_PL_OK;
}

int32_t profile_list_store_index(const CB_Profile_manage_STR* pCB, int32_t iPos, uint32_t* puiK)
{
    if (!puiK) return QD_PL_BAD_INPUT;
    const int32_t iRet = profile_list_check_selection(pCB, iPos);
    if (iRet == QD_PL_OK) *puiK = pCB->arr_ind_prfl[iPos];
    return iRet;
}
