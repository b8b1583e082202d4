#include <gtest/gtest.h>

#include <climits>

#include "modify_cell_layout.h"

TEST(ModifyCellLayout, WindowSizeAndPlaceFollowTheScreenAndCursor)
{
    STR_Size s = modify_cell_window_size(1920, 1080);
    EXPECT_EQ(294, s.i_w);  // 259.2 + 35
    EXPECT_EQ(187, s.i_h);  // 162 + 25
    for (int32_t v = 480; v <= 4096; ++v) {
        ASSERT_EQ(135 * v / 1000 + 35, modify_cell_window_size(v, 1000).i_w) << v;
        ASSERT_EQ(15 * v / 100 + 25, modify_cell_window_size(1000, v).i_h) << v;
    }
    STR_Point p = modify_cell_window_pos(-100, 7);
    EXPECT_EQ(-70, p.i_left);
    EXPECT_EQ(37, p.i_top);
}

TEST(ModifyCellLayout, ControlsOnA1920x1080Screen)
{
    STR_ModifyCellLayout L{};
    modify_cell_layout(1920, 1080, &L);
    EXPECT_EQ(86, L.i_ctl_w);
    EXPECT_EQ(27, L.i_ctl_h);
    EXPECT_EQ(289, L.i_layout_w);
    EXPECT_EQ(198, L.pt_Ok.i_left);
    EXPECT_EQ(5, L.pt_Ok.i_top);
    EXPECT_EQ(198, L.pt_Cancel.i_left);
    EXPECT_EQ(37, L.pt_Cancel.i_top);
    const int32_t tops[] = {5, 37, 69, 101};
    for (int k = 0; k < QD_MC_FIELDS; ++k) {
        EXPECT_EQ(101, L.arr_pt_fields[k].i_left) << k;
        EXPECT_EQ(tops[k], L.arr_pt_fields[k].i_top) << k;
        const STR_Rect& r = L.arr_rc_labels[k];
        EXPECT_EQ(5, r.i_left) << k;
        EXPECT_EQ(91, r.i_right) << k;
        EXPECT_EQ(tops[k], r.i_top) << k;
        EXPECT_EQ(tops[k] + 27 + (k == 3 ? 5 : 0), r.i_bottom) << k;
    }
    modify_cell_layout(1000, 1000, &L);
    EXPECT_EQ(45, L.i_ctl_w);  // a 1000-pixel width gives a field width of 45
    for (int32_t v = 480; v <= 4096; ++v) {
        modify_cell_layout(v, v, &L);
        ASSERT_EQ(45 * v / 1000, L.i_ctl_w) << v;
        ASSERT_EQ(25 * v / 1000, L.i_ctl_h) << v;
        ASSERT_EQ(135 * v / 1000 + 30, L.i_layout_w) << v;
    }
}

TEST(ModifyCellFieldNumber, WholeTextBaseTenStoppingAtTheFirstNonDigit)
{
    struct { const char16_t* ptc; int32_t i; } cases[] = {
        {u"120", 120}, {u"0", 0}, {u"", 0}, {u"12a", 12}, {u"a12", 0},
        {u"  \t-40", -40}, {u"+7", 7}, {u"-", 0}, {u"+-3", 0}, {u"- 3", 0},
        {u"007", 7}, {u"1 2", 1}, {u"\u0663", 0},  // Arabic-Indic three is not 0-9
        {u"2147483647", INT_MAX}, {u"2147483648", INT_MAX}, {u"99999999999999999999", INT_MAX},
        {u"-2147483648", INT_MIN}, {u"-2147483649", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.i, modify_cell_field_number(c.ptc)) << static_cast<int>(c.ptc[0]);
    EXPECT_EQ(0, modify_cell_field_number(nullptr));
}

TEST(ProfileNameLayout, SizeAndControlsOnA1920x1080Screen)
{
    STR_Size s = profile_name_window_size(1920, 1080);
    EXPECT_EQ(360, s.i_w);
    EXPECT_EQ(189, s.i_h);
    // 0.175 lies below the decimal: 360 x 0.175 gives 62, not 63.
    EXPECT_EQ(62, profile_name_window_size(1000, 360).i_h);

    STR_ProfileNameLayout L{};
    profile_name_layout(360, 1920, 1080, &L);
    EXPECT_EQ(86, L.i_btn_w);
    EXPECT_EQ(27, L.i_btn_h);
    EXPECT_EQ(264, L.pt_Ok.i_left);  // 360 - 86 - 10
    EXPECT_EQ(5, L.pt_Ok.i_top);
    EXPECT_EQ(264, L.pt_Cancel.i_left);
    EXPECT_EQ(37, L.pt_Cancel.i_top);
    EXPECT_EQ(241, L.i_field_w);
    EXPECT_EQ(32, L.i_field_h);
    EXPECT_EQ(5, L.pt_field.i_left);
    EXPECT_EQ(48, L.pt_field.i_top);
    EXPECT_EQ(5, L.rc_label.i_left);
    EXPECT_EQ(440, L.rc_label.i_right);  // 5 + 435.456
    EXPECT_EQ(43, L.rc_label.i_bottom);
    EXPECT_EQ(11, L.rc_label.i_top);

    // 0.03f lies below the decimal: a 1000-pixel height gives a 29-pixel field.
    profile_name_layout(300, 1000, 1000, &L);
    EXPECT_EQ(29, L.i_field_h);
    EXPECT_EQ(43, L.pt_field.i_top);  // 43.5 cut
    EXPECT_EQ(9, L.rc_label.i_top);   // 38 - 29
    EXPECT_EQ(245, L.pt_Ok.i_left);   // 300 - 45 - 10
}
