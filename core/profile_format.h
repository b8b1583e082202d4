// The profile file: writer, validator and field access.
//
// Layout (little-endian, packed, no alignment; N = N_wnds, S = file size):
//   0          N_wnds, u32, never 0
//   4          N kind bytes: 1 program, 0 folder
//   4 + N      x[N]   4 + 5N  y[N]   4 + 9N  w[N]   4 + 13N  h[N]   (32-bit)
//   4 + 17N    len[N]: path length in bytes, without terminator
//   4 + 21N    the paths back to back, each len bytes of UTF-16LE + a zero unit
//   then       the name: k >= 1 units, no terminator, no length field
//   S - 3      the signature 00 07 0C
// The same bytes are the in-memory layout of a loaded profile, at any
// address, so every field is read byte-wise and text is copied out before
// it is used as qd_char: a path or name starts at an odd offset whenever
// N is odd, and a stored file may start anywhere in its pool.
#pragma once
#include <cstdint>
#include <vector>
#include "qd_text.h"

enum : int32_t {
    QD_PRF_OK = 1,
    QD_PRF_BAD_INPUT = -1,      // missing argument, or writer input the format cannot hold
    QD_PRF_SMALL_BUFFER = -2,   // writer: the caller's buffer is shorter than the file
    // Refusals of a file, in the order they are tested. EMPTY, NO_TAIL,
    // BAD_SIGNATURE and NO_ENTRIES carry the Load command's own results.
    QD_PRF_EMPTY = -3,          // size 0
    QD_PRF_NO_TAIL = -4,        // 1 or 2 bytes: no room for the signature
    QD_PRF_TOO_LARGE = -20,     // more than 0xFFFFFFFF bytes: sizes and offsets are 32-bit
    QD_PRF_BAD_SIGNATURE = -6,  // last three bytes are not 00 07 0C
    QD_PRF_NO_COUNT = -21,      // 3 bytes: N_wnds cannot be read
    QD_PRF_NO_ENTRIES = -10,    // N_wnds is 0
    QD_PRF_ARRAYS_PAST_END = -22,     // 4 + 21N reaches into the signature or beyond
    QD_PRF_ODD_PATH_LENGTH = -23,     // a path length is not whole UTF-16 units
    QD_PRF_PATHS_PAST_END = -24,      // a path or its terminator reaches the signature
    QD_PRF_PATH_UNTERMINATED = -25,   // the unit after a path is not zero
    QD_PRF_NO_NAME = -26,             // nothing between the last path and the signature
    QD_PRF_ODD_NAME = -27,            // the name is not whole UTF-16 units
    QD_PRF_NAME_HAS_ZERO = -28,       // a zero unit inside the name: the name search stops short
};

enum : uint8_t { QD_PRF_KIND_FOLDER = 0, QD_PRF_KIND_PROGRAM = 1 };

constexpr uint8_t QD_PRF_SIGNATURE[3] = {0x00, 0x07, 0x0C};
constexpr uint32_t QD_PRF_NAME_MAX_UNITS = 256;

// Plain values of one profile to write; field names follow the write record.
struct STR_ProfileData {
    uint32_t N_wnds;
    const uint8_t* p_arr1D_uc_flag_Prg_or_Folder;  // 0 or 1 each
    const uint32_t* p_arr1D_ui_x;                  // signed values, stored as 32 bits
    const uint32_t* p_arr1D_ui_y;
    const uint32_t* p_arr1D_ui_w;
    const uint32_t* p_arr1D_ui_h;
    const uint32_t* p_arr1D_ui_len_path;           // bytes, even, without terminator
    const qd_char* p_arr_strz_paths;  // packed: path i at unit sum_{j<i} (len_j + 2) / 2
    const qd_char* ptc_PrfName;       // not terminated, no zero unit
    uint32_t uiSize_PrfName_inBytes;  // 2 .. 512, even
};

// A file that passed profile_open. Only profile_open fills it; the entry
// functions trust its offsets, which it proved to lie inside the file.
struct STR_ProfileView {
    const uint8_t* pc_file;
    uint32_t uiSize_file;
    uint32_t N_wnds;
    uint32_t uiOff_paths;         // 4 + 21N
    uint32_t uiOff_PrfName_beg;   // first byte of the name
    uint32_t uiOff_PrfName_end;   // first byte of the name's last unit: S - 5
    uint32_t uiN_Folders;         // entries of kind 0
    uint32_t uiN_Programs;        // all other entries
};

// One entry as it lies in the file.
struct STR_ProfileEntry {
    uint32_t ui_index;
    uint8_t uc_kind;
    int32_t i_x;
    int32_t i_y;
    int32_t i_w;
    int32_t i_h;
    uint32_t ui_len_path;     // bytes, without terminator
    uint32_t uiOff_path;      // offset of the path's first byte in the file
    const uint8_t* pc_path;   // the path in the file, zero-terminated, maybe unaligned
};

// 4 + 21N + sum (len_i + 2) + name bytes + 3, in 64 bits so that no count
// wraps. 0 for N = 0 or a missing array.
uint64_t profile_file_size(uint32_t N_wnds, const uint32_t* p_arr1D_ui_len_path,
                           uint32_t uiSize_PrfName_inBytes);

// Writes the file into pcBuf (uiCap bytes) and its size to *puiSize.
// QD_PRF_OK; QD_PRF_BAD_INPUT for a missing array or value the format
// cannot hold (N = 0, kind > 1, odd length, empty, long or zero-holding
// name); QD_PRF_TOO_LARGE; QD_PRF_SMALL_BUFFER with nothing written but
// *puiSize set, so a null buffer of capacity 0 asks for the size.
// Each path's terminator is written as zero whatever the packed buffer holds.
int32_t profile_write(const STR_ProfileData* pData, uint8_t* pcBuf, uint64_t uiCap, uint32_t* puiSize);
int32_t profile_write(const STR_ProfileData* pData, std::vector<uint8_t>* pvcFile);

// The tests a loader makes before reading the whole file: the size (empty,
// no tail, too large) and then its last three bytes.
int32_t profile_check_size(uint64_t uiSize_file);
int32_t profile_check_signature(const uint8_t* pcLast3);

// Validates pcFile (uiSize_file bytes) in the order of the refusal codes
// and fills *pView. Reads nothing outside the data, whatever the bytes.
int32_t profile_open(const uint8_t* pcFile, uint64_t uiSize_file, STR_ProfileView* pView);

// The name search a loaded-profile store runs on its copy: from S - 5 back
// two bytes at a time to the first zero unit; the name begins two bytes
// after it. Never reads below offset 0. QD_PRF_NO_NAME when the file is
// shorter than 5 bytes or holds no zero unit on that path.
int32_t profile_find_name(const uint8_t* pcFile, uint32_t uiSize_file,
                          uint32_t* puiOff_PrfName_beg, uint32_t* puiOff_PrfName_end);

// Entry ui, its path located by walking the lengths from entry 0.
// QD_PRF_BAD_INPUT for a missing argument or ui >= N_wnds.
int32_t profile_entry_at(const STR_ProfileView* pView, uint32_t ui, STR_ProfileEntry* pEntry);
// Advances *pEntry to the next entry: 1, or 0 after the last one.
int32_t profile_next_entry(const STR_ProfileView* pView, STR_ProfileEntry* pEntry);

// A width or height of 0 means "no saved geometry": the entry is started
// minimised and Restore leaves it alone.
inline bool profile_has_saved_geometry(const STR_ProfileEntry* pEntry)
{
    return pEntry && pEntry->i_w != 0 && pEntry->i_h != 0;
}

// Copy text out of the file into an aligned buffer: at most uiCap - 1
// units, always terminated when uiCap > 0. Return the full length in units;
// a result >= uiCap means the text was cut (never launch a cut path).
size_t profile_copy_path(const STR_ProfileEntry* pEntry, qd_char* ptcBuf, size_t uiCap);
size_t profile_copy_name(const STR_ProfileView* pView, qd_char* ptcBuf, size_t uiCap);

// Detail line of a loader's report for a refusal code; "" for other values.
const char* profile_refusal_detail(int32_t iCode);
