// Rules of window discovery that need no window: class exclusion, the
// Explorer test, caption shortening, geometry and path lengths. The Win32
// enumeration passes (and the search for launched programs' windows) gather
// the raw values and decide with these, so the decisions are testable here.
#pragma once
#include <cstddef>
#include <cstdint>
#include "qd_text.h"

enum : uint32_t {
    QD_CAPTION_CELL_UNITS = 49,  // shortened caption plus its terminator
    QD_CAPTION_SHOWN_MAX = 48,   // longest caption shown whole
    QD_CAPTION_HEAD = 25,        // kept from the start of a long caption
    QD_CAPTION_TAIL = 20,        // kept from its end, after "..."
    QD_EXPLORER_TAIL = 12,       // length of "explorer.exe"
};

// Only A-Z become a-z: class names and paths are compared as the system
// reports them, without locale rules.
qd_char lower_az(qd_char c);

// True when the class name, lower-cased, equals one of the ten classes
// whose windows are never listed (tooltips, shadows, dialogs, the desktop,
// buttons, ...). Exact comparison: "buttonx" is not "button".
bool is_excluded_class(const qd_char* ptcClassName);

// True when the final 12 units of the path, lower-cased, are
// "explorer.exe". A shorter path is never Explorer; any file name that
// merely ends in explorer.exe (FileExplorer.exe) is.
bool is_explorer_path(const qd_char* ptcPath, size_t uiN_Path);

// Units of the caption to shorten: GetWindowTextLength's result (negative
// counts as 0), but never more than WM_GETTEXT actually copied.
uint32_t caption_shown_length(int32_t iTextLength, uint32_t uiN_Copied);

// Writes the first uiLen units of ptcCaption into a 49-unit cell, or for
// uiLen > 48 the first 25, "...", the last 20. The rest of the cell is
// zeroed. Returns the number of units of text written (at most 48).
uint32_t caption_shorten(const qd_char* ptcCaption, uint32_t uiLen,
                         qd_char ptcCell[QD_CAPTION_CELL_UNITS]);

// Geometry of a window as the store keeps it.
struct STR_WndGeom {
    int32_t i_x;
    int32_t i_y;
    int32_t i_h;
    int32_t i_w;
};

// From GetWindowRect's edges: x = left, y = top, h = bottom - top,
// w = right - left. A minimised window's rectangle is the parked icon
// position, so it is stored as all zero.
STR_WndGeom window_geometry(int32_t iLeft, int32_t iTop, int32_t iRight, int32_t iBottom,
                            bool bIconic);

// UTF-16 lengths are kept in bytes, without the terminator.
inline uint32_t path_len_bytes(uint32_t uiN_Units) { return 2 * uiN_Units; }
