// Functions of the program's windows given missing arguments: each shows
// one report naming what was missing (a null as zeros) and refuses.
#include "funcs_layout_windows/fonts.h"
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
    const std::wstring Z = L"0000000000000000";
    const struct { intptr_t iGot, iWant; std::wstring piece; } rows[] = {
        {on_WM_SIZE(nullptr, 0, 0, nullptr, hwnd, hwnd, nullptr, nullptr, nullptr), -1, L"hwnd_MW = " + Z + L", pSTR_GeomLt = " + Z},
        {draw_MainWindow(hwnd, hdc, nullptr, nullptr, nullptr), -1, L"func draw_arrows()\nINPUT PARAMETERS:\nhwnd_MW = "},
        {DrawWindow(hwnd, hdc, 0, 0, 0, 50), -1, L"h = 0, w = 50\nreturn code : 0"},
        {zt_DrawLine(hdc, 4, 4, 4, 4), -1, L"x0 = 4, y0 = 4, x1 = 4, y1 = 4"},
        {reinterpret_cast<intptr_t>(zt_CreateFont(10, 400, 0, 0, 0, 16, nullptr)), 0, L"func zt_CreateFont()\npcTypeFaceName = " + Z},
        {FindFontSize(nullptr, 31), -1, L"func FindFontSize()\nhdc = " + Z + L", hREC = 31"},
        {FindFontSize_fit_H_and_W(hdc, L"x", 31, -3), -1, L"hREC = 31,wREC = -3,ptc_Text = "},
        {on_WM_CREATE_02_ListView(hwnd, nullptr, nullptr, 4, nullptr), -1, L"function:\non_WM_CREATE_02_ListView\n\nline:"},
        {onButton_Move(hwnd, nullptr, 0, 0, nullptr, 3), -1, L"ERROR, incorrect input parameters\nline of error handler:"},
        {open_ModifyCell_window(hwnd, nullptr, nullptr, nullptr), -1, L"pSTR_ENUM_WNDS_DATA = " + Z},
        {on_Button_OK(nullptr, hwnd, 0, &empty), -1, L"error\n\nfile:\nsources/wnd_ModifyCell/wnd_ModifyCell.cpp\n\nfunction:\non_Button_OK\n\nline:\n"},
        {on_Button_OK(hwnd, hwnd, 0, &empty), -2, L"pcDynMem_WinHndls = " + Z + L", pcDynMem_GeomText = " + Z},
        {on_Button_OK(hwnd, hwnd, nullptr, 0, 0), -1, L"hEdit = " + Z},
        {on_Button_CANCEL(nullptr, 0, 0), -1, L"function:\non_Button_CANCEL\n\nline:"},
        {reinterpret_cast<intptr_t>(open_NameOfProfile_window(nullptr)), 0, L"hwnd_ListOfWnds = " + Z},
        {onButton_Create_Profile(hwnd, hwnd, nullptr, nullptr, &empty), -1, L"p_hwnd_ProfileName = " + Z},
        {DynMemAlloc_wnds_Profile(nullptr, &empty), -1, L"pSTR_RW_PRFL = " + Z + L"\npSTR_ENUM_WNDS_DATA = "},
        {PrepareData_Write_Profile(nullptr, nullptr), -1, L"pSTR_RW_PRFL = " + Z + L", pSTR_ENUM_WNDS_DATA = " + Z},
        {FreeDynMem_wnds_Profile(nullptr), -1, L"function:\nFreeDynMem_wnds_Profile\n\nline:"},
        {WriteData_Profile(nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), -1,
         L"incorrect INPUT parameters:\nhFile_wnds_profile = " + Z},
        {on_WM_COPYDATA_on_wnd_NameOfProfile(hwnd, nullptr, nullptr, nullptr), -1, L"hwnd_wnd_NameProfile = " + Z},
    };
    ReleaseDC(nullptr, hdc);
    ASSERT_EQ(sizeof(rows) / sizeof(rows[0]), rec.boxes.size());
    for (size_t i = 0; i < rec.boxes.size(); ++i) {
        EXPECT_EQ(rows[i].iWant, rows[i].iGot) << i;
        EXPECT_EQ(L"error", rec.boxes[i].caption) << i;
        EXPECT_NE(std::wstring::npos, rec.boxes[i].text.find(rows[i].piece)) << i << ": " << rec.boxes[i].text;
    }
}
