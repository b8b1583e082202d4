#include <gtest/gtest.h>

#include "layout_main.h"

namespace {

STR_GeomLt laid_out(uint32_t W, uint32_t H, int32_t Sw, int32_t Sh, int32_t fontH)
{
    STR_GeomLt g{};
    geom_init_constants(&g);
    g.i_font_h_buttons = fontH;
    EXPECT_EQ(1, layout_main_window(&g, W, H, Sw, Sh));
    return g;
}

}  // namespace

TEST(MainWindowSize, FractionsOfTheScreenTruncated)
{
    STR_Size s = main_window_size(1920, 1080);
    EXPECT_EQ(768, s.i_w);
    EXPECT_EQ(486, s.i_h);
    // floor(2*Sw/5), floor(9*Sh/20) over common screens
    for (int32_t Sw : {800, 1024, 1280, 1366, 1440, 1600, 1680, 2560, 3840})
        EXPECT_EQ(2 * Sw / 5, main_window_size(Sw, 1000).i_w) << Sw;
    for (int32_t Sh : {600, 768, 900, 1050, 1200, 1440, 2160})
        EXPECT_EQ(9 * Sh / 20, main_window_size(1000, Sh).i_h) << Sh;
}

TEST(MainButtonSize, SinglePrecisionFactorsTruncateBelowExactMultiples)
{
    STR_Size b = main_button_size(1920, 1080);
    EXPECT_EQ(115, b.i_w);
    EXPECT_EQ(37, b.i_h);
    // 0.06f lies just below 0.06: 1600 x 0.06 = 96 exactly, the float gives 95.
    EXPECT_EQ(95, main_button_size(1600, 1080).i_w);
    for (int32_t Sw = 640; Sw <= 4096; ++Sw)
        ASSERT_EQ((3 * Sw + 49) / 50 - 1, main_button_size(Sw, 1000).i_w) << Sw;
    for (int32_t Sh = 480; Sh <= 2400; ++Sh)
        ASSERT_EQ(7 * Sh / 200, main_button_size(1000, Sh).i_h) << Sh;
}

TEST(ButtonFontBox, EightyFivePercentHighEightyPercentWide)
{
    STR_Size f = button_font_box(115, 37);
    EXPECT_EQ(92, f.i_w);
    EXPECT_EQ(31, f.i_h);
    EXPECT_EQ(34, button_font_box(115, 40).i_h);  // 40 x 0.85 lands on 34, not 33
    for (int32_t h = 1; h < 500; ++h) ASSERT_EQ(17 * h / 20, button_font_box(100, h).i_h) << h;
    for (int32_t w = 1; w < 500; ++w) ASSERT_EQ(4 * w / 5, button_font_box(w, 10).i_w) << w;
}

TEST(LayoutMainWindow, WorkedExample760x440)
{
    STR_GeomLt g = laid_out(760, 440, 1920, 1080, 20);
    EXPECT_EQ(531, g.box_picture.i_width);  // 0.7f makes 532 into 531
    EXPECT_EQ(374, g.box_picture.i_height);
    const STR_Box* boxes[] = {&g.box_Scan, &g.box_LoadProfile, &g.box_reserved, &g.box_lbl_Profile,
                              &g.box_CB_Profile, &g.box_lbl_Action, &g.box_CB_Action, &g.box_Apply};
    const int32_t tops[] = {5, 47, 109, 138, 167, 209, 238, 280};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(561, boxes[i]->i_left) << i;
        EXPECT_EQ(tops[i], boxes[i]->i_top) << i;
    }
    for (const STR_Box* b : {&g.box_Scan, &g.box_LoadProfile, &g.box_Apply}) {
        EXPECT_EQ(115, b->i_width);
        EXPECT_EQ(37, b->i_height);
    }
    for (const STR_Box* b : {&g.box_reserved, &g.box_lbl_Profile, &g.box_lbl_Action}) {
        EXPECT_EQ(24, b->i_height);
        EXPECT_EQ(184, b->i_width);
    }
    EXPECT_EQ(37, g.box_CB_Profile.i_height);
    EXPECT_EQ(184, g.box_CB_Action.i_width);
    EXPECT_EQ(760, g.i_client_w);
    EXPECT_EQ(440, g.i_client_h);
}

TEST(LayoutMainWindow, PictureAxesWindowsAndLetters)
{
    STR_GeomLt g = laid_out(760, 440, 1920, 1080, 20);
    EXPECT_EQ(15, g.i_axis_x0);
    EXPECT_EQ(15, g.i_axis_y0);
    EXPECT_EQ(531 - 20, g.i_axis_len_X);
    EXPECT_EQ(374 - 20, g.i_axis_len_Y);
    const int32_t uw = (531 - 50) / 3, uh = (374 - 50) / 3;  // 160, 108
    const STR_SchemWnd expect[5] = {
        {25, 25, uw, uh},
        {25 + uw + 5, 25, uw, 2 * uh + 5},
        {25 + 2 * (uw + 5), 25, uw, 2 * uh + 5},
        {25, 25 + uh + 5, uw, uh},
        {25, 25 + 2 * (uh + 5), 3 * uw + 10, uh},
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expect[i].i_left, g.arr_wnds[i].i_left) << i;
        EXPECT_EQ(expect[i].i_top, g.arr_wnds[i].i_top) << i;
        EXPECT_EQ(expect[i].i_width, g.arr_wnds[i].i_width) << i;
        EXPECT_EQ(expect[i].i_height, g.arr_wnds[i].i_height) << i;
    }
    EXPECT_EQ(5, g.pt_letter_Y.i_left);
    EXPECT_EQ(5 + 374 - 10, g.pt_letter_Y.i_top);
    EXPECT_EQ(5 + 531 - 10, g.pt_letter_X.i_left);
    EXPECT_EQ(0, g.pt_letter_X.i_top);
}

TEST(LayoutMainWindow, EdgesOfTheClientSize)
{
    // Width 0: picture 0 wide (no -1 from the ceiling formula), units negative.
    STR_GeomLt g = laid_out(0, 0, 1920, 1080, 20);
    EXPECT_EQ(0, g.box_picture.i_width);
    EXPECT_EQ(0, g.box_picture.i_height);
    EXPECT_EQ(30, g.box_Scan.i_left);
    EXPECT_EQ(-16, g.arr_wnds[0].i_width);  // (0 - 50) / 3 truncates toward zero
    // Picture width follows ceil(7W/10) - 1 for every 16-bit width.
    for (uint32_t W = 1; W <= 0xFFFF; W += 7)
        ASSERT_EQ(static_cast<int32_t>((7 * W + 9) / 10 - 1), laid_out(W, 100, 1920, 1080, 20).box_picture.i_width) << W;
    // Text rows are 6f/5 high.
    for (int32_t f = 0; f < 200; ++f) ASSERT_EQ(6 * f / 5, laid_out(760, 440, 1920, 1080, f).box_reserved.i_height) << f;
    EXPECT_EQ(-1, layout_main_window(nullptr, 760, 440, 1920, 1080));
}
