#include <gtest/gtest.h>

#include "layout_scan_list.h"

TEST(ScanListLayout, WindowAndButtonSizesFollowTheScreen)
{
    STR_Size w = scan_list_window_size(1920, 1080);
    EXPECT_EQ(1440, w.i_w);
    EXPECT_EQ(810, w.i_h);
    EXPECT_EQ(1024, scan_list_window_size(1366, 768).i_w);  // 1024.5 cut
    EXPECT_EQ(576, scan_list_window_size(1366, 768).i_h);

    STR_Size b = scan_list_button_size(1920, 1080);
    EXPECT_EQ(172, b.i_w);
    EXPECT_EQ(32, b.i_h);
    // 0.03f lies below 0.03, 0.09f above 0.09: at exact multiples only the
    // height loses a pixel.
    EXPECT_EQ(29, scan_list_button_size(1000, 1000).i_h);
    EXPECT_EQ(90, scan_list_button_size(1000, 1000).i_w);
    for (int32_t s = 600; s <= 4000; ++s) {
        ASSERT_EQ((3 * s + 99) / 100 - 1, scan_list_button_size(1000, s).i_h) << s;
        ASSERT_EQ(9 * s / 100, scan_list_button_size(s, 1000).i_w) << s;
    }
}

TEST(ScanListLayout, ColumnWidthsUseSinglePrecisionFractions)
{
    const int32_t expect1000[] = {87, 560, 87, 87, 87, 87};
    for (int32_t j = 0; j < QD_SCANLIST_COLUMNS; ++j) EXPECT_EQ(expect1000[j], scan_list_column_width(j, 1000)) << j;
    EXPECT_EQ(0, scan_list_column_width(6, 1000));
    EXPECT_EQ(0, scan_list_column_width(-1, 1000));
    for (int32_t cw = 0; cw <= 5000; ++cw) {
        // 0.088f is just below 0.088 (exact multiples lose one), 0.56f just above 0.56.
        ASSERT_EQ((88 * cw + 999) / 1000 - (cw > 0 ? 1 : 0), scan_list_column_width(2, cw)) << cw;
        ASSERT_EQ(56 * cw / 100, scan_list_column_width(1, cw)) << cw;
    }
}

TEST(ScanListLayout, ButtonsStayFixedAndTheListTakesTheRest)
{
    STR_ScanListLayout l = layout_scan_list(1000, 700, 1920, 1080);
    EXPECT_EQ(5, l.box_Move.i_left);
    EXPECT_EQ(5, l.box_Move.i_top);
    EXPECT_EQ(172, l.box_Move.i_width);
    EXPECT_EQ(32, l.box_Move.i_height);
    EXPECT_EQ(182, l.box_CreateProfile.i_left);
    EXPECT_EQ(5, l.box_CreateProfile.i_top);
    EXPECT_EQ(172, l.box_CreateProfile.i_width);
    EXPECT_EQ(32, l.box_CreateProfile.i_height);
    EXPECT_EQ(5, l.box_List.i_left);
    EXPECT_EQ(42, l.box_List.i_top);
    EXPECT_EQ(990, l.box_List.i_width);
    EXPECT_EQ(700 - 32 - 15, l.box_List.i_height);
    EXPECT_EQ(560, l.arr1D_i_ColumnW[1]);
    EXPECT_EQ(87, l.arr1D_i_ColumnW[5]);

    // A minimised window reports a 0 x 0 client: nothing becomes negative.
    STR_ScanListLayout z = layout_scan_list(0, 0, 1920, 1080);
    EXPECT_EQ(0, z.box_List.i_width);
    EXPECT_EQ(0, z.box_List.i_height);
    EXPECT_EQ(172, z.box_Move.i_width);
}
