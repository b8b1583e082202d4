// The whole cycle on the real program, worked from outside the way a
// user's clicks arrive: Scan, the List of Windows table with its check
// boxes, Modify Cell from the popup menu, Move, Create Profile with the
// Name of Profile window and the Save dialog, Load Profile through the Open
// dialog and by a dropped file, and Apply with its three actions.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs.h"
#include "driver.h"
#include "driver_listview.h"
#include "profile_format.h"
#include "program_fixture.h"

namespace {

// Controls of the main window and of the List of Windows window.
enum { ID_SCAN = 1, ID_LOAD = 2, ID_PROFILES = 4, ID_ACTIONS = 5, ID_APPLY = 6 };
enum { ID_MOVE = 1, ID_CREATE_PROFILE = 2, ID_LIST = 4 };
enum { COL_NUM = 0, COL_NAME = 1, COL_X = 2, COL_Y = 3, COL_W = 4, COL_H = 5 };
enum { ACTION_MINIMIZE = 0, ACTION_RESTORE = 1, ACTION_CLOSE = 2 };

// What a program started by a load opens: the fixture reads its windows
// from the environment it inherits from the program, which inherits ours.
const wchar_t* const kLoadedWindows = L"caption=Cycle loaded;class=QdCycLoad";
const wchar_t* const kLoadedClass = L"QdCycLoad";

struct Geom {
    int x, y, w, h;
};

bool operator==(const Geom& a, const Geom& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

std::ostream& operator<<(std::ostream& os, const Geom& g)
{
    return os << "(" << g.x << ", " << g.y << ", " << g.w << " x " << g.h << ")";
}

Geom geom_of(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return Geom{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

RECT rect_of(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

Geom row_geom(HWND hwndLV, int iRow)
{
    return Geom{_wtoi(drv::lv_cell(hwndLV, iRow, COL_X).c_str()), _wtoi(drv::lv_cell(hwndLV, iRow, COL_Y).c_str()),
                _wtoi(drv::lv_cell(hwndLV, iRow, COL_W).c_str()), _wtoi(drv::lv_cell(hwndLV, iRow, COL_H).c_str())};
}

// One entry of a profile file as this test expects it.
struct Entry {
    uint8_t kind;  // 1 program, 0 folder
    Geom g;
    std::wstring path;
};

void put_u32(std::vector<uint8_t>* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void put_text(std::vector<uint8_t>* p, const std::wstring& s)
{
    for (wchar_t c : s) {
        p->push_back(static_cast<uint8_t>(c & 0xFF));
        p->push_back(static_cast<uint8_t>(c >> 8));
    }
}

// The bytes of a profile file, laid out here on their own so that they can
// be compared with what the program writes: count, kinds, x, y, w, h and
// path lengths, the terminated paths, the name, the end mark.
std::vector<uint8_t> profile_bytes(const std::vector<Entry>& entries, const std::wstring& name)
{
    std::vector<uint8_t> b;
    put_u32(&b, static_cast<uint32_t>(entries.size()));
    for (const Entry& e : entries) b.push_back(e.kind);
    for (const Entry& e : entries) put_u32(&b, static_cast<uint32_t>(e.g.x));
    for (const Entry& e : entries) put_u32(&b, static_cast<uint32_t>(e.g.y));
    for (const Entry& e : entries) put_u32(&b, static_cast<uint32_t>(e.g.w));
    for (const Entry& e : entries) put_u32(&b, static_cast<uint32_t>(e.g.h));
    for (const Entry& e : entries) put_u32(&b, static_cast<uint32_t>(e.path.size() * 2));
    for (const Entry& e : entries) {
        put_text(&b, e.path);
        b.push_back(0);
        b.push_back(0);
    }
    put_text(&b, name);
    b.push_back(0x00);
    b.push_back(0x07);
    b.push_back(0x0C);
    return b;
}

bool read_file(const std::wstring& path, std::vector<uint8_t>* pOut)
{
    pOut->clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    GetFileSizeEx(h, &size);
    pOut->resize(static_cast<size_t>(size.QuadPart));
    DWORD dwRead = 0;
    const bool bOk = pOut->empty() || (ReadFile(h, pOut->data(), static_cast<DWORD>(pOut->size()), &dwRead, nullptr) &&
                                       dwRead == pOut->size());
    CloseHandle(h);
    return bOk;
}

bool write_file(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD dwDone = 0;
    const bool bOk = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &dwDone, nullptr) && dwDone == bytes.size();
    CloseHandle(h);
    return bOk;
}

std::wstring temp_dir()
{
    wchar_t buf[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buf);
    return buf;
}

// A name no earlier run left behind.
std::wstring fresh_temp_path(const wchar_t* ptcStem, const wchar_t* ptcExt)
{
    static int s_iSerial = 0;
    wchar_t buf[64];
    swprintf(buf, 64, L"%ls_%lu_%lu_%d%ls", ptcStem, GetCurrentProcessId(), GetTickCount(), ++s_iSerial, ptcExt);
    return temp_dir() + buf;
}

std::wstring module_path_of(HWND hwnd)
{
    wchar_t buf[MAX_PATH * 2] = {};
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, drv::window_pid(hwnd));
    if (!h) return L"";
    GetModuleFileNameExW(h, nullptr, buf, MAX_PATH * 2);
    CloseHandle(h);
    return buf;
}

struct WindowsOfClass {
    const wchar_t* ptcClass;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_class(HWND hwnd, LPARAM lParam)
{
    WindowsOfClass* c = reinterpret_cast<WindowsOfClass*>(lParam);
    if (drv::class_name(hwnd) == c->ptcClass) c->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> windows_of_class(const wchar_t* ptcClass)
{
    WindowsOfClass c = {ptcClass, {}};
    EnumWindows(collect_class, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

// Closes the windows of a class and waits for their processes to end; a
// process that does not end is ended by its identifier.
void close_class(const wchar_t* ptcClass)
{
    for (HWND hwnd : windows_of_class(ptcClass)) {
        const DWORD dwPid = drv::window_pid(hwnd);
        HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, dwPid);
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        if (h) {
            if (WaitForSingleObject(h, 3000) != WAIT_OBJECT_0) TerminateProcess(h, 1);
            CloseHandle(h);
        }
    }
}

HWND visible_window(const wchar_t* ptcClass, DWORD dwPid) { return drv::wait_window(ptcClass, dwPid, 0); }

class CycleTest : public ProgramTest {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", kLoadedWindows);
        close_class(kLoadedClass);
        ProgramTest::SetUp();
    }

    void TearDown() override
    {
        // Any box still open was not expected by the test.
        for (HWND hwndDlg : drv::dialogs_of(proc.dwPid)) {
            ADD_FAILURE() << "left open: " << drv::describe_box(hwndDlg);
            drv::press(hwndDlg, IDCANCEL);
        }
        ProgramTest::TearDown();
        for (drv::Process& p : fixtures) {
            if (drv::wait_exit(p, 0) == STILL_ACTIVE) TerminateProcess(p.hProcess, 1);
            drv::close_handles(p);
        }
        close_class(kLoadedClass);
        for (const std::wstring& c : explorerCaptions)
            for (HWND hwnd : windows_of_class(L"ExplorerWClass"))
                if (drv::text(hwnd) == c) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        for (const std::wstring& f : tempFiles) DeleteFileW(f.c_str());
        for (const std::wstring& d : tempDirs) RemoveDirectoryW(d.c_str());
    }

    // Starts the fixture program with these window descriptions and waits
    // until its windows exist.
    void start_fixture(const std::vector<std::wstring>& windows)
    {
        wchar_t tcEvent[64];
        swprintf(tcEvent, 64, L"QdCycleReady_%lu_%lu", GetCurrentProcessId(), GetTickCount());
        HANDLE hReady = CreateEventW(nullptr, TRUE, FALSE, tcEvent);
        std::wstring args = std::wstring(L"--ready-event ") + tcEvent;
        for (const std::wstring& w : windows) args += L" --window \"" + w + L"\"";
        drv::Process p = drv::start(drv::beside_driver(L"qd_fixture.exe"), args);
        ASSERT_NE(nullptr, p.hProcess) << "the fixture program did not start";
        fixtures.push_back(p);
        HANDLE waits[2] = {hReady, p.hProcess};
        const DWORD dwRes = WaitForMultipleObjects(2, waits, FALSE, 10000);
        CloseHandle(hReady);
        ASSERT_EQ(WAIT_OBJECT_0, dwRes) << "the fixture's windows did not appear";
    }

    void click_main(int id)
    {
        PostMessageW(hwndMain, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwndMain, id)));
    }

    static void click(HWND hwndParent, int id)
    {
        PostMessageW(hwndParent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwndParent, id)));
    }

    // Waits for a condition; a box of the program that opens meanwhile
    // fails the test with its text and is dismissed. A box that is just
    // closing (one the test answered) is not counted.
    template <typename F>
    bool wait_for(F f, DWORD dwMs, const char* pcWhat)
    {
        HWND hwndBox = nullptr;
        const bool bDone = drv::wait_until(
            [&] {
                if (f()) return true;
                for (HWND h : drv::dialogs_of(proc.dwPid)) {
                    Sleep(150);
                    if (IsWindow(h) && IsWindowVisible(h)) hwndBox = h;
                }
                return hwndBox != nullptr;
            },
            dwMs);
        if (hwndBox && !f()) {
            ADD_FAILURE() << pcWhat << ": unexpected " << drv::describe_box(hwndBox);
            drv::press(hwndBox, IDOK);
            return false;
        }
        if (!bDone) ADD_FAILURE() << pcWhat << ": not reached in " << dwMs << " ms";
        return bDone;
    }

    // Clicks Scan and returns the new List of Windows window.
    HWND scan(HWND hwndPrevious = nullptr)
    {
        click_main(ID_SCAN);
        HWND hwndList = nullptr;
        wait_for(
            [&] {
                hwndList = visible_window(L"List of Windows", proc.dwPid);
                return hwndList && hwndList != hwndPrevious;
            },
            5000, "List of Windows after Scan");
        return hwndList && hwndList != hwndPrevious ? hwndList : nullptr;
    }

    // The Load Profile command through the Open dialog.
    void load_through_open_dialog(const std::wstring& path)
    {
        click_main(ID_LOAD);
        HWND hwndOpen = drv::wait_other_dialog(proc.dwPid, {}, 5000);
        ASSERT_NE(nullptr, hwndOpen) << "no Open dialog after Load Profile";
        EXPECT_EQ(hwndMain, GetWindow(hwndOpen, GW_OWNER));
        ASSERT_TRUE(drv::file_dialog_accept(hwndOpen, path)) << "the Open dialog's name box did not take the path";
        ASSERT_TRUE(drv::wait_until([&] { return !IsWindow(hwndOpen); }, 5000)) << "the Open dialog stayed open";
    }

    HWND profile_list() const { return GetDlgItem(hwndMain, ID_PROFILES); }

    // Chooses an action in the Action list and clicks Apply.
    void apply(int iAction)
    {
        drv::combo_choose(hwndMain, ID_ACTIONS, iAction);
        click_main(ID_APPLY);
    }

    // The windows of the loaded fixture programs, by the program file that owns each.
    HWND loaded_window_of(const std::wstring& exe)
    {
        for (HWND hwnd : windows_of_class(kLoadedClass))
            if (IsWindowVisible(hwnd) && lstrcmpiW(module_path_of(hwnd).c_str(), exe.c_str()) == 0) return hwnd;
        return nullptr;
    }

    std::wstring temp_file(const wchar_t* ptcStem)
    {
        tempFiles.push_back(fresh_temp_path(ptcStem, L".txt"));
        return tempFiles.back();
    }

    std::vector<drv::Process> fixtures;
    std::vector<std::wstring> tempFiles, tempDirs, explorerCaptions;
};

// The shortened caption: first 25 characters, "...", last 20.
const wchar_t* const kLongCaption = L"Cycle scan beta 0123456789 abcdefghijklmnopqrstuvwxyz END";
const wchar_t* const kLongCaptionCell = L"Cycle scan beta 012345678...klmnopqrstuvwxyz END";

}  // namespace

TEST_F(CycleTest, ScanListsTheWindowsAndTheTicksSelectTheRows)
{
    start_fixture({L"caption=Cycle scan alpha;class=QdCycScanA;x=100;y=120;w=400;h=300",
                   std::wstring(L"caption=") + kLongCaption + L";class=QdCycScanB;x=260;y=240;w=520;h=340",
                   L"caption=Cycle scan gamma;class=QdCycScanC;x=300;y=300;w=300;h=200;state=min"});
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(IsIconic(FindWindowW(L"QdCycScanC", nullptr)));

    HWND hwndList = scan();
    ASSERT_NE(nullptr, hwndList);
    EXPECT_EQ(L"List of windows", drv::text(hwndList));
    EXPECT_EQ(Geom({30, 30, 1440, 810}), geom_of(hwndList));
    HWND hwndLV = GetDlgItem(hwndList, ID_LIST);
    ASSERT_EQ(L"SysListView32", drv::class_name(hwndLV));
    const wchar_t* headings[] = {L"#", L"Window name", L"X", L"Y", L"Width", L"Height"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(headings[c], drv::lv_heading(hwndLV, c)) << "column " << c;
    EXPECT_EQ(L"Move", drv::text(GetDlgItem(hwndList, ID_MOVE)));
    EXPECT_EQ(L"Create Profile", drv::text(GetDlgItem(hwndList, ID_CREATE_PROFILE)));

    const int n = drv::lv_row_count(hwndLV);
    ASSERT_GE(n, 4);
    for (int i = 0; i < n; ++i) EXPECT_EQ(std::to_wstring(i + 1), drv::lv_cell(hwndLV, i, COL_NUM)) << "row " << i;

    const int rA = drv::lv_find_row(hwndLV, COL_NAME, L"Cycle scan alpha");
    const int rB = drv::lv_find_row(hwndLV, COL_NAME, kLongCaptionCell);
    const int rC = drv::lv_find_row(hwndLV, COL_NAME, L"Cycle scan gamma");
    const int rMain = drv::lv_find_row(hwndLV, COL_NAME, L"Quorvel-Dint");
    ASSERT_GE(rA, 0);
    ASSERT_GE(rB, 0) << "the long caption is not shown shortened";
    ASSERT_GE(rC, 0);
    ASSERT_GE(rMain, 0) << "the program's own main window is not listed";
    EXPECT_EQ(Geom({100, 120, 400, 300}), row_geom(hwndLV, rA));
    EXPECT_EQ(Geom({260, 240, 520, 340}), row_geom(hwndLV, rB));
    for (int c = COL_X; c <= COL_H; ++c) EXPECT_EQ(L"0", drv::lv_cell(hwndLV, rC, c)) << "minimised window, column " << c;
    EXPECT_EQ(geom_of(hwndMain), row_geom(hwndLV, rMain));
    EXPECT_EQ(-1, drv::lv_find_row(hwndLV, COL_NAME, L"List of windows")) << "the list shows itself";

    // A row is selected exactly when its box is ticked.
    EXPECT_FALSE(drv::lv_ticked(hwndLV, rA));
    EXPECT_FALSE(drv::lv_selected(hwndLV, rA));
    ASSERT_TRUE(drv::lv_set_ticked(hwndLV, rA, true));
    EXPECT_TRUE(drv::lv_ticked(hwndLV, rA));
    EXPECT_TRUE(drv::lv_selected(hwndLV, rA));
    EXPECT_FALSE(drv::lv_selected(hwndLV, rB));
    ASSERT_TRUE(drv::lv_set_ticked(hwndLV, rB, true));
    EXPECT_TRUE(drv::lv_selected(hwndLV, rA));
    EXPECT_TRUE(drv::lv_selected(hwndLV, rB));
    ASSERT_TRUE(drv::lv_set_ticked(hwndLV, rA, false));
    EXPECT_FALSE(drv::lv_ticked(hwndLV, rA));
    EXPECT_FALSE(drv::lv_selected(hwndLV, rA));
    EXPECT_TRUE(drv::lv_selected(hwndLV, rB));
    // Selecting an unticked row does not stick.
    ASSERT_TRUE(drv::lv_set_selected(hwndLV, rC, true));
    EXPECT_FALSE(drv::lv_selected(hwndLV, rC));
    EXPECT_TRUE(drv::lv_selected(hwndLV, rB));

    RedrawWindow(hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    EXPECT_FALSE(drv::screenshot(hwndList, L"cycle_list_of_windows.png").empty());

    // A second Scan replaces the open list by a new one.
    HWND hwndList2 = scan(hwndList);
    ASSERT_NE(nullptr, hwndList2);
    EXPECT_FALSE(IsWindow(hwndList)) << "the first list is still open";
    HWND hwndLV2 = GetDlgItem(hwndList2, ID_LIST);
    const int rA2 = drv::lv_find_row(hwndLV2, COL_NAME, L"Cycle scan alpha");
    ASSERT_GE(rA2, 0);
    EXPECT_FALSE(drv::lv_ticked(hwndLV2, rA2));
    EXPECT_EQ(Geom({100, 120, 400, 300}), row_geom(hwndLV2, rA2));

    // Closed, then scanned again.
    PostMessageW(hwndList2, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_for([&] { return !IsWindow(hwndList2); }, 3000, "closing the list"));
    HWND hwndList3 = scan();
    ASSERT_NE(nullptr, hwndList3);
    HWND hwndLV3 = GetDlgItem(hwndList3, ID_LIST);
    EXPECT_GE(drv::lv_find_row(hwndLV3, COL_NAME, kLongCaptionCell), 0);
    EXPECT_EQ(Geom({30, 30, 1440, 810}), geom_of(hwndList3));
}

TEST_F(CycleTest, ModifyCellMoveAndCreateProfileWriteTheTickedRows)
{
    const Geom gA = {100, 120, 400, 300}, gB = {640, 200, 360, 260}, gEdited = {120, 40, 800, 600};
    start_fixture({L"caption=Cycle edit alpha;class=QdCycEditA;x=100;y=120;w=400;h=300",
                   L"caption=Cycle edit beta;class=QdCycEditB;x=640;y=200;w=360;h=260",
                   L"caption=Cycle edit gamma;class=QdCycEditC;x=500;y=500;w=300;h=200;state=min"});
    ASSERT_FALSE(HasFatalFailure());
    HWND hwndA = FindWindowW(L"QdCycEditA", nullptr), hwndB = FindWindowW(L"QdCycEditB", nullptr),
         hwndC = FindWindowW(L"QdCycEditC", nullptr);

    HWND hwndList = scan();
    ASSERT_NE(nullptr, hwndList);
    HWND hwndLV = GetDlgItem(hwndList, ID_LIST);
    const int rA = drv::lv_find_row(hwndLV, COL_NAME, L"Cycle edit alpha");
    const int rB = drv::lv_find_row(hwndLV, COL_NAME, L"Cycle edit beta");
    const int rC = drv::lv_find_row(hwndLV, COL_NAME, L"Cycle edit gamma");
    ASSERT_TRUE(rA >= 0 && rB >= 0 && rC >= 0);
    ASSERT_EQ(gA, row_geom(hwndLV, rA));

    // Right mouse button on the Width cell: the popup menu, then Modify Cell.
    SetForegroundWindow(hwndList);
    drv::mouse_click(drv::center(drv::lv_cell_screen_rect(hwndLV, rA, COL_W)), true);
    HWND hwndMenu = nullptr;
    ASSERT_TRUE(wait_for([&] { return (hwndMenu = visible_window(L"#32768", proc.dwPid)) != nullptr; }, 3000,
                         "popup menu on a geometry cell"));
    const POINT ptItem = drv::center(rect_of(hwndMenu));
    drv::mouse_click(ptItem, false);
    HWND hwndMC = nullptr;
    ASSERT_TRUE(wait_for([&] { return (hwndMC = visible_window(L"Modify Cell Window", proc.dwPid)) != nullptr; }, 3000,
                         "Modify Cell window"));
    EXPECT_EQ(L"Modify Cell", drv::text(hwndMC));
    EXPECT_EQ(ptItem.x + 30, geom_of(hwndMC).x);
    EXPECT_EQ(ptItem.y + 30, geom_of(hwndMC).y);
    const wchar_t* shown[] = {L"100", L"120", L"400", L"300"};
    const wchar_t* typed[] = {L"120", L"40", L"800", L"600"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(shown[k], drv::text(GetDlgItem(hwndMC, k))) << "field " << k;
        SendMessageW(GetDlgItem(hwndMC, k), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed[k]));
    }
    click(hwndMC, 4);  // Ok
    ASSERT_TRUE(wait_for([&] { return !IsWindow(hwndMC); }, 3000, "Modify Cell closing on Ok"));
    EXPECT_EQ(gEdited, row_geom(hwndLV, rA));
    EXPECT_EQ(gB, row_geom(hwndLV, rB)) << "another row changed";

    // Right mouse button on the name: no menu.
    drv::mouse_click(drv::center(drv::lv_cell_screen_rect(hwndLV, rA, COL_NAME)), true);
    Sleep(500);
    HWND hwndNoMenu = visible_window(L"#32768", proc.dwPid);
    EXPECT_EQ(nullptr, hwndNoMenu) << "a menu opened on the Window name cell";
    if (hwndNoMenu) drv::mouse_click(POINT{1700, 1000}, false);

    // The user moved B since the scan; Move puts the ticked windows at their cells.
    SetWindowPos(hwndB, nullptr, 50, 600, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(Geom({50, 600, 200, 150}), geom_of(hwndB));
    for (int r : {rA, rB, rC}) ASSERT_TRUE(drv::lv_set_ticked(hwndLV, r, true));
    click(hwndList, ID_MOVE);
    EXPECT_TRUE(wait_for([&] { return geom_of(hwndA) == gEdited && geom_of(hwndB) == gB; }, 3000, "Move"));
    EXPECT_EQ(gEdited, geom_of(hwndA));
    EXPECT_EQ(gB, geom_of(hwndB));
    EXPECT_TRUE(IsIconic(hwndC)) << "a row without geometry was moved";

    // Create Profile: the name, then the Save dialog.
    const std::wstring path = temp_file(L"qd_cycle_saved");
    click(hwndList, ID_CREATE_PROFILE);
    HWND hwndName = nullptr;
    ASSERT_TRUE(wait_for([&] { return (hwndName = visible_window(L"Name of Profile Window", proc.dwPid)) != nullptr; },
                         3000, "Name of Profile window"));
    EXPECT_EQ(L"Name of Profile", drv::text(hwndName));
    EXPECT_EQ(hwndList, GetWindow(hwndName, GW_OWNER));
    const std::wstring name = L"Cycle edit profile";
    SendMessageW(GetDlgItem(hwndName, 3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ASSERT_EQ(name, drv::text(GetDlgItem(hwndName, 3)));
    click(hwndName, 1);
    HWND hwndSave = drv::wait_other_dialog(proc.dwPid, {}, 5000);
    ASSERT_NE(nullptr, hwndSave) << "no Save dialog";
    EXPECT_EQ(L"Save Profile", drv::text(hwndSave));
    EXPECT_EQ(hwndList, GetWindow(hwndSave, GW_OWNER));
    EXPECT_EQ(L"Profile_01", drv::file_dialog_name(hwndSave));
    EXPECT_FALSE(IsWindow(hwndName)) << "the Name of Profile window stays open under the Save dialog";
    ASSERT_TRUE(drv::file_dialog_accept(hwndSave, path));
    ASSERT_TRUE(wait_for([&] { return !IsWindow(hwndSave); }, 5000, "Save dialog closing"));
    DWORD_PTR dwRes = 0;
    SendMessageTimeoutW(hwndList, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &dwRes);  // the save is over
    EXPECT_TRUE(drv::dialogs_of(proc.dwPid).empty());

    std::vector<uint8_t> file;
    ASSERT_TRUE(read_file(path, &file)) << "no profile file was written";
    STR_ProfileView view{};
    ASSERT_EQ(QD_PRF_OK, profile_open(file.data(), file.size(), &view));
    EXPECT_EQ(3u, view.N_wnds);
    qd_char tcName[300] = {};
    profile_copy_name(&view, tcName, 300);
    EXPECT_EQ(name, std::wstring(reinterpret_cast<const wchar_t*>(tcName)));

    // Rows in list order, each with the fixture's program file and the
    // geometry of its cells; the minimised one with zeros.
    const std::wstring exe = drv::beside_driver(L"qd_fixture.exe");
    std::vector<std::pair<int, Entry>> rows = {{rA, {1, gEdited, exe}}, {rB, {1, gB, exe}}, {rC, {1, {0, 0, 0, 0}, exe}}};
    std::sort(rows.begin(), rows.end(), [](const std::pair<int, Entry>& a, const std::pair<int, Entry>& b) { return a.first < b.first; });
    std::vector<Entry> expected;
    for (const auto& r : rows) expected.push_back(r.second);
    for (uint32_t i = 0; i < view.N_wnds && i < 3; ++i) {
        STR_ProfileEntry e{};
        ASSERT_EQ(QD_PRF_OK, profile_entry_at(&view, i, &e));
        qd_char tcPath[600] = {};
        profile_copy_path(&e, tcPath, 600);
        EXPECT_EQ(expected[i].path, std::wstring(reinterpret_cast<const wchar_t*>(tcPath))) << "entry " << i;
        EXPECT_EQ(expected[i].g, (Geom{e.i_x, e.i_y, e.i_w, e.i_h})) << "entry " << i;
        EXPECT_EQ(1, e.uc_kind) << "entry " << i;
    }
    EXPECT_TRUE(profile_bytes(expected, name) == file) << "the file's bytes differ from the expected profile";
}

TEST_F(CycleTest, SavingOverAnExistingFileAsksThenRefusesAndKeepsTheFile)
{
    start_fixture({L"caption=Cycle over alpha;class=QdCycOverA;x=150;y=150;w=300;h=200"});
    ASSERT_FALSE(HasFatalFailure());
    const std::wstring path = temp_file(L"qd_cycle_existing");
    const std::vector<uint8_t> before = {'k', 'e', 'e', 'p', 0x00, 0x07, 0x0C};
    ASSERT_TRUE(write_file(path, before));

    HWND hwndList = scan();
    ASSERT_NE(nullptr, hwndList);
    HWND hwndLV = GetDlgItem(hwndList, ID_LIST);
    const int rA = drv::lv_find_row(hwndLV, COL_NAME, L"Cycle over alpha");
    ASSERT_GE(rA, 0);
    ASSERT_TRUE(drv::lv_set_ticked(hwndLV, rA, true));
    click(hwndList, ID_CREATE_PROFILE);
    HWND hwndName = nullptr;
    ASSERT_TRUE(wait_for([&] { return (hwndName = visible_window(L"Name of Profile Window", proc.dwPid)) != nullptr; },
                         3000, "Name of Profile window"));
    SendMessageW(GetDlgItem(hwndName, 3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Over"));
    click(hwndName, 1);
    HWND hwndSave = drv::wait_other_dialog(proc.dwPid, {}, 5000);
    ASSERT_NE(nullptr, hwndSave) << "no Save dialog";
    ASSERT_TRUE(drv::file_dialog_accept(hwndSave, path));

    // The dialog's own question, answered with Yes.
    HWND hwndAsk = drv::wait_other_dialog(proc.dwPid, {hwndSave}, 5000);
    ASSERT_NE(nullptr, hwndAsk) << "no overwrite prompt";
    EXPECT_EQ(hwndSave, GetWindow(hwndAsk, GW_OWNER));
    std::printf("overwrite prompt: %ls\n", drv::describe_box(hwndAsk).c_str());
    drv::press(hwndAsk, IDYES);

    // Then the program's refusal.
    HWND hwndExists = nullptr;
    ASSERT_TRUE(drv::wait_until(
        [&] {
            for (HWND h : drv::dialogs_of(proc.dwPid))
                if (h != hwndSave && h != hwndAsk) hwndExists = h;
            return hwndExists != nullptr;
        },
        5000))
        << "no box after the overwrite was confirmed";
    EXPECT_EQ(L"information", drv::text(hwndExists));
    EXPECT_EQ(L"File already exists", drv::dialog_text(hwndExists));
    EXPECT_EQ(nullptr, GetWindow(hwndExists, GW_OWNER));
    drv::press(hwndExists, IDOK);
    EXPECT_TRUE(drv::wait_until([&] { return drv::dialogs_of(proc.dwPid).empty(); }, 3000));

    std::vector<uint8_t> after;
    ASSERT_TRUE(read_file(path, &after));
    EXPECT_TRUE(before == after) << "the existing file was changed (" << after.size() << " bytes now)";
}

TEST_F(CycleTest, LoadStartsTheProgramsAndApplyMinimizesRestoresAndCloses)
{
    // Two program entries: the fixture and a copy of it under another name,
    // so that each entry has a program file and a window of its own.
    const std::wstring exe1 = drv::beside_driver(L"qd_fixture.exe");
    const std::wstring exe2 = fresh_temp_path(L"qd_cycle_fixture_copy", L".exe");
    ASSERT_TRUE(CopyFileW(exe1.c_str(), exe2.c_str(), FALSE));
    tempFiles.push_back(exe2);
    const Geom g1 = {140, 90, 640, 420}, g2 = {820, 150, 500, 380};
    const std::wstring name = L"Cycle load";
    const std::wstring path = temp_file(L"qd_cycle_load");
    ASSERT_TRUE(write_file(path, profile_bytes({{1, g1, exe1}, {1, g2, exe2}}, name)));

    EXPECT_EQ(3, drv::combo_count(GetDlgItem(hwndMain, ID_ACTIONS)));
    EXPECT_EQ(L"Minimize", drv::combo_text(GetDlgItem(hwndMain, ID_ACTIONS), ACTION_MINIMIZE));
    EXPECT_EQ(L"Restore", drv::combo_text(GetDlgItem(hwndMain, ID_ACTIONS), ACTION_RESTORE));
    EXPECT_EQ(L"Close", drv::combo_text(GetDlgItem(hwndMain, ID_ACTIONS), ACTION_CLOSE));
    ASSERT_EQ(0, drv::combo_count(profile_list()));

    load_through_open_dialog(path);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(wait_for([&] { return drv::combo_count(profile_list()) == 1; }, 20000, "profile listed after loading"));
    EXPECT_EQ(name, drv::combo_text(profile_list(), 0));
    EXPECT_EQ(0, SendMessageW(profile_list(), CB_GETCURSEL, 0, 0));
    HWND hwnd1 = loaded_window_of(exe1), hwnd2 = loaded_window_of(exe2);
    ASSERT_NE(nullptr, hwnd1) << "the first program's window is not there";
    ASSERT_NE(nullptr, hwnd2) << "the second program's window is not there";
    EXPECT_TRUE(wait_for([&] { return geom_of(hwnd1) == g1 && geom_of(hwnd2) == g2; }, 2000, "placing"));
    EXPECT_EQ(g1, geom_of(hwnd1));
    EXPECT_EQ(g2, geom_of(hwnd2));

    RedrawWindow(hwndMain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetWindowPos(hwndMain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Sleep(300);
    EXPECT_FALSE(drv::screenshot(hwndMain, L"cycle_main_window_loaded.png").empty());

    apply(ACTION_MINIMIZE);
    EXPECT_TRUE(wait_for([&] { return IsIconic(hwnd1) && IsIconic(hwnd2); }, 3000, "Minimize"));

    // The user brings one back and moves it; Restore puts both at their place.
    ShowWindow(hwnd1, SW_RESTORE);
    SetWindowPos(hwnd1, nullptr, 300, 500, 250, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(Geom({300, 500, 250, 200}), geom_of(hwnd1));
    apply(ACTION_RESTORE);
    EXPECT_TRUE(wait_for([&] { return !IsIconic(hwnd1) && !IsIconic(hwnd2) && geom_of(hwnd1) == g1 && geom_of(hwnd2) == g2; },
                         3000, "Restore"));
    EXPECT_EQ(g1, geom_of(hwnd1));
    EXPECT_EQ(g2, geom_of(hwnd2));

    apply(ACTION_CLOSE);
    EXPECT_TRUE(wait_for([&] { return !IsWindow(hwnd1) && !IsWindow(hwnd2); }, 5000, "Close"));
    EXPECT_EQ(0, drv::combo_count(profile_list())) << "the closed profile is still listed";

    // The same file dropped on the main window loads it again.
    std::unique_ptr<drv::RemoteBlock> drop = drv::post_drop(hwndMain, path);
    ASSERT_NE(nullptr, drop);
    ASSERT_TRUE(wait_for([&] { return drv::combo_count(profile_list()) == 1; }, 20000, "profile listed after the drop"));
    EXPECT_EQ(name, drv::combo_text(profile_list(), 0));
    HWND hwnd1b = loaded_window_of(exe1), hwnd2b = loaded_window_of(exe2);
    ASSERT_NE(nullptr, hwnd1b);
    ASSERT_NE(nullptr, hwnd2b);
    EXPECT_TRUE(wait_for([&] { return geom_of(hwnd1b) == g1 && geom_of(hwnd2b) == g2; }, 2000, "placing after the drop"));
    EXPECT_EQ(g1, geom_of(hwnd1b));
    EXPECT_EQ(g2, geom_of(hwnd2b));
}

TEST_F(CycleTest, ProfileWithAFolderSaysTheFolderWasNotDetected)
{
    const std::wstring leaf = fresh_temp_path(L"qd_cycle_folder", L"").substr(temp_dir().size());
    const std::wstring folder = temp_dir() + leaf;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    tempDirs.push_back(folder);
    explorerCaptions.push_back(leaf);
    const std::wstring exe = drv::beside_driver(L"qd_fixture.exe");
    const Geom gProgram = {700, 300, 400, 300};
    const std::wstring name = L"Cycle folder";
    const std::wstring path = temp_file(L"qd_cycle_with_folder");
    ASSERT_TRUE(write_file(path, profile_bytes({{0, {200, 150, 600, 400}, folder}, {1, gProgram, exe}}, name)));

    std::unique_ptr<drv::RemoteBlock> drop = drv::post_drop(hwndMain, path);
    ASSERT_NE(nullptr, drop);
    HWND hwndBox = drv::wait_other_dialog(proc.dwPid, {}, 20000);
    ASSERT_NE(nullptr, hwndBox) << "no box about the folder";
    // After ten blocked attempts the program counts as hung until the box's
    // loop first asks for a message, and the text query gives up until then.
    EXPECT_TRUE(drv::wait_until([&] { return drv::text(hwndBox) == L"info"; }, 3000)) << drv::describe_box(hwndBox);
    EXPECT_EQ(L"Not all Folders of Profile were detected after launching\n", drv::dialog_text(hwndBox));
    EXPECT_EQ(hwndMain, GetWindow(hwndBox, GW_OWNER));
    drv::press(hwndBox, IDOK);
    ASSERT_TRUE(wait_for([&] { return drv::combo_count(profile_list()) == 1; }, 5000, "profile listed"));
    EXPECT_EQ(name, drv::combo_text(profile_list(), 0));

    // The folder was opened and the program placed.
    bool bFolderOpen = false;
    for (HWND hwnd : windows_of_class(L"ExplorerWClass")) bFolderOpen |= drv::text(hwnd) == leaf;
    EXPECT_TRUE(bFolderOpen) << "no Explorer window shows the folder";
    HWND hwndPrg = loaded_window_of(exe);
    ASSERT_NE(nullptr, hwndPrg);
    EXPECT_EQ(gProgram, geom_of(hwndPrg));

    RedrawWindow(hwndMain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetWindowPos(hwndMain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Sleep(300);
    EXPECT_FALSE(drv::screenshot(hwndMain, L"cycle_main_window_folder_profile.png").empty());
}
