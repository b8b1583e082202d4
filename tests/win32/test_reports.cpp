// Functions of the program's windows given missing arguments: each shows
// one report naming what was missing (a null as zeros) and refuses.
#include "funcs_layout_windows/explorer_folders.h"
#include "funcs_layout_windows/find_windows.h"
#include "funcs_layout_windows/fonts.h"
#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/load_profile.h"
#include "funcs_layout_windows/scan_passes.h"
#include "funcs_layout_windows/layout_apply.h"
#include "funcs_layout_windows/paint_main.h"
#include "main_window_fixture.h"
#include "wnd_ScanListView/create_profile.h"
#include "wnd_ScanListView/scan_list_commands.h"

TEST(Reports, FunctionsGivenMissingArgumentsReportThemAndRefuse)
{
    BoxRecorder rec;
    HWND hwnd = GetDesktopWindow();  // every call refuses before it acts on the window
    HDC hdc = GetDC(nullptr);
    STR_ENUM_WNDS_DATA empty = {};   // a store without buffers
    STR_ENUM_WNDS_DATA scratchOnly = {};
    scan_store_prepare(&scratchOnly);
    uint8_t scratch[8] = {};
    scratchOnly.pcTmpBuf_Prg_Folder_Path = scratch;
    HWNDs_loadedPrgsProfile_STR search = {};
    const uint8_t file[1] = {};
    const std::wstring Z = L"0000000000000000";
    const struct { intptr_t iGot, iWant; std::wstring piece; } rows[] = {
        {on_WM_SIZE(nullptr, 0, 0, nullptr, hwnd, hwnd, nullptr, nullptr, nullptr), -1, L"hwnd_MW = " + Z + L", pSTR_GeomLt = " + Z},
        {draw_MainWindow(hwnd, hdc, nullptr, nullptr, nullptr), -1, L"func draw_arrows()\nINPUT PARAMETERS:\nhwnd_MW = "},
        {DrawWindow(hwnd, hdc, 0, 0, 0, 50), -1, L"h = 0, w = 50\nreturn code : 0"},
        {zt_DrawLine(hdc, 4, 4, 4, 4), -1, L"x0 = 4, y0 = 4, x1 = 4, y1 = 4"},
        {reinterpret_cast<intptr_t>(zt_CreateFont(10, 400, 0, 0, 0, 16, nullptr)), 0, L"func zt_CreateFont()\npcTypeFaceName = " + Z},
        {FindFontSize(nullptr, 31), -1, L"func FindFontSize()\nhdc = " + Z + L", hREC = 31"},
        {on_WM_CREATE_02_ListView(hwnd, nullptr, nullptr, 4, nullptr), -1, L"function:\non_WM_CREATE_02_ListView\n\nline:"},
        {onButton_Move(hwnd, nullptr, 0, 0, nullptr, 3), -1, L"ERROR, incorrect input parameters\nline of error handler:"},
        {open_ModifyCell_window(hwnd, nullptr, nullptr, nullptr), -1, L"pSTR_ENUM_WNDS_DATA = " + Z},
        {on_Button_OK(nullptr, hwnd, 0, &empty), -1, L"error\n\nfile:\nsources/wnd_ModifyCell/wnd_ModifyCell.cpp\n\nfunction:\non_Button_OK\n\nline:\n"},
        {on_Button_OK(hwnd, hwnd, 0, &empty), -2, L"pcDynMem_WinHndls = " + Z + L", pcDynMem_GeomText = " + Z},
        {on_Button_CANCEL(nullptr, 0, 0), -1, L"function:\non_Button_CANCEL\n\nline:"},
        {reinterpret_cast<intptr_t>(open_NameOfProfile_window(nullptr)), 0, L"hwnd_ListOfWnds = " + Z},
        {onButton_Create_Profile(hwnd, hwnd, nullptr, nullptr, &empty), -1, L"p_hwnd_ProfileName = " + Z},
        {DynMemAlloc_wnds_Profile(nullptr, &empty), -1, L"pSTR_RW_PRFL = " + Z + L"\npSTR_ENUM_WNDS_DATA = "},
        {WriteData_Profile(nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), -1,
         L"incorrect INPUT parameters:\nhFile_wnds_profile = " + Z},
        {on_WM_COPYDATA_on_wnd_NameOfProfile(hwnd, nullptr, nullptr, nullptr), -1, L"hwnd_wnd_NameProfile = " + Z},
        {EnumWindowsProc_Calc(hwnd, 0), FALSE, L"function:\nEnumWindowsProc_Calc\nline:\n"},
        {EnumWindowsProc_Calc_02(hwnd, reinterpret_cast<LPARAM>(&scratchOnly)), FALSE, L"arr1D_ui_LenPath = " + Z + L"\narr1D_uc_flag_FP = " + Z},
        {GetCurrentExplorerFolders_01(nullptr), -1, L"incorrect input parameters:pSTR_params = " + Z},
        {GetCurrentExplorerFolders_02(&empty), -1, L"incorrect input parameters:pSTR_params->pcDynMem_WinHndls = " + Z},
        {onButton_Scan_Clicked(hwnd, nullptr, 0, 0, &empty), -1, L"p_hwnd_ScanListView = " + Z},
        {onButton_LoadProfile_clicked(hwnd, 1, nullptr, nullptr, nullptr, nullptr, nullptr), -1, L"hwnd_MW = "},
        {preInitOnce_onLoadProfile(nullptr), -1, L"function:\npreInitOnce_onLoadProfile\n\nline:"},
        {Restore_Move_Size_wnds_Profile(nullptr, 0), -1, L"p_LoadedProfiles_STR = " + Z},
        {GetHWNDS_of_LoadedFolders(file, nullptr, nullptr), -1, L"p_arr1D_hwnd = " + Z},
        {check_folders_loaded(file, nullptr, nullptr, 0, nullptr), -1, L"pc_arr1D_hwnd = " + Z + L", uiN_wnds = 0"},
        {find_hwnds_Programs_fill_array(&search, 0, nullptr), -1, L"pc_arr1D_hwnd_Programs_only = " + Z},
        {GetHWNDS_of_LoadedPrograms(hwnd, reinterpret_cast<LPARAM>(&search)), FALSE, L"pParams_STR->p_hwnd_arr = " + Z},
        {CB_Action_init(nullptr, 5, nullptr), -1, L"hwnd_CB_Action = " + Z},
        {onButton_Apply_press(nullptr, nullptr, nullptr, nullptr), -1, L"p_CB_Profile_manage_STR = " + Z},
    };
    ReleaseDC(nullptr, hdc);
    ASSERT_EQ(sizeof(rows) / sizeof(rows[0]), rec.boxes.size());
    for (size_t i = 0; i < rec.boxes.size(); ++i) {
        EXPECT_EQ(rows[i].iWant, rows[i].iGot) << i;
        EXPECT_EQ(L"error", rec.boxes[i].caption) << i;
        EXPECT_NE(std::wstring::npos, rec.boxes[i].text.find(rows[i].piece)) << i << ": " << rec.boxes[i].text;
    }
}
