#include "driver_listview.h"

#include <commctrl.h>

namespace drv {

RemoteBlock::RemoteBlock(DWORD dwPid, SIZE_T uiSize)
{
    hProcess_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwPid);
    if (hProcess_) pv_ = VirtualAllocEx(hProcess_, nullptr, uiSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBlock::~RemoteBlock()
{
    if (pv_) VirtualFreeEx(hProcess_, pv_, 0, MEM_RELEASE);
    if (hProcess_) CloseHandle(hProcess_);
}

bool RemoteBlock::write(SIZE_T uiOff, const void* pvSrc, SIZE_T uiN) const
{
    SIZE_T uiDone = 0;
    return pv_ && WriteProcessMemory(hProcess_, addr(uiOff), pvSrc, uiN, &uiDone) && uiDone == uiN;
}

bool RemoteBlock::read(SIZE_T uiOff, void* pvDst, SIZE_T uiN) const
{
    SIZE_T uiDone = 0;
    return pv_ && ReadProcessMemory(hProcess_, addr(uiOff), pvDst, uiN, &uiDone) && uiDone == uiN;
}

DWORD window_pid(HWND hwnd)
{
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    return dwPid;
}

int lv_row_count(HWND hwndLV) { return static_cast<int>(SendMessageW(hwndLV, LVM_GETITEMCOUNT, 0, 0)); }

namespace {

const int kTextUnits = 512;

// An LVITEMW whose text buffer lies right behind it in the same block.
std::wstring remote_item_text(HWND hwndLV, int iRow, int iCol)
{
    RemoteBlock mem(window_pid(hwndLV), sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t));
    if (!mem.ok()) return L"<no remote memory>";
    LVITEMW item = {};
    item.iSubItem = iCol;
    item.cchTextMax = kTextUnits;
    item.pszText = static_cast<wchar_t*>(mem.addr(sizeof(LVITEMW)));
    wchar_t zero = 0;
    mem.write(0, &item, sizeof(item));
    mem.write(sizeof(LVITEMW), &zero, sizeof(zero));
    SendMessageW(hwndLV, LVM_GETITEMTEXTW, iRow, reinterpret_cast<LPARAM>(mem.addr()));
    wchar_t buf[kTextUnits + 1] = {};
    mem.read(sizeof(LVITEMW), buf, kTextUnits * sizeof(wchar_t));
    return buf;
}

}  // namespace

std::wstring lv_cell(HWND hwndLV, int iRow, int iCol) { return remote_item_text(hwndLV, iRow, iCol); }

std::wstring lv_heading(HWND hwndLV, int iCol)
{
    RemoteBlock mem(window_pid(hwndLV), sizeof(LVCOLUMNW) + kTextUnits * sizeof(wchar_t));
    if (!mem.ok()) return L"<no remote memory>";
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT;
    col.cchTextMax = kTextUnits;
    col.pszText = static_cast<wchar_t*>(mem.addr(sizeof(LVCOLUMNW)));
    mem.write(0, &col, sizeof(col));
    if (!SendMessageW(hwndLV, LVM_GETCOLUMNW, iCol, reinterpret_cast<LPARAM>(mem.addr()))) return L"<no column>";
    wchar_t buf[kTextUnits + 1] = {};
    mem.read(sizeof(LVCOLUMNW), buf, kTextUnits * sizeof(wchar_t));
    return buf;
}

bool lv_set_ticked(HWND hwndLV, int iRow, bool bTicked)
{
    RemoteBlock mem(window_pid(hwndLV), sizeof(LVITEMW));
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(bTicked ? 2 : 1);
    if (!mem.write(0, &item, sizeof(item))) return false;
    return SendMessageW(hwndLV, LVM_SETITEMSTATE, iRow, reinterpret_cast<LPARAM>(mem.addr())) != FALSE;
}

bool lv_set_selected(HWND hwndLV, int iRow, bool bSelected)
{
    RemoteBlock mem(window_pid(hwndLV), sizeof(LVITEMW));
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = bSelected ? LVIS_SELECTED : 0;
    if (!mem.write(0, &item, sizeof(item))) return false;
    return SendMessageW(hwndLV, LVM_SETITEMSTATE, iRow, reinterpret_cast<LPARAM>(mem.addr())) != FALSE;
}

bool lv_ticked(HWND hwndLV, int iRow)
{
    return (SendMessageW(hwndLV, LVM_GETITEMSTATE, iRow, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
           INDEXTOSTATEIMAGEMASK(2);
}

bool lv_selected(HWND hwndLV, int iRow)
{
    return (SendMessageW(hwndLV, LVM_GETITEMSTATE, iRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

RECT lv_cell_screen_rect(HWND hwndLV, int iRow, int iCol)
{
    RECT rc = {};
    RemoteBlock mem(window_pid(hwndLV), sizeof(RECT));
    RECT req = {LVIR_BOUNDS, iCol, 0, 0};
    if (!mem.write(0, &req, sizeof(req))) return rc;
    if (!SendMessageW(hwndLV, LVM_GETSUBITEMRECT, iRow, reinterpret_cast<LPARAM>(mem.addr()))) return rc;
    mem.read(0, &rc, sizeof(rc));
    MapWindowPoints(hwndLV, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int lv_find_row(HWND hwndLV, int iCol, const std::wstring& text)
{
    const int n = lv_row_count(hwndLV);
    for (int i = 0; i < n; ++i)
        if (lv_cell(hwndLV, i, iCol) == text) return i;
    return -1;
}

void combo_choose(HWND hwndParent, int iID, int iIndex)
{
    HWND hwndCombo = GetDlgItem(hwndParent, iID);
    SendMessageW(hwndCombo, CB_SETCURSEL, iIndex, 0);
    SendMessageW(hwndParent, WM_COMMAND, MAKEWPARAM(iID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hwndCombo));
}

int combo_count(HWND hwndCombo) { return static_cast<int>(SendMessageW(hwndCombo, CB_GETCOUNT, 0, 0)); }

std::wstring combo_text(HWND hwndCombo, int iIndex)
{
    const LRESULT n = SendMessageW(hwndCombo, CB_GETLBTEXTLEN, iIndex, 0);
    if (n == CB_ERR) return L"<no entry>";
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(hwndCombo, CB_GETLBTEXT, iIndex, reinterpret_cast<LPARAM>(&s[0]));
    s.resize(static_cast<size_t>(n));
    return s;
}

void mouse_click(POINT pt, bool bRight)
{
    SetCursorPos(pt.x, pt.y);
    INPUT in[2] = {};
    const LONG sx = GetSystemMetrics(SM_CXSCREEN) - 1, sy = GetSystemMetrics(SM_CYSCREEN) - 1;
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(pt.x, 65535, sx);
        i.mi.dy = MulDiv(pt.y, 65535, sy);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    in[1].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    SendInput(1, &in[0], sizeof(INPUT));
    Sleep(30);
    SendInput(1, &in[1], sizeof(INPUT));
}

POINT center(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

}  // namespace drv
