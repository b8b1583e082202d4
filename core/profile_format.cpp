#include "profile_format.h"

#include <cstring>

namespace {

// Byte-wise little-endian access: fields sit at any address, and the
// bytes mean the same on every host.
uint16_t rd_u16(const uint8_t* pc)
{
    return static_cast<uint16_t>(pc[0] | (pc[1] << 8));
}

uint32_t rd_u32(const uint8_t* pc)
{
    return static_cast<uint32_t>(pc[0]) | (static_cast<uint32_t>(pc[1]) << 8) |
           (static_cast<uint32_t>(pc[2]) << 16) | (static_cast<uint32_t>(pc[3]) << 24);
}

int32_t rd_i32(const uint8_t* pc)
{
    const uint32_t ui = rd_u32(pc);
    int32_t i;
    std::memcpy(&i, &ui, sizeof i);
    return i;
}

uint8_t* wr_u16(uint8_t* pc, uint16_t v)
{
    pc[0] = static_cast<uint8_t>(v);
    pc[1] = static_cast<uint8_t>(v >> 8);
    return pc + 2;
}

uint8_t* wr_u32(uint8_t* pc, uint32_t v)
{
    for (int i = 0; i < 4; ++i) pc[i] = static_cast<uint8_t>(v >> (8 * i));
    return pc + 4;
}

// The per-entry arrays in file order; len is last.
enum { ARR_X, ARR_Y, ARR_W, ARR_H, ARR_LEN };

// Offset of entry ui's value in array arr. Only called on a view, whose
// arrays were proved to end inside the file, so 32 bits hold it.
uint32_t off_field(uint32_t N, int arr, uint32_t ui)
{
    return 4 + N + 4 * N * static_cast<uint32_t>(arr) + 4 * ui;
}

bool name_is_writable(const qd_char* ptc, uint32_t uiBytes)
{
    if (!ptc || uiBytes < 2 || uiBytes > 2 * QD_PRF_NAME_MAX_UNITS || (uiBytes & 1)) return false;
    for (uint32_t u = 0; u < uiBytes / 2; ++u)
        if (ptc[u] == 0) return false;  // the name search would stop at it
    return true;
}

int32_t check_write_input(const STR_ProfileData* p)
{
    if (!p || !p->N_wnds || !p->p_arr1D_uc_flag_Prg_or_Folder || !p->p_arr1D_ui_x ||
        !p->p_arr1D_ui_y || !p->p_arr1D_ui_w || !p->p_arr1D_ui_h || !p->p_arr1D_ui_len_path ||
        !p->p_arr_strz_paths)
        return QD_PRF_BAD_INPUT;
    if (!name_is_writable(p->ptc_PrfName, p->uiSize_PrfName_inBytes)) return QD_PRF_BAD_INPUT;
    for (uint32_t i = 0; i < p->N_wnds; ++i) {
        if (p->p_arr1D_uc_flag_Prg_or_Folder[i] > QD_PRF_KIND_PROGRAM) return QD_PRF_BAD_INPUT;
        if (p->p_arr1D_ui_len_path[i] & 1) return QD_PRF_BAD_INPUT;
    }
    return QD_PRF_OK;
}

size_t copy_units(const uint8_t* pc, size_t uiN_units, qd_char* ptcBuf, size_t uiCap)
{
    if (!ptcBuf || !uiCap) return uiN_units;
    const size_t n = uiN_units < uiCap ? uiN_units : uiCap - 1;
    for (size_t u = 0; u < n; ++u) ptcBuf[u] = rd_u16(pc + 2 * u);
    ptcBuf[n] = 0;
    return uiN_units;
}

void fill_entry(const STR_ProfileView* pView, uint32_t ui, uint32_t uiOff_path, STR_ProfileEntry* pEntry)
{
    const uint8_t* pc = pView->pc_file;
    const uint32_t N = pView->N_wnds;
    pEntry->ui_index = ui;
    pEntry->uc_kind = pc[4 + ui];
    pEntry->i_x = rd_i32(pc + off_field(N, ARR_X, ui));
    pEntry->i_y = rd_i32(pc + off_field(N, ARR_Y, ui));
    pEntry->i_w = rd_i32(pc + off_field(N, ARR_W, ui));
    pEntry->i_h = rd_i32(pc + off_field(N, ARR_H, ui));
    pEntry->ui_len_path = rd_u32(pc + off_field(N, ARR_LEN, ui));
    pEntry->uiOff_path = uiOff_path;
    pEntry->pc_path = pc + uiOff_path;
}

}  // namespace

uint64_t profile_file_size(uint32_t N_wnds, const uint32_t* p_arr1D_ui_len_path,
                           uint32_t uiSize_PrfName_inBytes)
{
    if (!N_wnds || !p_arr1D_ui_len_path) return 0;
    uint64_t uiSize = 4 + 21ull * N_wnds + uiSize_PrfName_inBytes + sizeof QD_PRF_SIGNATURE;
    for (uint32_t i = 0; i < N_wnds; ++i) uiSize += p_arr1D_ui_len_path[i] + 2ull;
    return uiSize;
}

int32_t profile_write(const STR_ProfileData* pData, uint8_t* pcBuf, uint64_t uiCap, uint32_t* puiSize)
{
    if (!puiSize || (!pcBuf && uiCap)) return QD_PRF_BAD_INPUT;
    *puiSize = 0;
    const int32_t iRet = check_write_input(pData);
    if (iRet != QD_PRF_OK) return iRet;
    const STR_ProfileData& d = *pData;
    const uint32_t N = d.N_wnds;
    const uint64_t uiSize = profile_file_size(N, d.p_arr1D_ui_len_path, d.uiSize_PrfName_inBytes);
    if (uiSize > UINT32_MAX) return QD_PRF_TOO_LARGE;
    *puiSize = static_cast<uint32_t>(uiSize);
    if (uiCap < uiSize) return QD_PRF_SMALL_BUFFER;

    uint8_t* pc = wr_u32(pcBuf, N);
    std::memcpy(pc, d.p_arr1D_uc_flag_Prg_or_Folder, N);
    pc += N;
    for (const uint32_t* arr : {d.p_arr1D_ui_x, d.p_arr1D_ui_y, d.p_arr1D_ui_w, d.p_arr1D_ui_h,
                                d.p_arr1D_ui_len_path})
        for (uint32_t i = 0; i < N; ++i) pc = wr_u32(pc, arr[i]);
    // The terminator is written, not copied: a packed buffer with a stray
    // unit there still gives a file every reader can walk.
    const qd_char* ptc = d.p_arr_strz_paths;
    for (uint32_t i = 0; i < N; ++i) {
        const uint32_t uiN_units = d.p_arr1D_ui_len_path[i] / 2;
        for (uint32_t u = 0; u < uiN_units; ++u) pc = wr_u16(pc, ptc[u]);
        pc = wr_u16(pc, 0);
        ptc += uiN_units + 1;
    }
    for (uint32_t u = 0; u < d.uiSize_PrfName_inBytes / 2; ++u) pc = wr_u16(pc, d.ptc_PrfName[u]);
    std::memcpy(pc, QD_PRF_SIGNATURE, sizeof QD_PRF_SIGNATURE);
    return QD_PRF_OK;
}

int32_t profile_write(const STR_ProfileData* pData, std::vector<uint8_t>* pvcFile)
{
    if (!pvcFile) return QD_PRF_BAD_INPUT;
    uint32_t uiSize = 0;
    const int32_t iRet = profile_write(pData, nullptr, 0, &uiSize);
    if (iRet != QD_PRF_SMALL_BUFFER) return iRet;
    pvcFile->assign(uiSize, 0);
    return profile_write(pData, pvcFile->data(), pvcFile->size(), &uiSize);
}

int32_t profile_check_size(uint64_t uiSize_file)
{
    if (uiSize_file == 0) return QD_PRF_EMPTY;
    if (uiSize_file < sizeof QD_PRF_SIGNATURE) return QD_PRF_NO_TAIL;
    if (uiSize_file > UINT32_MAX) return QD_PRF_TOO_LARGE;
    return QD_PRF_OK;
}

int32_t profile_check_signature(const uint8_t* pcLast3)
{
    if (!pcLast3) return QD_PRF_BAD_INPUT;
    return std::memcmp(pcLast3, QD_PRF_SIGNATURE, sizeof QD_PRF_SIGNATURE) ? QD_PRF_BAD_SIGNATURE
                                                                          : QD_PRF_OK;
}

int32_t profile_find_name(const uint8_t* pcFile, uint32_t uiSize_file,
                          uint32_t* puiOff_PrfName_beg, uint32_t* puiOff_PrfName_end)
{
    if (!pcFile || !puiOff_PrfName_beg || !puiOff_PrfName_end) return QD_PRF_BAD_INPUT;
    if (uiSize_file < 5) return QD_PRF_NO_NAME;
    const uint32_t uiOff_end = uiSize_file - 5;
    uint32_t uiOff = uiOff_end;
    while (rd_u16(pcFile + uiOff) != 0) {
        if (uiOff < 2) return QD_PRF_NO_NAME;
        uiOff -= 2;
    }
    if (uiOff == uiOff_end) return QD_PRF_NO_NAME;  // a zero last unit leaves no name
    *puiOff_PrfName_beg = uiOff + 2;
    *puiOff_PrfName_end = uiOff_end;
    return QD_PRF_OK;
}

int32_t profile_open(const uint8_t* pcFile, uint64_t uiSize_file, STR_ProfileView* pView)
{
    if (!pView) return QD_PRF_BAD_INPUT;
    *pView = STR_ProfileView{};
    int32_t iRet = profile_check_size(uiSize_file);
    if (iRet != QD_PRF_OK) return iRet;
    if (!pcFile) return QD_PRF_BAD_INPUT;
    const uint32_t S = static_cast<uint32_t>(uiSize_file);
    const uint32_t uiOff_sig = S - sizeof QD_PRF_SIGNATURE;
    iRet = profile_check_signature(pcFile + uiOff_sig);
    if (iRet != QD_PRF_OK) return iRet;
    if (S < 4) return QD_PRF_NO_COUNT;
    const uint32_t N = rd_u32(pcFile);
    if (!N) return QD_PRF_NO_ENTRIES;

    // From here on every offset is 64-bit and compared with the signature's
    // offset before the bytes it names are read.
    uint64_t uiOff = 4 + 21ull * N;
    if (uiOff > uiOff_sig) return QD_PRF_ARRAYS_PAST_END;
    uint32_t uiN_Folders = 0;
    for (uint32_t i = 0; i < N; ++i) {
        if (pcFile[4 + i] == QD_PRF_KIND_FOLDER) ++uiN_Folders;
        const uint32_t uiLen = rd_u32(pcFile + off_field(N, ARR_LEN, i));
        if (uiLen & 1) return QD_PRF_ODD_PATH_LENGTH;
        if (uiOff + uiLen + 2 > uiOff_sig) return QD_PRF_PATHS_PAST_END;
        uiOff += uiLen;
        if (rd_u16(pcFile + uiOff) != 0) return QD_PRF_PATH_UNTERMINATED;
        uiOff += 2;
    }
    const uint64_t uiName_bytes = uiOff_sig - uiOff;
    if (uiName_bytes == 0) return QD_PRF_NO_NAME;
    if (uiName_bytes & 1) return QD_PRF_ODD_NAME;
    // The last terminator stops the search at the latest; stopping any
    // later means a zero unit inside the name.
    uint32_t uiName_beg = 0, uiName_end = 0;
    if (profile_find_name(pcFile, S, &uiName_beg, &uiName_end) != QD_PRF_OK || uiName_beg != uiOff)
        return QD_PRF_NAME_HAS_ZERO;

    *pView = {pcFile, S, N, 4 + 21 * N, uiName_beg, uiName_end, uiN_Folders, N - uiN_Folders};
    return QD_PRF_OK;
}

int32_t profile_entry_at(const STR_ProfileView* pView, uint32_t ui, STR_ProfileEntry* pEntry)
{
    if (!pView || !pView->pc_file || !pEntry || ui >= pView->N_wnds) return QD_PRF_BAD_INPUT;
    // Paths have no offset table: walk the lengths from entry 0.
    uint32_t uiOff = pView->uiOff_paths;
    for (uint32_t j = 0; j < ui; ++j)
        uiOff += rd_u32(pView->pc_file + off_field(pView->N_wnds, ARR_LEN, j)) + 2;
    fill_entry(pView, ui, uiOff, pEntry);
    return QD_PRF_OK;
}

int32_t profile_next_entry(const STR_ProfileView* pView, STR_ProfileEntry* pEntry)
{
    if (!pView || !pView->pc_file || !pEntry || pEntry->ui_index >= pView->N_wnds) return QD_PRF_BAD_INPUT;
    const uint32_t ui = pEntry->ui_index + 1;
    if (ui == pView->N_wnds) return 0;
    const uint32_t N = pView->N_wnds;
    const uint64_t uiOff = pEntry->uiOff_path + uint64_t{rd_u32(pView->pc_file + off_field(N, ARR_LEN, ui - 1))} + 2;
    const uint64_t uiLen = rd_u32(pView->pc_file + off_field(N, ARR_LEN, ui));
    // An entry that did not come from this view cannot lead outside it.
    if (uiOff + uiLen + 2 > pView->uiOff_PrfName_beg) return QD_PRF_BAD_INPUT;
    fill_entry(pView, ui, static_cast<uint32_t>(uiOff), pEntry);
    return 1;
}

size_t profile_copy_path(const STR_ProfileEntry* pEntry, qd_char* ptcBuf, size_t uiCap)
{
    if (!pEntry || !pEntry->pc_path) return copy_units(nullptr, 0, ptcBuf, uiCap);
    return copy_units(pEntry->pc_path, pEntry->ui_len_path / 2, ptcBuf, uiCap);
}

size_t profile_copy_name(const STR_ProfileView* pView, qd_char* ptcBuf, size_t uiCap)
{
    if (!pView || !pView->pc_file) return copy_units(nullptr, 0, ptcBuf, uiCap);
    const size_t uiN_units = (pView->uiOff_PrfName_end - pView->uiOff_PrfName_beg) / 2 + 1;
    return copy_units(pView->pc_file + pView->uiOff_PrfName_beg, uiN_units, ptcBuf, uiCap);
}

const char* profile_refusal_detail(int32_t iCode)
{
    switch (iCode) {
    case QD_PRF_EMPTY: return "one of callable functions returned error: zero_file_size <- GetFileSizeEx( )";
    case QD_PRF_NO_TAIL: return "one of callable functions returned error: error <- SetFilePointer( )";
    case QD_PRF_BAD_SIGNATURE: return "invalid type of file, signature doesn't coincide";
    case QD_PRF_NO_ENTRIES: return "error, 0 == number of windows in profile (data read from file)";
    case QD_PRF_TOO_LARGE: return "invalid profile file: larger than 4294967295 bytes";
    case QD_PRF_NO_COUNT: return "invalid profile file: too short to hold the number of windows";
    case QD_PRF_ARRAYS_PAST_END: return "invalid profile file: the number of windows (data read from file) does not fit the file size";
    case QD_PRF_ODD_PATH_LENGTH: return "invalid profile file: a path length (data read from file) is an odd number of bytes";
    case QD_PRF_PATHS_PAST_END: return "invalid profile file: the path lengths (data read from file) run past the end of the file";
    case QD_PRF_PATH_UNTERMINATED: return "invalid profile file: a path is not followed by a zero terminator";
    case QD_PRF_NO_NAME: return "invalid profile file: no profile name before the end mark";
    case QD_PRF_ODD_NAME: return "invalid profile file: the profile name is an odd number of bytes";
    case QD_PRF_NAME_HAS_ZERO: return "invalid profile file: the profile name contains a zero character";
    default: return "";
    }
}
