// Geometry of the List of Windows window: its size on the screen, its two
// buttons, the list below them and the widths of the six columns. Pure
// arithmetic on plain numbers; the window only applies the results.
#pragma once
#include <cstdint>

#include "layout_main.h"

enum : int32_t {
    QD_SCANLIST_LEFT = 30,    // the window opens at (30, 30)
    QD_SCANLIST_TOP = 30,
    QD_SCANLIST_MARGIN = 5,
    QD_SCANLIST_COLUMNS = 6,  // "#", "Window name", "X", "Y", "Width", "Height"
};

// The window: three quarters of the screen's width and height.
STR_Size scan_list_window_size(int32_t iScreenW, int32_t iScreenH);

// Both buttons: 0.09f of the screen width by 0.03f of its height.
STR_Size scan_list_button_size(int32_t iScreenW, int32_t iScreenH);

// Width of column j (0 to 5) for a list client width: 0.56f of it for the
// caption column, 0.088f for each of the others. 0 for another j.
int32_t scan_list_column_width(int32_t j, int32_t iClientW);

// Places of the Move button, the Create Profile button and the list for a
// client of iClientW x iClientH. The list never gets a negative size.
struct STR_ScanListLayout {
    STR_Box box_Move;
    STR_Box box_CreateProfile;
    STR_Box box_List;
    int32_t arr1D_i_ColumnW[QD_SCANLIST_COLUMNS];
};

STR_ScanListLayout layout_scan_list(int32_t iClientW, int32_t iClientH, int32_t iScreenW, int32_t iScreenH);
