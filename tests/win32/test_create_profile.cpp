#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../native/scan_store_fixture.h"
#include "box_recorder.h"
#include "main_window_fixture.h"
#include "platform/zt_dialogs.h"
#include "platform/zt_files.h"
#include "platform/zt_win.h"
#include "profile_format.h"
#include "wnd_ScanListView/create_profile.h"

using namespace test_store;

namespace {

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Answers the Save dialog with a fixed path, or cancels it.
struct SaveAnswer {
    std::wstring path;
    bool bCancel = false;
    int iCalls = 0;
    std::wstring title, defExt, initial;
    DWORD dwFlags = 0;
};

int answer_dialog(void* pCtx, bool bSave, OPENFILENAMEW* pOfn)
{
    SaveAnswer* a = static_cast<SaveAnswer*>(pCtx);
    ++a->iCalls;
    EXPECT_TRUE(bSave);
    a->title = pOfn->lpstrTitle ? pOfn->lpstrTitle : L"";
    a->defExt = pOfn->lpstrDefExt ? pOfn->lpstrDefExt : L"";
    a->initial = pOfn->lpstrFile;
    a->dwFlags = pOfn->Flags;
    if (a->bCancel) return 0;
    lstrcpynW(pOfn->lpstrFile, a->path.c_str(), pOfn->nMaxFile);
    return 1;
}

struct FailOp {
    ZT_FileOp op;
    DWORD dwErr;
};

DWORD fail_op(void* pCtx, ZT_FileOp op)
{
    const FailOp* f = static_cast<const FailOp*>(pCtx);
    return op == f->op ? f->dwErr : 0;
}

bool fail_from_fourth(void* pCtx, size_t)
{
    int* n = static_cast<int*>(pCtx);
    return ++*n >= 4;
}

// A List of Windows stand-in: a window with a check-box list view of ten
// rows over a store of ten windows. Row 2 is an Explorer window whose
// folder was not found; the others are programs C:\Apps\progN.exe.
class CreateProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        hwndList = CreateWindowExW(0, L"STATIC", L"List of windows", WS_OVERLAPPEDWINDOW, 30, 30, 600, 400, nullptr,
                                   nullptr, nullptr, nullptr);
        hwndLV = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 500, 300, hwndList, nullptr,
                                 nullptr, nullptr);
        SendMessageW(hwndLV, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
        LVCOLUMNW col = {};
        col.mask = LVCF_WIDTH;
        col.cx = 100;
        SendMessageW(hwndLV, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
        for (int r = 0; r < 10; ++r) {
            paths.push_back(u"C:\\Apps\\prog" + std::u16string(1, u'0' + r) + u".exe");
            LVITEMW it = {};
            it.mask = LVIF_TEXT;
            it.iItem = r;
            it.pszText = const_cast<wchar_t*>(L"row");
            SendMessageW(hwndLV, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
        }
        for (uint32_t r = 0; r < 10; ++r) {
            STR_ScanEntryIn in = window(0x100 + r, u"caption", r == 2 ? nullptr : paths[r].c_str());
            in.i_left = static_cast<int32_t>(r) * 10 - 20;
            ASSERT_EQ(QD_SCAN_OK, scan_store_write_entry(&owned.s, &in));
        }
        zt_SetFileDialogHook(answer_dialog, &answer);
        answer.path = temp_path(L"qd_profile_test.txt");
        DeleteFileW(answer.path.c_str());
    }
    void TearDown() override
    {
        zt_SetFileDialogHook(nullptr, nullptr);
        zt_SetFileFailHook(nullptr, nullptr);
        zt_SetAllocFailHook(nullptr, nullptr);
        FreeDynMem_wnds_Profile(&rw);
        if (hwndName && IsWindow(hwndName)) DestroyWindow(hwndName);
        DestroyWindow(hwndList);
        DeleteFileW(answer.path.c_str());
        pump_messages();
    }

    void tick(int row)
    {
        ListView_SetCheckState(hwndLV, row, TRUE);
    }
    int32_t press_create()
    {
        std::memset(&rw, 0, sizeof(rw));
        return onButton_Create_Profile(hwndList, hwndLV, &hwndName, &rw, &owned.s);
    }
    BOOL hand_back_name(const std::u16string& name)
    {
        COPYDATASTRUCT cds = {0, static_cast<DWORD>(name.size() * 2), const_cast<char16_t*>(name.data())};
        return on_WM_COPYDATA_ListOfWindows(hwndList, reinterpret_cast<WPARAM>(hwndName), &cds, &owned.s, &rw);
    }
    bool arrays_released()
    {
        for (int i = 0; i < QD_RW_ARRAYS; ++i)
            if (*rw_profile_array_slot(&rw, i)) return false;
        return true;
    }

    BoxRecorder rec;
    OwnedStore owned{10, 40};
    std::vector<std::u16string> paths;
    HWND hwndList = nullptr, hwndLV = nullptr, hwndName = nullptr;
    STR_RW_PRFL rw{};
    SaveAnswer answer;
};

std::u16string entry_path(const STR_ProfileView& v, uint32_t i, STR_ProfileEntry* pE)
{
    EXPECT_EQ(QD_PRF_OK, profile_entry_at(&v, i, pE));
    qd_char buf[100];
    size_t n = profile_copy_path(pE, buf, 100);
    return std::u16string(buf, n);
}

}  // namespace

TEST_F(CreateProfileTest, TickedRowsAreSavedInRowOrderUnderTheTypedName)
{
    tick(5);
    tick(2);
    tick(9);
    ASSERT_EQ(1, press_create());
    ASSERT_NE(nullptr, hwndName);
    EXPECT_TRUE(IsWindow(hwndName));
    EXPECT_EQ(3u, rw.N_wnds_in_profile);

    EXPECT_TRUE(hand_back_name(u"Morning"));
    EXPECT_FALSE(IsWindow(hwndName));  // closed before the dialog
    EXPECT_EQ(1, answer.iCalls);
    EXPECT_EQ(L"Save Profile", answer.title);
    EXPECT_EQ(L"txt", answer.defExt);
    EXPECT_EQ(L"Profile_01", answer.initial);
    EXPECT_EQ(static_cast<DWORD>(0x81006), answer.dwFlags);
    EXPECT_TRUE(rec.boxes.empty());
    EXPECT_TRUE(arrays_released());

    std::vector<uint8_t> file = read_file(answer.path);
    STR_ProfileView v{};
    ASSERT_EQ(QD_PRF_OK, profile_open(file.data(), file.size(), &v));
    ASSERT_EQ(3u, v.N_wnds);
    STR_ProfileEntry e{};
    EXPECT_EQ(u"", entry_path(v, 0, &e));  // row 2: a folder without a path
    EXPECT_EQ(0, e.uc_kind);
    EXPECT_EQ(0, e.i_x);
    EXPECT_EQ(paths[5], entry_path(v, 1, &e));
    EXPECT_EQ(1, e.uc_kind);
    EXPECT_EQ(30, e.i_x);
    EXPECT_EQ(paths[9], entry_path(v, 2, &e));
    EXPECT_EQ(810 - 70, e.i_w);  // right edge 810, left 9 x 10 - 20
    EXPECT_EQ(600, e.i_h);
    qd_char name[16];
    EXPECT_EQ(7u, profile_copy_name(&v, name, 16));
    EXPECT_EQ(u"Morning", std::u16string(name));
    EXPECT_EQ(4u + 21 * 3 + 2 + (paths[5].size() * 2 + 2) + (paths[9].size() * 2 + 2) + 14 + 3, file.size());
}

TEST_F(CreateProfileTest, NothingTickedShowsTheInfoBoxOnly)
{
    EXPECT_EQ(1, press_create());
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"info", rec.boxes[0].caption);
    EXPECT_EQ(hwndList, rec.boxes[0].hwndOwner);
    EXPECT_EQ(0u, rec.boxes[0].text.find(L"There are no selected items.\nTo create profile"));
    EXPECT_EQ(nullptr, hwndName);
    EXPECT_TRUE(arrays_released());
}

TEST_F(CreateProfileTest, AnExistingFileIsNeverReplaced)
{
    {
        std::ofstream f(std::string(answer.path.begin(), answer.path.end()), std::ios::binary);
        f << "keep me";
    }
    tick(1);
    ASSERT_EQ(1, press_create());
    EXPECT_TRUE(hand_back_name(u"P"));
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"File already exists", rec.boxes[0].text);
    EXPECT_EQ(L"information", rec.boxes[0].caption);
    std::vector<uint8_t> file = read_file(answer.path);
    EXPECT_EQ("keep me", std::string(file.begin(), file.end()));
    EXPECT_TRUE(arrays_released());
}

TEST_F(CreateProfileTest, CancelledDialogWritesNothingAndTheNextCreateWorks)
{
    tick(3);
    ASSERT_EQ(1, press_create());
    answer.bCancel = true;
    EXPECT_TRUE(hand_back_name(u"P"));
    EXPECT_FALSE(exists(answer.path));
    EXPECT_TRUE(arrays_released());
    EXPECT_TRUE(rec.boxes.empty());
    // Cancel in the name window (the arrays stay) then a new Create: only
    // the rows ticked now are saved.
    ASSERT_EQ(1, press_create());
    DestroyWindow(hwndName);
    ListView_SetCheckState(hwndLV, 3, FALSE);
    tick(7);
    ASSERT_EQ(1, press_create());
    answer.bCancel = false;
    EXPECT_TRUE(hand_back_name(u"P"));
    std::vector<uint8_t> file = read_file(answer.path);
    STR_ProfileView v{};
    ASSERT_EQ(QD_PRF_OK, profile_open(file.data(), file.size(), &v));
    EXPECT_EQ(1u, v.N_wnds);
    STR_ProfileEntry e{};
    EXPECT_EQ(paths[7], entry_path(v, 0, &e));
}

TEST_F(CreateProfileTest, AFailedWriteIsReportedAndLeavesNoFile)
{
    tick(4);
    ASSERT_EQ(1, press_create());
    FailOp f = {ZT_FILE_WRITE, ERROR_DISK_FULL};
    zt_SetFileFailHook(fail_op, &f);
    EXPECT_FALSE(hand_back_name(u"P"));
    EXPECT_FALSE(exists(answer.path));
    EXPECT_TRUE(arrays_released());
    ASSERT_EQ(3u, rec.boxes.size());
    EXPECT_EQ(L"GetLastError", rec.boxes[0].caption);  // the system's "disk full" text
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"-2 <- WriteData_Profile()"));
    EXPECT_NE(std::wstring::npos, rec.boxes[2].text.find(L"iRetCode = -2 <- on_WM_COPYDATA_on_wnd_NameOfProfile()"));
}

TEST_F(CreateProfileTest, AFileThatCannotBeCreatedIsReportedNotIgnored)
{
    tick(4);
    ASSERT_EQ(1, press_create());
    FailOp f = {ZT_FILE_CREATE, ERROR_ACCESS_DENIED};
    zt_SetFileFailHook(fail_op, &f);
    EXPECT_FALSE(hand_back_name(u"P"));
    EXPECT_FALSE(exists(answer.path));
    EXPECT_TRUE(arrays_released());
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_EQ(L"GetLastError", rec.boxes[0].caption);
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"iRetCode = -2"));
}

TEST_F(CreateProfileTest, AllocationFailingPartWayReleasesWhatWasTaken)
{
    tick(1);
    tick(6);
    int iCalls = 0;
    zt_SetAllocFailHook(fail_from_fourth, &iCalls);
    EXPECT_EQ(-4, press_create());
    EXPECT_TRUE(arrays_released());
    EXPECT_EQ(nullptr, hwndName);
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"function VirtualAlloc() returned error"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"-2 <- DynMemAlloc_wnds_Profile()"));
}

TEST_F(CreateProfileTest, WriterRefusesMissingArguments)
{
    uint32_t x = 0;
    uint8_t k = 1;
    qd_char path[2] = {0, 0};
    EXPECT_EQ(-1, WriteData_Profile(nullptr, &rw, 1, &k, &x, &x, &x, &x, &x, path));
    EXPECT_EQ(-1, on_WM_COPYDATA_on_wnd_NameOfProfile(hwndList, nullptr, &owned.s, &rw));
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"error, incorrect INPUT parameters:\nhFile_wnds_profile = 0000"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"hwnd_wnd_NameProfile = 0000"));
}

// Every allocation and file operation of Create Profile made to fail in
// turn: reported, every array released, no file left, and the next
// Create Profile saves.
TEST_F(CreateProfileTest, EveryAllocationAndFilePointFailsCleanly)
{
    tick(1);
    tick(6);
    const long iLive = zt_LiveAllocations();
    for (int k = 1; k <= QD_RW_ARRAYS; ++k) {
        rec.boxes.clear();
        int iCalls = 0;
        struct Nth { int* p; int k; } nth = {&iCalls, k};
        zt_SetAllocFailHook([](void* pCtx, size_t) { Nth* n = static_cast<Nth*>(pCtx); return ++*n->p == n->k; }, &nth);
        EXPECT_EQ(-4, press_create()) << "allocation " << k;
        zt_SetAllocFailHook(nullptr, nullptr);
        EXPECT_TRUE(arrays_released());
        EXPECT_EQ(iLive, zt_LiveAllocations()) << "allocation " << k;
        EXPECT_EQ(2u, rec.boxes.size()) << "allocation " << k;
        std::printf("fault injection: Create Profile allocation %d of %d survived\n", k, QD_RW_ARRAYS);
    }
    const FailOp ops[] = {{ZT_FILE_CREATE, ERROR_ACCESS_DENIED}, {ZT_FILE_WRITE, ERROR_DISK_FULL},
                          {ZT_FILE_FLUSH, ERROR_IO_DEVICE}};
    for (const FailOp& f : ops) {
        rec.boxes.clear();
        ASSERT_EQ(1, press_create());
        zt_SetFileFailHook(fail_op, const_cast<FailOp*>(&f));
        EXPECT_FALSE(hand_back_name(u"P"));
        zt_SetFileFailHook(nullptr, nullptr);
        EXPECT_FALSE(exists(answer.path)) << "file operation " << f.op;
        EXPECT_TRUE(arrays_released());
        EXPECT_EQ(iLive, zt_LiveAllocations());
        EXPECT_EQ(L"GetLastError", rec.boxes.at(0).caption);
        std::printf("fault injection: Create Profile file operation %d survived\n", static_cast<int>(f.op));
    }
    // And then it saves.
    ASSERT_EQ(1, press_create());
    EXPECT_TRUE(hand_back_name(u"P"));
    EXPECT_TRUE(exists(answer.path));
}
