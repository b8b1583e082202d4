// Arithmetic of the two small windows opened from the List of Windows
// window, the Modify Cell window and the Name of Profile window, and the
// rule that turns a Modify Cell field into the number stored for it.
// Pure functions of plain numbers and text, tested natively.
#pragma once
#include <cstdint>

#include "layout_main.h"
#include "qd_text.h"

// A rectangle in client coordinates, right and bottom exclusive.
struct STR_Rect {
    int32_t i_left;
    int32_t i_top;
    int32_t i_right;
    int32_t i_bottom;
};

// ---- Modify Cell window -------------------------------------------------

enum : int32_t {
    QD_MC_MARGIN = 5,
    QD_MC_CURSOR_OFFSET = 30,  // the window opens this far right of and below the cursor
    QD_MC_FIELDS = 4,          // X, Y, Width, Height
};

// Places of the controls, computed once at creation from the screen size.
struct STR_ModifyCellLayout {
    int32_t i_margin;
    int32_t i_layout_w;   // screen width x 0.135 + 30: places the buttons
    int32_t i_ctl_w;      // width of buttons and fields: screen width x 0.045f
    int32_t i_ctl_h;      // their height: screen height x 0.025f
    STR_Point pt_Ok;
    STR_Point pt_Cancel;
    STR_Point arr_pt_fields[QD_MC_FIELDS];   // X, Y, Width, Height
    STR_Rect arr_rc_labels[QD_MC_FIELDS];    // left of each field; Height's is 5 px taller
};

// Outer size: screen width x 0.135 + 35, screen height x 0.15000000000000002 + 25.
STR_Size modify_cell_window_size(int32_t iScreenW, int32_t iScreenH);

// Top-left corner for a cursor at (x, y).
STR_Point modify_cell_window_pos(int32_t iCursorX, int32_t iCursorY);

void modify_cell_layout(int32_t iScreenW, int32_t iScreenH, STR_ModifyCellLayout* pSTR_Layout);

// The number stored for a field's text: base 10, leading white space
// (space, tab, line feed, vertical tab, form feed, carriage return) and
// one sign allowed, stopping at the first character that is not a digit
// 0-9; no digits give 0, "12a" gives 12. Values beyond the 32-bit range
// are clamped to it. A null text gives 0.
int32_t modify_cell_field_number(const qd_char* ptcText);

// ---- Name of Profile window ---------------------------------------------

enum : int32_t {
    QD_PN_MARGIN = 5,
    QD_PN_OWNER_OFFSET = 70,  // the window opens this far right of and below its owner's corner
};

struct STR_ProfileNameLayout {
    int32_t i_margin;
    int32_t i_btn_w;      // screen width x 0.045f
    int32_t i_btn_h;      // screen height x 0.025f
    STR_Point pt_Ok;      // at the right edge of the outer width, less two margins
    STR_Point pt_Cancel;  // below "Ok"
    int32_t i_field_w;    // screen width x 0.126f
    int32_t i_field_h;    // screen height x 0.03f
    STR_Point pt_field;   // (margin, 1.5 field heights)
    STR_Rect rc_label;    // "Enter name of Profile:", ending a margin above the field
};

// Outer size: screen width x 0.1875, screen height x 0.175.
STR_Size profile_name_window_size(int32_t iScreenW, int32_t iScreenH);

// iOuterW is the window's outer width as created.
void profile_name_layout(int32_t iOuterW, int32_t iScreenW, int32_t iScreenH, STR_ProfileNameLayout* pSTR_Layout);
