#include "dialogs.h"

#include <shlobj.h>

#include <algorithm>

#include "driver.h"

namespace drv {

namespace {

struct DialogsCtx {
    DWORD dwPid;
    std::vector<HWND>* pOut;
};

BOOL CALLBACK collect_dialog(HWND hwnd, LPARAM lParam)
{
    DialogsCtx* c = reinterpret_cast<DialogsCtx*>(lParam);
    if (window_pid(hwnd) == c->dwPid && IsWindowVisible(hwnd) && class_name(hwnd) == L"#32770") c->pOut->push_back(hwnd);
    return TRUE;
}

const int kFileNameBox = 0x47c;

}  // namespace

std::vector<HWND> dialogs_of(DWORD dwPid)
{
    std::vector<HWND> out;
    DialogsCtx c = {dwPid, &out};
    EnumWindows(collect_dialog, reinterpret_cast<LPARAM>(&c));
    return out;
}

HWND wait_other_dialog(DWORD dwPid, const std::vector<HWND>& known, DWORD dwMs)
{
    HWND hwndFound = nullptr;
    wait_until(
        [&] {
            for (HWND h : dialogs_of(dwPid))
                if (std::find(known.begin(), known.end(), h) == known.end()) {
                    hwndFound = h;
                    return true;
                }
            return false;
        },
        dwMs);
    return hwndFound;
}

std::wstring file_dialog_name(HWND hwndDlg) { return text(GetDlgItem(hwndDlg, kFileNameBox)); }

bool file_dialog_accept(HWND hwndDlg, const std::wstring& path)
{
    HWND hwndName = GetDlgItem(hwndDlg, kFileNameBox);
    if (!hwndName) return false;
    SendMessageW(hwndName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    if (file_dialog_name(hwndDlg) != path) return false;
    press(hwndDlg, IDOK);
    return true;
}

std::wstring describe_box(HWND hwndDlg)
{
    return L"box \"" + text(hwndDlg) + L"\": \"" + dialog_text(hwndDlg) + L"\"";
}

std::unique_ptr<RemoteBlock> post_drop(HWND hwndTarget, const std::wstring& path)
{
    const SIZE_T uiNames = (path.size() + 2) * sizeof(wchar_t);  // the list ends with two zero units
    std::unique_ptr<RemoteBlock> mem(new RemoteBlock(window_pid(hwndTarget), sizeof(DROPFILES) + uiNames));
    if (!mem->ok()) return nullptr;
    DROPFILES df = {};
    df.pFiles = sizeof(DROPFILES);
    df.fWide = TRUE;
    std::vector<wchar_t> names(path.begin(), path.end());
    names.push_back(0);
    names.push_back(0);
    if (!mem->write(0, &df, sizeof(df)) || !mem->write(sizeof(df), names.data(), uiNames)) return nullptr;
    if (!PostMessageW(hwndTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(mem->addr()), 0)) return nullptr;
    return mem;
}

}  // namespace drv
