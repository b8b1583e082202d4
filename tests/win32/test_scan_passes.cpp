#include <gtest/gtest.h>

#include <set>
#include <string>

#include "box_recorder.h"
#include "platform/zt_win.h"
#include "scan_test_support.h"

namespace {

RECT rect(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

void expect_geometry_of(const STR_ENUM_WNDS_DATA* s, int i, HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const GeomText_STR* g = scan_entry_geom(s, i);
    ASSERT_NE(nullptr, g);
    EXPECT_EQ(rc.left, g->i_x);
    EXPECT_EQ(rc.top, g->i_y);
    EXPECT_EQ(rc.right - rc.left, g->i_w);
    EXPECT_EQ(rc.bottom - rc.top, g->i_h);
}

}  // namespace

// The passes over the real desktop, with windows of this process.
TEST(ScanPasses, EligibleWindowsAreStoredWithGeometryShortCaptionAndPath)
{
    BoxRecorder rec;
    ProcQueries q;  // other programs' windows are left out
    const std::wstring longCaption = L"c0c1c2c3c4c5c6c7c8c9d0d1d2d3d4d5d6d7d8d9e0e1e2e3e4e5e6e7e8e9";  // 60 units
    TestWindow a(L"QdScanA", L"Scan alpha", rect(100, 120, 400, 300));
    TestWindow b(L"QdScanA", longCaption.c_str(), rect(200, 220, 500, 260));
    TestWindow minimised(L"QdScanB", L"Scan minimised", rect(300, 320, 350, 250), WndState::Min);
    TestWindow like(L"ButtonLike", L"Scan button-like", rect(50, 60, 200, 150));
    TestWindow noCaption(L"QdScanB", L"", rect(10, 10, 200, 100));
    TestWindow hidden(L"QdScanB", L"Scan hidden", rect(10, 10, 200, 100), WndState::Hidden);
    TestWindow button(L"Button", L"Scan button", rect(10, 10, 200, 100));
    TestWindow button2(L"BUTTON", L"Scan BUTTON", rect(10, 10, 200, 100));
    TestWindow dialog(L"#32770", L"Scan dialog", rect(10, 10, 200, 100));
    ASSERT_TRUE(IsWindowVisible(noCaption.hwnd) && IsWindowVisible(button.hwnd) && IsWindowVisible(dialog.hwnd));

    TestStore t;
    t.scan_desktop();
    const STR_ENUM_WNDS_DATA* s = &t.s;
    EXPECT_EQ(s->counter_valid, s->counter_filled);
    for (HWND h : {noCaption.hwnd, hidden.hwnd, button.hwnd, button2.hwnd, dialog.hwnd})
        EXPECT_EQ(-1, entry_of(s, h));

    const std::wstring exe = this_exe_path();
    const int ia = entry_of(s, a.hwnd), ib = entry_of(s, b.hwnd), im = entry_of(s, minimised.hwnd),
              il = entry_of(s, like.hwnd);
    ASSERT_TRUE(ia >= 0 && ib >= 0 && im >= 0 && il >= 0);
    // Two windows of one program: two entries with the same path.
    for (int i : {ia, ib, im, il}) {
        EXPECT_EQ(1, scan_entry_flag(s, i));
        EXPECT_EQ(exe, entry_path(s, i));
        EXPECT_EQ(2 * exe.size(), scan_entry_len_path(s, i));
    }
    EXPECT_GE(s->uiMaxLen_inBytes_PrgPath, 2 * exe.size());
    EXPECT_EQ(L"Scan alpha", entry_caption(s, ia));
    EXPECT_EQ(longCaption.substr(0, 25) + L"..." + longCaption.substr(40), entry_caption(s, ib));
    expect_geometry_of(s, ia, a.hwnd);
    expect_geometry_of(s, ib, b.hwnd);
    const GeomText_STR* gm = scan_entry_geom(s, im);
    EXPECT_TRUE(gm->i_x == 0 && gm->i_y == 0 && gm->i_w == 0 && gm->i_h == 0);
    EXPECT_TRUE(rec.boxes.empty());
    // Four windows, two walks: the process was opened and asked once.
    EXPECT_EQ(1, q.iModuleCalls);
    EXPECT_EQ(1u, q.opened.count(GetCurrentProcessId()));
    EXPECT_EQ(std::set<DWORD>(q.opened.begin(), q.opened.end()).size(), q.opened.size());
}

TEST(ScanPasses, ExplorerWindowsAreCountedButNotMeasuredAndStoredWithoutPath)
{
    BoxRecorder rec;
    ProcQueries q;
    q.pathOverride = L"C:\\tools\\FileExplorer.EXE";  // only the last 12 units count
    TestWindow a(L"QdScanA", L"Folder one", rect(100, 100, 300, 200));
    TestWindow b(L"QdScanA", L"Folder two", rect(150, 150, 300, 200));

    TestStore t;
    ASSERT_TRUE(EnumWindows(EnumWindowsProc_Calc, reinterpret_cast<LPARAM>(&t.s)));
    EXPECT_EQ(2u, t.s.counter_valid);
    EXPECT_EQ(0u, t.s.uiMaxLen_inBytes_PrgPath);
    t.allocate_entries(2, 40);
    ASSERT_TRUE(EnumWindows(EnumWindowsProc_Calc_02, reinterpret_cast<LPARAM>(&t.s)));
    EXPECT_EQ(2u, t.s.counter_filled);
    for (HWND h : {a.hwnd, b.hwnd}) {
        int i = entry_of(&t.s, h);
        ASSERT_GE(i, 0);
        EXPECT_EQ(0, scan_entry_flag(&t.s, i));
        EXPECT_EQ(0u, scan_entry_len_path(&t.s, i));
        EXPECT_EQ(0, scan_entry_path(&t.s, i)[0]);
    }
    EXPECT_TRUE(rec.boxes.empty());
}

TEST(ScanPasses, UnreadableModulePathFallsBackToTheImageName)
{
    BoxRecorder rec;
    ProcQueries q;
    q.bModuleFails = true;
    TestWindow a(L"QdScanA", L"Fallback", rect(100, 100, 300, 200));
    TestStore t;
    t.scan_desktop();
    const int i = entry_of(&t.s, a.hwnd);
    ASSERT_GE(i, 0);
    EXPECT_EQ(this_exe_path(), entry_path(&t.s, i));
    EXPECT_GT(q.iImageCalls, 0);
    EXPECT_EQ(q.iModuleCalls, q.iImageCalls);
    EXPECT_TRUE(rec.boxes.empty());
}

TEST(ScanPasses, NoPathAtAllEndsEitherPassWithSystemTextAndReport)
{
    TestWindow a(L"QdScanA", L"No path", rect(100, 100, 300, 200));
    wchar_t sys[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_PARTIAL_COPY,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), sys, 256, nullptr);
    ProcPathScope paths;  // the second pass meets the failure the first one kept
    for (WNDENUMPROC pass : {EnumWindowsProc_Calc, EnumWindowsProc_Calc_02}) {
        BoxRecorder rec;
        ProcQueries q;
        q.bModuleFails = q.bImageFails = true;
        TestStore t;
        t.allocate_entries(4, 520);
        const DWORD dwHandlesBefore = [] { DWORD n = 0; GetProcessHandleCount(GetCurrentProcess(), &n); return n; }();
        EXPECT_FALSE(EnumWindows(pass, reinterpret_cast<LPARAM>(&t.s)));
        DWORD dwHandlesAfter = 0;
        GetProcessHandleCount(GetCurrentProcess(), &dwHandlesAfter);
        EXPECT_EQ(dwHandlesBefore, dwHandlesAfter);  // the process handle was closed
        EXPECT_EQ(pass == EnumWindowsProc_Calc ? 1 : 0, q.iModuleCalls);
        ASSERT_EQ(2u, rec.boxes.size());
        EXPECT_EQ(L"GetLastError", rec.boxes[0].caption);
        EXPECT_EQ(sys, rec.boxes[0].text);  // the module query's error, not the fallback's
        EXPECT_EQ(L"error", rec.boxes[1].caption);
        const std::wstring fn = pass == EnumWindowsProc_Calc ? L"function:\nEnumWindowsProc_Calc\n"
                                                             : L"function:\nEnumWindowsProc_Calc_02\n";
        EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(fn));
        EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"\n\nERROR <- GetModuleFileNameEx()\nline of error handler:"));
        EXPECT_EQ(0u, t.s.counter_filled);
    }
}

TEST(ScanPasses, ProcessThatCannotBeOpenedIsSkippedSilently)
{
    BoxRecorder rec;
    ProcQueries q;
    q.bOpenFails = true;
    TestWindow a(L"QdScanA", L"Closed process", rect(100, 100, 300, 200));
    TestStore t;
    EXPECT_TRUE(EnumWindows(EnumWindowsProc_Calc, reinterpret_cast<LPARAM>(&t.s)));
    EXPECT_EQ(0u, t.s.counter_valid);
    EXPECT_EQ(0, q.iModuleCalls);
    EXPECT_TRUE(rec.boxes.empty());
}

TEST(ScanPasses, MissingStoreOrBuffersAreReportedAndEndThePass)
{
    BoxRecorder rec;
    const std::wstring zeros(2 * sizeof(void*), L'0');
    EXPECT_FALSE(EnumWindowsProc_Calc(GetDesktopWindow(), 0));
    EXPECT_FALSE(EnumWindowsProc_Calc_02(GetDesktopWindow(), 0));
    TestStore t;  // scratch only, no entry buffers
    EXPECT_FALSE(EnumWindowsProc_Calc_02(GetDesktopWindow(), reinterpret_cast<LPARAM>(&t.s)));
    ASSERT_EQ(3u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"function:\nEnumWindowsProc_Calc\nline:"));
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"error, incorrect input parameters\nlParam = " + zeros + L"\nline of error handler:"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"function:\nEnumWindowsProc_Calc_02\nline:"));
    EXPECT_NE(std::wstring::npos, rec.boxes[2].text.find(L"arr1D_ui_LenPath = " + zeros + L"\narr1D_uc_flag_FP = " + zeros));
    EXPECT_NE(std::wstring::npos, rec.boxes[2].text.find(L"\nuiSize_TmpBuf_Path = 32768\npcDynMem_WinHndls = " + zeros));
}
