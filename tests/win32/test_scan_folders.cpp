#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "box_recorder.h"
#include "platform/zt_win.h"
#include "scan_test_support.h"

namespace {

HWND fake_hwnd(uint32_t v) { return zt_hwnd(v); }

// A store as the filling pass leaves it: entries 0 and 2 and 3 are Explorer
// windows, entry 1 a program window with its path.
void fill_entries(TestStore* t, uint32_t uiL, const uint32_t (&hwnds)[4])
{
    t->allocate_entries(4, uiL);
    const std::u16string prg = u"C:\\prg\\tool.exe";
    for (uint32_t i = 0; i < 4; ++i) {
        STR_ScanEntryIn in = {};
        in.ui_hwnd = hwnds[i];
        in.ptc_Caption = u"x";
        in.uiN_Caption = 1;
        in.b_Program = (i == 1);
        in.ptc_Path = prg.c_str();
        in.uiN_Path = static_cast<uint32_t>(prg.size());
        ASSERT_EQ(1, scan_store_write_entry(&t->s, &in));
    }
}

}  // namespace

TEST(ScanFolders, PathsAreMeasuredThenWrittenIntoEveryEntryOfTheirWindow)
{
    BoxRecorder rec;
    FolderSource src;
    const std::wstring pub = L"C:\\Users\\Public", longest(259, L'p');
    // Two windows on one folder, one window not in the store (still
    // measured), and the virtual folder of entry 3 gives no pair at all.
    src.pairs = {{fake_hwnd(0x10020), pub}, {fake_hwnd(0x10030), pub}, {fake_hwnd(0x10099), longest}};
    TestStore t;
    ASSERT_EQ(1, GetCurrentExplorerFolders_01(&t.s));
    EXPECT_EQ(518u, t.s.uiMaxLen_inBytes_FolderPath);

    fill_entries(&t, 518, {0x10020, 0x10010, 0x10030, 0x10040});
    src.pairs.push_back({fake_hwnd(0x10040), longest});  // a 259-unit path is taken whole
    ASSERT_EQ(1, GetCurrentExplorerFolders_02(&t.s));
    EXPECT_EQ(pub, entry_path(&t.s, 0));
    EXPECT_EQ(pub, entry_path(&t.s, 2));
    EXPECT_EQ(2 * pub.size(), scan_entry_len_path(&t.s, 2));
    EXPECT_EQ(L"C:\\prg\\tool.exe", entry_path(&t.s, 1));
    EXPECT_EQ(longest, entry_path(&t.s, 3));
    EXPECT_EQ(0, scan_entry_flag(&t.s, 0));
    EXPECT_EQ(1, scan_entry_flag(&t.s, 1));
    EXPECT_TRUE(rec.boxes.empty());
}

TEST(ScanFolders, NullFolderHandleEndsTheWalkWithReport)
{
    BoxRecorder rec;
    FolderSource src;
    src.pairs = {{fake_hwnd(0x10020), L"C:\\a"}, {nullptr, L"C:\\b"}, {fake_hwnd(0x10030), L"C:\\c"}};
    TestStore t;
    fill_entries(&t, 40, {0x10020, 0x10010, 0x10030, 0x10040});
    EXPECT_EQ(-5, GetCurrentExplorerFolders_02(&t.s));
    EXPECT_EQ(2, src.iVisited);
    EXPECT_EQ(L"C:\\a", entry_path(&t.s, 0));
    EXPECT_EQ(L"", entry_path(&t.s, 2));
    ASSERT_EQ(1u, rec.boxes.size());
    const std::wstring zeros(2 * sizeof(void*), L'0');
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"function:\nGetCurrentExplorerFolders_02\n\nline:"));
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"\n\nhwnd of folder = " + zeros + L"\n\nline of error handler:\n"));
}

TEST(ScanFolders, CollectionThatCannotBeWalkedOrMadeAndBadInput)
{
    BoxRecorder rec;
    FolderSource src;
    src.hr = E_NOTIMPL;  // the collection exists but cannot be walked
    src.pairs = {{fake_hwnd(0x10020), L"C:\\never"}};
    TestStore t;
    t.s.uiMaxLen_inBytes_FolderPath = 77;
    EXPECT_EQ(1, GetCurrentExplorerFolders_01(&t.s));
    EXPECT_EQ(0u, t.s.uiMaxLen_inBytes_FolderPath);
    EXPECT_EQ(0, src.iVisited);

    src.bCreated = false;
    src.hr = REGDB_E_CLASSNOTREG;
    EXPECT_EQ(-1, GetCurrentExplorerFolders_01(&t.s));  // silently
    EXPECT_TRUE(rec.boxes.empty());
    EXPECT_EQ(-1, GetCurrentExplorerFolders_02(&t.s));  // no entry buffers
    fill_entries(&t, 40, {0x10020, 0x10010, 0x10030, 0x10040});
    EXPECT_EQ(-4, GetCurrentExplorerFolders_02(&t.s));
    EXPECT_EQ(-1, GetCurrentExplorerFolders_01(nullptr));
    ASSERT_EQ(3u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"incorrect input parameters:pSTR_params->pcDynMem_WinHndls = "));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"function : CoCreateInstance()\n\nret code hResult = -2147221164\n\n"));
    EXPECT_NE(std::wstring::npos, rec.boxes[2].text.find(L"incorrect input parameters:pSTR_params = "));
}

// The shell's own source. Under Wine the collection exists only while the
// desktop process serves it, and then cannot be walked; on Windows it walks
// the open Explorer windows. Either both passes end normally, or neither
// gets a collection and only the second reports it, with the system's code.
TEST(ScanFolders, ShellWindowsSourceEndsBothPassesConsistently)
{
    BoxRecorder rec;
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    TestStore t;
    t.s.uiMaxLen_inBytes_FolderPath = 12345;
    const int32_t iFirst = GetCurrentExplorerFolders_01(&t.s);
    fill_entries(&t, 40, {0x10020, 0x10010, 0x10030, 0x10040});
    const int32_t iSecond = GetCurrentExplorerFolders_02(&t.s);
    CoUninitialize();
    EXPECT_EQ(0u, scan_entry_len_path(&t.s, 0));  // none of these handles is a shell window
    if (iFirst == 1) {
        EXPECT_NE(12345u, t.s.uiMaxLen_inBytes_FolderPath);
        EXPECT_EQ(1, iSecond);
        EXPECT_TRUE(rec.boxes.empty());
    } else {
        EXPECT_EQ(-1, iFirst);
        EXPECT_EQ(12345u, t.s.uiMaxLen_inBytes_FolderPath);
        EXPECT_EQ(-4, iSecond);
        ASSERT_EQ(1u, rec.boxes.size());
        EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"function : CoCreateInstance()\n\nret code hResult = -"));
    }
}
