#include <gtest/gtest.h>

#include "box_recorder.h"
#include "funcs_layout_windows/fonts.h"
#include "platform/zt_win.h"

namespace {

SIZE measure(HDC hdc, int32_t h, const wchar_t* ptc)
{
    zt_GdiObj<HFONT> f(zt_CreateFont(h, 400, 0, 0, 0, 16, L"Times New Roman"));
    zt_SavedDC s(hdc);
    SelectObject(hdc, f.get());
    RECT rc = {0, 0, 0, 0};
    DrawTextW(hdc, ptc, -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

struct ScreenDC {
    HDC hdc = GetDC(nullptr);
    ~ScreenDC() { ReleaseDC(nullptr, hdc); }
};

}  // namespace

TEST(Fonts, HeightSearchFindsTheLargestLineThatFits)
{
    ScreenDC dc;
    for (int32_t hREC : {1, 12, 31, 34, 60}) {
        int32_t h = FindFontSize(dc.hdc, hREC);
        ASSERT_GE(h, 0) << hREC;
        if (h > 0) {
            EXPECT_LE(measure(dc.hdc, h, L"Hello!").cy, hREC) << hREC;
        }
        EXPECT_GT(measure(dc.hdc, h + 1, L"Hello!").cy, hREC) << hREC;
    }
}

TEST(Fonts, LoadProfileFitsTheButtonsOfA1920x1080Screen)
{
    ScreenDC dc;
    // Buttons of 115 x 37 ask for 92 x 31.
    int32_t h = fit_button_font_height(dc.hdc, L"Load Profile", 115, 37);
    ASSERT_GT(h, 1);
    EXPECT_LE(measure(dc.hdc, h, L"Load Profile").cx, 92);
    EXPECT_GT(measure(dc.hdc, h + 1, L"Load Profile").cx, 92);
    EXPECT_EQ(h, FindFontSize_fit_H_and_W(dc.hdc, L"Load Profile", 31, 92));
    // Far too narrow: never below 1.
    EXPECT_EQ(1, FindFontSize_fit_H_and_W(dc.hdc, L"Load Profile", 31, 1));
}

TEST(Fonts, BadArgumentsAreReportedAndRefused)
{
    BoxRecorder rec;
    ScreenDC dc;
    EXPECT_EQ(-1, FindFontSize(nullptr, 31));
    EXPECT_EQ(-1, FindFontSize(dc.hdc, 0));
    EXPECT_EQ(-1, FindFontSize_fit_H_and_W(dc.hdc, nullptr, 31, 92));
    EXPECT_EQ(-1, FindFontSize_fit_H_and_W(dc.hdc, L"x", 31, -3));
    EXPECT_EQ(nullptr, zt_CreateFont(10, 400, 0, 0, 0, 16, nullptr));
    ASSERT_EQ(5u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"incorrect input parameters, func FindFontSize()\nhdc = "));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L", hREC = 0"));
    EXPECT_NE(std::wstring::npos, rec.boxes[3].text.find(L"hREC = 31,wREC = -3,ptc_Text = "));
    EXPECT_NE(std::wstring::npos, rec.boxes[4].text.find(L"func zt_CreateFont()\npcTypeFaceName = 0000"));
}

TEST(Fonts, CreatedFontCarriesTheAskedParameters)
{
    zt_GdiObj<HFONT> f(zt_CreateFont(23, 700, 1, 0, 1, 16, L"Times New Roman"));
    ASSERT_TRUE(f);
    LOGFONTW lf = {};
    ASSERT_EQ(static_cast<int>(sizeof(lf)), GetObjectW(f.get(), sizeof(lf), &lf));
    EXPECT_EQ(23, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_EQ(1, lf.lfItalic);
    EXPECT_EQ(1, lf.lfStrikeOut);
    EXPECT_EQ(OUT_TT_PRECIS, lf.lfOutPrecision);
    EXPECT_EQ(CLIP_CHARACTER_PRECIS, lf.lfClipPrecision);
    EXPECT_EQ(16, lf.lfPitchAndFamily);
    EXPECT_STREQ(L"Times New Roman", lf.lfFaceName);
}
