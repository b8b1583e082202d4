#include "profile_write_record.h"

#include <cstring>

bool rw_profile_array_sizes(uint32_t N, uint32_t uiL, size_t arr_uiSizes[QD_RW_ARRAYS])
{
    const uint64_t n = N;
    const uint64_t uiPaths = (static_cast<uint64_t>(uiL) + 1) * n * 2;
    if (uiPaths > SIZE_MAX || 4 * n > SIZE_MAX) return false;
    const size_t four = static_cast<size_t>(4 * n);
    const size_t sizes[QD_RW_ARRAYS] = {four, static_cast<size_t>(n), four, four, four, four, four,
                                        static_cast<size_t>(uiPaths)};
    for (int i = 0; i < QD_RW_ARRAYS; ++i) arr_uiSizes[i] = sizes[i];
    return true;
}

void** rw_profile_array_slot(STR_RW_PRFL* p, int i)
{
    void** slots[QD_RW_ARRAYS] = {
        reinterpret_cast<void**>(&p->p_arr1D_ui_indexes_wnds_profile),
        reinterpret_cast<void**>(&p->p_arr1D_uc_flag_Prg_or_Folder),
        reinterpret_cast<void**>(&p->p_arr1D_ui_x),
        reinterpret_cast<void**>(&p->p_arr1D_ui_y),
        reinterpret_cast<void**>(&p->p_arr1D_ui_w),
        reinterpret_cast<void**>(&p->p_arr1D_ui_h),
        reinterpret_cast<void**>(&p->p_arr1D_ui_len_path),
        reinterpret_cast<void**>(&p->p_arr_strz_paths),
    };
    return (p && i >= 0 && i < QD_RW_ARRAYS) ? slots[i] : nullptr;
}

int32_t rw_profile_prepare(STR_RW_PRFL* p, const STR_ENUM_WNDS_DATA* pStore)
{
    if (!p || !pStore || !pStore->pcDynMem_GeomText || !pStore->pcDynMem_FullPaths || !p->N_wnds_in_profile)
        return -1;
    for (int i = 0; i < QD_RW_ARRAYS; ++i)
        if (!*rw_profile_array_slot(p, i)) return -1;

    const size_t uiCapUnits = (static_cast<size_t>(pStore->uiMaxLen_inBytes_AllPath) + 1) * p->N_wnds_in_profile;
    size_t uiOffUnits = 0;
    for (uint32_t i = 0; i < p->N_wnds_in_profile; ++i) {
        const uint32_t r = p->p_arr1D_ui_indexes_wnds_profile[i];
        const GeomText_STR* g = scan_entry_geom(pStore, r);
        if (!g) return -1;
        p->p_arr1D_uc_flag_Prg_or_Folder[i] = scan_entry_flag(pStore, r);
        p->p_arr1D_ui_x[i] = static_cast<uint32_t>(g->i_x);
        p->p_arr1D_ui_y[i] = static_cast<uint32_t>(g->i_y);
        p->p_arr1D_ui_w[i] = static_cast<uint32_t>(g->i_w);
        p->p_arr1D_ui_h[i] = static_cast<uint32_t>(g->i_h);
        const uint32_t uiLen = scan_entry_len_path(pStore, r);
        const size_t uiUnits = uiLen / 2;
        if (uiOffUnits + uiUnits + 1 > uiCapUnits) return -1;  // cannot happen with a consistent store
        const qd_char* ptcPath = scan_entry_path(pStore, r);
        if (uiUnits && ptcPath) std::memcpy(p->p_arr_strz_paths + uiOffUnits, ptcPath, uiUnits * sizeof(qd_char));
        p->p_arr_strz_paths[uiOffUnits + uiUnits] = 0;
        p->p_arr1D_ui_len_path[i] = static_cast<uint32_t>(uiUnits * 2);
        uiOffUnits += uiUnits + 1;
    }
    return 1;
}

uint32_t rw_profile_set_name(STR_RW_PRFL* p, const void* pvData, size_t cbData)
{
    if (!p) return 0;
    size_t uiBytes = cbData & ~static_cast<size_t>(1);
    if (uiBytes > sizeof(p->tc_PrfName)) uiBytes = sizeof(p->tc_PrfName);
    if (!pvData) uiBytes = 0;
    if (uiBytes) std::memcpy(p->tc_PrfName, pvData, uiBytes);
    p->uiSize_PrfName_inBytes = static_cast<uint32_t>(uiBytes);
    return p->uiSize_PrfName_inBytes;
}

STR_ProfileData rw_profile_as_data(const STR_RW_PRFL* p)
{
    STR_ProfileData d{};
    if (!p) return d;
    d.N_wnds = p->N_wnds_in_profile;
    d.p_arr1D_uc_flag_Prg_or_Folder = p->p_arr1D_uc_flag_Prg_or_Folder;
    d.p_arr1D_ui_x = p->p_arr1D_ui_x;
    d.p_arr1D_ui_y = p->p_arr1D_ui_y;
    d.p_arr1D_ui_w = p->p_arr1D_ui_w;
    d.p_arr1D_ui_h = p->p_arr1D_ui_h;
    d.p_arr1D_ui_len_path = p->p_arr1D_ui_len_path;
    d.p_arr_strz_paths = p->p_arr_strz_paths;
    d.ptc_PrfName = p->tc_PrfName;
    d.uiSize_PrfName_inBytes = p->uiSize_PrfName_inBytes;
    return d;
}
