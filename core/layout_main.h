// Geometry of the main window: its initial size, the button and font-fitting
// boxes, and the layout of the controls and the picture for a client size.
// Pure arithmetic, fed plain numbers, so it is tested over real screen sizes.
#pragma once
#include <cstdint>

// A control box, stored left, top, height, width.
struct STR_Box {
    int32_t i_left;
    int32_t i_top;
    int32_t i_height;
    int32_t i_width;
};

// A schematic window of the picture, stored left, top, width, height.
struct STR_SchemWnd {
    int32_t i_left;
    int32_t i_top;
    int32_t i_width;
    int32_t i_height;
};

struct STR_Point {
    int32_t i_left;
    int32_t i_top;
};

// The main window's geometry record, filled by the layout and read by the
// painting. Member order is the record's documented order.
struct STR_GeomLt {
    int32_t i_client_w;
    int32_t i_client_h;
    STR_Box box_Scan;
    float f_Scan_h;            // fraction of the screen height
    float f_Scan_w;            // fraction of the screen width
    STR_Box box_LoadProfile;
    float f_LoadProfile_h;
    float f_LoadProfile_w;
    int32_t i_font_h_buttons;  // result of the font fitting
    STR_Box box_reserved;      // text row between Load Profile and "Profile:"
    STR_Box box_lbl_Profile;
    STR_Box box_CB_Profile;
    STR_Box box_lbl_Action;
    STR_Box box_CB_Action;
    STR_Box box_Apply;
    STR_Box box_picture;
    float f_picture_h;         // fraction of the client height
    float f_picture_w;         // fraction of the client width
    int32_t i_axis_x0;
    int32_t i_axis_y0;
    int32_t i_axis_len_X;
    int32_t i_axis_len_Y;
    STR_SchemWnd arr_wnds[5];
    int32_t i_font_h_axis;     // written by the painting
    STR_Point pt_letter_Y;
    STR_Point pt_letter_X;
    int32_t i_margin;
};

struct STR_Size {
    int32_t i_w;
    int32_t i_h;
};

// Constants stored into the record at creation: fractions and margin.
void geom_init_constants(STR_GeomLt* pSTR_GeomLt);

// Initial (and minimum tracking) size of the main window: 0.4 x 0.45 of the screen.
STR_Size main_window_size(int32_t iScreenW, int32_t iScreenH);

// Size of the Scan and Load Profile buttons: screen x 0.06f wide, x 0.035f high.
STR_Size main_button_size(int32_t iScreenW, int32_t iScreenH);

// Box the button caption must fit: 0.85 of the height and 0.8 of the width.
STR_Size button_font_box(int32_t iButtonW, int32_t iButtonH);

// Computes every laid-out member of the record for a client of uiW x uiH
// on a screen of iScreenW x iScreenH. Reads the fractions, margin and
// button font height already in the record. Returns 1, or -1 for no record.
int32_t layout_main_window(STR_GeomLt* pSTR_GeomLt, uint32_t uiW, uint32_t uiH,
                           int32_t iScreenW, int32_t iScreenH);
