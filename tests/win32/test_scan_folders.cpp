// The folder passes against faults of the shell's collection, injected by
// the stand-in shell of the test prefix (the paths themselves are tested
// through the Scan command).
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "box_recorder.h"
#include "funcs_layout_windows/explorer_folders.h"
#include "platform/zt_win.h"
#include "scan_test_support.h"

namespace {

// A store as the filling pass leaves it, entry 1 a program window.
void fill_entries(TestStore* t, const HWND (&hwnds)[4])
{
    t->allocate_entries(4, 40);
    const std::u16string prg = u"C:\\prg\\tool.exe";
    for (uint32_t i = 0; i < 4; ++i) {
        STR_ScanEntryIn in = {};
        in.ui_hwnd = zt_hwnd32(hwnds[i]);
        in.ptc_Caption = u"x";
        in.uiN_Caption = 1;
        in.b_Program = (i == 1);
        in.ptc_Path = prg.c_str();
        in.uiN_Path = static_cast<uint32_t>(prg.size());
        ASSERT_EQ(1, scan_store_write_entry(&t->s, &in));
    }
}

class ScanFoldersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
    BoxRecorder rec;
    TestStore t;
};

}  // namespace

TEST_F(ScanFoldersTest, AShellWindowWithoutHandleEndsTheWalkWithAReport)
{
    FolderWindow a(L"C:\\users\\Public"), b(L"C:\\users");
    StandInShell shell(L"nullhwnd");
    fill_entries(&t, {a.hwnd, zt_hwnd(0x10010), b.hwnd, zt_hwnd(0x10040)});
    EXPECT_EQ(-5, GetCurrentExplorerFolders_02(&t.s));
    EXPECT_EQ(L"", entry_path(&t.s, 0));
    EXPECT_EQ(L"", entry_path(&t.s, 2));
    ASSERT_EQ(1u, rec.boxes.size());  // the first such window ends the walk
    const std::wstring zeros(2 * sizeof(void*), L'0');
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"function:\nGetCurrentExplorerFolders_02\n\nline:"));
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"\n\nhwnd of folder = " + zeros + L"\n\nline of error handler:\n"));
    EXPECT_EQ("0", shell.refs());  // what the item held was released all the same
}

TEST_F(ScanFoldersTest, ACollectionThatCannotBeWalkedOrMadeAndBadInput)
{
    FolderWindow a(L"C:\\users\\Public");
    {
        StandInShell shell(L"count");
        t.s.uiMaxLen_inBytes_FolderPath = 77;
        EXPECT_EQ(1, GetCurrentExplorerFolders_01(&t.s));
        EXPECT_EQ(0u, t.s.uiMaxLen_inBytes_FolderPath);
        EXPECT_EQ("0", shell.refs());
    }
    StandInShell shell(L"create");
    t.s.uiMaxLen_inBytes_FolderPath = 77;
    EXPECT_EQ(-1, GetCurrentExplorerFolders_01(&t.s));  // silently
    EXPECT_EQ(77u, t.s.uiMaxLen_inBytes_FolderPath);
    EXPECT_TRUE(rec.boxes.empty());
    EXPECT_EQ(-1, GetCurrentExplorerFolders_02(&t.s));  // no entry buffers
    fill_entries(&t, {a.hwnd, zt_hwnd(0x10010), zt_hwnd(0x10030), zt_hwnd(0x10040)});
    EXPECT_EQ(-4, GetCurrentExplorerFolders_02(&t.s));
    EXPECT_EQ(L"", entry_path(&t.s, 0));
    EXPECT_EQ(-1, GetCurrentExplorerFolders_01(nullptr));
    ASSERT_EQ(3u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"incorrect input parameters:pSTR_params->pcDynMem_WinHndls = "));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"function : CoCreateInstance()\n\nret code hResult = -2147221164\n\n"));
    EXPECT_NE(std::wstring::npos, rec.boxes[2].text.find(L"incorrect input parameters:pSTR_params = "));
}
