#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "box_recorder.h"
#include "funcs_layout_windows/fonts.h"
#include "main_window_fixture.h"
#include "platform/zt_win.h"
#include "wnd_ModifyCell/wnd_ModifyCell.h"

namespace {

const int N = 3;
const int32_t GEOM[N][4] = {{10, 20, 300, 200}, {-1920, 0, 1024, 768}, {5, 6, 7, 8}};  // x, y, w, h

std::wstring text_of(HWND h)
{
    wchar_t buf[128] = {};
    GetWindowTextW(h, buf, 128);
    return buf;
}

// A stand-in for the List of Windows window: its six-column table over a
// small store, filled the way the list window fills it.
class ModifyCellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"qd test list owner";
        RegisterClassW(&wc);
        hwndList = CreateWindowExW(0, wc.lpszClassName, L"List", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 400,
                                   nullptr, nullptr, wc.hInstance, nullptr);
        hwndLV = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 880, 350, hwndList,
                                 reinterpret_cast<HMENU>(4), wc.hInstance, nullptr);
        ASSERT_TRUE(hwndLV);
        const wchar_t* heads[6] = {L"#", L"Window name", L"X", L"Y", L"Width", L"Height"};
        for (int c = 0; c < 6; ++c) {
            LVCOLUMNW col = {};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            col.cx = 80;
            col.pszText = const_cast<wchar_t*>(heads[c]);
            col.iSubItem = c;
            SendMessageW(hwndLV, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
        }
        store.counter_valid = N;
        store.pcDynMem_GeomText = static_cast<uint8_t*>(zt_VirtualAlloc(N * QD_GEOMTEXT_ENTRY_BYTES));
        store.pcDynMem_WinHndls = static_cast<uint8_t*>(zt_VirtualAlloc(N * 4));
        for (int i = 0; i < N; ++i) {
            GeomText_STR* g = scan_entry_geom(&store, i);
            *g = {reinterpret_cast<qd_char*>(store.pcDynMem_GeomText + scan_caption_cell_offset(N, i)),
                  GEOM[i][0], GEOM[i][1], GEOM[i][3], GEOM[i][2]};
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            std::wstring s = std::to_wstring(i + 1);
            item.pszText = &s[0];
            SendMessageW(hwndLV, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            for (int c = 2; c < 6; ++c) set_cell(i, c, std::to_wstring(GEOM[i][c - 2]));
        }
    }
    void TearDown() override
    {
        close_ModifyCell_window();
        DestroyWindow(hwndList);
        pump_messages();
        zt_VirtualFree(store.pcDynMem_GeomText);
        zt_VirtualFree(store.pcDynMem_WinHndls);
    }
    void set_cell(int row, int col, std::wstring s)
    {
        LVITEMW item = {};
        item.iSubItem = col;
        item.pszText = &s[0];
        SendMessageW(hwndLV, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
    std::wstring cell(int row, int col)
    {
        wchar_t buf[64] = {};
        LVITEMW item = {};
        item.iSubItem = col;
        item.pszText = buf;
        item.cchTextMax = 64;
        SendMessageW(hwndLV, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return buf;
    }
    HWND open(int row, int col = 4)
    {
        STR_CELL_ADDR addr = {row, col, zt_hwnd32(hwndLV)};
        HWND h = nullptr;
        EXPECT_EQ(1, open_ModifyCell_window(hwndList, &addr, &store, &h));
        pump_messages();
        return h;
    }
    void set_fields(HWND h, const wchar_t* x, const wchar_t* y, const wchar_t* w, const wchar_t* hh)
    {
        const wchar_t* t[4] = {x, y, w, hh};
        for (int k = 0; k < 4; ++k) SetWindowTextW(GetDlgItem(h, k), t[k]);
    }
    void expect_geom(int row, int32_t x, int32_t y, int32_t w, int32_t h)
    {
        const GeomText_STR* g = scan_entry_geom(&store, row);
        EXPECT_EQ(x, g->i_x) << row;
        EXPECT_EQ(y, g->i_y) << row;
        EXPECT_EQ(w, g->i_w) << row;
        EXPECT_EQ(h, g->i_h) << row;
    }
    void key(HWND h, WPARAM vk) { SendMessageW(h, WM_KEYDOWN, vk, 0); }

    BoxRecorder rec;
    HWND hwndList = nullptr;
    HWND hwndLV = nullptr;
    STR_ENUM_WNDS_DATA store = {};
};

}  // namespace

TEST_F(ModifyCellTest, OpensBesideTheCursorLaidOutAndFilledFromTheRow)
{
    SetCursorPos(400, 300);
    POINT pt;
    GetCursorPos(&pt);
    HWND h = open(1);
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(h, current_ModifyCell_window());
    RECT rc;
    GetWindowRect(h, &rc);
    EXPECT_EQ(pt.x + 30, rc.left);
    EXPECT_EQ(pt.y + 30, rc.top);
    EXPECT_EQ(294, rc.right - rc.left);  // 1920 x 0.135 + 35
    EXPECT_EQ(187, rc.bottom - rc.top);  // 1080 x 0.15 + 25
    EXPECT_EQ(L"Modify Cell", text_of(h));
    EXPECT_EQ(nullptr, GetWindow(h, GW_OWNER));

    const int lefts[6] = {101, 101, 101, 101, 198, 198}, tops[6] = {5, 37, 69, 101, 5, 37};
    for (int id = 0; id < 6; ++id) {
        RECT r = child_rect(h, GetDlgItem(h, id));
        EXPECT_EQ(lefts[id], r.left) << id;
        EXPECT_EQ(tops[id], r.top) << id;
        EXPECT_EQ(86, r.right - r.left) << id;
        EXPECT_EQ(27, r.bottom - r.top) << id;
    }
    EXPECT_EQ(L"Ok", text_of(GetDlgItem(h, IDC_MC_BTN_OK)));
    EXPECT_EQ(L"Cancel", text_of(GetDlgItem(h, IDC_MC_BTN_CANCEL)));
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(h, IDC_MC_EDIT_X), GWL_STYLE) & ES_NUMBER);
    const wchar_t* want[4] = {L"-1920", L"0", L"1024", L"768"};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(want[k], text_of(GetDlgItem(h, k))) << k;
    EXPECT_EQ(GetDlgItem(h, IDC_MC_EDIT_X), GetFocus());

    HFONT f = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(h, IDC_MC_EDIT_HEIGHT), WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    ASSERT_TRUE(f && GetObjectW(f, sizeof(lf), &lf));
    HDC hdc = GetDC(nullptr);
    EXPECT_EQ(fit_button_font_height(hdc, L"Cancel", 86, 27), lf.lfHeight);
    ReleaseDC(nullptr, hdc);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(ModifyCellTest, OkWritesValidFieldsToTheCellsAndEveryNumberToTheStore)
{
    HWND h = open(1);
    set_fields(h, L"120", L"40", L"800", L"600");
    SendMessageW(GetDlgItem(h, IDC_MC_BTN_OK), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(nullptr, current_ModifyCell_window());
    EXPECT_EQ(L"120", cell(1, 2));
    EXPECT_EQ(L"40", cell(1, 3));
    EXPECT_EQ(L"800", cell(1, 4));
    EXPECT_EQ(L"600", cell(1, 5));
    expect_geom(1, 120, 40, 800, 600);
    expect_geom(0, 10, 20, 300, 200);
    expect_geom(2, 5, 6, 7, 8);

    // Not all digits, or empty: the cell keeps its text, the store gets
    // what the conversion gives.
    h = open(0);
    set_fields(h, L"12a", L"", L"0500", L"-5");
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_MC_BTN_OK, 0), reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_MC_BTN_OK)));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(L"10", cell(0, 2));
    EXPECT_EQ(L"20", cell(0, 3));
    EXPECT_EQ(L"0500", cell(0, 4));
    EXPECT_EQ(L"200", cell(0, 5));
    expect_geom(0, 12, 0, 500, -5);
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(ModifyCellTest, TabCyclesEnterActsAndEveryKeyDownIsConsumed)
{
    HWND h = open(2);
    HWND ctl[6];
    for (int id = 0; id < 6; ++id) ctl[id] = GetDlgItem(h, id);
    ASSERT_EQ(ctl[0], GetFocus());
    for (int step = 1; step <= 6; ++step) {
        key(GetFocus(), VK_TAB);
        pump_messages();
        ASSERT_EQ(ctl[step % 6], GetFocus()) << step;
        if (step == 4) {  // the focused button shows as the default one
            EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(ctl[4], GWL_STYLE) & 0xF);
        }
        if (step == 5) {
            EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(ctl[4], GWL_STYLE) & 0xF);
            EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(ctl[5], GWL_STYLE) & 0xF);
        }
    }
    // In a field, Delete and ENTER do nothing; characters still arrive.
    SendMessageW(ctl[0], EM_SETSEL, 0, 0);
    key(ctl[0], VK_DELETE);
    key(ctl[0], VK_RETURN);
    SendMessageW(ctl[0], WM_CHAR, L'4', 0);
    EXPECT_EQ(L"45", text_of(ctl[0]));
    ASSERT_TRUE(IsWindow(h));

    // ENTER on Cancel closes without touching the store.
    key(ctl[5], VK_RETURN);
    EXPECT_FALSE(IsWindow(h));
    expect_geom(2, 5, 6, 7, 8);

    // ENTER on Ok closes even when OK fails; a click leaves it open.
    zt_VirtualFree(store.pcDynMem_WinHndls);
    h = open(2);
    SendMessageW(GetDlgItem(h, IDC_MC_BTN_OK), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindow(h));
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_TRUE(rec.any_text_contains(L"incorrect input parameters:\npcDynMem_WinHndls = 0000"));
    key(GetDlgItem(h, IDC_MC_BTN_OK), VK_RETURN);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(2u, rec.boxes.size());
}

TEST_F(ModifyCellTest, ASecondOpeningClosesTheFirstWhichGivesUpItsState)
{
    HWND h1 = open(0);
    HWND h2 = open(2);
    EXPECT_FALSE(IsWindow(h1));
    ASSERT_TRUE(IsWindow(h2));
    EXPECT_EQ(h2, current_ModifyCell_window());
    EXPECT_EQ(L"5", text_of(GetDlgItem(h2, IDC_MC_EDIT_X)));
    set_fields(h2, L"1", L"2", L"3", L"4");
    key(GetDlgItem(h2, IDC_MC_BTN_OK), VK_RETURN);
    EXPECT_FALSE(IsWindow(h2));
    expect_geom(2, 1, 2, 3, 4);
    expect_geom(0, 10, 20, 300, 200);
    EXPECT_EQ(L"10", cell(0, 2));

    HWND h3 = open(1);
    close_ModifyCell_window();
    EXPECT_FALSE(IsWindow(h3));
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(ModifyCellTest, MissingArgumentsAndRowsOutsideTheStoreAreReported)
{
    HWND h = nullptr;
    STR_CELL_ADDR addr = {0, 2, zt_hwnd32(hwndLV)};
    EXPECT_EQ(-1, open_ModifyCell_window(hwndList, &addr, nullptr, &h));
    EXPECT_EQ(nullptr, current_ModifyCell_window());
    EXPECT_EQ(-1, on_Button_OK(nullptr, hwndLV, 0, &store));
    EXPECT_EQ(-3, on_Button_OK(hwndList, hwndLV, N, &store));
    EXPECT_EQ(-3, on_Button_OK(hwndList, hwndLV, -1, &store));
    ASSERT_EQ(4u, rec.boxes.size());
    EXPECT_EQ(4u, rec.count_caption(L"error"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"hwndThis = 0000"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"wnd_ModifyCell.cpp\n\nfunction:\non_Button_OK\n"));
    EXPECT_NE(std::wstring::npos, rec.boxes[2].text.find(L"row = 3, counter_valid = 3"));
    EXPECT_TRUE(IsWindow(hwndList));
    EXPECT_EQ(L"10", cell(0, 2));
}
