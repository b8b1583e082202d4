// The Load command, the window search and Apply against the real Win32 of
// Wine, with the fixture program as the profile's program and the stand-in
// shell's folder windows.
#include "load_profile_fixture.h"
#include "platform/zt_files.h"
#include "shell_standin.h"

namespace {

std::vector<HWND> fixture_windows() { return windows_of_class(kFixClass); }

// An instance of the fixture program the user had open before the load.
HWND start_older_instance()
{
    PROCESS_INFORMATION pi = start_fixture(L"--window \"caption=Older;class=QdFixLoad;x=30;y=40;w=250;h=180\"");
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    pump_until([] { return fixture_windows().size() == 1; });
    return fixture_windows().empty() ? nullptr : fixture_windows()[0];
}

}  // namespace

// Two entries of one program: each started instance's window, found
// minimised, restored at its own entry's geometry, and Apply acts on both;
// Restore brings back what the user moved.
TEST_F(LoadProfileTest, TwinsArePlacedAtTheirOwnGeometryAndApplyActsOnBoth)
{
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Loaded fixture;class=QdFixLoad;state=min");
    const std::u16string exe = u16(fixture_exe());
    // Shown (SW_SHOW) with the saved size and position.
    EXPECT_EQ("7 5 600 140 500 350", load_started_with({{1, exe, 100, 120, 400, 300}, {1, exe, 600, 140, 500, 350}}));
    EXPECT_TRUE(rec.boxes.empty());
    const uint32_t h0 = handle(0, 0), h1 = handle(0, 1);
    ASSERT_TRUE(h0 && h1 && h0 != h1);
    EXPECT_TRUE(placed_soon(zt_hwnd(h0), 100, 120, 400, 300) && placed_soon(zt_hwnd(h1), 600, 140, 500, 350));
    EXPECT_FALSE(IsIconic(zt_hwnd(h0)) || IsIconic(zt_hwnd(h1)));
    EXPECT_LE(iWaits, 3);  // found within the first attempts, not after a timeout

    apply(QD_ACTION_MINIMIZE, 0);
    EXPECT_TRUE(pump_until([&] { return IsIconic(zt_hwnd(h0)) && IsIconic(zt_hwnd(h1)); }));
    ShowWindow(zt_hwnd(h1), SW_RESTORE);
    MoveWindow(zt_hwnd(h1), 5, 5, 200, 150, TRUE);  // the user moved it
    apply(QD_ACTION_RESTORE, 0);
    EXPECT_TRUE(placed_soon(zt_hwnd(h0), 100, 120, 400, 300) && placed_soon(zt_hwnd(h1), 600, 140, 500, 350));
    apply(QD_ACTION_CLOSE, 0);
    EXPECT_TRUE(pump_until([] { return fixture_windows().empty(); }));
    EXPECT_EQ(0, listed(CB_GETCOUNT));
    EXPECT_EQ(1u, store.uiN_loaded_prfls);  // Close leaves the profile stored
}

// A program that only raises its running instance and ends: the user's
// window stands in for it after one pause, not after the attempts ran out.
TEST_F(LoadProfileTest, AProgramThatHandsOverToItsRunningInstanceGetsThatWindowAfterOnePause)
{
    HWND hwndOlder = start_older_instance();
    ASSERT_NE(nullptr, hwndOlder);
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"no windows");  // the fixture ends at once
    zt_SetWaitHooks(short_wait, [](void*, HANDLE hProcess, DWORD dwMs) { return WaitForSingleObject(hProcess, dwMs); },
                    &iWaits);
    ASSERT_EQ(1, load({{1, u16(fixture_exe()), 700, 80, 330, 250}}, u"Handed over"));
    EXPECT_TRUE(rec.boxes.empty());
    EXPECT_EQ(zt_hwnd32(hwndOlder), handle(0, 0));
    EXPECT_LE(iWaits, 1);
    EXPECT_TRUE(placed_soon(hwndOlder, 700, 80, 330, 250));
}

// Twins of a single-instance program: the second start hands over to the
// first and ends, the first opens the second window. With the user's own
// copy running, both starts hand over to it: its new windows are the
// profile's, its old one stays the user's, where it was, through Close.
TEST_F(LoadProfileTest, ASingleInstanceProgramsNewWindowsAreTheProfilesAndItsOldOneTheUsers)
{
    SetEnvironmentVariableW(L"QD_FIXTURE_SINGLE", L"1");
    const std::u16string exe = u16(fixture_exe());
    const std::vector<QdTestEntry> twins = {{1, exe, 100, 120, 400, 300}, {1, exe, 600, 140, 500, 350}};
    for (const uint32_t k : {0u, 1u}) {
        // The first load's copy ends with its last window; then the user's copy starts.
        ASSERT_TRUE(pump_until([] { return !FindWindowExW(HWND_MESSAGE, nullptr, L"QdFixtureInstance", nullptr); }));
        HWND hwndMine = k == 1 ? start_older_instance() : nullptr;
        iWaits = 0;
        ASSERT_EQ(1, load(twins, k ? u"Handed over" : u"Twins"));
        EXPECT_TRUE(rec.boxes.empty());
        EXPECT_LE(iWaits, 1);  // found at once, not after the attempts ran out
        const uint32_t h0 = handle(k, 0), h1 = handle(k, 1);
        ASSERT_TRUE(h0 && h1 && h0 != h1);
        EXPECT_TRUE(placed_soon(zt_hwnd(h0), 100, 120, 400, 300) && placed_soon(zt_hwnd(h1), 600, 140, 500, 350));
        apply(QD_ACTION_CLOSE, 0);
        EXPECT_TRUE(pump_until([&] { return !IsWindow(zt_hwnd(h0)) && !IsWindow(zt_hwnd(h1)); }));
        if (!hwndMine) continue;
        EXPECT_TRUE(fixture_handled_posted(hwndMine));  // no Close was posted to it
        EXPECT_TRUE(rect_is(window_rect(hwndMine), 30, 40, 250, 180));
    }
}

// A store that cannot take the profile refuses it before any folder is
// opened or program started, with the store's own report.
TEST_F(LoadProfileTest, AStoreThatWouldRefuseTheProfileStartsNothing)
{
    ASSERT_EQ(1, load({{1, kGone, 0, 0, 10, 10}}, u"Placeholder"));
    iLaunches = 0;
    const LoadedProfiles_STR kept = store;
    // bRead: the refusal needs the file's entries, so the file is read first.
    const struct { void (*pfnLimit)(LoadedProfiles_STR*); const wchar_t* ptcReport; bool bRead; } rows[] = {
        {[](LoadedProfiles_STR* p) { p->uiMax_num_loaded_prfls = 1; }, L"exceed amount of loaded Profiles, max = 1, already loaded = 1", false},
        {[](LoadedProfiles_STR* p) { p->uiSize_DynMem_hwnds_wnds_prfl = 11; }, L"storage arrays of hwnds of Profile windows", true},
        {[](LoadedProfiles_STR* p) { p->uiSize_DynMem_files = p->arr_size_FileProfile[0] + 40; }, L"storage files of Profile", false},
        {[](LoadedProfiles_STR* p) { p->pc_raw_FilesProfile = nullptr; }, L"fields of STRUCTURE", false},
    };
    size_t uiAllocated = 0;  // a file the store has no room for is refused before it is read
    zt_SetAllocFailHook([](void* pCtx, size_t uiSize) { *static_cast<size_t*>(pCtx) += uiSize; return false; }, &uiAllocated);
    for (const auto& row : rows) {
        store = kept;
        row.pfnLimit(&store);
        rec.boxes.clear();
        uiAllocated = 0;
        EXPECT_EQ(1, load({{0, u"C:\\users\\Public", 0, 0, 300, 200}, {1, u16(fixture_exe()), 10, 10, 300, 200}}, u"No"));
        EXPECT_EQ(0, iLaunches);
        EXPECT_TRUE(row.bRead || uiAllocated == 0) << row.ptcReport;
        EXPECT_TRUE(rec.any_text_contains(row.ptcReport));
        EXPECT_EQ(1u, store.uiN_loaded_prfls);
        EXPECT_EQ(1, listed(CB_GETCOUNT));
    }
    zt_SetAllocFailHook(nullptr, nullptr);
    store = kept;
}

// A program that stops answering freezes neither a Load nor Apply: a Load
// whose ten attempts all meet its window waits for it once, and Apply's
// requests wait in its queue.
TEST_F(LoadProfileTest, AHungProgramFreezesNeitherLoadNorApply)
{
    ASSERT_EQ(1, load({{1, u16(fixture_exe()), 100, 120, 400, 300}}, u"Hung"));
    const HWND h = zt_hwnd(handle(0, 0));
    ASSERT_NE(nullptr, h);
    ASSERT_TRUE(fixture_hang(h, 8000));
    {
        UnansweredWaits unanswered;
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Hidden fixture;class=QdFixLoad;state=hidden");
        ASSERT_EQ(1, load({{1, u16(fixture_exe()), 10, 10, 300, 200}}, u"Never shown"));
        EXPECT_EQ(9, iWaits);
        EXPECT_EQ(1, unanswered.n);
    }

    // Apply returns while the program still sleeps; its effect comes when it wakes.
    apply(QD_ACTION_MINIMIZE, 0);
    EXPECT_FALSE(IsIconic(h));
    EXPECT_TRUE(pump_until([h] { return IsIconic(h) != FALSE; }, 10000));
    ASSERT_TRUE(fixture_hang(h, 2000));
    apply(QD_ACTION_RESTORE, 0);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_TRUE(pump_until([h] { return !IsIconic(h) && window_rect(h).left == 100; }, 5000));
}

// What fails to start is told and not waited for; what never shows a
// window is waited for ten attempts; an entry without geometry is started
// and stays minimised, Restore passing over it.
TEST_F(LoadProfileTest, WhatIsNotStartedOrNotFoundIsToldAndWaitedForAsLittleAsNeeded)
{
    ASSERT_EQ(1, load({{1, kGone, 10, 10, 300, 200}}, u"Gone"));
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_TRUE(rec.boxes[0].caption == L"info" && rec.boxes[0].hwndOwner == hwndMain &&
                rec.boxes[0].uiFlags == static_cast<UINT>(MB_SETFOREGROUND | MB_OK));
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"Number of Programs failed to load = 1\nNumber of Programs in Profile = 1"));
    EXPECT_EQ(0, iWaits);

    // The started program shows no window while the user's own copy does:
    // not detected, and the user's window is neither placed nor stored.
    HWND hwndOlder = start_older_instance();
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Hidden fixture;class=QdFixLoad;state=hidden");
    ASSERT_EQ(1, load({{1, u16(fixture_exe()), 10, 10, 300, 200}}, u"Hidden"));
    EXPECT_EQ(9, iWaits);  // ten attempts, a pause between each two
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_EQ(L"Not all Programs of Profile were detected after launching\n", rec.boxes[1].text);
    EXPECT_EQ(0u, handle(1, 0));
    EXPECT_TRUE(fixture_handled_posted(hwndOlder) && rect_is(window_rect(hwndOlder), 30, 40, 250, 180));
    close_windows_of_class(kFixClass);

    // A program that ignores the start-up show command is minimised once found.
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Loaded fixture;class=QdFixLoad;state=shown");
    EXPECT_EQ("1 6 0 0 0 0", load_started_with({{1, u16(fixture_exe()), 0, 0, 0, 200}}));  // SW_MINIMIZE only
    const HWND h = zt_hwnd(handle(2, 0));
    ASSERT_NE(nullptr, h);
    EXPECT_TRUE(pump_until([h] { return IsIconic(h) != FALSE; }));
    apply(QD_ACTION_RESTORE, 2);
    EXPECT_TRUE(fixture_handled_posted(h) && IsIconic(h));

    rec.boxes.clear();  // a folders-only profile whose folder cannot be opened (saved without a path)
    iWaits = 0;
    ASSERT_EQ(1, load({{0, u"", 10, 10, 300, 200}}, u"Virtual folder"));
    ASSERT_EQ(1u, rec.boxes.size());  // told once, not waited for
    EXPECT_EQ(0, iWaits);
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"Not all Directories were loaded\n\nNumber of Directories failed to load = 1\nNumber of Directories in Profile = 1"));
}

// A shell whose collection cannot be made: the folder opens all the same,
// each attempt reports the failure, and the folder is told as not detected.
TEST_F(LoadProfileTest, AFolderIsNotDetectedWhenTheShellCannotListItsWindows)
{
    StandInShell shell(L"create");
    ASSERT_EQ(1, load({{0, u"C:\\users\\Public", 10, 10, 300, 200}}, u"Folder"));
    ASSERT_EQ(11u, rec.boxes.size());  // a report per attempt, then the notice
    EXPECT_NE(std::wstring::npos, rec.boxes[9].text.find(L"function : CoCreateInstance()\n\nret code hResult = -2147221164\n"));
    EXPECT_EQ(L"Not all Folders of Profile were detected after launching\n", rec.boxes[10].text);
    EXPECT_EQ(0u, handle(0, 0));
    EXPECT_EQ(1, iLaunches);
    EXPECT_TRUE(pump_until([] { return FindWindowW(QD_STANDIN_FOLDER_CLASS, L"Public") != nullptr; }));
}

// The Profile list through Apply's questions, a full list, Close in the
// middle and a name that begins an older one.
TEST_F(LoadProfileTest, TheProfileListKeepsEachEntryOnItsOwnProfile)
{
    ASSERT_EQ(1, onButton_Apply_press(&cb, &names, &cbAction, &store));
    SendMessageW(hwndActions, CB_SETCURSEL, 0, 0);
    ASSERT_EQ(1, onButton_Apply_press(&cb, &names, &cbAction, &store));
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_EQ(L"There is no selected item in \"Action\" list", rec.boxes[0].text);
    EXPECT_EQ(L"There is no selected item in \"Profile\" list.\nSelect or Load at least one Profile.", rec.boxes[1].text);

    for (int i = 0; i < 32; ++i) ASSERT_EQ(1, load({{1, kGone, 0, 0, 10, 10}}, u"P" + std::u16string(1, u'A' + i % 26)));
    rec.boxes.clear();
    ASSERT_EQ(1, load({{1, kGone, 0, 0, 10, 10}}, u"Extra"));
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_EQ(L"impossible to add string to ComboBox, max number exceeded", rec.boxes[1].text);
    EXPECT_EQ(L"warning", rec.boxes[1].caption);
    EXPECT_EQ(33u, store.uiN_loaded_prfls);  // stored, not listed
    apply(QD_ACTION_CLOSE, 5);
    ASSERT_EQ(1, load({{1, kGone, 0, 0, 10, 10}}, u"P"));  // begins every older name
    EXPECT_EQ(32, listed(CB_GETCOUNT));
    EXPECT_EQ(31, listed(CB_GETCURSEL));  // the new entry, not the first one it begins
}

// Malformed files are refused with their report before anything starts.
TEST_F(LoadProfileTest, MalformedFilesAreRefusedBeforeAnythingIsLaunched)
{
    const std::vector<uint8_t> good = qd_profile_bytes({{1, u16(fixture_exe()), 10, 10, 300, 200}}, u"Bad");
    std::vector<uint8_t> truncated(good.begin() + 20, good.end()), badMark(good.begin(), good.end() - 1), hugeCount = good;
    badMark.push_back(0x0D);
    hugeCount[3] = 0x40;
    const struct { std::vector<uint8_t> bytes; int32_t iCode; } rows[] = {{{}, -3}, {{0x00, 0x07, 0x0C}, -8}, {truncated, -8}, {badMark, -6},
                {{0, 0, 0, 0, 'n', 0, 0x00, 0x07, 0x0C}, -10}, {hugeCount, -8}};
    for (const auto& row : rows) {
        rec.boxes.clear();
        EXPECT_EQ(row.iCode, load_bytes(row.bytes));
        EXPECT_EQ(1u, rec.boxes.size()) << row.iCode;
    }
    // A path that has gone: refused, and no file is created for it.
    const std::wstring gone = temp_path(L"qd_gone_profile.txt");
    DeleteFileW(gone.c_str());
    EXPECT_EQ(-2, onButton_LoadProfile_clicked(hwndMain, 1, gone.c_str(), &store, &cb, &names, &settle));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(gone.c_str()));
    EXPECT_EQ(0, iLaunches);
    EXPECT_EQ(0u, store.uiN_loaded_prfls);
}

// Every allocation and file operation of the command made to fail in turn:
// its code after one report, nothing launched, stored or left allocated,
// and the next load works.
TEST_F(LoadProfileTest, EveryAllocationAndFilePointFailsCleanly)
{
    const std::vector<QdTestEntry> entries = {{1, u16(fixture_exe()), 40, 50, 300, 200}};
    const long iLive = zt_LiveAllocations();
    struct Nth { int n, k; ZT_FileOp op; } c = {0, -1, ZT_FILE_OPEN};
    zt_SetAllocFailHook([](void* pCtx, size_t) { Nth* p = static_cast<Nth*>(pCtx); return ++p->n == p->k; }, &c);
    // The k-th allocation fails, for every k until a load makes fewer.
    for (int k = 1;; ++k) {
        rec.boxes.clear();
        c = {0, k, ZT_FILE_OPEN};
        const int32_t iRet = load({{1, kGone, 0, 0, 10, 10}}, u"Fails");
        if (iRet == 1) break;
        EXPECT_EQ(k == 1 ? -7 : -9, iRet) << "allocation " << k;
        EXPECT_EQ(1u, rec.boxes.size());
        EXPECT_EQ(iLive, zt_LiveAllocations()) << "allocation " << k;
        EXPECT_EQ(0, iLaunches);
    }
    zt_SetAllocFailHook(nullptr, nullptr);
    iLaunches = 0;
    zt_SetFileFailHook([](void* pCtx, ZT_FileOp op) -> DWORD {
        Nth* p = static_cast<Nth*>(pCtx);
        return (op == p->op && ++p->n == p->k) ? ERROR_READ_FAULT : 0;
    }, &c);
    const Nth fails[] = {{0, 1, ZT_FILE_OPEN}, {0, 1, ZT_FILE_SIZE}, {0, 1, ZT_FILE_SEEK},
                         {0, 1, ZT_FILE_READ}, {0, 2, ZT_FILE_SEEK}, {0, 2, ZT_FILE_READ}};
    const int32_t codes[] = {-2, -3, -4, -5, -5, -5};
    for (int i = 0; i < 6; ++i) {
        rec.boxes.clear();
        c = fails[i];
        EXPECT_EQ(codes[i], load(entries, u"Fails")) << "file operation " << i;
        EXPECT_EQ(1u, rec.boxes.size());
        EXPECT_EQ(iLive, zt_LiveAllocations());
    }
    zt_SetFileFailHook(nullptr, nullptr);
    EXPECT_EQ(0, iLaunches);
    EXPECT_EQ(1u, store.uiN_loaded_prfls);
    ASSERT_EQ(1, load(entries, u"Works"));
    EXPECT_EQ(iLive, zt_LiveAllocations());
}

// Loads and closes leave no handles behind but the one Wine's
// WaitForInputIdle keeps per started process. The process's entries are
// counted in the system's handle table: Wine answers 0 to
// GetProcessHandleCount.
TEST_F(LoadProfileTest, LoadAndCloseLeaveNoHandlesBehind)
{
    auto own_handles = [] {
        typedef LONG(NTAPI * Query)(ULONG, PVOID, ULONG, PULONG);
        struct Entry { ULONG pid; BYTE type, flags; USHORT handle; PVOID object; ACCESS_MASK access; };
        const Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
        std::vector<char> buf(1 << 22);
        ULONG uiLen = 0, n = 0;
        if (query(16 /* SystemHandleInformation */, buf.data(), static_cast<ULONG>(buf.size()), &uiLen) < 0) return n;
        const Entry* e = reinterpret_cast<const Entry*>(buf.data() + sizeof(void*));
        for (ULONG i = 0; i < *reinterpret_cast<const ULONG*>(buf.data()); ++i) n += e[i].pid == GetCurrentProcessId();
        return n;
    };
    auto cycle = [&] {
        load({{1, u16(fixture_exe()), 40, 50, 300, 200}}, u"Cycle");
        apply(QD_ACTION_CLOSE, 0);
        close_windows_of_class(kFixClass);
        EXPECT_TRUE(pump_until([&] { return settle.loads.empty(); }));  // the watch of a closed profile ends
    };
    cycle();  // first-use costs are paid here
    const long n0 = static_cast<long>(own_handles());
    for (int i = 0; i < 3; ++i) cycle();
    ASSERT_GT(n0, 0);  // the table was read
    EXPECT_LE(static_cast<long>(own_handles()) - n0, 3);
}
