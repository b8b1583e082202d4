#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "box_recorder.h"
#include "funcs_layout_windows/scan_command.h"
#include "main_prg/main_window.h"
#include "main_window_fixture.h"
#include "platform/zt_win.h"
#include "scan_test_support.h"
#include "shell_standin.h"

namespace {

RECT rect(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

BOOL CALLBACK collect_lists(HWND hwnd, LPARAM lParam)
{
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (std::wstring(cls) == L"List of Windows") reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> list_windows()
{
    std::vector<HWND> v;
    EnumThreadWindows(GetCurrentThreadId(), collect_lists, reinterpret_cast<LPARAM>(&v));
    return v;
}

int list_rows(HWND hwndList)
{
    return static_cast<int>(SendMessageW(GetDlgItem(hwndList, 4), LVM_GETITEMCOUNT, 0, 0));
}

struct AllocFailure {
    int iCount;
    int iFailAt;
};

bool alloc_fail_at(void* pCtx, size_t)
{
    AllocFailure* a = static_cast<AllocFailure*>(pCtx);
    return ++a->iCount == a->iFailAt;
}

// The Scan command on a store of the test's own, the main window hidden
// (so not eligible) and only this process's windows taken into account.
class ScanCommandTest : public ::testing::Test {
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
        if (hwndList && IsWindow(hwndList)) DestroyWindow(hwndList);
        scan_store_release_win(&store);
        DestroyWindow(hwndMain);
        pump_messages();
    }
    int32_t scan()
    {
        scan_store_prepare(&store);
        int32_t iRet = onButton_Scan_Clicked(hwndMain, &hwndList, 0, 0, &store);
        pump_messages();
        return iRet;
    }
    HWND hwndMain = nullptr;
    HWND hwndList = nullptr;
    STR_ENUM_WNDS_DATA store = {};
    ProcQueries q;
    BoxRecorder rec;
};

}  // namespace

TEST_F(ScanCommandTest, OpensTheListOnTheResultAndClosingItReleasesTheStore)
{
    TestWindow a(L"QdScanA", L"Command one", rect(100, 100, 300, 200));
    TestWindow b(L"QdScanA", L"Command two", rect(150, 150, 300, 200), WndState::Min);
    ASSERT_EQ(1, scan());
    ASSERT_NE(nullptr, hwndList);
    EXPECT_EQ(std::vector<HWND>{hwndList}, list_windows());
    RECT rc;
    GetWindowRect(hwndList, &rc);
    EXPECT_TRUE(rc.left == 30 && rc.top == 30 && rc.right - rc.left == 1440 && rc.bottom - rc.top == 810);
    wchar_t caption[64] = {};
    GetWindowTextW(hwndList, caption, 64);
    EXPECT_STREQ(L"List of windows", caption);
    EXPECT_EQ(2u, store.counter_valid);
    EXPECT_EQ(2, list_rows(hwndList));
    EXPECT_EQ(2 * this_exe_path().size(), store.uiMaxLen_inBytes_AllPath);

    const void* taken[] = {store.arr1D_ui_LenPath, store.arr1D_uc_flag_FP, store.pcTmpBuf_Prg_Folder_Path,
                           store.pcDynMem_GeomText, store.pcDynMem_WinHndls, store.pcDynMem_FullPaths};
    DestroyWindow(hwndList);
    EXPECT_EQ(nullptr, hwndList);  // the window cleared its creator's handle
    for (const void* p : taken) EXPECT_TRUE(is_released(p));
    EXPECT_TRUE(store.pcTmpBuf_Prg_Folder_Path == nullptr && store.pcDynMem_FullPaths == nullptr);
    EXPECT_EQ(2u, store.counter_valid);  // counters stay
    ASSERT_EQ(1, scan());  // nothing is left to release twice
    EXPECT_NE(nullptr, hwndList);
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(ScanCommandTest, NothingFoundShowsTheCountsAndOpensNoList)
{
    ASSERT_EQ(1, scan());
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"info", rec.boxes[0].caption);
    EXPECT_EQ(nullptr, rec.boxes[0].hwndOwner);
    EXPECT_EQ(L"Number of found valid windows = 0\nMax length of path to valid windows = 0", rec.boxes[0].text);
    EXPECT_EQ(nullptr, hwndList);
    EXPECT_TRUE(list_windows().empty());
    EXPECT_EQ(nullptr, store.pcDynMem_GeomText);
}

// Folder windows of the stand-in shell, each in a process of its own: every
// row gets its window's folder through the shell's collection, a virtual
// folder none, and each reference the collection handed out is released.
TEST_F(ScanCommandTest, FolderWindowsGetTheirPathsThroughTheShell)
{
    StandInShell shell;
    FolderWindow pc(QD_STANDIN_THIS_PC);
    q.otherPids = {pc.dwPid};
    // Only a virtual folder: no path at all to keep.
    ASSERT_EQ(1, scan());
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"Number of found valid windows = 1\nMax length of path to valid windows = 0", rec.boxes[0].text);
    EXPECT_EQ(nullptr, hwndList);

    wchar_t tcTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tcTemp);
    const std::wstring pub = L"C:\\users\\Public", deep = tcTemp + std::wstring(259 - lstrlenW(tcTemp), L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    TestWindow prg(L"QdScanA", L"Program", rect(100, 100, 300, 200));
    FolderWindow a(pub), b(pub), d(deep);
    q.otherPids = {pc.dwPid, a.dwPid, b.dwPid, d.dwPid};
    rec.boxes.clear();
    ASSERT_EQ(1, scan());
    RemoveDirectoryW(deep.c_str());
    EXPECT_TRUE(rec.boxes.empty());
    for (HWND h : {pc.hwnd, a.hwnd, b.hwnd, d.hwnd, prg.hwnd}) ASSERT_GE(entry_of(&store, h), 0);
    EXPECT_EQ(518u, store.uiMaxLen_inBytes_FolderPath);  // a 259-unit path is taken whole
    EXPECT_EQ(pub, entry_path(&store, entry_of(&store, a.hwnd)));
    EXPECT_EQ(pub, entry_path(&store, entry_of(&store, b.hwnd)));
    EXPECT_EQ(deep, entry_path(&store, entry_of(&store, d.hwnd)));
    EXPECT_EQ(L"", entry_path(&store, entry_of(&store, pc.hwnd)));
    EXPECT_EQ(0, scan_entry_flag(&store, entry_of(&store, pc.hwnd)));
    EXPECT_EQ(this_exe_path(), entry_path(&store, entry_of(&store, prg.hwnd)));
    EXPECT_EQ("0", shell.refs());
}

TEST_F(ScanCommandTest, WindowsClosedBetweenThePassesLeaveNoRows)
{
    struct Closing {
        TestWindow* pw;
        bool bAll;
        TestWindow* pOther;
        int iAlloc;
    };
    TestWindow a(L"QdScanA", L"Stays", rect(100, 100, 300, 200));
    TestWindow b(L"QdScanA", L"Goes away", rect(150, 150, 300, 200));
    Closing closing = {&b, false, &a, 0};
    // The entry buffers are taken after counting, before filling: the windows go there.
    zt_SetAllocFailHook([](void* pCtx, size_t) {
        Closing* c = static_cast<Closing*>(pCtx);
        if (++c->iAlloc == 2 && c->pw->hwnd) DestroyWindow(c->pw->hwnd);
        if (c->iAlloc == 2 && c->bAll && c->pOther->hwnd) DestroyWindow(c->pOther->hwnd);
        return false;
    }, &closing);
    ASSERT_EQ(1, scan());
    EXPECT_EQ(1u, store.counter_valid);
    ASSERT_NE(nullptr, hwndList);
    EXPECT_EQ(1, list_rows(hwndList));
    EXPECT_EQ(0, entry_of(&store, a.hwnd));
    EXPECT_TRUE(rec.boxes.empty());

    // All counted windows gone: the notice instead of an empty list.
    TestWindow c(L"QdScanA", L"Goes too", rect(150, 150, 300, 200));
    closing = {&c, true, &a, 0};
    ASSERT_EQ(1, scan());
    EXPECT_EQ(nullptr, hwndList);
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"info", rec.boxes[0].caption);
    EXPECT_EQ(0u, rec.boxes[0].text.find(L"Number of found valid windows = 0\n"));
}

TEST_F(ScanCommandTest, FailedAllocationIsReportedAndReleasedByTheNextScan)
{
    TestWindow a(L"QdScanA", L"Alloc", rect(100, 100, 300, 200));
    AllocFailure fail = {0, 4};  // scratch, lengths, flags, then the geometry block fails
    zt_SetAllocFailHook(alloc_fail_at, &fail);
    EXPECT_EQ(-3, scan());
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"function:\nonButton_Scan_Clicked\n"));
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"\n\nERROR <- VirtualAlloc()\nline of error handler:"));
    EXPECT_EQ(nullptr, store.pcDynMem_GeomText);
    const void* taken[] = {store.pcTmpBuf_Prg_Folder_Path, store.arr1D_ui_LenPath, store.arr1D_uc_flag_FP};
    for (const void* p : taken) ASSERT_NE(nullptr, p);
    EXPECT_EQ(nullptr, hwndList);

    // The next scan releases what is there before it allocates; its own
    // first allocation fails, so nothing takes the old addresses again.
    fail = {0, 1};
    EXPECT_EQ(-3, scan());
    zt_SetAllocFailHook(nullptr, nullptr);
    for (const void* p : taken) EXPECT_TRUE(is_released(p));
    EXPECT_EQ(nullptr, store.arr1D_ui_LenPath);
    ASSERT_EQ(1, scan());
    EXPECT_NE(nullptr, hwndList);
}

// Through the real main window, as a user clicks Scan.
TEST_F(MainWindowTest, ScanButtonReplacesTheOpenListAndChainsReportsOfAFailedScan)
{
    ProcQueries q;
    TestWindow a(L"QdScanA", L"Button scan", rect(100, 100, 300, 200));
    HWND hwndScan = GetDlgItem(hwnd, IDC_BTN_SCAN);
    SendMessageW(hwndScan, BM_CLICK, 0, 0);
    pump_messages();
    std::vector<HWND> first = list_windows();
    ASSERT_EQ(1u, first.size());
    EXPECT_EQ(2, list_rows(first[0]));  // the main window and the test's window
    SendMessageW(hwndScan, BM_CLICK, 0, 0);
    pump_messages();
    std::vector<HWND> second = list_windows();
    ASSERT_EQ(1u, second.size());
    EXPECT_FALSE(IsWindow(first[0]));
    EXPECT_TRUE(rec->boxes.empty());

    q.bModuleFails = q.bImageFails = true;
    SendMessageW(hwndScan, BM_CLICK, 0, 0);
    pump_messages();
    EXPECT_TRUE(list_windows().empty());  // the old list went before the scan failed
    ASSERT_EQ(4u, rec->boxes.size());
    EXPECT_EQ(L"GetLastError", rec->boxes[0].caption);
    EXPECT_NE(std::wstring::npos, rec->boxes[1].text.find(L"ERROR <- GetModuleFileNameEx()"));
    EXPECT_NE(std::wstring::npos, rec->boxes[2].text.find(L"function:\nonButton_Scan_Clicked\n"));
    EXPECT_NE(std::wstring::npos, rec->boxes[2].text.find(L"ERROR <- EnumWindows()"));
    EXPECT_NE(std::wstring::npos, rec->boxes[3].text.find(L"ERROR <- onButton_Scan_Click()\nret code = -2\n"));
}

// Every allocation of the Scan command made to fail in turn: each is
// reported, the command returns -3, the store holds nothing once
// released, and the next scan works.
TEST_F(ScanCommandTest, EveryAllocationPointFailsCleanly)
{
    TestWindow a(L"QdScanA", L"Fault one", rect(100, 100, 300, 200));
    const long iLive = zt_LiveAllocations();
    AllocFailure probe = {0, -1};
    zt_SetAllocFailHook(alloc_fail_at, &probe);
    ASSERT_EQ(1, scan());
    zt_SetAllocFailHook(nullptr, nullptr);
    const int iPoints = probe.iCount;
    ASSERT_EQ(6, iPoints);  // scratch buffer and five entry buffers
    DestroyWindow(hwndList);
    for (int k = 1; k <= iPoints; ++k) {
        rec.boxes.clear();
        AllocFailure f = {0, k};
        zt_SetAllocFailHook(alloc_fail_at, &f);
        EXPECT_EQ(-3, scan()) << "point " << k;
        zt_SetAllocFailHook(nullptr, nullptr);
        ASSERT_EQ(1u, rec.boxes.size()) << "point " << k;
        EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"ERROR <- VirtualAlloc()"));
        EXPECT_EQ(nullptr, hwndList);
        scan_store_release_win(&store);
        EXPECT_EQ(iLive, zt_LiveAllocations()) << "point " << k;
        ASSERT_EQ(1, scan()) << "the scan after point " << k;
        DestroyWindow(hwndList);
        std::printf("fault injection: Scan allocation %d of %d survived\n", k, iPoints);
    }
}
