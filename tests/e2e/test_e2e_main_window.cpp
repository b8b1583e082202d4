#include <gtest/gtest.h>

#include <cstdio>

#include "driver.h"
#include "layout_main.h"
#include "program_fixture.h"

namespace {

HWND control(HWND hwndMain, int id) { return GetDlgItem(hwndMain, id); }

// The layout the controls must show for the window's client size. The text
// row height comes from the fitted font, which lives in the other process:
// it is read back from where the Profile list stands, and every other box
// is then checked against it.
void expect_laid_out(HWND hwndMain)
{
    RECT rc;
    GetClientRect(hwndMain, &rc);
    RECT cbProfile = drv::child_rect(hwndMain, control(hwndMain, 4));
    STR_GeomLt g{};
    bool bFound = false;
    for (int32_t f = 1; f < 200 && !bFound; ++f) {
        g = STR_GeomLt{};
        geom_init_constants(&g);
        g.i_font_h_buttons = f;
        layout_main_window(&g, rc.right, rc.bottom, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        bFound = g.box_CB_Profile.i_top == cbProfile.top;
    }
    ASSERT_TRUE(bFound) << "Profile list at " << cbProfile.top;
    const struct {
        int id;
        const STR_Box* box;
        bool bHeight;
    } checks[] = {{1, &g.box_Scan, true}, {2, &g.box_LoadProfile, true}, {6, &g.box_Apply, true},
                  {4, &g.box_CB_Profile, false}, {5, &g.box_CB_Action, false}};
    for (const auto& c : checks) {
        RECT r = drv::child_rect(hwndMain, control(hwndMain, c.id));
        EXPECT_EQ(c.box->i_left, r.left) << c.id;
        EXPECT_EQ(c.box->i_top, r.top) << c.id;
        EXPECT_EQ(c.box->i_width, r.right - r.left) << c.id;
        if (c.bHeight) {
            EXPECT_EQ(c.box->i_height, r.bottom - r.top) << c.id;
        }
    }
}

size_t count_main_windows()
{
    size_t n = 0;
    for (HWND h = FindWindowW(L"prg_wnds_layout", nullptr); h; h = FindWindowExW(nullptr, h, L"prg_wnds_layout", nullptr)) ++n;
    return n;
}

}  // namespace

TEST_F(ProgramTest, MainWindowShowsItsFiveControlsLaidOut)
{
    ASSERT_EQ(1920, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(1080, GetSystemMetrics(SM_CYSCREEN));
    std::printf("cold start to visible main window: %lu ms\n", static_cast<unsigned long>(dwStartMs));
    EXPECT_EQ(L"Quorvel-Dint", drv::text(hwndMain));
    RECT rc;
    GetWindowRect(hwndMain, &rc);
    EXPECT_EQ(768, rc.right - rc.left);
    EXPECT_EQ(486, rc.bottom - rc.top);
    EXPECT_TRUE(GetWindowLongW(hwndMain, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    EXPECT_EQ(L"Scan", drv::text(control(hwndMain, 1)));
    EXPECT_EQ(L"Load Profile", drv::text(control(hwndMain, 2)));
    EXPECT_EQ(L"Apply", drv::text(control(hwndMain, 6)));
    EXPECT_EQ(L"ComboBox", drv::class_name(control(hwndMain, 4)));
    EXPECT_EQ(L"ComboBox", drv::class_name(control(hwndMain, 5)));
    EXPECT_EQ(3, SendMessageW(control(hwndMain, 5), CB_GETCOUNT, 0, 0));
    expect_laid_out(hwndMain);

    // Let it paint, then keep a picture of it.
    RedrawWindow(hwndMain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    std::wstring shot = drv::screenshot(hwndMain, L"main_window.png");
    EXPECT_FALSE(shot.empty());
    std::printf("screenshot: %ls\n", shot.c_str());
}

TEST_F(ProgramTest, SecondStartRestoresAndRaisesTheFirstThenExitsWithZero)
{
    ShowWindow(hwndMain, SW_MINIMIZE);
    ASSERT_TRUE(drv::wait_until([&] { return IsIconic(hwndMain) != FALSE; }, 2000));
    drv::Process second = drv::start(drv::beside_driver(L"quorvel-dint.exe"));
    ASSERT_NE(nullptr, second.hProcess);
    EXPECT_EQ(0u, drv::wait_exit(second, 10000));
    drv::close_handles(second);
    EXPECT_TRUE(drv::wait_until([&] { return !IsIconic(hwndMain); }, 2000));
    EXPECT_EQ(1u, count_main_windows());
    EXPECT_EQ(hwndMain, GetForegroundWindow());
}

TEST_F(ProgramTest, AboutMenuShowsTheAboutBox)
{
    PostMessageW(hwndMain, WM_COMMAND, MAKEWPARAM(9, 0), 0);
    HWND hwndDlg = drv::wait_dialog(proc.dwPid, 5000);
    ASSERT_NE(nullptr, hwndDlg);
    EXPECT_EQ(L"About", drv::text(hwndDlg));
    EXPECT_EQ(hwndMain, GetWindow(hwndDlg, GW_OWNER));
    std::wstring t = drv::dialog_text(hwndDlg);
    EXPECT_EQ(0u, t.find(L"This small software utility \"Quorvel-Dint\" is intended for keeping your folders and programs layout organized.\n\nManufacturer: "));
    EXPECT_NE(std::wstring::npos, t.find(L"\ne-mail: "));
    EXPECT_NE(std::wstring::npos, t.find(L"\n\nrelease date: 20"));
    drv::press(hwndDlg, IDOK);
    EXPECT_TRUE(drv::wait_until([&] { return !IsWindow(hwndDlg); }, 3000));
}

TEST_F(ProgramTest, ResizingKeepsTheMinimumAndLaysOutAgain)
{
    SetWindowPos(hwndMain, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc;
    drv::wait_until([&] { GetWindowRect(hwndMain, &rc); return rc.right - rc.left != 300; }, 1000);
    GetWindowRect(hwndMain, &rc);
    EXPECT_EQ(768, rc.right - rc.left);
    EXPECT_EQ(486, rc.bottom - rc.top);

    SetWindowPos(hwndMain, nullptr, 0, 0, 1300, 760, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(hwndMain, &rc);
    EXPECT_EQ(1300, rc.right - rc.left);
    expect_laid_out(hwndMain);
    RedrawWindow(hwndMain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    EXPECT_FALSE(drv::screenshot(hwndMain, L"main_window_resized.png").empty());
}
