// The list view of the List of Windows window: created over the client
// area, its six columns, and one row per entry of the scan result store.
#include "layout_scan_list.h"
#include "platform/zt_win.h"
#include "report_format.h"
#include "wnd_ScanListView/scan_list_internal.h"

namespace {

const wchar_t* const arr1D_ptc_Headings[QD_SCANLIST_COLUMNS] = {L"#", L"Window name", L"X", L"Y", L"Width", L"Height"};

void insert_columns(HWND hwndLV, int32_t iClientW)
{
    for (int j = 0; j < QD_SCANLIST_COLUMNS; ++j) {
        LVCOLUMNW col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = scan_list_column_width(j, iClientW);
        col.pszText = const_cast<wchar_t*>(arr1D_ptc_Headings[j]);
        col.iSubItem = j;
        SendMessageW(hwndLV, LVM_INSERTCOLUMNW, j, reinterpret_cast<LPARAM>(&col));
    }
}

void format_int(wchar_t* ptcBuf, size_t uiCap, int32_t i)
{
    qd_format(zt_Q(ptcBuf), uiCap, "%d", i);
}

// Row i: its number, then the caption cell and the four geometry values.
void insert_row(HWND hwndThis, HWND hwndLV, const STR_ENUM_WNDS_DATA* pSTR, uint32_t i)
{
    wchar_t ptcText[16];
    format_int(ptcText, 16, static_cast<int32_t>(i + 1));
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = ptcText;
    const LRESULT iRow = SendMessageW(hwndLV, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (iRow == -1) zt_Box(hwndThis, L"-1 <-- InsertItem, cycle i", L"ERR", MB_OK);

    const GeomText_STR* pGeom = scan_entry_geom(pSTR, i);
    const int32_t arr1D_i_Geom[4] = {pGeom ? pGeom->i_x : 0, pGeom ? pGeom->i_y : 0, pGeom ? pGeom->i_w : 0,
                                     pGeom ? pGeom->i_h : 0};
    const qd_char* ptcCaption = scan_entry_caption(pSTR, i);
    for (int j = 1; j < QD_SCANLIST_COLUMNS; ++j) {
        wchar_t ptcCell[16];
        LVITEMW sub = {};
        sub.mask = LVIF_TEXT;
        sub.iItem = static_cast<int>(i);
        sub.iSubItem = j;
        if (j == 1) {
            sub.pszText = const_cast<wchar_t*>(ptcCaption ? zt_W(ptcCaption) : L"");
        } else {
            format_int(ptcCell, 16, arr1D_i_Geom[j - 2]);
            sub.pszText = ptcCell;
        }
        SendMessageW(hwndLV, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&sub));
        if (iRow == -1) {
            zt_ShowLastError();
            zt_Box(hwndThis, L"-1 <-- InsertItem, cycle j", L"ERR", MB_OK);
        }
    }
}

}  // namespace

int32_t on_WM_CREATE_02_ListView(HWND hwndThis, HINSTANCE hInst, HWND* p_hwndLV, UINT uiCtlID,
                                 const STR_ENUM_WNDS_DATA* pSTR)
{
    STR_ReportUnit* rep = rep_scanlist();
    if (!hwndThis || !hInst || !p_hwndLV || !pSTR || !pSTR->pcDynMem_GeomText || !pSTR->counter_valid) {
        QD_REPORT_HF(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters\nline of error handler:\n%d\n");
        return -1;
    }
    RECT rc = {};
    GetClientRect(hwndThis, &rc);
    *p_hwndLV = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS,
                                0, 0, rc.right, rc.bottom, hwndThis,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(uiCtlID)), hInst, nullptr);
    if (!*p_hwndLV) {
        QD_REPORT_AS_NL(rep, L"ERROR", __func__, "\nERROR\n\nfile:\n\n%s\nfunction:\n\n%s\nline:\n\n%d\n\nNULL <- CreateWindowEx()\nw = %d\nh = %d\nuiCtlID = %u\nhwndThis = %p\nhInst = %p\nWC_LISTVIEW = %d",
                        static_cast<int32_t>(rc.right), static_cast<int32_t>(rc.bottom), uiCtlID, hwndThis, hInst, static_cast<int32_t>(reinterpret_cast<intptr_t>(WC_LISTVIEWW)));
        return -2;
    }
    HWND hwndLV = *p_hwndLV;
    // Mask 0: exactly these styles.
    SendMessageW(hwndLV, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER);
    // An empty image list only reserves the icon space in the first column;
    // the list view destroys it with itself.
    HIMAGELIST hImages = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_MASK, 12, 1);
    SendMessageW(hwndLV, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hImages));

    GetClientRect(hwndThis, &rc);
    insert_columns(hwndLV, rc.right);
    for (uint32_t i = 0; i < pSTR->counter_valid; ++i) insert_row(hwndThis, hwndLV, pSTR, i);
    return 1;
}
