#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "funcs_layout_windows/fonts.h"
#include "funcs_layout_windows/layout_apply.h"
#include "profile_bytes.h"
#include "profile_lists.h"
#include "layout_main.h"
#include "main_prg/main_window.h"
#include "main_window_fixture.h"
#include "platform/zt_win.h"

namespace {

std::wstring text_of(HWND hwnd)
{
    wchar_t buf[128] = {};
    GetWindowTextW(hwnd, buf, 128);
    return buf;
}

int32_t button_font_height(HWND hwnd)
{
    HFONT f = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd, IDC_BTN_SCAN), WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    if (f) GetObjectW(f, sizeof(lf), &lf);
    return lf.lfHeight;
}

// The layout the controls must have for the window's present client size.
STR_GeomLt expected_layout(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    STR_GeomLt g{};
    geom_init_constants(&g);
    g.i_font_h_buttons = button_font_height(hwnd);
    layout_main_window(&g, rc.right, rc.bottom, zt_ScreenW(), zt_ScreenH());
    return g;
}

void expect_at(HWND hwnd, int id, const STR_Box& b, bool bCheckHeight)
{
    RECT rc = child_rect(hwnd, GetDlgItem(hwnd, id));
    EXPECT_EQ(b.i_left, rc.left) << "control " << id;
    EXPECT_EQ(b.i_top, rc.top) << "control " << id;
    EXPECT_EQ(b.i_width, rc.right - rc.left) << "control " << id;
    if (bCheckHeight) {
        EXPECT_EQ(b.i_height, rc.bottom - rc.top) << "control " << id;
    }
}

void expect_laid_out(HWND hwnd)
{
    STR_GeomLt g = expected_layout(hwnd);
    expect_at(hwnd, IDC_BTN_SCAN, g.box_Scan, true);
    expect_at(hwnd, IDC_BTN_LOADPROFILE, g.box_LoadProfile, true);
    expect_at(hwnd, IDC_BTN_APPLY, g.box_Apply, true);
    // A drop-down list takes its own height from its font.
    expect_at(hwnd, IDC_CB_PROFILE, g.box_CB_Profile, false);
    expect_at(hwnd, IDC_CB_ACTION, g.box_CB_Action, false);
}

// A drop of one file (or of none) as the shell hands it over.
HDROP make_drop(const std::wstring& file)
{
    const size_t uiBytes = sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, uiBytes);
    DROPFILES* p = static_cast<DROPFILES*>(GlobalLock(h));
    p->pFiles = sizeof(DROPFILES);
    p->fWide = TRUE;
    file.copy(reinterpret_cast<wchar_t*>(p + 1), file.size());
    GlobalUnlock(h);
    return static_cast<HDROP>(h);
}

bool drop_released(HDROP h) { return GlobalFlags(h) == GMEM_INVALID_HANDLE; }

}  // namespace

TEST_F(MainWindowTest, CreatedAtFractionsOfTheScreenWithItsFiveControls)
{
    ASSERT_EQ(1920, zt_ScreenW());
    ASSERT_EQ(1080, zt_ScreenH());
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(768, rc.right - rc.left);
    EXPECT_EQ(486, rc.bottom - rc.top);
    EXPECT_EQ(L"Quorvel-Dint", text_of(hwnd));

    wchar_t cls[64];
    GetClassNameW(hwnd, cls, 64);
    EXPECT_STREQ(L"prg_wnds_layout", cls);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CLIPCHILDREN);

    EXPECT_EQ(L"Scan", text_of(GetDlgItem(hwnd, IDC_BTN_SCAN)));
    EXPECT_EQ(L"Load Profile", text_of(GetDlgItem(hwnd, IDC_BTN_LOADPROFILE)));
    EXPECT_EQ(L"Apply", text_of(GetDlgItem(hwnd, IDC_BTN_APPLY)));
    EXPECT_EQ(nullptr, GetDlgItem(hwnd, 3));
    HWND hwndAction = GetDlgItem(hwnd, IDC_CB_ACTION);
    ASSERT_EQ(3, SendMessageW(hwndAction, CB_GETCOUNT, 0, 0));
    const wchar_t* const names[] = {L"Minimize", L"Restore", L"Close"};
    for (int i = 0; i < 3; ++i) {
        wchar_t buf[32] = {};
        SendMessageW(hwndAction, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
        EXPECT_STREQ(names[i], buf);
    }
    EXPECT_EQ(CB_ERR, SendMessageW(hwndAction, CB_GETCURSEL, 0, 0));  // the user picks an action first
    EXPECT_EQ(0, SendMessageW(GetDlgItem(hwnd, IDC_CB_PROFILE), CB_GETCOUNT, 0, 0));
    EXPECT_TRUE(GetMenu(hwnd) != nullptr);
    EXPECT_TRUE(rec->boxes.empty());
}

TEST_F(MainWindowTest, ButtonFontIsFittedToLoadProfileAndSetOnEveryControl)
{
    HDC hdc = GetDC(nullptr);
    int32_t iFit = fit_button_font_height(hdc, L"Load Profile", 115, 37);
    ReleaseDC(nullptr, hdc);
    EXPECT_EQ(iFit, button_font_height(hwnd));
    HFONT f = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd, IDC_BTN_SCAN), WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, f);
    LOGFONTW lf = {};
    GetObjectW(f, sizeof(lf), &lf);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_STREQ(L"Times New Roman", lf.lfFaceName);
    for (int id : {IDC_BTN_LOADPROFILE, IDC_BTN_APPLY, IDC_CB_PROFILE, IDC_CB_ACTION})
        EXPECT_EQ(f, reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd, id), WM_GETFONT, 0, 0))) << id;
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutOnEveryResize)
{
    expect_laid_out(hwnd);
    RECT before = child_rect(hwnd, GetDlgItem(hwnd, IDC_BTN_APPLY));
    SetWindowPos(hwnd, nullptr, 0, 0, 1200, 800, SWP_NOMOVE | SWP_NOZORDER);
    pump_messages();
    expect_laid_out(hwnd);
    RECT after = child_rect(hwnd, GetDlgItem(hwnd, IDC_BTN_APPLY));
    EXPECT_GT(after.left, before.left);  // the right column moved with the picture

    // Minimising keeps the layout; restoring lays out again.
    ShowWindow(hwnd, SW_MINIMIZE);
    pump_messages();
    ShowWindow(hwnd, SW_RESTORE);
    pump_messages();
    expect_laid_out(hwnd);
    RECT restored = child_rect(hwnd, GetDlgItem(hwnd, IDC_BTN_APPLY));
    EXPECT_EQ(after.left, restored.left);
}

TEST_F(MainWindowTest, CannotBeMadeSmallerThanItsInitialSize)
{
    MINMAXINFO mmi = {};
    mmi.ptMaxSize = {4444, 3333};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(768, mmi.ptMinTrackSize.x);
    EXPECT_EQ(486, mmi.ptMinTrackSize.y);
    EXPECT_EQ(4444, mmi.ptMaxSize.x);  // other members untouched
    SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    pump_messages();
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(768, rc.right - rc.left);
    EXPECT_EQ(486, rc.bottom - rc.top);
}

TEST_F(MainWindowTest, AboutBoxNamesTheProductMakerAndReleaseDate)
{
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(9, 0), 0);
    ASSERT_EQ(1u, rec->boxes.size());
    const RecordedBox& b = rec->boxes[0];
    EXPECT_EQ(L"About", b.caption);
    EXPECT_EQ(hwnd, b.hwndOwner);
    EXPECT_EQ(static_cast<UINT>(MB_OK), b.uiFlags);
    const std::wstring intro = L"This small software utility \"Quorvel-Dint\" is intended for keeping your folders and programs layout organized.\n\nManufacturer: ";
    EXPECT_EQ(0u, b.text.find(intro));
    size_t at = b.text.find(L"\n\nrelease date: ");
    ASSERT_NE(std::wstring::npos, at);
    std::wstring date = b.text.substr(at + 16);
    ASSERT_EQ(10u, date.size());
    EXPECT_TRUE(date[4] == L'-' && date[7] == L'-');
    EXPECT_NE(std::wstring::npos, b.text.find(L"\ne-mail: "));
    // The same identifier from a control (lParam set) is not the menu command.
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(9, 0), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_BTN_SCAN)));
    EXPECT_EQ(1u, rec->boxes.size());
}

TEST_F(MainWindowTest, PaintsGradientPictureAndLabels)
{
    SetForegroundWindow(hwnd);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump_messages(200);
    STR_GeomLt g = expected_layout(hwnd);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    HDC hdc = GetDC(nullptr);
    auto at = [&](int x, int y) { return GetPixel(hdc, origin.x + x, origin.y + y); };
    RECT rc;
    GetClientRect(hwnd, &rc);
    // The gradient runs from (22, 250, 250) at the top to (187, 253, 253) at the bottom.
    COLORREF top = at(rc.right - 3, 1), bottom = at(rc.right - 3, rc.bottom - 1);
    EXPECT_NEAR(22, GetRValue(top), 6);
    EXPECT_NEAR(187, GetRValue(bottom), 6);
    EXPECT_NEAR(250, GetGValue(top), 3);
    // Window 1: black outline, title bar colour, red close box.
    const STR_SchemWnd& w = g.arr_wnds[0];
    EXPECT_EQ(RGB(0, 0, 0), at(w.i_left, w.i_top + w.i_height / 2));
    EXPECT_EQ(RGB(91, 173, 255), at(w.i_left + 10, w.i_top + 10));
    EXPECT_EQ(RGB(255, 0, 0), at(w.i_left + w.i_width - 10, w.i_top + 10));
    // The axes are 3 pixels wide and black.
    EXPECT_EQ(RGB(0, 0, 0), at(g.i_axis_x0, g.i_axis_y0 + g.i_axis_len_Y / 2));
    EXPECT_EQ(RGB(0, 0, 0), at(g.i_axis_x0 + g.i_axis_len_X / 2, g.i_axis_y0));
    // Some dark text pixels inside the "Profile:" label box.
    int dark = 0;
    const STR_Box& lb = g.box_lbl_Profile;
    for (int y = lb.i_top; y < lb.i_top + lb.i_height; ++y)
        for (int x = lb.i_left; x < lb.i_left + 60; ++x) dark += GetRValue(at(x, y)) < 60 && GetGValue(at(x, y)) < 60;
    EXPECT_GT(dark, 20);
    ReleaseDC(nullptr, hdc);
    EXPECT_TRUE(rec->boxes.empty());
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TEST(MainWindowCreation, FailureShowsOnlyTheSystemErrorBox)
{
    test_register_classes();
    BoxRecorder rec;
    HINSTANCE hInst = GetModuleHandleW(nullptr);
    ASSERT_TRUE(UnregisterClassW(L"prg_wnds_layout", hInst));
    HWND hwnd = create_main_window(hInst);
    EXPECT_EQ(nullptr, hwnd);
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"GetLastError", rec.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), rec.boxes[0].uiFlags);
    EXPECT_FALSE(rec.boxes[0].text.empty());  // the system's text for "cannot find window class"
    register_window_classes(hInst);           // the other tests need the class back
}

// Fonts that cannot be made at start-up are reported, and the program
// works all the same: with the system's GUI font, COM initialised, the
// Profile list ready, and no box from painting.
TEST(MainWindowCreation, FontsThatCannotBeMadeLeaveAWorkingProgram)
{
    test_register_classes();
    BoxRecorder rec;
    struct Waits { static void pause(void*, DWORD) { Sleep(20); } };
    zt_SetWaitHooks(Waits::pause, nullptr, nullptr);
    zt_SetFontFailHook([](void*) { return true; }, nullptr);
    HWND hwnd = create_main_window(GetModuleHandleW(nullptr));
    ASSERT_NE(nullptr, hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    for (int i = 0; i < 3; ++i) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    zt_SetFontFailHook(nullptr, nullptr);
    // The failure's own reports: where it was found, then by WM_CREATE.
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"ERROR <- zt_CreateFont(), no font to measure"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"ERROR while get font size for buttons"));
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT),
              reinterpret_cast<HGDIOBJ>(SendMessageW(GetDlgItem(hwnd, IDC_BTN_APPLY), WM_GETFONT, 0, 0)));
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));  // already initialised by the window
    CoUninitialize();

    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_SCAN, 0), 0);
    HWND hwndList = FindWindowW(L"List of Windows", nullptr);
    EXPECT_NE(nullptr, hwndList);
    if (hwndList) DestroyWindow(hwndList);

    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Dropped fixture;class=QdFixDrop");
    const std::wstring file = temp_path(L"qd_dropped_profile.txt");
    ASSERT_TRUE(write_file(file, qd_profile_bytes({{1, u16(fixture_exe()), 60, 70, 300, 200}}, u"Dropped")));
    SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop(file)), 0);
    HWND hwndProfiles = GetDlgItem(hwnd, IDC_CB_PROFILE), hwndActions = GetDlgItem(hwnd, IDC_CB_ACTION);
    EXPECT_EQ(1, SendMessageW(hwndProfiles, CB_GETCOUNT, 0, 0));
    SendMessageW(hwndActions, CB_SETCURSEL, QD_ACTION_MINIMIZE, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_APPLY, 0), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_BTN_APPLY)));
    const std::vector<HWND> fixture = windows_of_class(L"QdFixDrop");
    ASSERT_EQ(1u, fixture.size());
    EXPECT_TRUE(pump_until([&] { return IsIconic(fixture[0]) != FALSE; }));
    EXPECT_EQ(2u, rec.boxes.size());

    close_windows_of_class(L"QdFixDrop");
    DestroyWindow(hwnd);
    EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));  // the window undid its own
    CoUninitialize();
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", nullptr);
    zt_SetWaitHooks(nullptr, nullptr, nullptr);
    DeleteFileW(file.c_str());
}

// Every path of the drop handler gives the drop back to the system.
TEST(DropHandler, EveryPathReleasesTheDrop)
{
    test_register_classes();
    BoxRecorder rec;
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    LoadedProfiles_STR store{};
    CB_Profile_manage_STR cb{};
    STR_ProfileListNames names{};
    int iFail = 0;
    zt_SetAllocFailHook([](void* pCtx, size_t) { return *static_cast<int*>(pCtx) != 0; }, &iFail);
    const struct {
        bool bWindow;
        const wchar_t* ptcFile;
        int iFailAlloc;
        int32_t iResult;
    } rows[] = {{false, L"C:\\x.txt", 0, -1}, {true, L"C:\\x.txt", 1, -2}, {true, L"", 0, -3}, {true, L"C:\\no\\such.txt", 0, -4}};
    for (const auto& row : rows) {
        iFail = row.iFailAlloc;
        HDROP hDrop = make_drop(row.ptcFile);
        EXPECT_EQ(row.iResult, on_wm_dropfiles(row.bWindow ? hwnd : nullptr, hDrop, &store, &cb, &names));
        EXPECT_TRUE(drop_released(hDrop)) << row.iResult;
    }
    zt_SetAllocFailHook(nullptr, nullptr);
    DestroyWindow(hwnd);
}
