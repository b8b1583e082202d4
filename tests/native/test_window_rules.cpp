#include <gtest/gtest.h>

#include <string>

#include "window_rules.h"

namespace {

// Shortens the first uiLen units of a caption c0..c(n-1) of distinct units,
// checking that the cell is zero after the text.
std::u16string shortened(const std::u16string& s, uint32_t uiLen)
{
    qd_char cell[QD_CAPTION_CELL_UNITS];
    for (qd_char& c : cell) c = u'#';
    uint32_t n = caption_shorten(s.c_str(), uiLen, cell);
    for (uint32_t j = n; j < QD_CAPTION_CELL_UNITS; ++j) EXPECT_EQ(0, cell[j]) << j;
    return std::u16string(cell, n);
}

std::u16string caption(uint32_t n)
{
    std::u16string s;
    for (uint32_t k = 0; k < n; ++k) s += static_cast<qd_char>(0x400 + k);
    return s;
}

bool explorer(const std::u16string& s) { return is_explorer_path(s.c_str(), s.size()); }

}  // namespace

TEST(CaptionShorten, WholeUpTo48ElseHeadDotsTail)
{
    const std::u16string c48 = caption(48), c49 = caption(49), c60 = caption(60);
    EXPECT_EQ(c48, shortened(c48, 48));
    EXPECT_EQ(c49.substr(0, 25) + u"..." + c49.substr(29, 20), shortened(c49, 49));
    EXPECT_EQ(c60.substr(0, 25) + u"..." + c60.substr(40, 20), shortened(c60, 60));
    // The length is the text length, at most what was copied, negative as 0.
    EXPECT_EQ(12u, caption_shown_length(60, 12));
    EXPECT_EQ(30u, caption_shown_length(30, 999));
    EXPECT_EQ(u"", shortened(c60, caption_shown_length(-1, 60)));
    EXPECT_EQ(c60.substr(0, 25) + u"..." + c60.substr(29, 20), shortened(c60, caption_shown_length(60, 49)));
}

TEST(ClassExclusion, TenClassesInAnyCaseExactNamesOnly)
{
    for (const char16_t* ptc :
         {u"tooltips_class32", u"TOOLTIPS_CLASS", u"SysShadow", u"RegEdit_RegEdit", u"#32770",
          u"TaskManagerWindow", u"ApplicationFrameWindow", u"Windows.UI.Core.CoreWindow",
          u"Progman", u"button", u"Button", u"BUTTON"})
        EXPECT_TRUE(is_excluded_class(ptc)) << std::string(ptc, ptc + qd_strlen(ptc));
    // Near misses, and a capital outside A-Z that is not folded (Greek Nu).
    for (const char16_t* ptc : {u"buttonx", u"butto", u"xbutton", u"tooltips_class3", u"#3277",
                                u"CabinetWClass", u"", u"BUTTO\u039D"})
        EXPECT_FALSE(is_excluded_class(ptc)) << std::string(ptc, ptc + qd_strlen(ptc));
    std::u16string s = u"@AZ[`az{\u00C0Button";
    lower_az_inplace(&s[0]);
    EXPECT_EQ(u"@az[`az{\u00C0button", s);
}

TEST(ExplorerTest, FinalTwelveUnitsAnyCase)
{
    EXPECT_TRUE(explorer(u"C:\\Windows\\explorer.exe"));
    EXPECT_TRUE(explorer(u"C:\\WINDOWS\\EXPLORER.EXE"));
    EXPECT_TRUE(explorer(u"explorer.exe"));
    EXPECT_TRUE(explorer(u"D:\\Tools\\FileExplorer.exe"));
    EXPECT_FALSE(explorer(u"xplorer.exe"));
    EXPECT_FALSE(explorer(u""));
    EXPECT_FALSE(explorer(u"C:\\Windows\\explorer.exe.bak"));
    EXPECT_FALSE(explorer(u"C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(is_explorer_path(u"C:\\explorer.exe", 14));  // only the given length counts
}

TEST(WindowGeometry, EdgesToSizeMinimisedIsZero)
{
    STR_WndGeom g = window_geometry(-1920, -8, -1000, 700, false);
    EXPECT_EQ(-1920, g.i_x);
    EXPECT_EQ(-8, g.i_y);
    EXPECT_EQ(708, g.i_h);
    EXPECT_EQ(920, g.i_w);
    g = window_geometry(-32000, -32000, -31840, -31972, true);
    EXPECT_EQ(0, g.i_x | g.i_y | g.i_h | g.i_w);
}
