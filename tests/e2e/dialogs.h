// The system's boxes and file dialogs of another process, answered from the
// driver, and files dropped on its windows.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "driver_listview.h"

namespace drv {

// Every visible top-level dialog (#32770) of the process.
std::vector<HWND> dialogs_of(DWORD dwPid);
// Polls for a dialog of the process that is not one of the given ones.
HWND wait_other_dialog(DWORD dwPid, const std::vector<HWND>& known, DWORD dwMs);

// The file-name box of an Open or Save dialog (identifier 0x47c).
std::wstring file_dialog_name(HWND hwndDlg);
// Types a name into the file-name box and presses OK. False when the box
// did not take the text.
bool file_dialog_accept(HWND hwndDlg, const std::wstring& path);

// A caption and text of a box, for failure messages.
std::wstring describe_box(HWND hwndDlg);

// Drops one file on a window: a DROPFILES block in the target process and
// a posted WM_DROPFILES. The block must outlive the target's handling of
// the message; keep the result until then.
std::unique_ptr<RemoteBlock> post_drop(HWND hwndTarget, const std::wstring& path);

}  // namespace drv
