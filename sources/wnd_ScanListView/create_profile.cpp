#include "wnd_ScanListView/create_profile.h"

#include <commctrl.h>

#include <vector>

#include "platform/zt_dialogs.h"
#include "platform/zt_files.h"
#include "platform/zt_win.h"
#include "report/report.h"
#include "wnd_ProfileName/wnd_ProfileName.h"

namespace {

QD_REPORT_UNIT(g_rep, 1000);

bool row_is_ticked(HWND hwndLV, uint32_t uiRow)
{
    LRESULT state = SendMessageW(hwndLV, LVM_GETITEMSTATE, uiRow, 0xF000);
    return (static_cast<UINT>(state) >> 12) >= 2;
}

uint32_t count_ticked(HWND hwndLV, uint32_t uiRows)
{
    uint32_t n = 0;
    for (uint32_t r = 0; r < uiRows; ++r) n += row_is_ticked(hwndLV, r);
    return n;
}

}  // namespace

int32_t DynMemAlloc_wnds_Profile(STR_RW_PRFL* pSTR_RW_PRFL, const STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA)
{
    if (!pSTR_RW_PRFL || !pSTR_ENUM_WNDS_DATA) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters: pSTR_RW_PRFL = %p\npSTR_ENUM_WNDS_DATA = %p\nline of error handler:\n%d",
                  pSTR_RW_PRFL, pSTR_ENUM_WNDS_DATA);
        return -1;
    }
    size_t sizes[QD_RW_ARRAYS];
    if (!pSTR_RW_PRFL->N_wnds_in_profile || !pSTR_ENUM_WNDS_DATA->uiMaxLen_inBytes_AllPath ||
        !rw_profile_array_sizes(pSTR_RW_PRFL->N_wnds_in_profile, pSTR_ENUM_WNDS_DATA->uiMaxLen_inBytes_AllPath, sizes)) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters: pSTR_RW_PRFL->N_wnds_in_profile = %u\npSTR_ENUM_WNDS_DATA->uiMaxLen_inBytes_AllPath = %u\nline of error handler:\n%d",
                  pSTR_RW_PRFL->N_wnds_in_profile, pSTR_ENUM_WNDS_DATA->uiMaxLen_inBytes_AllPath);
        return -1;
    }
    for (int i = 0; i < QD_RW_ARRAYS; ++i) {
        void** pp = rw_profile_array_slot(pSTR_RW_PRFL, i);
        *pp = zt_VirtualAlloc(sizes[i]);
        if (!*pp) {
            // What was obtained so far goes back at once: no half-allocated record.
            FreeDynMem_wnds_Profile(pSTR_RW_PRFL);
            QD_REPORT_HF(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nfunction VirtualAlloc() returned error\n\nline of error handler:\n%d");
            return -2;
        }
    }
    return 1;
}

int32_t FreeDynMem_wnds_Profile(STR_RW_PRFL* pSTR_RW_PRFL)
{
    if (!pSTR_RW_PRFL) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters: pSTR_RW_PRFL = %p\nline of error handler:\n%d",
                  pSTR_RW_PRFL);
        return -1;
    }
    for (int i = 0; i < QD_RW_ARRAYS; ++i) zt_VirtualFree(*rw_profile_array_slot(pSTR_RW_PRFL, i));
    return 1;
}

int32_t PrepareData_Write_Profile(STR_RW_PRFL* pSTR_RW_PRFL, const STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA)
{
    if (!pSTR_RW_PRFL || !pSTR_ENUM_WNDS_DATA) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters: pSTR_RW_PRFL = %p, pSTR_ENUM_WNDS_DATA = %p\nline of error handler:\n%d",
                  pSTR_RW_PRFL, pSTR_ENUM_WNDS_DATA);
        return -1;
    }
    if (rw_profile_prepare(pSTR_RW_PRFL, pSTR_ENUM_WNDS_DATA) < 0) {
        const STR_RW_PRFL* r = pSTR_RW_PRFL;
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror, incorrect input parameters:\npSTR_RW_PRFL->p_arr1D_ui_indexes_wnds_profile = %p, pSTR_RW_PRFL->p_arr1D_uc_flag_Prg_or_Folder = %p, pSTR_RW_PRFL->N_wnds_in_profile = %u, pSTR_ENUM_WNDS_DATA->pcDynMem_GeomText  = %p, pSTR_ENUM_WNDS_DATA->pcDynMem_FullPaths  = %p, pSTR_RW_PRFL->p_arr1D_ui_x = %p, pSTR_RW_PRFL->p_arr1D_ui_y = %p, pSTR_RW_PRFL->p_arr1D_ui_w = %p, pSTR_RW_PRFL->p_arr1D_ui_h = %p, pSTR_RW_PRFL->p_arr1D_ui_len_path = %p, pSTR_RW_PRFL->p_arr_strz_paths = %p\nline of error handler:\n%d",
                  r->p_arr1D_ui_indexes_wnds_profile, r->p_arr1D_uc_flag_Prg_or_Folder, r->N_wnds_in_profile, pSTR_ENUM_WNDS_DATA->pcDynMem_GeomText, pSTR_ENUM_WNDS_DATA->pcDynMem_FullPaths, r->p_arr1D_ui_x, r->p_arr1D_ui_y, r->p_arr1D_ui_w, r->p_arr1D_ui_h, r->p_arr1D_ui_len_path, r->p_arr_strz_paths);
        return -1;
    }
    return 1;
}

int32_t onButton_Create_Profile(HWND hwndThis, HWND hwndLV, HWND* p_hwnd_ProfileName, STR_RW_PRFL* pSTR_RW_PRFL,
                                STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA)
{
    if (!hwndThis || !hwndLV || !p_hwnd_ProfileName || !pSTR_RW_PRFL || !pSTR_ENUM_WNDS_DATA ||
        !pSTR_ENUM_WNDS_DATA->counter_valid) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\nhwndThis = %p, hwndLV = %p, p_hwnd_ProfileName = %p, pSTR_RW_PRFL = %p, pSTR_ENUM_WNDS_DATA = %p\npSTR_ENUM_WNDS_DATA->counter_valid = %u\nline of error handler:\n%d",
                  hwndThis, hwndLV, p_hwnd_ProfileName, pSTR_RW_PRFL, pSTR_ENUM_WNDS_DATA, pSTR_ENUM_WNDS_DATA ? pSTR_ENUM_WNDS_DATA->counter_valid : 0u);
        return -1;
    }
    const uint32_t uiRows = pSTR_ENUM_WNDS_DATA->counter_valid;
    pSTR_RW_PRFL->N_wnds_in_profile = count_ticked(hwndLV, uiRows);
    if (!pSTR_RW_PRFL->N_wnds_in_profile) {
        zt_Box(hwndThis, L"There are no selected items.\nTo create profile - select items you want to include\nand then press button Create Profile.",
               L"info", MB_OK);
        return 1;
    }
    int32_t iRet = DynMemAlloc_wnds_Profile(pSTR_RW_PRFL, pSTR_ENUM_WNDS_DATA);
    if (iRet < 0) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\none of callable functions returned error, %d <- DynMemAlloc_wnds_Profile()\nline of error handler:\n%d",
                  iRet);
        return -4;
    }
    // The rows are read again: the count above sized the arrays, and a row
    // ticked in between is not written past them.
    uint32_t n = 0;
    for (uint32_t r = 0; r < uiRows && n < pSTR_RW_PRFL->N_wnds_in_profile; ++r)
        if (row_is_ticked(hwndLV, r)) pSTR_RW_PRFL->p_arr1D_ui_indexes_wnds_profile[n++] = r;
    pSTR_RW_PRFL->N_wnds_in_profile = n;
    iRet = n ? PrepareData_Write_Profile(pSTR_RW_PRFL, pSTR_ENUM_WNDS_DATA) : -1;
    if (iRet < 0) {
        FreeDynMem_wnds_Profile(pSTR_RW_PRFL);
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\none of callable functions returned error, %d <- PrepareData_Write_Profile()\nline of error handler:\n%d",
                  iRet);
        return -4;
    }
    *p_hwnd_ProfileName = open_NameOfProfile_window(hwndThis);
    return 1;
}

int32_t WriteData_Profile(HANDLE hFile_wnds_profile, STR_RW_PRFL* pSTR_RW_PRFL, uint32_t N_wnds,
                          const uint8_t* p_arr1D_uc_flag_Prg_or_Folder, const uint32_t* p_arr1D_ui_x,
                          const uint32_t* p_arr1D_ui_y, const uint32_t* p_arr1D_ui_w, const uint32_t* p_arr1D_ui_h,
                          const uint32_t* p_arr1D_ui_len_path, const qd_char* p_arr_strz_paths)
{
    if (!hFile_wnds_profile || hFile_wnds_profile == INVALID_HANDLE_VALUE || !pSTR_RW_PRFL || !N_wnds ||
        !p_arr1D_uc_flag_Prg_or_Folder || !p_arr1D_ui_x || !p_arr1D_ui_y || !p_arr1D_ui_w || !p_arr1D_ui_h ||
        !p_arr1D_ui_len_path || !p_arr_strz_paths) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror, incorrect INPUT parameters:\nhFile_wnds_profile = %p\npSTR_RW_PRFL = %p\nN_wnds = %u\np_arr1D_uc_flag_Prg_or_Folder = %p\np_arr1D_ui_x = %p\np_arr1D_ui_y = %p\np_arr1D_ui_w = %p\np_arr1D_ui_h = %p\np_arr1D_ui_len_path = %p\np_arr_strz_paths = %p\nline of error handler:\n%d",
                  hFile_wnds_profile, pSTR_RW_PRFL, N_wnds, p_arr1D_uc_flag_Prg_or_Folder, p_arr1D_ui_x, p_arr1D_ui_y, p_arr1D_ui_w, p_arr1D_ui_h, p_arr1D_ui_len_path, p_arr_strz_paths);
        return -1;
    }
    STR_ProfileData d = {N_wnds, p_arr1D_uc_flag_Prg_or_Folder, p_arr1D_ui_x, p_arr1D_ui_y, p_arr1D_ui_w,
                         p_arr1D_ui_h, p_arr1D_ui_len_path, p_arr_strz_paths, pSTR_RW_PRFL->tc_PrfName,
                         pSTR_RW_PRFL->uiSize_PrfName_inBytes};
    std::vector<uint8_t> bytes;
    int32_t iRet = profile_write(&d, &bytes);
    if (iRet != QD_PRF_OK) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nthe profile cannot be written: %d <- profile_write()\nname length in bytes = %u\nline of error handler:\n%d",
                  iRet, pSTR_RW_PRFL->uiSize_PrfName_inBytes);
        return -3;
    }
    // One write of the whole file, checked, then the flush: a short write
    // (disk full, device error) is a failure, never a saved profile.
    if (!zt_WriteAll(hFile_wnds_profile, bytes.data(), static_cast<uint32_t>(bytes.size())) ||
        !zt_FlushFile(hFile_wnds_profile)) {
        zt_ShowLastError();
        return -2;
    }
    return 1;
}

int32_t on_WM_COPYDATA_on_wnd_NameOfProfile(HWND hwnd_wnd_ListOfWnds, HWND hwnd_wnd_NameProfile,
                                            STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA, STR_RW_PRFL* pSTR_RW_PRFL)
{
    if (!hwnd_wnd_ListOfWnds || !hwnd_wnd_NameProfile || !pSTR_ENUM_WNDS_DATA || !pSTR_RW_PRFL) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror, incorrect input parameters\nhwnd_wnd_ListOfWnds = %p, hwnd_wnd_NameProfile = %p, pSTR_ENUM_WNDS_DATA = %p, pSTR_RW_PRFL = %p\nline of error handler: %d",
                  hwnd_wnd_ListOfWnds, hwnd_wnd_NameProfile, pSTR_ENUM_WNDS_DATA, pSTR_RW_PRFL);
        return -1;
    }
    DestroyWindow(hwnd_wnd_NameProfile);

    wchar_t tcFile[260] = L"Profile_01";
    wchar_t tcTitle[260] = L"";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd_wnd_ListOfWnds;
    ofn.lpstrFile = tcFile;
    ofn.nMaxFile = 260;
    ofn.lpstrFileTitle = tcTitle;
    ofn.nMaxFileTitle = 260;
    ofn.lpstrTitle = L"Save Profile";
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!zt_GetSaveFileName(&ofn)) return -3;

    zt_Handle file(zt_CreateNewFile(tcFile));
    if (!file) {
        if (GetLastError() == ERROR_FILE_EXISTS) {
            // An existing file is never replaced, even after the overwrite prompt.
            zt_Box(nullptr, L"File already exists", L"information", MB_OK);
        } else {
            zt_ShowLastError();  // access denied, bad path: the user must know nothing was saved
            FreeDynMem_wnds_Profile(pSTR_RW_PRFL);
            return -2;
        }
    } else {
        const STR_RW_PRFL* r = pSTR_RW_PRFL;
        int32_t iRet = WriteData_Profile(file.get(), pSTR_RW_PRFL, r->N_wnds_in_profile, r->p_arr1D_uc_flag_Prg_or_Folder,
                                         r->p_arr1D_ui_x, r->p_arr1D_ui_y, r->p_arr1D_ui_w, r->p_arr1D_ui_h,
                                         r->p_arr1D_ui_len_path, r->p_arr_strz_paths);
        if (iRet < 0) {
            // The file this command just created holds no valid profile: remove it.
            file.reset();
            DeleteFileW(tcFile);
            FreeDynMem_wnds_Profile(pSTR_RW_PRFL);
            QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror, one of callable functions returned error, %d <- WriteData_Profile()\nline of error handler: %d",
                      iRet);
            return -2;
        }
    }
    file.reset();
    int32_t iRet = FreeDynMem_wnds_Profile(pSTR_RW_PRFL);
    if (iRet < 0) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nerror, one of callable functions returned error, %d <- FreeDynMem_wnds_Profile()\nline of error handler: %d",
                  iRet);
        return -2;
    }
    return 1;
}

BOOL on_WM_COPYDATA_ListOfWindows(HWND hwndThis, WPARAM wParam, const COPYDATASTRUCT* pCDS,
                                  STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA, STR_RW_PRFL* pSTR_RW_PRFL)
{
    if (!pCDS || pCDS->dwData != 0) return TRUE;
    HWND hwndSender = reinterpret_cast<HWND>(wParam);
    rw_profile_set_name(pSTR_RW_PRFL, pCDS->lpData, pCDS->cbData);
    int32_t iRet = on_WM_COPYDATA_on_wnd_NameOfProfile(hwndThis, hwndSender, pSTR_ENUM_WNDS_DATA, pSTR_RW_PRFL);
    if (iRet == -3) iRet = FreeDynMem_wnds_Profile(pSTR_RW_PRFL);
    if (iRet < 0 && iRet != -3) {
        QD_REPORT(&g_rep, __func__, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\niRetCode = %d <- on_WM_COPYDATA_on_wnd_NameOfProfile()\nline of error handler:%d",
                  iRet);
        return FALSE;
    }
    return TRUE;
}
