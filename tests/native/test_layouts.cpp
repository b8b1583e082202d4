// The window layouts and the font fitting at the worked examples of a
// 1920 x 1080 screen, and the single-precision factors at the sizes where
// their stored value changes the result.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "font_fit.h"
#include "layout_scan_list.h"
#include "modify_cell_layout.h"

namespace {

// The 32-bit members of records of boxes and points, in member order.
template <typename... T>
std::vector<int32_t> ints(const T&... v)
{
    std::vector<int32_t> r;
    auto add = [&r](const void* p, size_t n) { r.resize(r.size() + n / 4), std::memcpy(&r[r.size() - n / 4], p, n); };
    (add(&v, sizeof v), ...);
    return r;
}

// f: a line of h x num / den + extra pixels (num 0: a stock font whatever
// the height), units of h / 2 pixels, no font at the height iFailAt, and
// the count of measurements.
int32_t measure(void* pCtx, int32_t h, const qd_char* ptc, int32_t* piLineH, int32_t* piW)
{
    int32_t* f = static_cast<int32_t*>(pCtx);  // num, den, extra, iFailAt, count
    ++f[4];
    *piLineH = h * f[0] / f[1] + f[2];
    *piW = static_cast<int32_t>(qd_strlen(ptc)) * h / 2;
    return h == f[3] ? -1 : 1;
}

}  // namespace

TEST(Layout, WorkedExamplesAndSinglePrecisionEdges)
{
    STR_GeomLt g{}, g0{};
    geom_init_constants(&g);
    geom_init_constants(&g0);
    g.i_font_h_buttons = 20;
    ASSERT_EQ(1, layout_main_window(&g, 760, 440, 1920, 1080));
    ASSERT_EQ(1, layout_main_window(&g0, 0, 0, 1920, 1080));  // minimised
    STR_ModifyCellLayout mc{}, mc1000{};
    modify_cell_layout(1920, 1080, &mc);
    modify_cell_layout(1000, 1000, &mc1000);
    STR_ProfileNameLayout pn{}, pn1000{};
    profile_name_layout(360, 1920, 1080, &pn);
    profile_name_layout(300, 1000, 1000, &pn1000);
    // The windows and controls at 1920 x 1080 are checked on the real windows
    // (tests/win32); here what only painting shows, and the other sizes.
    const std::pair<std::vector<int32_t>, std::vector<int32_t>> rows[] = {
        // font box; 0.06f x 1600 is 95, 40 x 0.85 is 34
        {ints(button_font_box(115, 37), main_button_size(1600, 1080).i_w, button_font_box(115, 40).i_h), {92, 31, 95, 34}},
        // the reserved row, "Profile:", "Action:"
        {ints(g.box_reserved, g.box_lbl_Profile, g.box_lbl_Action), {561, 109, 24, 184, 561, 138, 24, 184, 561, 209, 24, 184}},
        // the picture (0.7f x 760 is 531), its axes, windows and letters
        {ints(g.box_picture, g.i_axis_x0, g.i_axis_y0, g.i_axis_len_X, g.i_axis_len_Y, g.arr_wnds, g.pt_letter_Y, g.pt_letter_X),
         {5, 5, 374, 531, 15, 15, 511, 354, 25, 25, 160, 108, 190, 25, 160, 221, 355, 25, 160, 221, 25, 138, 160, 108,
          25, 251, 490, 108, 5, 369, 526, 0}},
        {ints(g0.box_Scan.i_left, g0.box_picture.i_width, g0.arr_wnds[0].i_width), {30, 0, -16}},  // (0 - 50) / 3
        // List of Windows: window, buttons (0.03f x 1000 is 29), layout (0.088f x 1000 is 87), a list never negative
        {ints(scan_list_window_size(1366, 768), scan_list_button_size(1000, 1000)), {1024, 576, 90, 29}},
        {ints(layout_scan_list(1000, 700, 1920, 1080)), {5, 5, 32, 172, 182, 5, 32, 172, 5, 42, 653, 990, 87, 560, 87, 87, 87, 87}},
        {ints(layout_scan_list(0, 0, 1920, 1080).box_List, scan_list_column_width(6, 1000)), {5, 42, 0, 0, 0}},
        // Modify Cell: place by the cursor, labels; 0.045f x 1000 is 45
        {ints(modify_cell_window_pos(-100, 7), mc1000.i_ctl_w, mc.arr_rc_labels), {-70, 37, 45, 5, 5, 91, 32, 5, 37, 91, 64, 5, 69, 91, 96, 5, 101, 91, 133}},
        // Name of Profile: window, 0.175 x 360 is 62, controls, 0.03f x 1000 is 29
        {ints(profile_name_window_size(1920, 1080), profile_name_window_size(1000, 360).i_h), {360, 189, 62}},
        {ints(pn), {5, 86, 27, 264, 5, 264, 37, 241, 32, 5, 48, 5, 11, 440, 43}},
        {ints(pn1000.i_field_h, pn1000.pt_field.i_top, pn1000.rc_label.i_top, pn1000.pt_Ok.i_left), {29, 43, 9, 245}},
    };
    for (const auto& row : rows) EXPECT_EQ(row.second, row.first) << &row - rows;
}

TEST(Layout, ModifyCellFieldNumber)
{
    const std::pair<const char16_t*, int32_t> rows[] = {
        {u"120", 120}, {u"", 0}, {u"12a", 12}, {u"a12", 0}, {u"  \t-40", -40}, {u"+7", 7}, {u"+-3", 0}, {u"- 3", 0},
        {u"\u0663", 0}, {u"2147483648", INT_MAX}, {u"99999999999999999999", INT_MAX}, {u"-2147483649", INT_MIN}, {nullptr, 0}};
    for (const auto& row : rows) EXPECT_EQ(row.second, modify_cell_field_number(row.first)) << row.second;
}

TEST(FontFit, TallestFittingHeightThenNarrowEnough)
{
    // num, den, extra, iFailAt, measurements, hREC, result
    const std::vector<std::vector<int32_t>> heights = {{1, 1, 0, -1, 31, 31, 31}, {3, 2, 0, -1, 22, 32, 21}, {1, 1, 1, -1, 1, 1, 0},
                                                       {1, 1, 0, 4, 4, 31, QD_FONTFIT_NO_FONT}, {0, 1, 8, -1, 2 * 31 + 16, 31, QD_FONTFIT_NO_GROWTH}};
    for (const auto& r : heights) {
        int32_t f[5] = {r[0], r[1], r[2], r[3], 0};
        EXPECT_EQ(r[6], font_fit_height(r[5], measure, f)) << r[5];
        EXPECT_EQ(r[4], f[4]) << r[5];
    }
    // "Load Profile" is 6 px wide per px of height: height, wREC, result, iFailAt
    const int32_t widths[][4] = {{31, 92, 15, -1}, {31, 186, 31, -1}, {31, 3, 1, -1}, {0, 92, 0, -1}, {10, 5, QD_FONTFIT_NO_FONT, 9}};
    for (const auto& r : widths) {
        int32_t f[5] = {1, 1, 0, r[3], 0};
        EXPECT_EQ(r[2], font_fit_width(r[0], u"Load Profile", r[1], measure, f)) << r[1];
    }
}
