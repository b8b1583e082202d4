#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "box_recorder.h"
#include "funcs_layout_windows/fonts.h"
#include "main_window_fixture.h"
#include "platform/zt_win.h"
#include "resource_ids.h"
#include "scan_test_support.h"
#include "wnd_ScanListView/scan_list_internal.h"

namespace {

struct Popup {
    int iShown = 0;
    HMENU hMenu = nullptr;
    POINT pt = {};
    HWND hwndOwner = nullptr;
};

BOOL record_popup(void* pCtx, HMENU hMenu, UINT, int x, int y, HWND hwndOwner)
{
    Popup* p = static_cast<Popup*>(pCtx);
    ++p->iShown;
    p->hMenu = hMenu;
    p->pt = {x, y};
    p->hwndOwner = hwndOwner;
    return TRUE;
}

// The List of Windows window on a store of three entries: a normal window,
// one with a long caption, and a minimised one.
class ScanListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        zt_SetPopupHook(record_popup, &popup);
        t.allocate_entries(3, 40);
        const std::u16string path = u"C:\\p\\a.exe";
        const struct {
            uint32_t h;
            const char16_t* cap;
            RECT rc;
            bool iconic;
        } rows[] = {{0x20010, u"First window", {10, 20, 410, 320}, false},
                    {0x20020, u"A caption that is far too long to be shown whole, really", {-8, -8, 1928, 1048}, false},
                    {0x20030, u"Minimised", {-32000, -32000, -31840, -31970}, true}};
        for (const auto& r : rows) {
            STR_ScanEntryIn in = {r.h, r.rc.left, r.rc.top, r.rc.right, r.rc.bottom, r.iconic, r.cap,
                                  static_cast<uint32_t>(std::char_traits<char16_t>::length(r.cap)), true,
                                  path.c_str(), static_cast<uint32_t>(path.size())};
            ASSERT_EQ(1, scan_store_write_entry(&t.s, &in));
        }
        STR_ScanListView_Create create = {&t.s, &hwnd};
        hwnd = CreateWindowExW(0, L"List of Windows", L"List of windows", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 1440,
                               810, nullptr, nullptr, GetModuleHandleW(nullptr), &create);
        ASSERT_NE(nullptr, hwnd);
        lv = GetDlgItem(hwnd, IDC_SCANLIST_LISTVIEW);
        ASSERT_NE(nullptr, lv);
        pump_messages();
    }
    void TearDown() override
    {
        if (hwnd) DestroyWindow(hwnd);
        pump_messages();
        zt_SetPopupHook(nullptr, nullptr);
    }
    std::wstring cell(int row, int col)
    {
        wchar_t buf[64] = {};
        LVITEMW it = {};
        it.iSubItem = col;
        it.pszText = buf;
        it.cchTextMax = 64;
        SendMessageW(lv, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
        return buf;
    }
    void set_tick(int row, bool bTicked)
    {
        LVITEMW it = {};
        it.stateMask = LVIS_STATEIMAGEMASK;
        it.state = INDEXTOSTATEIMAGEMASK(bTicked ? 2 : 1);
        SendMessageW(lv, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&it));
    }
    bool selected(int row) { return SendMessageW(lv, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED; }
    // A real mouse click from the input queue at a point of the list view.
    void mouse_click(POINT ptClient, bool bRight)
    {
        SetForegroundWindow(hwnd);
        ClientToScreen(lv, &ptClient);
        SetCursorPos(ptClient.x, ptClient.y);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
        ASSERT_EQ(2u, SendInput(2, in, sizeof(INPUT)));
        pump_messages(150);
    }
    POINT cell_centre(int row, int col)
    {
        RECT rc = {};
        rc.top = col;
        rc.left = LVIR_BOUNDS;
        SendMessageW(lv, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
        // Column 0's rectangle is the whole row: aim at its own text.
        return {col == 0 ? rc.left + 40 : (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    TestStore t;
    HWND hwnd = nullptr;
    HWND lv = nullptr;
    Popup popup;
    BoxRecorder rec;
};

}  // namespace

TEST_F(ScanListTest, RowsShowNumberCaptionAndGeometryInStoreOrder)
{
    ASSERT_EQ(3, SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0));
    const wchar_t* const expect[4][6] = {{L"#", L"Window name", L"X", L"Y", L"Width", L"Height"},
                                         {L"1", L"First window", L"10", L"20", L"400", L"300"},
                                         {L"2", L"A caption that is far too... shown whole, really", L"-8", L"-8", L"1936", L"1056"},
                                         {L"3", L"Minimised", L"0", L"0", L"0", L"0"}};
    for (int j = 0; j < 6; ++j) {
        wchar_t buf[32] = {};
        LVCOLUMNW c = {};
        c.mask = LVCF_TEXT | LVCF_FMT;
        c.pszText = buf;
        c.cchTextMax = 32;
        ASSERT_TRUE(SendMessageW(lv, LVM_GETCOLUMNW, j, reinterpret_cast<LPARAM>(&c)));
        EXPECT_STREQ(expect[0][j], buf);
        EXPECT_EQ(LVCFMT_LEFT, c.fmt & LVCFMT_JUSTIFYMASK);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(expect[i + 1][j], cell(i, j)) << i << "," << j;
    }
    const DWORD ex = static_cast<DWORD>(SendMessageW(lv, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER),
              ex & ~static_cast<DWORD>(LVS_EX_FULLROWSELECT));
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(ScanListTest, ButtonsStayFixedWhileListAndColumnsFollowResizing)
{
    for (int id : {IDC_SCANLIST_BTN_MOVE, IDC_SCANLIST_BTN_CREATEPROFILE}) {
        RECT rc = child_rect(hwnd, GetDlgItem(hwnd, id));
        EXPECT_TRUE(rc.left == (id == 1 ? 5 : 182) && rc.top == 5 && rc.right - rc.left == 172 && rc.bottom - rc.top == 32) << id;
    }
    HFONT f = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd, 2), WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    ASSERT_TRUE(f && GetObjectW(f, sizeof(lf), &lf));
    HDC hdc = GetDC(nullptr);
    EXPECT_EQ(fit_button_font_height(hdc, L"Create Profile", 172, 32), lf.lfHeight);
    ReleaseDC(nullptr, hdc);

    SendMessageW(lv, LVM_SETCOLUMNWIDTH, 1, 33);  // a width set by hand goes at the next resize
    SetWindowPos(hwnd, nullptr, 0, 0, 1200, 700, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(hwnd, SW_MINIMIZE);
    ShowWindow(hwnd, SW_RESTORE);
    pump_messages();
    RECT client;
    GetClientRect(hwnd, &client);
    RECT rl = child_rect(hwnd, lv);
    EXPECT_EQ(5, rl.left);
    EXPECT_EQ(42, rl.top);
    EXPECT_EQ(client.right - 10, rl.right - rl.left);
    EXPECT_EQ(client.bottom - 32 - 15, rl.bottom - rl.top);
    for (int j = 0; j < 6; ++j)
        EXPECT_EQ(qd_trunc_mul(client.right, j == 1 ? 0.56f : 0.088f), SendMessageW(lv, LVM_GETCOLUMNWIDTH, j, 0)) << j;
    EXPECT_EQ(182, child_rect(hwnd, GetDlgItem(hwnd, 2)).left);
}

// Real clicks: a click on an unticked row leaves it unselected, a click on
// its box ticks and selects it; the popup opens only on geometry cells.
TEST_F(ScanListTest, RowsAreSelectedExactlyWhenTickedAndTheMenuOpensOnlyOnGeometryCells)
{
    STR_ScanListView* st = ScanListView_state(hwnd);
    ASSERT_NE(nullptr, st);
    mouse_click(cell_centre(0, 1), false);
    EXPECT_TRUE(st->iHitRow == 0 && st->iHitColumn == 1);
    EXPECT_FALSE(selected(0));
    RECT icon = {};
    icon.left = LVIR_ICON;
    SendMessageW(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
    mouse_click({icon.left - 8, (icon.top + icon.bottom) / 2}, false);  // the box precedes the icon space
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(2), SendMessageW(lv, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK));
    EXPECT_TRUE(selected(0));
    EXPECT_TRUE(SendMessageW(lv, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    set_tick(1, true);
    set_tick(0, false);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));

    for (int col = 0; col < 6; ++col) {
        const int before = popup.iShown;
        mouse_click(cell_centre(2, col), true);
        EXPECT_EQ(col >= 2 ? before + 1 : before, popup.iShown) << col;
        EXPECT_TRUE(st->iHitRow == 2 && st->iHitColumn == col) << col;
    }
    POINT cur;
    GetCursorPos(&cur);
    EXPECT_TRUE(popup.pt.x == cur.x && popup.pt.y == cur.y && popup.hwndOwner == hwnd);
    wchar_t item[32] = {};
    GetMenuStringW(popup.hMenu, IDM_MODIFY_CELL, item, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Modify Cell", item);
    const int before = popup.iShown;
    mouse_click({300, 400}, true);  // below the last row
    EXPECT_EQ(before, popup.iShown);
    EXPECT_EQ(-1, st->iHitRow);

    // Width cell of row 3, then the menu's command; a later plain click
    // moves the hit cell but not the command's cell.
    mouse_click(cell_centre(2, 4), true);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_MODIFY_CELL, 0), 0);
    mouse_click(cell_centre(1, 1), false);
    EXPECT_TRUE(st->cellModify.i_row == 2 && st->cellModify.i_column == 4);
    EXPECT_EQ(zt_hwnd32(lv), st->cellModify.ui_hwnd_LV);
    EXPECT_TRUE(st->iHitRow == 1 && st->iHitColumn == 1);
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(ScanListTest, ButtonsRouteToTheirCommandsAndClosingReleasesTheStore)
{
    SendMessageW(GetDlgItem(hwnd, IDC_SCANLIST_BTN_MOVE), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(hwnd, IDC_SCANLIST_BTN_CREATEPROFILE), BM_CLICK, 0, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_SCANLIST_BTN_MOVE, 1), 0);  // not a click
    // Nothing is ticked: each command says so in its own words.
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_TRUE(rec.boxes[0].caption == L"info" && rec.boxes[0].hwndOwner == nullptr);
    EXPECT_EQ(0u, rec.boxes[0].text.find(L"There are no selected items.\nSelect any item"));
    EXPECT_TRUE(rec.boxes[1].caption == L"info" && rec.boxes[1].hwndOwner == hwnd);
    EXPECT_EQ(0u, rec.boxes[1].text.find(L"There are no selected items.\nTo create profile"));

    const void* taken[] = {t.s.arr1D_ui_LenPath, t.s.pcTmpBuf_Prg_Folder_Path, t.s.pcDynMem_GeomText};
    DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, hwnd);  // the creator's variable is cleared
    for (const void* p : taken) EXPECT_TRUE(is_released(p));
    EXPECT_EQ(nullptr, t.s.pcDynMem_WinHndls);
}

// A Name of Profile window left open over a cleared write record would
// save nothing: a second Create Profile closes it.
TEST_F(ScanListTest, ClearingTheWriteRecordClosesTheNameOfProfileWindow)
{
    ListView_SetCheckState(lv, 0, TRUE);
    SendMessageW(GetDlgItem(hwnd, IDC_SCANLIST_BTN_CREATEPROFILE), BM_CLICK, 0, 0);
    const HWND hwndName = ScanListView_state(hwnd)->hwnd_ProfileName;
    ASSERT_TRUE(hwndName && IsWindow(hwndName));
    ListView_SetCheckState(lv, 0, FALSE);
    SendMessageW(GetDlgItem(hwnd, IDC_SCANLIST_BTN_CREATEPROFILE), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(hwndName));
    ASSERT_EQ(1u, rec.boxes.size());  // only "There are no selected items"
    EXPECT_EQ(0u, rec.boxes[0].text.find(L"There are no selected items.\nTo create profile"));
}

TEST(ScanListRefusal, WindowWithoutEntriesIsNotCreated)
{
    test_register_classes();
    BoxRecorder rec;
    TestStore t;  // scratch buffer only
    HWND hwnd = nullptr;
    STR_ScanListView_Create create = {&t.s, &hwnd};
    HWND h = CreateWindowExW(0, L"List of Windows", L"List of windows", WS_OVERLAPPEDWINDOW, 30, 30, 800, 600, nullptr,
                             nullptr, GetModuleHandleW(nullptr), &create);
    EXPECT_EQ(nullptr, h);
    EXPECT_EQ(nullptr, t.s.pcTmpBuf_Prg_Folder_Path);  // released on the way out
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"error", rec.boxes[0].caption);
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"function:\non_WM_CREATE_02_ListView\n\nline:"));
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"\n\nincorrect input parameters\nline of error handler:\n"));
}
