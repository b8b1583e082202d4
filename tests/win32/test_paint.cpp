#include <gtest/gtest.h>

#include "box_recorder.h"
#include "funcs_layout_windows/paint_main.h"
#include "platform/zt_win.h"

namespace {

// A 300 x 200 white bitmap to draw on.
struct Canvas {
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP bmp;
    HGDIOBJ old;
    Canvas()
    {
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bmp = CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(hdc, bmp);
        RECT rc = {0, 0, 300, 200};
        FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas()
    {
        SelectObject(hdc, old);
        DeleteObject(bmp);
        DeleteDC(hdc);
    }
};

HWND any_window() { return GetDesktopWindow(); }

}  // namespace

TEST(Paint, SchematicWindowHasOutlineTitleBarAndThreeBoxes)
{
    Canvas c;
    ASSERT_EQ(1, DrawWindow(any_window(), c.hdc, 10, 10, 100, 200));  // left 10, top 10, h 100, w 200
    const int right = 210;
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(c.hdc, 10, 60));            // left edge of the outline
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(c.hdc, 100, 60));     // hollow inside
    EXPECT_EQ(RGB(91, 173, 255), GetPixel(c.hdc, 50, 20));       // title bar, 20 px high
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(c.hdc, 50, 29));            // its lower edge
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(c.hdc, 50, 31));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(c.hdc, right - 10, 20));  // close box: right - 15 .. right - 5
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(c.hdc, right - 25, 15));    // maximise box outline
    EXPECT_EQ(RGB(91, 173, 255), GetPixel(c.hdc, right - 25, 20));  // hollow: the title shows through
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(c.hdc, right - 40, 15));    // minimise box outline
    // The DC is handed back as it came.
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(c.hdc, OBJ_PEN));
}

TEST(Paint, MissingArgumentsAndZeroSidesAreReported)
{
    BoxRecorder rec;
    Canvas c;
    EXPECT_EQ(-1, DrawWindow(any_window(), c.hdc, 0, 0, 0, 50));
    EXPECT_EQ(-1, DrawWindow(nullptr, c.hdc, 0, 0, 50, 50));
    EXPECT_EQ(-1, zt_DrawLine(c.hdc, 4, 4, 4, 4));
    EXPECT_EQ(1, zt_DrawLine(c.hdc, 4, 4, 40, 4));
    LoadedProfiles_STR lp{};
    EXPECT_EQ(-1, draw_MainWindow(any_window(), c.hdc, nullptr, nullptr, &lp));  // a missing font is no fault
    ASSERT_EQ(4u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"h = 0, w = 50\nreturn code : 0"));
    EXPECT_NE(std::wstring::npos, rec.boxes[2].text.find(L"x0 = 4, y0 = 4, x1 = 4, y1 = 4"));
    EXPECT_NE(std::wstring::npos, rec.boxes[3].text.find(L"incorrect input parameters, func draw_arrows()"));
    // A negative side is drawn with its negative extent, without a report.
    EXPECT_EQ(1, DrawWindow(any_window(), c.hdc, 100, 100, -20, 50));
    EXPECT_EQ(4u, rec.boxes.size());
}
