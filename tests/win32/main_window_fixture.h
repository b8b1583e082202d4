// Fixtures of the program's windows, created in the test process: the main
// window, and the List of Windows window over a store of real windows.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "box_recorder.h"
#include "funcs_layout_windows/scan_command.h"
#include "platform/zt_dialogs.h"
#include "resource_ids.h"
#include "win_support.h"
#include "wnd_ProfileName/wnd_ProfileName.h"
#include "wnd_ScanListView/scan_list_internal.h"

inline RECT window_rect(HWND hwnd) { RECT rc = {}; GetWindowRect(hwnd, &rc); return rc; }
inline std::wstring window_text(HWND hwnd) { wchar_t buf[400] = {}; GetWindowTextW(hwnd, buf, 400); return buf; }
inline bool rect_is(const RECT& r, LONG x, LONG y, LONG w, LONG h)
{
    return r.left == x && r.top == y && r.right - r.left == w && r.bottom - r.top == h;
}

// Other programs' windows are placed asynchronously: waits until the window is there.
inline bool placed_soon(HWND hwnd, LONG x, LONG y, LONG w, LONG h)
{
    return pump_until([=] { return rect_is(window_rect(hwnd), x, y, w, h); }, 3000);
}

// Client-relative rectangle of a child window.
inline RECT child_rect(HWND hwndParent, HWND hwndChild)
{
    RECT rc = window_rect(hwndChild);
    MapWindowPoints(nullptr, hwndParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Height of a control's font when it is the program's button font (bold
// "Times New Roman"), -1 otherwise.
inline LONG button_font_height(HWND hwndCtl)
{
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwndCtl, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf.lfWeight == 700 && !lstrcmpW(lf.lfFaceName, L"Times New Roman") ? lf.lfHeight : -1;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        rec = new BoxRecorder();
        hwnd = create_main_window(GetModuleHandleW(nullptr));
        ASSERT_NE(nullptr, hwnd);
        ShowWindow(hwnd, SW_SHOWNORMAL);
        pump_pending();
    }
    void TearDown() override
    {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        pump_pending();
        delete rec;
    }
    HWND hwnd = nullptr;
    BoxRecorder* rec = nullptr;
};

// The List of Windows window (at 30, 30, 1440 x 810) over three real
// windows of this process: row 0 "Program" C:\p\a.exe at (100, 100)
// 400 x 300, row 1 "Minimised" C:\p\bb.exe, row 2 "Folder", an Explorer
// window whose folder was not found, at (300, 300) 400 x 300. The Save
// dialog answers with `path`, or is cancelled.
class ListWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        STR_ScanBufSizes z = {};
        ASSERT_EQ(1, scan_buffer_sizes(3, 40, &z));
        auto alloc = [](size_t n) { return static_cast<uint8_t*>(zt_VirtualAlloc(n)); };
        store = {reinterpret_cast<uint32_t*>(alloc(z.ui_LenPath)), alloc(z.ui_flag_FP), 0, nullptr, 0, alloc(z.ui_FullPaths),
                 0, 0, 40, alloc(z.ui_WinHndls), alloc(z.ui_GeomText), 3, nullptr};
        const char16_t* const caps[3] = {u"Program", u"Minimised", u"Folder"};
        const char16_t* const paths[3] = {u"C:\\p\\a.exe", u"C:\\p\\bb.exe", nullptr};
        for (int i = 0; i < 3; ++i) {
            const int32_t x = 100 * (i + 1);
            wnds[i] = CreateWindowExW(0, L"STATIC", zt_W(caps[i]), WS_OVERLAPPEDWINDOW, x, x, 400, 300, nullptr, nullptr, nullptr, nullptr);
            ShowWindow(wnds[i], i == 1 ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
            const STR_ScanEntryIn in = {zt_hwnd32(wnds[i]), x, x, x + 400, x + 300, i == 1, caps[i], static_cast<uint32_t>(qd_strlen(caps[i])),
                                        paths[i] != nullptr, paths[i], static_cast<uint32_t>(qd_strlen(paths[i]))};
            ASSERT_EQ(1, scan_store_write_entry(&store, &in));
        }
        STR_ScanListView_Create create = {&store, &hwnd};
        hwnd = CreateWindowExW(0, L"List of Windows", L"List of windows", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 1440, 810,
                               nullptr, nullptr, GetModuleHandleW(nullptr), &create);
        ASSERT_NE(nullptr, hwnd);
        lv = GetDlgItem(hwnd, IDC_SCANLIST_LISTVIEW);
        DeleteFileW(path.c_str());
        zt_SetFileDialogHook([](void* pCtx, bool bSave, OPENFILENAMEW* pOfn) {
            ListWindowTest* t = static_cast<ListWindowTest*>(pCtx);
            t->ofn = *pOfn;
            t->initialName = pOfn->lpstrFile;
            if (!bSave || t->bCancel) return 0;
            lstrcpynW(pOfn->lpstrFile, t->path.c_str(), pOfn->nMaxFile);
            return 1;
        }, this);
    }
    void TearDown() override
    {
        zt_SetFileDialogHook(nullptr, nullptr);
        if (hwnd) DestroyWindow(hwnd);
        for (HWND h : wnds) DestroyWindow(h);
        scan_store_release_win(&store);  // when the window did not take it
        DeleteFileW(path.c_str());
        pump_pending();
    }
    std::wstring cell(int row, int col) { wchar_t buf[64] = {}; ListView_GetItemText(lv, row, col, buf, 64); return buf; }
    void set_cells(int row, const wchar_t* x, const wchar_t* y, const wchar_t* w, const wchar_t* h)
    {
        const wchar_t* const texts[4] = {x, y, w, h};
        for (int c = 0; c < 4; ++c) ListView_SetItemText(lv, row, 2 + c, const_cast<wchar_t*>(texts[c]));
    }
    void tick(int row, bool bTicked = true) { ListView_SetCheckState(lv, row, bTicked); }
    static void click(HWND hwndParent, int id) { SendMessageW(GetDlgItem(hwndParent, id), BM_CLICK, 0, 0); }
    HWND open_modify(int row)  // the popup menu's Modify Cell on a cell of the row
    {
        ScanListView_state(hwnd)->iHitRow = row;
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_MODIFY_CELL, 0), 0);
        return current_ModifyCell_window();
    }
    HWND press_create()  // the Name of Profile window it opened, or null
    {
        click(hwnd, IDC_SCANLIST_BTN_CREATEPROFILE);
        return ScanListView_state(hwnd)->hwnd_ProfileName;
    }
    void save_as(HWND hwndName, const std::wstring& name)
    {
        SetWindowTextW(GetDlgItem(hwndName, IDC_PN_EDIT_NAME), name.c_str());
        click(hwndName, IDC_PN_BTN_OK);
    }
    bool nothing_kept()  // of a profile: no array, no allocation, no file
    {
        for (int i = 0; i < QD_RW_ARRAYS; ++i)
            if (*rw_profile_array_slot(&ScanListView_state(hwnd)->rwProfile, i)) return false;
        return iLive == zt_LiveAllocations() && read_file(path).empty();
    }

    BoxRecorder rec;
    HWND wnds[3] = {};
    STR_ENUM_WNDS_DATA store = {};
    HWND hwnd = nullptr, lv = nullptr;
    const std::wstring path = temp_path(L"qd_profile_test.txt");
    bool bCancel = false;
    OPENFILENAMEW ofn = {};  // as the last Save dialog was given it
    std::wstring initialName;
    const long iLive = zt_LiveAllocations() + 5;  // and the store's buffers
};
