#include "scan_store.h"

namespace {

bool mul_size(size_t a, size_t b, size_t* pOut)
{
    if (a && b > SIZE_MAX / a) return false;
    *pOut = a * b;
    return true;
}

uint32_t* handles(const STR_ENUM_WNDS_DATA* p)
{
    return reinterpret_cast<uint32_t*>(p->pcDynMem_WinHndls);
}

GeomText_STR* geom_records(const STR_ENUM_WNDS_DATA* p)
{
    return reinterpret_cast<GeomText_STR*>(p->pcDynMem_GeomText);
}

qd_char* path_slot(const STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    return reinterpret_cast<qd_char*>(p->pcDynMem_FullPaths) +
           scan_path_slot_offset(p->uiMaxLen_inBytes_AllPath, i);
}

// Copies a path into slot i without a terminator (the slot is zero), cut
// so the slot's last unit stays zero; records the stored length so that
// a reader taking length / 2 units never leaves the slot.
void store_path(STR_ENUM_WNDS_DATA* p, uint32_t i, const qd_char* ptcPath, uint32_t uiN_Path)
{
    const uint32_t uiMax = p->uiMaxLen_inBytes_AllPath;  // slot units less one
    const uint32_t uiN = uiN_Path < uiMax ? uiN_Path : uiMax;
    qd_char* ptcSlot = path_slot(p, i);
    for (uint32_t j = 0; j < uiN; ++j) ptcSlot[j] = ptcPath[j];
    p->arr1D_ui_LenPath[i] = path_len_bytes(uiN);
}

bool in_store(const STR_ENUM_WNDS_DATA* p, uint32_t i, const void* pBuf)
{
    return p && pBuf && i < p->counter_valid;
}

}  // namespace

int32_t scan_buffer_sizes(uint32_t uiN, uint32_t uiL, STR_ScanBufSizes* pSTR_Sizes)
{
    if (!pSTR_Sizes) return QD_SCAN_BAD_INPUT;
    STR_ScanBufSizes s{};
    const size_t uiSlotUnits = scan_path_slot_units(uiL);
    size_t uiSlotsUnits = 0;
    if (uiSlotUnits == 0  // L + 1 wrapped in a 32-bit size_t
        || !mul_size(uiN, sizeof(uint32_t), &s.ui_LenPath)
        || !mul_size(uiN, QD_GEOMTEXT_ENTRY_BYTES, &s.ui_GeomText)
        || !mul_size(uiSlotUnits, uiN, &uiSlotsUnits)
        || !mul_size(uiSlotsUnits, sizeof(qd_char), &s.ui_FullPaths))
        return QD_SCAN_TOO_LARGE;
    s.ui_flag_FP = uiN;
    s.ui_WinHndls = s.ui_LenPath;
    *pSTR_Sizes = s;
    return QD_SCAN_OK;
}

uint32_t scan_entry_hwnd(const STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    return in_store(p, i, p ? p->pcDynMem_WinHndls : nullptr) ? handles(p)[i] : 0;
}

uint8_t scan_entry_flag(const STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    return in_store(p, i, p ? p->arr1D_uc_flag_FP : nullptr) ? p->arr1D_uc_flag_FP[i] : 0;
}

uint32_t scan_entry_len_path(const STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    return in_store(p, i, p ? p->arr1D_ui_LenPath : nullptr) ? p->arr1D_ui_LenPath[i] : 0;
}

const qd_char* scan_entry_path(const STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    return in_store(p, i, p ? p->pcDynMem_FullPaths : nullptr) ? path_slot(p, i) : nullptr;
}

GeomText_STR* scan_entry_geom(STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    return in_store(p, i, p ? p->pcDynMem_GeomText : nullptr) ? geom_records(p) + i : nullptr;
}

const GeomText_STR* scan_entry_geom(const STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    return scan_entry_geom(const_cast<STR_ENUM_WNDS_DATA*>(p), i);
}

const qd_char* scan_entry_caption(const STR_ENUM_WNDS_DATA* p, uint32_t i)
{
    const GeomText_STR* pGeom = scan_entry_geom(p, i);
    return pGeom ? pGeom->ptc_Caption : nullptr;
}

int32_t scan_store_count_window(STR_ENUM_WNDS_DATA* p, bool bProgram, uint32_t uiN_Path)
{
    if (!p) return QD_SCAN_BAD_INPUT;
    ++p->counter_valid;
    const uint32_t uiBytes = path_len_bytes(uiN_Path);
    if (bProgram && uiBytes > p->uiMaxLen_inBytes_PrgPath) p->uiMaxLen_inBytes_PrgPath = uiBytes;
    return QD_SCAN_OK;
}

int32_t scan_store_write_entry(STR_ENUM_WNDS_DATA* p, const STR_ScanEntryIn* pIn)
{
    if (!p || !pIn || !p->arr1D_ui_LenPath || !p->arr1D_uc_flag_FP || !p->pcDynMem_FullPaths ||
        !p->pcDynMem_WinHndls || !p->pcDynMem_GeomText)
        return QD_SCAN_BAD_INPUT;
    if ((pIn->uiN_Caption && !pIn->ptc_Caption) || (pIn->b_Program && pIn->uiN_Path && !pIn->ptc_Path))
        return QD_SCAN_BAD_INPUT;
    // A window that opened after the counting pass has no entry.
    if (p->counter_filled >= p->counter_valid) return QD_SCAN_NO_ROOM;

    const uint32_t n = p->counter_filled;
    handles(p)[n] = pIn->ui_hwnd;

    qd_char* ptcCell = reinterpret_cast<qd_char*>(p->pcDynMem_GeomText +
                                                   scan_caption_cell_offset(p->counter_valid, n));
    caption_shorten(pIn->ptc_Caption, pIn->uiN_Caption, ptcCell);
    const STR_WndGeom g =
        window_geometry(pIn->i_left, pIn->i_top, pIn->i_right, pIn->i_bottom, pIn->b_Iconic);
    geom_records(p)[n] = {ptcCell, g.i_x, g.i_y, g.i_h, g.i_w};

    // Explorer entries keep flag, length and slot zero until their folder
    // path is known.
    if (pIn->b_Program) {
        p->arr1D_uc_flag_FP[n] = 1;
        store_path(p, n, pIn->ptc_Path, pIn->uiN_Path);
    }
    ++p->counter_filled;
    return QD_SCAN_OK;
}

uint32_t scan_store_trim(STR_ENUM_WNDS_DATA* p)
{
    if (!p) return 0;
    if (p->counter_filled < p->counter_valid) p->counter_valid = p->counter_filled;
    return p->counter_valid;
}

int32_t scan_store_write_folder_path(STR_ENUM_WNDS_DATA* p, uint32_t ui_hwnd,
                                     const qd_char* ptcPath, uint32_t uiN_Path)
{
    if (!p || !p->pcDynMem_WinHndls || !p->pcDynMem_FullPaths || !p->arr1D_uc_flag_FP ||
        !p->arr1D_ui_LenPath || (uiN_Path && !ptcPath))
        return QD_SCAN_BAD_INPUT;
    if (!ui_hwnd) return QD_SCAN_NULL_FOLDER_HWND;
    // No early exit: every entry holding the handle gets the path.
    for (uint32_t pos = 0; pos < p->counter_valid; ++pos)
        if (handles(p)[pos] == ui_hwnd) store_path(p, pos, ptcPath, uiN_Path);
    return QD_SCAN_OK;
}

int32_t scan_store_release(STR_ENUM_WNDS_DATA* p, const STR_BufRelease* pRel)
{
    if (!p || !pRel || !pRel->pfnRelease) return QD_SCAN_BAD_INPUT;
    void* arr1D_pAddr[] = {p->arr1D_ui_LenPath,  p->arr1D_uc_flag_FP,  p->pcTmpBuf_Prg_Folder_Path,
                           p->pcDynMem_GeomText, p->pcDynMem_WinHndls, p->pcDynMem_FullPaths};
    for (void* pAddr : arr1D_pAddr)
        if (pAddr) pRel->pfnRelease(pRel->pCtx, pAddr);
    p->arr1D_ui_LenPath = nullptr;
    p->arr1D_uc_flag_FP = nullptr;
    p->pcTmpBuf_Prg_Folder_Path = nullptr;
    p->pcDynMem_GeomText = nullptr;
    p->pcDynMem_WinHndls = nullptr;
    p->pcDynMem_FullPaths = nullptr;
    return QD_SCAN_OK;
}
