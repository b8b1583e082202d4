#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "box_recorder.h"
#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/scan_command.h"
#include "funcs_layout_windows/load_profile.h"
#include "main_window_fixture.h"
#include "platform/zt_files.h"
#include "platform/zt_win.h"
#include "profile_bytes.h"
#include "profile_format.h"
#include "scan_test_support.h"
#include "shell_standin.h"

namespace {

const wchar_t* const kFixClass = L"QdFixLoad";

struct ProfileEntry {
    uint8_t kind;
    std::wstring path;
    int32_t x, y, w, h;
};

std::vector<uint8_t> profile_bytes(const std::vector<ProfileEntry>& entries, const std::u16string& name)
{
    std::vector<QdTestEntry> e;
    for (const ProfileEntry& p : entries) e.push_back({p.kind, u16(p.path), p.x, p.y, p.w, p.h});
    return qd_profile_bytes(e, name);
}

std::wstring temp_dir() { return temp_path(L""); }

std::wstring write_temp(const wchar_t* ptcName, const std::vector<uint8_t>& bytes)
{
    const std::wstring path = temp_path(ptcName);
    write_file(path, bytes);
    return path;
}

std::vector<HWND> fixture_windows() { return windows_of_class(kFixClass); }
void close_fixture_windows() { close_windows_of_class(kFixClass); }

RECT rect_of(uint32_t ui_hwnd)
{
    RECT rc = {};
    GetWindowRect(zt_hwnd(ui_hwnd), &rc);
    return rc;
}

// Counts the command's pauses; each lets real time pass briefly, so windows
// of started programs can appear without a test waiting whole seconds.
struct Waits {
    int iCount = 0;
};
void short_wait(void* pCtx, DWORD)
{
    ++static_cast<Waits*>(pCtx)->iCount;
    Sleep(60);
}

// A window standing in for the main window: owner of the boxes, parent of
// the Profile and Action lists.
class LoadProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Loaded fixture;class=QdFixLoad");
        hwndMain = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        hwndProfiles = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 200, 200,
                                       hwndMain, reinterpret_cast<HMENU>(4), nullptr, nullptr);
        hwndActions = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 40, 200, 200,
                                      hwndMain, reinterpret_cast<HMENU>(5), nullptr, nullptr);
        cb.hwnd_CB = zt_hwnd32(hwndProfiles);
        cb.uiID_CB = 4;
        cb.uiMax_strs = QD_PROFILE_LIST_CAPACITY;
        CB_Action_init(hwndActions, 5, &cbAction);
        ASSERT_EQ(1, preInitOnce_onLoadProfile(&store));
        zt_SetWaitHooks(short_wait, nullptr, &waits);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the main window does
    }
    void TearDown() override
    {
        close_fixture_windows();
        close_folder_windows();
        CoUninitialize();
        zt_SetWaitHooks(nullptr, nullptr, nullptr);
        finishWork_onLoadProfile(&store);
        DestroyWindow(hwndMain);
        for (const std::wstring& f : files) DeleteFileW(f.c_str());
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", nullptr);
        pump_messages();
    }
    int32_t load(const std::vector<ProfileEntry>& entries, const std::u16string& name)
    {
        files.push_back(write_temp((L"qd_load_" + std::to_wstring(files.size()) + L".txt").c_str(), profile_bytes(entries, name)));
        return onButton_LoadProfile_clicked(hwndMain, 1, files.back().c_str(), &store, &cb, &names);
    }
    std::wstring selected_profile()
    {
        wchar_t buf[256] = {};
        LRESULT i = SendMessageW(hwndProfiles, CB_GETCURSEL, 0, 0);
        if (i >= 0) SendMessageW(hwndProfiles, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    void apply(int32_t iAction, int32_t iProfilePos)
    {
        SendMessageW(hwndActions, CB_SETCURSEL, iAction, 0);
        SendMessageW(hwndProfiles, CB_SETCURSEL, iProfilePos, 0);
        ASSERT_EQ(1, onButton_Apply_press(&cb, &names, &cbAction, &store));
    }

    BoxRecorder rec;
    Waits waits;
    HWND hwndMain = nullptr, hwndProfiles = nullptr, hwndActions = nullptr;
    LoadedProfiles_STR store{};
    CB_Profile_manage_STR cb{};
    STR_ProfileListNames names{};
    CB_Action_manage_STR cbAction{};
    std::vector<std::wstring> files;
};

}  // namespace

// Placing is asynchronous: waits until the window is there, then compares.
void expect_rect(uint32_t ui_hwnd, int x, int y, int w, int h, const char* pcWhat)
{
    pump_until([&] {
        const RECT r = rect_of(ui_hwnd);
        return r.left == x && r.top == y && r.right - r.left == w && r.bottom - r.top == h;
    }, 3000);
    const RECT rc = rect_of(ui_hwnd);
    EXPECT_EQ(x, rc.left) << pcWhat;
    EXPECT_EQ(y, rc.top) << pcWhat;
    EXPECT_EQ(w, rc.right - rc.left) << pcWhat;
    EXPECT_EQ(h, rc.bottom - rc.top) << pcWhat;
}

// An instance of the fixture program the user had open before the load.
HWND start_older_instance(PROCESS_INFORMATION* pPI)
{
    *pPI = start_fixture(L"--window \"caption=Older;class=QdFixLoad;x=30;y=40;w=250;h=180\"");
    if (!pPI->hProcess) return nullptr;
    pump_until([] { return fixture_windows().size() == 1; });
    return fixture_windows().empty() ? nullptr : fixture_windows()[0];
}

TEST_F(LoadProfileTest, TwinsArePlacedAtTheirOwnGeometryAndApplyActsOnBoth)
{
    const std::wstring exe = fixture_exe();
    ASSERT_EQ(1, load({{1, exe, 100, 120, 400, 300}, {1, exe, 600, 140, 500, 350}}, u"Two fixtures"));
    EXPECT_TRUE(rec.boxes.empty());
    ASSERT_EQ(2u, fixture_windows().size());
    const uint32_t h0 = loaded_profile_handle(&store, 0, 0), h1 = loaded_profile_handle(&store, 0, 1);
    ASSERT_NE(0u, h0);
    ASSERT_NE(0u, h1);
    EXPECT_NE(h0, h1);
    expect_rect(h0, 100, 120, 400, 300, "first twin");
    expect_rect(h1, 600, 140, 500, 350, "second twin");
    EXPECT_EQ(L"Two fixtures", selected_profile());
    EXPECT_LE(waits.iCount, 3);  // found within the first attempts, not after a timeout

    apply(QD_ACTION_MINIMIZE, 0);
    EXPECT_TRUE(pump_until([&] { return IsIconic(zt_hwnd(h0)) && IsIconic(zt_hwnd(h1)); }));
    apply(QD_ACTION_RESTORE, 0);
    EXPECT_TRUE(pump_until([&] { return !IsIconic(zt_hwnd(h0)) && !IsIconic(zt_hwnd(h1)); }));
    expect_rect(h1, 600, 140, 500, 350, "second twin restored");
    apply(QD_ACTION_CLOSE, 0);
    EXPECT_TRUE(pump_until([] { return fixture_windows().empty(); }));
}

// The user's older instance must never be taken for the program the load
// started, even when the started one shows its window late.
TEST_F(LoadProfileTest, AnOlderInstanceIsLeftAloneWhileTheStartedOnesLateWindowIsPlaced)
{
    PROCESS_INFORMATION older = {};
    HWND hwndOlder = start_older_instance(&older);
    ASSERT_NE(nullptr, hwndOlder);
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Late;class=QdFixLoad;delay=250");
    ASSERT_EQ(1, load({{1, fixture_exe(), 700, 80, 330, 250}}, u"Late"));
    EXPECT_TRUE(rec.boxes.empty());
    const uint32_t h = loaded_profile_handle(&store, 0, 0);
    ASSERT_NE(0u, h);
    EXPECT_NE(zt_hwnd32(hwndOlder), h);
    EXPECT_GE(waits.iCount, 1);  // the older window did not end the wait
    expect_rect(h, 700, 80, 330, 250, "started instance");
    expect_rect(zt_hwnd32(hwndOlder), 30, 40, 250, 180, "older instance");

    apply(QD_ACTION_CLOSE, 0);
    EXPECT_TRUE(pump_until([&] { return !IsWindow(zt_hwnd(h)); }));
    EXPECT_TRUE(IsWindow(hwndOlder));
    CloseHandle(older.hProcess);
    CloseHandle(older.hThread);
}

// A program that hands over to its running instance and ends: the older
// window is what the user gets, without waiting out the attempts.
TEST_F(LoadProfileTest, AStartedProgramThatEndsAtOnceLetsTheOlderInstanceFillTheSlot)
{
    PROCESS_INFORMATION older = {};
    HWND hwndOlder = start_older_instance(&older);
    ASSERT_NE(nullptr, hwndOlder);
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"no windows");  // the fixture ends at once
    // The started process has ended by the time it would be idle.
    zt_SetWaitHooks(short_wait, [](void*, HANDLE hProcess, DWORD dwMs) { return WaitForSingleObject(hProcess, dwMs); },
                    &waits);
    ASSERT_EQ(1, load({{1, fixture_exe(), 700, 80, 330, 250}}, u"Handed over"));
    EXPECT_TRUE(rec.boxes.empty());
    EXPECT_EQ(zt_hwnd32(hwndOlder), loaded_profile_handle(&store, 0, 0));
    EXPECT_LE(waits.iCount, 1);
    expect_rect(zt_hwnd32(hwndOlder), 700, 80, 330, 250, "older instance, placed");
    CloseHandle(older.hProcess);
    CloseHandle(older.hThread);
}

// A store that cannot take the profile refuses it before any folder is
// opened or program started, with the store's own report.
TEST_F(LoadProfileTest, AStoreThatWouldRefuseTheProfileStartsNothing)
{
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"Placeholder"));
    int iLaunches = 0;
    zt_SetLaunchHook([](void* pCtx, const wchar_t*, bool) { ++*static_cast<int*>(pCtx); }, &iLaunches);
    const LoadedProfiles_STR kept = store;
    const struct {
        void (*pfnLimit)(LoadedProfiles_STR*);
        const wchar_t* ptcReport;
    } rows[] = {
        {[](LoadedProfiles_STR* p) { p->uiMax_num_loaded_prfls = 1; }, L"exceed amount of loaded Profiles, max = 1, already loaded = 1"},
        {[](LoadedProfiles_STR* p) { p->uiSize_DynMem_hwnds_wnds_prfl = 11; }, L"storage arrays of hwnds of Profile windows"},
        {[](LoadedProfiles_STR* p) { p->uiSize_DynMem_files = p->arr_size_FileProfile[0] + 40; }, L"storage files of Profile"},
        {[](LoadedProfiles_STR* p) { p->pc_raw_FilesProfile = nullptr; }, L"fields of STRUCTURE"},
    };
    for (const auto& row : rows) {
        store = kept;
        row.pfnLimit(&store);
        rec.boxes.clear();
        EXPECT_EQ(1, load({{0, temp_dir(), 0, 0, 300, 200}, {1, fixture_exe(), 10, 10, 300, 200}}, u"Refused"));
        EXPECT_EQ(0, iLaunches) << std::string(row.ptcReport, row.ptcReport + lstrlenW(row.ptcReport));
        ASSERT_FALSE(rec.boxes.empty());
        EXPECT_TRUE(rec.any_text_contains(row.ptcReport));
        EXPECT_EQ(1u, store.uiN_loaded_prfls);
        EXPECT_EQ(1, SendMessageW(hwndProfiles, CB_GETCOUNT, 0, 0));
    }
    store = kept;
    zt_SetLaunchHook(nullptr, nullptr);
}

// A program that stops answering freezes neither a Scan nor Apply: its
// window is still listed, and Apply's requests wait in its queue.
TEST_F(LoadProfileTest, AHungProgramFreezesNeitherScanNorApply)
{
    ASSERT_EQ(1, load({{1, fixture_exe(), 100, 120, 400, 300}}, u"Hung"));
    const HWND h = zt_hwnd(loaded_profile_handle(&store, 0, 0));
    ASSERT_NE(nullptr, h);
    auto hang = [h](DWORD dwMs) {
        PostMessageW(h, WM_APP + 1, dwMs, 0);  // the fixture's UI thread sleeps
        return pump_until([h] {
            DWORD_PTR r = 0;
            return !SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &r);
        });
    };
    auto ms_of = [](auto f) {
        const DWORD t0 = GetTickCount();
        f();
        return GetTickCount() - t0;
    };
    ASSERT_TRUE(hang(6000));
    STR_ENUM_WNDS_DATA scan{};
    HWND hwndList = nullptr;
    scan_store_prepare(&scan);
    const DWORD dwScanMs = ms_of([&] { EXPECT_EQ(1, onButton_Scan_Clicked(hwndMain, &hwndList, 0, 0, &scan)); });
    std::printf("Scan with a hung window: %lu ms\n", static_cast<unsigned long>(dwScanMs));
    EXPECT_LT(dwScanMs, 4000u);
    ASSERT_NE(nullptr, hwndList) << (rec.boxes.empty() ? std::string() : std::string(rec.boxes[0].text.begin(), rec.boxes[0].text.end()));
    uint32_t i = 0;
    while (i < scan.counter_valid && scan_entry_hwnd(&scan, i) != zt_hwnd32(h)) ++i;
    ASSERT_LT(i, scan.counter_valid);  // listed, with the caption the system keeps
    EXPECT_EQ(u"Loaded fixture", std::u16string(scan_entry_caption(&scan, i)));
    DestroyWindow(hwndList);

    EXPECT_LT(ms_of([&] { apply(QD_ACTION_MINIMIZE, 0); }), 500u);
    EXPECT_TRUE(pump_until([h] { return IsIconic(h) != FALSE; }, 8000));
    ASSERT_TRUE(hang(2000));
    EXPECT_LT(ms_of([&] { apply(QD_ACTION_RESTORE, 0); }), 500u);
    EXPECT_TRUE(pump_until([h] { return !IsIconic(h) && rect_of(zt_hwnd32(h)).left == 100; }, 5000));
}

TEST_F(LoadProfileTest, MissingExecutableIsToldAndNotWaitedFor)
{
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 10, 10, 300, 200}}, u"Gone"));
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"info", rec.boxes[0].caption);
    EXPECT_EQ(hwndMain, rec.boxes[0].hwndOwner);
    EXPECT_EQ(static_cast<UINT>(MB_SETFOREGROUND | MB_OK), rec.boxes[0].uiFlags);
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"Number of Programs failed to load = 1\nNumber of Programs in Profile = 1"));
    EXPECT_EQ(0, waits.iCount);
    EXPECT_EQ(1u, store.uiN_loaded_prfls);  // stored and listed all the same
    EXPECT_EQ(L"Gone", selected_profile());
}

TEST_F(LoadProfileTest, AProgramThatNeverShowsAWindowEndsAfterTenAttempts)
{
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Hidden fixture;class=QdFixLoad;state=hidden");
    ASSERT_EQ(1, load({{1, fixture_exe(), 10, 10, 300, 200}}, u"Hidden"));
    EXPECT_EQ(9, waits.iCount);  // ten attempts, a pause between each two
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"Not all Programs of Profile were detected after launching\n", rec.boxes[0].text);
    EXPECT_EQ(0u, loaded_profile_handle(&store, 0, 0));
}

TEST_F(LoadProfileTest, WithoutSavedGeometryTheProgramStartsAndStaysMinimised)
{
    ASSERT_EQ(1, load({{1, fixture_exe(), 0, 0, 0, 200}}, u"Min"));
    const uint32_t h = loaded_profile_handle(&store, 0, 0);
    ASSERT_NE(0u, h);
    EXPECT_TRUE(IsIconic(zt_hwnd(h)));
    // Restore passes over an entry without geometry.
    apply(QD_ACTION_RESTORE, 0);
    pump_pending();
    EXPECT_TRUE(IsIconic(zt_hwnd(h)));
}

TEST_F(LoadProfileTest, ApplyMinimizeRestoreCloseActOnTheSelectedProfileOnly)
{
    ASSERT_EQ(1, load({{1, fixture_exe(), 50, 60, 320, 240}}, u"First"));
    close_fixture_windows();  // the second profile must get its own window
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"Placeholder"));
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Second fixture;class=QdFixLoad");
    ASSERT_EQ(1, load({{1, fixture_exe(), 700, 80, 330, 250}}, u"Second"));
    const uint32_t hSecond = loaded_profile_handle(&store, 2, 0);
    ASSERT_NE(0u, hSecond);
    EXPECT_NE(loaded_profile_handle(&store, 0, 0), hSecond);

    apply(QD_ACTION_MINIMIZE, 2);
    EXPECT_TRUE(pump_until([&] { return IsIconic(zt_hwnd(hSecond)) != FALSE; }));
    ShowWindow(zt_hwnd(hSecond), SW_RESTORE);
    MoveWindow(zt_hwnd(hSecond), 5, 5, 200, 150, TRUE);  // the user moved it
    apply(QD_ACTION_MINIMIZE, 2);
    apply(QD_ACTION_RESTORE, 2);
    EXPECT_TRUE(pump_until([&] { return !IsIconic(zt_hwnd(hSecond)) && rect_of(hSecond).left == 700; }));
    expect_rect(hSecond, 700, 80, 330, 250, "restored");

    // Close: the windows go, the entry leaves the list, the store keeps it.
    apply(QD_ACTION_CLOSE, 2);
    for (int i = 0; i < 100 && IsWindow(zt_hwnd(hSecond)); ++i) pump_messages(10);
    EXPECT_FALSE(IsWindow(zt_hwnd(hSecond)));
    EXPECT_EQ(2, SendMessageW(hwndProfiles, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(3u, store.uiN_loaded_prfls);
    // Removing the first entry leaves "Placeholder" acting on its own profile.
    apply(QD_ACTION_CLOSE, 0);
    uint32_t k = 99;
    ASSERT_EQ(QD_PL_OK, profile_list_store_index(&cb, 0, &k));
    EXPECT_EQ(1u, k);
    EXPECT_EQ(1u, rec.boxes.size());  // only the placeholder's "failed to load" box
}

// A shell whose collection cannot be made: the folder opens all the same,
// each attempt reports the failure, and the folder is told as not detected.
TEST_F(LoadProfileTest, AFolderIsNotDetectedWhenTheShellCannotListItsWindows)
{
    StandInShell shell(L"create");
    ASSERT_EQ(1, load({{0, L"C:\\users\\Public", 10, 10, 300, 200}}, u"Folder"));
    ASSERT_EQ(11u, rec.boxes.size());  // a report per attempt, then the notice
    EXPECT_NE(std::wstring::npos, rec.boxes[9].text.find(L"function : CoCreateInstance()\n\nret code hResult = -2147221164\n"));
    EXPECT_EQ(L"Not all Folders of Profile were detected after launching\n", rec.boxes[10].text);
    EXPECT_EQ(0u, loaded_profile_handle(&store, 0, 0));
    for (int i = 0; i < 500 && !FindWindowW(QD_STANDIN_FOLDER_CLASS, L"Public"); ++i) Sleep(10);
    EXPECT_NE(nullptr, FindWindowW(QD_STANDIN_FOLDER_CLASS, L"Public"));  // opened through the shell
}

TEST_F(LoadProfileTest, ApplyAsksForAnActionThenForAProfile)
{
    ASSERT_EQ(1, onButton_Apply_press(&cb, &names, &cbAction, &store));
    SendMessageW(hwndActions, CB_SETCURSEL, 0, 0);
    ASSERT_EQ(1, onButton_Apply_press(&cb, &names, &cbAction, &store));
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_EQ(L"There is no selected item in \"Action\" list", rec.boxes[0].text);
    EXPECT_EQ(L"There is no selected item in \"Profile\" list.\nSelect or Load at least one Profile.", rec.boxes[1].text);
    EXPECT_EQ(L"info", rec.boxes[1].caption);
}

TEST_F(LoadProfileTest, TheThirtyThirdListedProfileIsRefusedUntilOneCloses)
{
    for (int i = 0; i < 32; ++i) ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"P" + std::u16string(1, u'A' + i % 26)));
    rec.boxes.clear();
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"Extra"));
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_EQ(L"impossible to add string to ComboBox, max number exceeded", rec.boxes[1].text);
    EXPECT_EQ(L"warning", rec.boxes[1].caption);
    EXPECT_EQ(33u, store.uiN_loaded_prfls);  // stored, not listed
    apply(QD_ACTION_CLOSE, 5);
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"After"));
    EXPECT_EQ(32, SendMessageW(hwndProfiles, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"After", selected_profile());
    uint32_t k = 0;
    ASSERT_EQ(QD_PL_OK, profile_list_store_index(&cb, 31, &k));
    EXPECT_EQ(33u, k);
}

TEST_F(LoadProfileTest, ANameThatBeginsAnOlderOneSelectsTheNewEntry)
{
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"Work evening"));
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"Work"));
    EXPECT_EQ(1, SendMessageW(hwndProfiles, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"Work", selected_profile());
}

TEST_F(LoadProfileTest, MalformedFilesAreRefusedBeforeAnythingIsLaunched)
{
    const std::wstring exe = fixture_exe();
    std::vector<uint8_t> good = profile_bytes({{1, exe, 10, 10, 300, 200}}, u"Bad");
    struct Case {
        std::vector<uint8_t> bytes;
        int32_t iCode;
    };
    std::vector<uint8_t> truncated(good.begin() + 20, good.end());  // still ends in 00 07 0C
    std::vector<uint8_t> badMark = good;
    badMark.pop_back();
    badMark.push_back(0x0D);
    std::vector<uint8_t> noEntries = {0, 0, 0, 0, 'n', 0, 0x00, 0x07, 0x0C};
    std::vector<uint8_t> hugeCount = good;
    hugeCount[3] = 0x40;
    const Case cases[] = {{{}, -3}, {{0x00, 0x07, 0x0C}, -8}, {truncated, -8}, {badMark, -6}, {noEntries, -10}, {hugeCount, -8}};
    int i = 0;
    for (const Case& c : cases) {
        files.push_back(write_temp((L"qd_bad_" + std::to_wstring(i++) + L".txt").c_str(), c.bytes));
        rec.boxes.clear();
        EXPECT_EQ(c.iCode, onButton_LoadProfile_clicked(hwndMain, 1, files.back().c_str(), &store, &cb, &names)) << i;
        EXPECT_EQ(1u, rec.boxes.size()) << i;
    }
    // A path that has gone: refused, and no file is created for it.
    const std::wstring gone = temp_dir() + L"qd_gone_profile.txt";
    DeleteFileW(gone.c_str());
    EXPECT_EQ(-2, onButton_LoadProfile_clicked(hwndMain, 1, gone.c_str(), &store, &cb, &names));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(gone.c_str()));
    pump_messages(300);
    EXPECT_TRUE(fixture_windows().empty());
    EXPECT_EQ(0u, store.uiN_loaded_prfls);
}

// Every allocation and file operation of the Load command made to fail in
// turn: the command returns its code after its report, nothing is
// launched or stored, nothing stays allocated, and the next load works.
TEST_F(LoadProfileTest, EveryAllocationAndFilePointFailsCleanly)
{
    const std::vector<ProfileEntry> entries = {{1, fixture_exe(), 40, 50, 300, 200}};
    const long iLive = zt_LiveAllocations();
    struct Counter { int n = 0; int k = -1; } c;
    auto nth = [](void* pCtx, size_t) { Counter* p = static_cast<Counter*>(pCtx); return ++p->n == p->k; };
    zt_SetAllocFailHook(nth, &c);
    ASSERT_EQ(1, load({{1, L"C:\\nowhere\\gone.exe", 0, 0, 10, 10}}, u"Probe"));
    zt_SetAllocFailHook(nullptr, nullptr);
    const int iPoints = c.n;
    ASSERT_EQ(7, iPoints);  // the file and six working buffers
    const uint32_t uiStored = store.uiN_loaded_prfls;
    for (int k = 1; k <= iPoints; ++k) {
        rec.boxes.clear();
        Counter f;
        f.k = k;
        zt_SetAllocFailHook(nth, &f);
        EXPECT_EQ(k == 1 ? -7 : -9, load(entries, u"Fails")) << "allocation " << k;
        zt_SetAllocFailHook(nullptr, nullptr);
        EXPECT_EQ(1u, rec.boxes.size());
        EXPECT_EQ(iLive, zt_LiveAllocations()) << "allocation " << k;
        EXPECT_EQ(uiStored, store.uiN_loaded_prfls);
        std::printf("fault injection: Load Profile allocation %d of %d survived\n", k, iPoints);
    }
    struct FileFail { ZT_FileOp op; int iAt; int n; int32_t iCode; };
    FileFail fails[] = {{ZT_FILE_OPEN, 1, 0, -2}, {ZT_FILE_SIZE, 1, 0, -3}, {ZT_FILE_SEEK, 1, 0, -4},
                        {ZT_FILE_READ, 1, 0, -5}, {ZT_FILE_SEEK, 2, 0, -5}, {ZT_FILE_READ, 2, 0, -5}};
    for (FileFail& f : fails) {
        rec.boxes.clear();
        zt_SetFileFailHook([](void* pCtx, ZT_FileOp op) -> DWORD {
            FileFail* p = static_cast<FileFail*>(pCtx);
            return (op == p->op && ++p->n == p->iAt) ? ERROR_READ_FAULT : 0;
        }, &f);
        EXPECT_EQ(f.iCode, load(entries, u"Fails")) << "file operation " << f.op << " #" << f.iAt;
        zt_SetFileFailHook(nullptr, nullptr);
        EXPECT_EQ(1u, rec.boxes.size());
        EXPECT_EQ(iLive, zt_LiveAllocations());
        std::printf("fault injection: Load Profile file operation %d (call %d) survived\n", static_cast<int>(f.op), f.iAt);
    }
    pump_messages(200);
    EXPECT_TRUE(fixture_windows().empty());  // nothing was launched
    rec.boxes.clear();
    ASSERT_EQ(1, load(entries, u"Works"));
    EXPECT_EQ(uiStored + 1, store.uiN_loaded_prfls);
    EXPECT_EQ(iLive, zt_LiveAllocations());
}

// The process's kernel handles and GDI objects. GetProcessHandleCount and
// GetGuiResources answer 0 under Wine, so the handles are also counted in
// the system's handle table, and a GDI leak shows as the slot a new object
// takes (the table hands out the lowest free one).
struct ResourceProbe {
    DWORD dwHandles, dwGdi;
    ULONG uiOwnHandles;
    uintptr_t uiGdiSlot;
    static ULONG count_own_handles()
    {
        struct Entry { ULONG pid; BYTE type; BYTE flags; USHORT handle; PVOID object; ACCESS_MASK access; };
        struct Table { ULONG count; Entry entries[1]; };
        typedef LONG(NTAPI * Query)(ULONG, PVOID, ULONG, PULONG);
        Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
        std::vector<char> buf(1 << 22);
        ULONG uiLen = 0;
        if (!query || query(16 /* SystemHandleInformation */, buf.data(), static_cast<ULONG>(buf.size()), &uiLen) < 0) return 0;
        const Table* t = reinterpret_cast<const Table*>(buf.data());
        ULONG n = 0;
        for (ULONG i = 0; i < t->count; ++i) n += t->entries[i].pid == GetCurrentProcessId();
        return n;
    }
    static ResourceProbe take()
    {
        ResourceProbe r{};
        GetProcessHandleCount(GetCurrentProcess(), &r.dwHandles);
        r.dwGdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        r.uiOwnHandles = count_own_handles();
        HPEN pen = CreatePen(PS_SOLID, 1, 0);
        r.uiGdiSlot = reinterpret_cast<uintptr_t>(pen) & 0xFFFF;
        DeleteObject(pen);
        return r;
    }
};

// Loading a profile and closing its windows leaves the process holding no
// more handles and GDI objects than the platform itself keeps. Wine's
// WaitForInputIdle keeps one handle per started process, so three plain
// starts with that wait are the baseline a load may not exceed.
TEST_F(LoadProfileTest, LoadAndCloseLeaveNoHandlesBehind)
{
    const std::vector<ProfileEntry> entries = {{1, fixture_exe(), 40, 50, 300, 200}};
    ASSERT_EQ(1, load(entries, u"Warm-up"));  // first-use costs (DLLs, classes) are paid here
    apply(QD_ACTION_CLOSE, 0);
    close_fixture_windows();
    pump_messages(100);

    ResourceProbe r0 = ResourceProbe::take();
    for (int i = 0; i < 3; ++i) {
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessW(fixture_exe().c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        WaitForInputIdle(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        close_fixture_windows();
    }
    ResourceProbe r1 = ResourceProbe::take();
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(1, load(entries, u"Cycle"));
        apply(QD_ACTION_CLOSE, 0);
        close_fixture_windows();
    }
    pump_messages(100);
    ResourceProbe r2 = ResourceProbe::take();
    std::printf("three plain starts: handles %lu -> %lu, in the handle table %lu -> %lu\n"
                "three loads + closes: handles %lu -> %lu, in the handle table %lu -> %lu; GDI %lu -> %lu, next GDI slot %#llx -> %#llx\n",
                static_cast<unsigned long>(r0.dwHandles), static_cast<unsigned long>(r1.dwHandles),
                static_cast<unsigned long>(r0.uiOwnHandles), static_cast<unsigned long>(r1.uiOwnHandles),
                static_cast<unsigned long>(r1.dwHandles), static_cast<unsigned long>(r2.dwHandles),
                static_cast<unsigned long>(r1.uiOwnHandles), static_cast<unsigned long>(r2.uiOwnHandles),
                static_cast<unsigned long>(r1.dwGdi), static_cast<unsigned long>(r2.dwGdi),
                static_cast<unsigned long long>(r1.uiGdiSlot), static_cast<unsigned long long>(r2.uiGdiSlot));
    EXPECT_LE(r2.dwHandles - r1.dwHandles, r1.dwHandles - r0.dwHandles);
    ASSERT_GT(r0.uiOwnHandles, 0u);  // the table was read
    EXPECT_LE(r2.uiOwnHandles - r1.uiOwnHandles, r1.uiOwnHandles - r0.uiOwnHandles);
    EXPECT_LE(r2.dwGdi, r1.dwGdi);
    EXPECT_LE(r2.uiGdiSlot, r1.uiGdiSlot);
}

TEST(LoadedProfileStore, OperationsWithoutAStoreReportTheirOwnNameAndRefuse)
{
    BoxRecorder rec;
    EXPECT_EQ(-1, preInitOnce_onLoadProfile(nullptr));
    EXPECT_EQ(-1, finishWork_onLoadProfile(nullptr));
    EXPECT_EQ(-1, Restore_Move_Size_wnds_Profile(nullptr, 0));
    ASSERT_EQ(3u, rec.boxes.size());
    const wchar_t* const names[3] = {L"preInitOnce_onLoadProfile", L"finishWork_onLoadProfile",
                                     L"Restore_Move_Size_wnds_Profile"};
    const std::wstring zeros(sizeof(void*) * 2, L'0');
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(std::wstring::npos, rec.boxes[i].text.find(std::wstring(L"function:\n") + names[i] + L"\n")) << i;
        EXPECT_NE(std::wstring::npos, rec.boxes[i].text.find(L"p_LoadedProfiles_STR = " + zeros)) << i;
        EXPECT_EQ(L"error", rec.boxes[i].caption);
    }
}
