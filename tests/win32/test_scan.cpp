// The Scan command over the real desktop: which windows it keeps, with
// what, the folders through the stand-in shell, and its failures.
#include <cstdio>

#include "main_window_fixture.h"
#include "scan_test_support.h"
#include "shell_standin.h"

namespace {

RECT rect(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

// The Scan command on a store of the test's own; the main window stays
// hidden (so it is not listed) and only chosen processes are opened.
class ScanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        hwndMain = create_main_window(GetModuleHandleW(nullptr));
        ASSERT_NE(nullptr, hwndMain);
    }
    void TearDown() override
    {
        zt_SetAllocFailHook(nullptr, nullptr);
        if (IsWindow(hwndList)) DestroyWindow(hwndList);
        scan_store_release_win(&store);
        DestroyWindow(hwndMain);
    }
    int32_t scan()
    {
        if (IsWindow(hwndList)) DestroyWindow(hwndList);
        scan_store_prepare(&store);
        return onButton_Scan_Clicked(hwndMain, &hwndList, 0, 0, &store);
    }
    int rows() { return static_cast<int>(SendMessageW(GetDlgItem(hwndList, IDC_SCANLIST_LISTVIEW), LVM_GETITEMCOUNT, 0, 0)); }
    bool geom_is(HWND h, int32_t x, int32_t y, int32_t w, int32_t hh)
    {
        const GeomText_STR* g = scan_entry_geom(&store, entry_of(&store, h));
        return g && g->i_x == x && g->i_y == y && g->i_w == w && g->i_h == hh;
    }
    std::wstring only_box() { return rec.boxes.size() == 1 ? rec.boxes[0].text : L"(" + std::to_wstring(rec.boxes.size()) + L" boxes)"; }

    HWND hwndMain = nullptr, hwndList = nullptr;
    STR_ENUM_WNDS_DATA store = {};
    ProcQueries q;
    BoxRecorder rec;
};

}  // namespace

// Eligible windows of this program and of another one, with geometry,
// shortened caption and path; each process asked once for both walks, a
// program that has stopped answering waited for once; the list opens on
// the result and its closing releases the store.
TEST_F(ScanTest, TheListShowsEligibleWindowsWithTheirGeometryCaptionAndPath)
{
    const std::wstring c60 = L"c0c1c2c3c4c5c6c7c8c9d0d1d2d3d4d5d6d7d8d9e0e1e2e3e4e5e6e7e8e9";
    TestWindow a(L"QdScanA", L"Scan alpha", rect(100, 120, 400, 300)), b(L"QdScanA", c60.c_str(), rect(200, 220, 500, 260));
    TestWindow m(L"QdScanB", L"Scan minimised", rect(300, 320, 350, 250), WndState::Min);
    TestWindow noCaption(L"QdScanB", L"", rect(10, 10, 200, 100)), hidden(L"QdScanB", L"Hidden", rect(10, 10, 200, 100), WndState::Hidden);
    TestWindow dialog(L"#32770", L"Scan dialog", rect(10, 10, 200, 100));  // a class left out (the others: native tests)
    PROCESS_INFORMATION fix = start_fixture(L"--window \"caption=Fixture fixed;class=QdFixA;x=100;y=120;w=400;h=300\"");
    HWND hwndFix = nullptr;
    ASSERT_TRUE(pump_until([&] { return (hwndFix = FindWindowW(L"QdFixA", nullptr)) && IsWindowVisible(hwndFix); }));
    q.otherPids = {fix.dwProcessId};
    ASSERT_TRUE(fixture_hang(hwndFix, 20000));
    UnansweredWaits unanswered;

    EXPECT_EQ(1, scan());
    EXPECT_EQ(1, unanswered.n);  // in the first walk; not again for the second
    EXPECT_TRUE(rec.boxes.empty()) << only_box();
    ASSERT_NE(nullptr, hwndList);
    EXPECT_TRUE(rect_is(window_rect(hwndList), 30, 30, 1440, 810));
    EXPECT_EQ(L"List of windows", window_text(hwndList));
    EXPECT_EQ(4, rows());
    for (HWND h : {noCaption.hwnd, hidden.hwnd, dialog.hwnd}) EXPECT_EQ(-1, entry_of(&store, h));
    for (HWND h : {a.hwnd, b.hwnd, m.hwnd}) {
        ASSERT_GE(entry_of(&store, h), 0);
        EXPECT_EQ(1, scan_entry_flag(&store, entry_of(&store, h)));
        EXPECT_EQ(beside_exe(L"qd_win32_tests.exe"), entry_path(&store, entry_of(&store, h)));
    }
    EXPECT_EQ(0, lstrcmpiW(fixture_exe().c_str(), entry_path(&store, entry_of(&store, hwndFix)).c_str()));
    EXPECT_EQ(L"Fixture fixed", entry_caption(&store, entry_of(&store, hwndFix)));  // the one the system keeps
    EXPECT_EQ(L"Scan alpha", entry_caption(&store, entry_of(&store, a.hwnd)));
    EXPECT_EQ(L"c0c1c2c3c4c5c6c7c8c9d0d1d...e0e1e2e3e4e5e6e7e8e9", entry_caption(&store, entry_of(&store, b.hwnd)));
    EXPECT_TRUE(geom_is(a.hwnd, 100, 120, 400, 300) && geom_is(hwndFix, 100, 120, 400, 300) && geom_is(m.hwnd, 0, 0, 0, 0));
    // Two walks over four eligible windows of two processes: two queries.
    EXPECT_EQ(2, q.iModuleCalls);
    EXPECT_EQ(1u, q.opened.count(fix.dwProcessId));

    const void* taken[] = {store.arr1D_ui_LenPath, store.pcTmpBuf_Prg_Folder_Path, store.pcDynMem_FullPaths};
    DestroyWindow(hwndList);
    EXPECT_EQ(nullptr, hwndList);  // the window cleared its creator's handle
    for (const void* p : taken) EXPECT_TRUE(is_released(p));
    TerminateProcess(fix.hProcess, 0);
    WaitForSingleObject(fix.hProcess, 5000);
    CloseHandle(fix.hProcess);
    CloseHandle(fix.hThread);
}

// Explorer windows kept without a path, an empty path and a process that
// cannot be opened passed over silently, the image name when the module
// name cannot be read.
TEST_F(ScanTest, FoldersEmptyPathsAndUnreadablePaths)
{
    TestWindow a(L"QdScanA", L"Scan one", rect(100, 100, 300, 200)), b(L"QdScanA", L"Scan two", rect(150, 150, 300, 200));
    q.bOverride = true;
    q.pathOverride = L"C:\\tools\\FileExplorer.EXE";  // only the last 12 units count
    ASSERT_EQ(1, scan());
    EXPECT_EQ(L"Number of found valid windows = 2\nMax length of path to valid windows = 0", only_box());
    EXPECT_EQ(nullptr, hwndList);
    for (const std::wstring& none : {std::wstring(L"empty path"), std::wstring(L"not opened")}) {
        rec.boxes.clear();
        q.pathOverride.clear();
        q.bOpenFails = none == L"not opened";
        ASSERT_EQ(1, scan());
        EXPECT_EQ(L"Number of found valid windows = 0\nMax length of path to valid windows = 0", only_box()) << none;
    }
    q.bOverride = q.bOpenFails = false;
    q.bModuleFails = true;
    rec.boxes.clear();
    ASSERT_EQ(1, scan());
    EXPECT_EQ(beside_exe(L"qd_win32_tests.exe"), entry_path(&store, entry_of(&store, a.hwnd)));
    EXPECT_EQ(1, q.iImageCalls);
    EXPECT_TRUE(rec.boxes.empty());
}

// Folder windows of the stand-in shell, each in a process of its own: every
// row gets its window's folder through the shell's collection, a virtual
// folder none, and each reference the collection handed out is released.
TEST_F(ScanTest, FolderWindowsGetTheirPathsThroughTheShell)
{
    StandInShell shell;
    const std::wstring pub = L"C:\\users\\Public", deep = temp_path(std::wstring(259 - temp_path(L"").size(), L'd'));
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    TestWindow prg(L"QdScanA", L"Program", rect(100, 100, 300, 200));
    FolderWindow pc(QD_STANDIN_THIS_PC), a(pub), b(pub), d(deep);
    q.otherPids = {pc.dwPid, a.dwPid, b.dwPid, d.dwPid};
    ASSERT_EQ(1, scan());
    RemoveDirectoryW(deep.c_str());
    EXPECT_TRUE(rec.boxes.empty()) << only_box();
    EXPECT_EQ(518u, store.uiMaxLen_inBytes_FolderPath);  // a 259-unit path is taken whole
    EXPECT_EQ(pub, entry_path(&store, entry_of(&store, a.hwnd)));
    EXPECT_EQ(pub, entry_path(&store, entry_of(&store, b.hwnd)));
    EXPECT_EQ(deep, entry_path(&store, entry_of(&store, d.hwnd)));
    ASSERT_GE(entry_of(&store, pc.hwnd), 0);
    EXPECT_EQ(L"", entry_path(&store, entry_of(&store, pc.hwnd)));
    EXPECT_EQ(0, scan_entry_flag(&store, entry_of(&store, pc.hwnd)));
    EXPECT_EQ(1, scan_entry_flag(&store, entry_of(&store, prg.hwnd)));
    EXPECT_EQ("0", shell.refs());

    // The collection failing: the Scan goes on, the folders without paths.
    for (const wchar_t* ptcFault : {L"nullhwnd", L"create"}) {
        StandInShell faulty(ptcFault);
        rec.boxes.clear();
        ASSERT_EQ(1, scan());
        EXPECT_EQ(L"", entry_path(&store, entry_of(&store, a.hwnd)));
        ASSERT_EQ(1u, rec.boxes.size());
        EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(ptcFault[0] == L'n' ? L"\n\nhwnd of folder = 0000000000000000\n\n"
                                                                                  : L"function : CoCreateInstance()\n\nret code hResult = -2147221164\n\n"));
        EXPECT_EQ("0", faulty.refs());
    }
}

// Every allocation of the command made to fail in turn: reported, -3,
// nothing left once the next scan has released what was there. Windows
// that close between the two walks (when the entry buffers are taken)
// leave no rows; when none is left, the notice instead of an empty list.
TEST_F(ScanTest, FailedAllocationsAndWindowsClosingBetweenTheWalks)
{
    TestWindow a(L"QdScanA", L"Stays", rect(100, 100, 300, 200));
    struct Hook { int n, k; std::vector<HWND> close; } h = {0, -1, {}};
    zt_SetAllocFailHook([](void* pCtx, size_t) {
        Hook* p = static_cast<Hook*>(pCtx);
        if (++p->n == 2)
            for (HWND w : p->close) DestroyWindow(w);
        return p->n == p->k;
    }, &h);
    const long iLive = zt_LiveAllocations();
    for (int k = 1; k <= 6; ++k) {  // the scratch buffer and five entry buffers
        rec.boxes.clear();
        h = {0, k, {}};
        EXPECT_EQ(-3, scan()) << "point " << k;
        EXPECT_NE(std::wstring::npos, only_box().find(L"\n\nERROR <- VirtualAlloc()\nline of error handler:"));
        scan_store_release_win(&store);
        EXPECT_EQ(iLive, zt_LiveAllocations()) << "point " << k;
    }
    for (bool bAll : {false, true}) {
        TestWindow b(L"QdScanA", L"Goes away", rect(150, 150, 300, 200));
        rec.boxes.clear();
        h = {0, -1, {b.hwnd}};
        if (bAll) h.close.push_back(a.hwnd);
        ASSERT_EQ(1, scan());
        EXPECT_EQ(bAll ? 0 : 1, hwndList ? rows() : 0);
        EXPECT_EQ(bAll ? 1u : 0u, rec.boxes.size());
    }
    EXPECT_EQ(0u, only_box().find(L"Number of found valid windows = 0\n"));
}

// Through the real main window, as a user clicks Scan: a second Scan
// replaces the open list; one that meets a path it cannot read at all
// closes it and chains its reports, the system's text first.
TEST_F(MainWindowTest, ScanButtonReplacesTheOpenListAndChainsReportsOfAFailedScan)
{
    ProcQueries q;
    TestWindow a(L"QdScanA", L"Button scan", rect(100, 100, 300, 200));
    auto lists = [] { return windows_of_class(L"List of Windows", GetCurrentProcessId()); };
    SendMessageW(GetDlgItem(hwnd, IDC_BTN_SCAN), BM_CLICK, 0, 0);
    const std::vector<HWND> first = lists();
    ASSERT_EQ(1u, first.size());
    SendMessageW(GetDlgItem(hwnd, IDC_BTN_SCAN), BM_CLICK, 0, 0);
    ASSERT_EQ(1u, lists().size());
    EXPECT_FALSE(IsWindow(first[0]));
    EXPECT_TRUE(rec->boxes.empty());

    q.bModuleFails = q.bImageFails = true;
    SendMessageW(GetDlgItem(hwnd, IDC_BTN_SCAN), BM_CLICK, 0, 0);
    EXPECT_TRUE(lists().empty());  // the old list went before the scan failed
    ASSERT_EQ(4u, rec->boxes.size());
    wchar_t sys[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_PARTIAL_COPY, 0, sys, 256, nullptr);
    EXPECT_TRUE(rec->boxes[0].caption == L"GetLastError" && rec->boxes[0].text == sys);  // the module query's, not the fallback's
    EXPECT_NE(std::wstring::npos, rec->boxes[1].text.find(L"\n\nERROR <- GetModuleFileNameEx()\nline of error handler:"));
    EXPECT_NE(std::wstring::npos, rec->boxes[2].text.find(L"ERROR <- EnumWindows()"));
    EXPECT_NE(std::wstring::npos, rec->boxes[3].text.find(L"ERROR <- onButton_Scan_Click()\nret code = -2\n"));
}
