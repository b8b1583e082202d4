#include "loaded_profiles.h"

#include <cstring>

namespace {

uint32_t rd_handle(const uint8_t* pc)
{
    uint32_t ui;
    std::memcpy(&ui, pc, sizeof ui);
    return ui;
}

void wr_handle(uint8_t* pc, uint32_t ui) { std::memcpy(pc, &ui, sizeof ui); }

// First free byte of a pool: one past the previous profile's inclusive end.
uint64_t next_free(const uint32_t* arr_uiOff_end, uint32_t k)
{
    return k ? uint64_t{arr_uiOff_end[k - 1]} + 1 : 0;
}

bool fits(uint64_t uiBeg, uint64_t uiNeed, uint32_t uiPoolSize)
{
    return uiBeg <= uiPoolSize && uiPoolSize - uiBeg >= uiNeed;
}

// Profile k exists and its recorded ranges agree with its size and counts
// and lie inside the pools; only then may a reader touch its bytes.
bool usable(const LoadedProfiles_STR* p, uint32_t k)
{
    if (!p || !p->pc_hwnds_wnds_of_prfl || !p->pc_raw_FilesProfile) return false;
    if (k >= p->uiN_loaded_prfls || k >= QD_MAX_LOADED_PROFILES) return false;
    const uint64_t uiN = uint64_t{p->arr_uiN_Folders[k]} + p->arr_uiN_Programs[k];
    const uint64_t uiSize = p->arr_size_FileProfile[k];
    if (!uiN || !uiSize) return false;
    return uint64_t{p->arr_uiOff_hwnds_beg[k]} + 4 * uiN - 1 == p->arr_uiOff_hwnds_end[k] &&
           p->arr_uiOff_hwnds_end[k] < p->uiSize_DynMem_hwnds_wnds_prfl &&
           uint64_t{p->arr_uiOff_file_beg[k]} + uiSize - 1 == p->arr_uiOff_file_end[k] &&
           p->arr_uiOff_file_end[k] < p->uiSize_DynMem_files;
}

}  // namespace

namespace {

bool ready(const LoadedProfiles_STR* p)
{
    // A capacity above the arrays' length would let k index past them.
    return p && p->uiMax_num_loaded_prfls && p->uiMax_num_loaded_prfls <= QD_MAX_LOADED_PROFILES &&
           p->uiSize_DynMem_hwnds_wnds_prfl && p->uiSize_DynMem_files && p->pc_hwnds_wnds_of_prfl &&
           p->pc_raw_FilesProfile;
}

bool full_of_profiles(const LoadedProfiles_STR* p) { return uint64_t{p->uiN_loaded_prfls} + 1 > p->uiMax_num_loaded_prfls; }

bool no_room_for_file(const LoadedProfiles_STR* p, uint64_t uiSize_file)
{
    return !fits(next_free(p->arr_uiOff_file_end, p->uiN_loaded_prfls), uiSize_file, p->uiSize_DynMem_files);
}

// The append's checks in their order; pView receives the opened file.
int32_t check_append(const LoadedProfiles_STR* p, uint32_t size_FileProfile, const uint8_t* pc_raw_FileProfile,
                     uint32_t uiN_Folders, uint32_t uiN_Programs, STR_LoadedAddInfo* pInfo, STR_ProfileView* pView)
{
    STR_LoadedAddInfo info{};
    if (pInfo) *pInfo = info;
    if (!p || !pc_raw_FileProfile || !size_FileProfile || (!uiN_Folders && !uiN_Programs)) return QD_LP_BAD_INPUT;
    const uint32_t k = p->uiN_loaded_prfls;
    info.uiMax_num_loaded_prfls = p->uiMax_num_loaded_prfls;
    info.uiN_loaded_prfls = k;
    if (pInfo) *pInfo = info;
    if (!ready(p)) return QD_LP_NOT_READY;

    // The kind bytes and name are read when appending; the file must hold them.
    STR_ProfileView& v = *pView;
    const int32_t iRet = profile_open(pc_raw_FileProfile, size_FileProfile, &v);
    if (iRet != QD_PRF_OK) {
        if (pInfo) pInfo->iFile_refusal = iRet;
        return QD_LP_BAD_FILE;
    }
    if (v.uiN_Folders != uiN_Folders || v.uiN_Programs != uiN_Programs) return QD_LP_COUNTS_MISMATCH;

    if (full_of_profiles(p)) return QD_LP_NO_ROOM_PROFILES;
    if (!fits(next_free(p->arr_uiOff_hwnds_end, k), 4ull * v.N_wnds, p->uiSize_DynMem_hwnds_wnds_prfl))
        return QD_LP_NO_ROOM_HWNDS;
    if (no_room_for_file(p, size_FileProfile)) return QD_LP_NO_ROOM_FILES;
    return QD_LP_OK;
}

}  // namespace

int32_t loaded_profiles_check_file_room(const LoadedProfiles_STR* p, uint64_t uiSize_file, STR_LoadedAddInfo* pInfo)
{
    if (pInfo) *pInfo = STR_LoadedAddInfo{};
    if (!ready(p)) return QD_LP_NOT_READY;
    if (pInfo) {
        pInfo->uiMax_num_loaded_prfls = p->uiMax_num_loaded_prfls;
        pInfo->uiN_loaded_prfls = p->uiN_loaded_prfls;
    }
    if (full_of_profiles(p)) return QD_LP_NO_ROOM_PROFILES;
    if (no_room_for_file(p, uiSize_file)) return QD_LP_NO_ROOM_FILES;
    return QD_LP_OK;
}

int32_t loaded_profiles_check(const LoadedProfiles_STR* p, uint32_t size_FileProfile, const uint8_t* pc_raw_FileProfile,
                              uint32_t uiN_Folders, uint32_t uiN_Programs, STR_LoadedAddInfo* pInfo)
{
    STR_ProfileView v;
    return check_append(p, size_FileProfile, pc_raw_FileProfile, uiN_Folders, uiN_Programs, pInfo, &v);
}

int32_t loaded_profiles_add(LoadedProfiles_STR* p, const uint32_t* arr1D_hwnd_Programs_only,
                            const uint32_t* arr1D_hwnd_Folders_only, uint32_t size_FileProfile,
                            const uint8_t* pc_raw_FileProfile, uint32_t uiN_Folders,
                            uint32_t uiN_Programs, STR_LoadedAddInfo* pInfo)
{
    if (pInfo) *pInfo = STR_LoadedAddInfo{};
    if (!arr1D_hwnd_Programs_only || !arr1D_hwnd_Folders_only) return QD_LP_BAD_INPUT;
    STR_ProfileView v;
    const int32_t iCheck = check_append(p, size_FileProfile, pc_raw_FileProfile, uiN_Folders, uiN_Programs, pInfo, &v);
    if (iCheck != QD_LP_OK) return iCheck;

    const uint32_t k = p->uiN_loaded_prfls;
    const uint64_t uiNeed = 4ull * v.N_wnds;
    const uint64_t uiBeg_h = next_free(p->arr_uiOff_hwnds_end, k);
    const uint64_t uiBeg_f = next_free(p->arr_uiOff_file_end, k);

    // Both ranges end inside 32-bit pools, so 32 bits hold every offset.
    p->uiN_loaded_prfls = k + 1;
    p->arr_size_FileProfile[k] = size_FileProfile;
    p->arr_uiN_Folders[k] = uiN_Folders;
    p->arr_uiN_Programs[k] = uiN_Programs;
    if (k == 0) {
        for (uint32_t* arr : {p->arr_uiOff_hwnds_beg, p->arr_uiOff_hwnds_end, p->arr_uiOff_file_beg,
                              p->arr_uiOff_file_end})
            std::memset(arr, 0, QD_MAX_LOADED_PROFILES * sizeof(uint32_t));
    }
    p->arr_uiOff_hwnds_beg[k] = static_cast<uint32_t>(uiBeg_h);
    p->arr_uiOff_hwnds_end[k] = static_cast<uint32_t>(uiBeg_h + uiNeed - 1);
    p->arr_uiOff_file_beg[k] = static_cast<uint32_t>(uiBeg_f);
    p->arr_uiOff_file_end[k] = static_cast<uint32_t>(uiBeg_f + size_FileProfile - 1);

    uint8_t* pcHwnds = p->pc_hwnds_wnds_of_prfl + uiBeg_h;
    for (uint32_t i = 0; i < v.N_wnds; ++i) {
        const uint8_t uc_kind = pc_raw_FileProfile[4 + i];
        const uint32_t ui_hwnd = uc_kind == QD_PRF_KIND_FOLDER    ? arr1D_hwnd_Folders_only[i]
                                 : uc_kind == QD_PRF_KIND_PROGRAM ? arr1D_hwnd_Programs_only[i]
                                                                  : 0;
        wr_handle(pcHwnds + 4 * i, ui_hwnd);
    }
    std::memcpy(p->pc_raw_FilesProfile + uiBeg_f, pc_raw_FileProfile, size_FileProfile);
    // profile_open located the name by the same backward search from the
    // unit before the signature, and proved it lies inside this file.
    p->arr_uiOff_PrfName_beg[k] = static_cast<uint32_t>(uiBeg_f + v.uiOff_PrfName_beg);
    p->arr_uiOff_PrfName_end[k] = static_cast<uint32_t>(uiBeg_f + v.uiOff_PrfName_end);
    if (pInfo) pInfo->ui_index = k;
    return QD_LP_OK;
}

int32_t loaded_profiles_add_result(int32_t iCode)
{
    switch (iCode) {
    case QD_LP_OK: return 1;
    case QD_LP_NO_ROOM_PROFILES:
    case QD_LP_NO_ROOM_HWNDS:
    case QD_LP_NO_ROOM_FILES: return 2;
    case QD_LP_NOT_READY: return -2;
    default: return -1;
    }
}

const char* loaded_profiles_room_detail(int32_t iCode)
{
    switch (iCode) {
    case QD_LP_NO_ROOM_PROFILES:
        return "\nerror, exceed amount of loaded Profiles, max = %d, already loaded = %d\nProfile will not be added\n";
    case QD_LP_NO_ROOM_HWNDS:
        return "\nerror, exceed amount of DynMem for storage arrays of hwnds of Profile windows\nProfile will not be added\n";
    case QD_LP_NO_ROOM_FILES:
        return "\nerror, exceed amount of DynMem for storage files of Profile\nProfile will not be added\n";
    default: return "";
    }
}

uint32_t loaded_profile_entry_count(const LoadedProfiles_STR* p, uint32_t k)
{
    return usable(p, k) ? p->arr_uiN_Folders[k] + p->arr_uiN_Programs[k] : 0;
}

uint32_t loaded_profile_handle(const LoadedProfiles_STR* p, uint32_t k, uint32_t i)
{
    if (i >= loaded_profile_entry_count(p, k)) return 0;
    return rd_handle(p->pc_hwnds_wnds_of_prfl + p->arr_uiOff_hwnds_beg[k] + 4ull * i);
}

bool loaded_profile_set_handle(LoadedProfiles_STR* p, uint32_t k, uint32_t i, uint32_t ui_hwnd)
{
    if (i >= loaded_profile_entry_count(p, k)) return false;
    wr_handle(p->pc_hwnds_wnds_of_prfl + p->arr_uiOff_hwnds_beg[k] + 4ull * i, ui_hwnd);
    return true;
}

size_t loaded_profile_copy_name(const LoadedProfiles_STR* p, uint32_t k, qd_char* ptcBuf, size_t uiCap)
{
    if (ptcBuf && uiCap) ptcBuf[0] = 0;
    if (!usable(p, k)) return 0;
    const uint32_t uiBeg = p->arr_uiOff_PrfName_beg[k];
    const uint32_t uiEnd = p->arr_uiOff_PrfName_end[k];
    // The name ends two bytes before the signature's three and starts
    // inside the same file.
    if (uiBeg < p->arr_uiOff_file_beg[k] || uiBeg > uiEnd || ((uiEnd - uiBeg) & 1) ||
        uint64_t{uiEnd} + 4 != p->arr_uiOff_file_end[k])
        return 0;
    const size_t uiN_units = (uiEnd - uiBeg) / 2 + 1;
    if (!ptcBuf || !uiCap) return uiN_units;
    const size_t n = uiN_units < uiCap ? uiN_units : uiCap - 1;
    const uint8_t* pc = p->pc_raw_FilesProfile + uiBeg;
    for (size_t u = 0; u < n; ++u) ptcBuf[u] = static_cast<qd_char>(pc[2 * u] | (pc[2 * u + 1] << 8));
    ptcBuf[n] = 0;
    return uiN_units;
}

int32_t loaded_walk_first(const LoadedProfiles_STR* p, uint32_t k, STR_LoadedEntryWalk* pWalk)
{
    if (!pWalk) return QD_LP_BAD_INPUT;
    *pWalk = STR_LoadedEntryWalk{};
    const uint32_t uiN = loaded_profile_entry_count(p, k);
    if (!uiN) return QD_LP_BAD_INPUT;
    STR_LoadedEntryWalk w{};
    if (profile_open(p->pc_raw_FilesProfile + p->arr_uiOff_file_beg[k], p->arr_size_FileProfile[k],
                     &w.view) != QD_PRF_OK ||
        w.view.N_wnds != uiN || profile_entry_at(&w.view, 0, &w.entry) != QD_PRF_OK)
        return QD_LP_BAD_FILE;
    w.pc_hwnds = p->pc_hwnds_wnds_of_prfl + p->arr_uiOff_hwnds_beg[k];
    w.ui_hwnd = rd_handle(w.pc_hwnds);
    *pWalk = w;
    return QD_LP_OK;
}

int32_t loaded_walk_next(STR_LoadedEntryWalk* pWalk)
{
    if (!pWalk || !pWalk->pc_hwnds) return QD_LP_BAD_INPUT;
    const int32_t iRet = profile_next_entry(&pWalk->view, &pWalk->entry);
    if (iRet != 1) return iRet == 0 ? 0 : QD_LP_BAD_INPUT;
    pWalk->ui_hwnd = rd_handle(pWalk->pc_hwnds + 4ull * pWalk->entry.ui_index);
    return 1;
}
