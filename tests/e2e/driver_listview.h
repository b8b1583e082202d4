// Working another process's list view, combo boxes and mouse from the
// driver. A list view answers most of its messages only with addresses in
// its own process, so the records travel through memory allocated there.
#pragma once
#include <windows.h>

#include <string>

namespace drv {

// A block of memory in another process, released with the object.
class RemoteBlock {
public:
    RemoteBlock(DWORD dwPid, SIZE_T uiSize);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return pv_ != nullptr; }
    void* addr(SIZE_T uiOff = 0) const { return static_cast<char*>(pv_) + uiOff; }
    bool write(SIZE_T uiOff, const void* pvSrc, SIZE_T uiN) const;
    bool read(SIZE_T uiOff, void* pvDst, SIZE_T uiN) const;

private:
    HANDLE hProcess_ = nullptr;
    void* pv_ = nullptr;
};

// Process that owns a window.
DWORD window_pid(HWND hwnd);

int lv_row_count(HWND hwndLV);
// Text of one cell (column 0 is the item itself).
std::wstring lv_cell(HWND hwndLV, int iRow, int iCol);
// Heading text of a column.
std::wstring lv_heading(HWND hwndLV, int iCol);
// Ticks or unticks a row's check box the way a click on it does: the list
// view notifies its parent of the change.
bool lv_set_ticked(HWND hwndLV, int iRow, bool bTicked);
bool lv_ticked(HWND hwndLV, int iRow);
// Selects or deselects a row without touching its check box.
bool lv_set_selected(HWND hwndLV, int iRow, bool bSelected);
bool lv_selected(HWND hwndLV, int iRow);
// A cell's rectangle in screen coordinates (LVIR_BOUNDS of the sub-item).
RECT lv_cell_screen_rect(HWND hwndLV, int iRow, int iCol);
// First row whose column holds exactly this text; -1 when none.
int lv_find_row(HWND hwndLV, int iCol, const std::wstring& text);

// Chooses a combo box entry and tells the parent, as a user's choice does.
void combo_choose(HWND hwndParent, int iID, int iIndex);
int combo_count(HWND hwndCombo);
std::wstring combo_text(HWND hwndCombo, int iIndex);

// Real mouse input at a screen point: the cursor moves there and the
// button goes down and up through the system's input queue.
void mouse_click(POINT pt, bool bRight);
POINT center(const RECT& rc);

}  // namespace drv
