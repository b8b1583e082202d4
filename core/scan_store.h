// The scan result store: one entry per eligible top-level window, with its
// handle, geometry, shortened caption, kind and full path. The record, the
// layout of its buffers, and the operations on it that need no window, so
// the Win32 passes only gather values and the arithmetic is tested here.
#pragma once
#include <cstddef>
#include <cstdint>
#include "process_paths.h"
#include "qd_text.h"
#include "window_rules.h"

// Geometry record of one entry. The caption is reached through ptc_Caption,
// never by recomputing the cell position, so the record stays valid when
// the entry count is lowered after the filling pass. Height before width.
// 20 bytes in the 32-bit build, 24 in the 64-bit one.
struct GeomText_STR {
    qd_char* ptc_Caption;
    int32_t i_x;
    int32_t i_y;
    int32_t i_h;
    int32_t i_w;
};

// Member order is the record's documented order. Zero at program start.
// Window handles are kept as their low 32 bits in both builds (64-bit
// Windows keeps handles 32-bit significant); see zt_hwnd32 and zt_hwnd.
struct STR_ENUM_WNDS_DATA {
    uint32_t* arr1D_ui_LenPath;           // path length per entry, bytes, no terminator
    uint8_t* arr1D_uc_flag_FP;            // 1 program window, 0 Explorer folder window
    uint32_t counter_filled;              // next entry the filling pass writes
    uint8_t* pcTmpBuf_Prg_Folder_Path;    // scratch for executable paths
    uint32_t uiSize_TmpBuf_Path;          // its size in bytes
    uint8_t* pcDynMem_FullPaths;          // path slots, stride uiMaxLen_inBytes_AllPath + 1 units
    uint32_t uiMaxLen_inBytes_PrgPath;    // longest program path (counting pass)
    uint32_t uiMaxLen_inBytes_FolderPath; // longest folder path (first folder pass)
    uint32_t uiMaxLen_inBytes_AllPath;    // the larger of the two
    uint8_t* pcDynMem_WinHndls;           // uint32_t handle per entry
    uint8_t* pcDynMem_GeomText;           // GeomText_STR records, then caption cells
    uint32_t counter_valid;               // number of entries
    STR_ProcPaths* pProcPaths;            // what this Scan learned of processes; null: ask every time
};

enum : int32_t {
    QD_SCAN_OK = 1,
    QD_SCAN_NO_ROOM = 2,              // every counted entry is filled: window not stored
    QD_SCAN_BAD_INPUT = -1,
    QD_SCAN_TOO_LARGE = -3,           // buffer sizes beyond the address space
    QD_SCAN_NULL_FOLDER_HWND = -5,    // a shell window with a folder path has no handle
};

// Scratch size the main window sets before each scan.
enum : uint32_t { QD_SCAN_TMPBUF_BYTES = 32768 };

constexpr size_t QD_CAPTION_CELL_BYTES = QD_CAPTION_CELL_UNITS * sizeof(qd_char);
// Bytes per entry of the geometry-and-caption block (118 in the 32-bit build).
constexpr size_t QD_GEOMTEXT_ENTRY_BYTES = sizeof(GeomText_STR) + QD_CAPTION_CELL_BYTES;

// ---- Buffer sizes and layout -------------------------------------------

// Sizes in bytes of the five entry buffers, in the order of allocation.
struct STR_ScanBufSizes {
    size_t ui_LenPath;    // N x 4
    size_t ui_flag_FP;    // N
    size_t ui_GeomText;   // N x QD_GEOMTEXT_ENTRY_BYTES
    size_t ui_WinHndls;   // N x 4
    size_t ui_FullPaths;  // (L + 1) x N x 2
};

// Sizes for N = counter_valid entries and L = uiMaxLen_inBytes_AllPath.
// Returns 1, -1 for no output, -3 when a size does not fit a size_t.
int32_t scan_buffer_sizes(uint32_t uiN, uint32_t uiL, STR_ScanBufSizes* pSTR_Sizes);

// A path slot is L + 1 UTF-16 units long: the stride takes the longest
// length in bytes as a count of units, so each slot has room to spare.
// The last unit always stays zero, so a slot holds at most L units.
inline size_t scan_path_slot_units(uint32_t uiL) { return static_cast<size_t>(uiL) + 1; }

// Slot i begins at unit (L + 1) x i of the path buffer.
inline size_t scan_path_slot_offset(uint32_t uiL, uint32_t i)
{
    return scan_path_slot_units(uiL) * i;
}

// Caption cell i lies after all N geometry records: byte offset within the
// geometry-and-caption block. Only valid with N as allocated.
inline size_t scan_caption_cell_offset(uint32_t uiN, uint32_t i)
{
    return static_cast<size_t>(uiN) * sizeof(GeomText_STR) + QD_CAPTION_CELL_BYTES * i;
}

// ---- Entry accessors ----------------------------------------------------
// Index i < counter_valid; out of range or without the buffer they give
// 0 or null, so a reader never walks past the store.

uint32_t scan_entry_hwnd(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
uint8_t scan_entry_flag(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
uint32_t scan_entry_len_path(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
// Start of slot i; holds scan_entry_len_path / 2 units followed by zeros.
const qd_char* scan_entry_path(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
GeomText_STR* scan_entry_geom(STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
const GeomText_STR* scan_entry_geom(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
// The caption cell of entry i, through its geometry record.
const qd_char* scan_entry_caption(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);

// ---- Passes -------------------------------------------------------------

// Counting pass, per eligible window: one more entry; a program window's
// path (in units) may raise uiMaxLen_inBytes_PrgPath. Explorer windows
// are not measured here: their folder paths are measured separately.
int32_t scan_store_count_window(STR_ENUM_WNDS_DATA* pSTR, bool bProgram, uint32_t uiN_Path);

// What the filling pass gathered for one eligible window.
struct STR_ScanEntryIn {
    uint32_t ui_hwnd;
    int32_t i_left, i_top, i_right, i_bottom;  // GetWindowRect
    bool b_Iconic;
    const qd_char* ptc_Caption;  // caption as copied
    uint32_t uiN_Caption;        // caption_shown_length of it
    bool b_Program;              // false: Explorer, stored without a path
    const qd_char* ptc_Path;     // executable path (program windows)
    uint32_t uiN_Path;           // its length in units
};

// Filling pass: writes entry counter_filled and advances it. Relies on
// freshly zeroed buffers sized for counter_valid entries. Returns 1,
// 2 when all counted entries are already filled (the window is not
// stored), -1 for a missing store, buffer or text.
int32_t scan_store_write_entry(STR_ENUM_WNDS_DATA* pSTR, const STR_ScanEntryIn* pSTR_In);

// After the filling pass: entries counted but not filled (their windows
// closed between the passes) are dropped by lowering counter_valid to
// counter_filled. Allocations stay as they are, and the filled captions
// stay reachable through ptc_Caption. Returns the new count.
uint32_t scan_store_trim(STR_ENUM_WNDS_DATA* pSTR);

// Second folder pass, per shell window with a folder path: every entry
// with that handle gets the path, cut to its slot's capacity less one
// unit, and the length of what was stored. Returns 1, -1 for a missing
// store, buffer or text, -5 for a null handle (nothing written).
int32_t scan_store_write_folder_path(STR_ENUM_WNDS_DATA* pSTR, uint32_t ui_hwnd,
                                     const qd_char* ptcPath, uint32_t uiN_Path);

// ---- Release ------------------------------------------------------------

// Frees one buffer; the program passes a VirtualFree(MEM_RELEASE) wrapper.
typedef void (*QD_ReleaseBuf)(void* pCtx, void* pAddr);

struct STR_BufRelease {
    QD_ReleaseBuf pfnRelease;
    void* pCtx;
};

// Releases each of the six buffers that is not null and sets its address
// to null; counters keep their values (readers test the addresses).
// Releasing an empty store does nothing. Returns 1, or -1 for a missing
// store or release function (nothing released).
int32_t scan_store_release(STR_ENUM_WNDS_DATA* pSTR, const STR_BufRelease* pSTR_Release);
