#include <gtest/gtest.h>

#include <vector>

#include "font_fit.h"

namespace {

// A font model: line height = height * num / den + extra, width = chars * height / 2.
struct FakeFont {
    int32_t num = 1, den = 1, extra = 0;
    int32_t iFailAt = -1;       // font creation fails at this height
    bool bIgnoresHeight = false;  // measures the DC's stock font whatever is asked
    std::vector<int32_t> heights;
};

int32_t measure(void* pCtx, int32_t h, const qd_char* ptc, int32_t* piLineH, int32_t* piW)
{
    FakeFont* f = static_cast<FakeFont*>(pCtx);
    f->heights.push_back(h);
    if (h == f->iFailAt) return -1;
    int32_t eff = f->bIgnoresHeight ? 8 : h;
    *piLineH = eff * f->num / f->den + f->extra;
    *piW = static_cast<int32_t>(qd_strlen(ptc)) * eff / 2;
    return 1;
}

}  // namespace

TEST(FontFitHeight, ExactFitAndFirstTallerLine)
{
    FakeFont f;  // line height == font height
    EXPECT_EQ(31, font_fit_height(31, measure, &f));
    EXPECT_EQ(31, f.heights.back());
    FakeFont g;
    g.extra = 2;  // line taller than the font: height 30 gives 32 > 31
    EXPECT_EQ(29, font_fit_height(31, measure, &g));
    FakeFont h;
    h.num = 3, h.den = 2;  // 20 -> 30, 21 -> 31 fits exactly
    EXPECT_EQ(21, font_fit_height(31, measure, &h));
}

TEST(FontFitHeight, HeightOneTooTallGivesZero)
{
    FakeFont f;
    f.extra = 1;  // a 1-pixel font already measures 2
    EXPECT_EQ(0, font_fit_height(1, measure, &f));
    EXPECT_EQ(QD_FONTFIT_BAD_INPUT, font_fit_height(0, measure, &f));
    EXPECT_EQ(QD_FONTFIT_BAD_INPUT, font_fit_height(-5, measure, &f));
}

TEST(FontFitHeight, EndsWhenFontsCannotBeMadeOrDoNotGrow)
{
    FakeFont f;
    f.iFailAt = 4;
    EXPECT_EQ(QD_FONTFIT_NO_FONT, font_fit_height(31, measure, &f));
    EXPECT_EQ(4u, f.heights.size());
    FakeFont g;
    g.bIgnoresHeight = true;  // always 8: the unbounded search would never end
    EXPECT_EQ(QD_FONTFIT_NO_GROWTH, font_fit_height(31, measure, &g));
    EXPECT_EQ(2u * 31 + 16, g.heights.size());
}

TEST(FontFitWidth, ShrinksUntilTheTextFits)
{
    FakeFont f;  // "Load Profile" is 12 chars: width = 6h
    EXPECT_EQ(15, font_fit_width(31, u"Load Profile", 92, measure, &f));
    EXPECT_EQ(31, font_fit_width(31, u"Load Profile", 186, measure, &f));
    // Too wide even at height 1: the result is 1.
    EXPECT_EQ(1, font_fit_width(31, u"Load Profile", 3, measure, &f));
    // Height 0 that fits stays 0; one that does not becomes 1.
    EXPECT_EQ(0, font_fit_width(0, u"Load Profile", 92, measure, &f));
    FakeFont g;
    g.extra = 0;
    EXPECT_EQ(QD_FONTFIT_BAD_INPUT, font_fit_width(10, nullptr, 92, measure, &g));
    EXPECT_EQ(QD_FONTFIT_BAD_INPUT, font_fit_width(10, u"x", 0, measure, &g));
    g.iFailAt = 9;
    EXPECT_EQ(QD_FONTFIT_NO_FONT, font_fit_width(10, u"Load Profile", 5, measure, &g));
}
