#include "layout_scan_list.h"

#include "qd_text.h"

namespace {

// Single-precision factors: their stored values enter the products, so a
// client width of 1000 gives 87 for 0.088f, not 88.
const float F_BUTTON_W = 0.09f;
const float F_BUTTON_H = 0.03f;
const float F_COLUMN_NARROW = 0.088f;
const float F_COLUMN_CAPTION = 0.56f;

int32_t not_negative(int32_t v) { return v < 0 ? 0 : v; }

}  // namespace

STR_Size scan_list_window_size(int32_t iScreenW, int32_t iScreenH)
{
    return {qd_trunc_mul(iScreenW, 0.75), qd_trunc_mul(iScreenH, 0.75)};
}

STR_Size scan_list_button_size(int32_t iScreenW, int32_t iScreenH)
{
    return {qd_trunc_mul(iScreenW, F_BUTTON_W), qd_trunc_mul(iScreenH, F_BUTTON_H)};
}

int32_t scan_list_column_width(int32_t j, int32_t iClientW)
{
    if (j < 0 || j >= QD_SCANLIST_COLUMNS) return 0;
    return qd_trunc_mul(iClientW, j == 1 ? F_COLUMN_CAPTION : F_COLUMN_NARROW);
}

STR_ScanListLayout layout_scan_list(int32_t iClientW, int32_t iClientH, int32_t iScreenW, int32_t iScreenH)
{
    const int32_t m = QD_SCANLIST_MARGIN;
    const STR_Size btn = scan_list_button_size(iScreenW, iScreenH);
    STR_ScanListLayout l{};
    l.box_Move = {m, m, btn.i_h, btn.i_w};
    l.box_CreateProfile = {m + btn.i_w + m, m, btn.i_h, btn.i_w};
    l.box_List = {m, m + btn.i_h + m, not_negative(iClientH - btn.i_h - 3 * m), not_negative(iClientW - 2 * m)};
    for (int32_t j = 0; j < QD_SCANLIST_COLUMNS; ++j) l.arr1D_i_ColumnW[j] = scan_list_column_width(j, iClientW);
    return l;
}
