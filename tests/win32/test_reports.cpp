// Functions given missing arguments, one per form of report: each refuses
// and shows one report naming the source file, the function, the line of
// the check (the same line as the handler's, where the form has one) and
// what was missing (a null as zeros).
#include <regex>

#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/fonts.h"
#include "main_window_fixture.h"

TEST(Reports, FunctionsGivenMissingArgumentsReportThemInTheirFormAndRefuse)
{
    BoxRecorder rec;
    STR_ENUM_WNDS_DATA empty = {};
    const std::wstring Z = L"0000000000000000";
    const struct { intptr_t iGot, iWant; const wchar_t* ptcCaption; std::wstring pattern; } rows[] = {
        {onButton_Scan_Clicked(GetDesktopWindow(), nullptr, 0, 0, &empty), -1, L"error",
         L"error\n\nfile:\nsources/funcs_layout_windows/scan_command.cpp\nfunction:\nonButton_Scan_Clicked\nline:\n(\\d+)\n\nerror, "
         L"incorrect input parameters\nhwndThis = \\w+\npSTR = \\w+\np_hwnd_ScanListView = " + Z + L"\nline of error handler:\\1"},
        {onButton_Apply_press(nullptr, nullptr, nullptr, nullptr), -1, L"error",
         L"error\n\nfile:\nsources/funcs_layout_windows/apply.cpp\n\nfunction:\nonButton_Apply_press\n\nline:\n(\\d+)\nline of error "
         L"handler:\n\\1\nerror, incorrect input parameters:\n\np_CB_Profile_manage_STR = " + Z + L"\np_CB_Action_manage_STR = " + Z},
        {reinterpret_cast<intptr_t>(zt_CreateFont(10, 400, 0, 0, 0, 16, nullptr)), 0, L"error",
         L"error\nfile: sources/funcs_layout_windows/fonts.cpp\nfunction: zt_CreateFont\nline: \\d+\nincorrect input parameters, "
         L"func zt_CreateFont\\(\\)\npcTypeFaceName = " + Z},
        {(on_WM_NOTIFY_ListView(nullptr, nullptr, nullptr, nullptr), 0), 0, L"ERROR",
         L"\nERROR\n\nfile:\n\nsources/wnd_ScanListView/list_view_notify.cpp\nfunction:\n\non_WM_NOTIFY_ListView\nline:\n\n\\d+\n\n"},
    };
    ASSERT_EQ(sizeof(rows) / sizeof(rows[0]), rec.boxes.size());
    for (size_t i = 0; i < rec.boxes.size(); ++i) {
        EXPECT_TRUE(rows[i].iWant == rows[i].iGot && rows[i].ptcCaption == rec.boxes[i].caption) << i;
        EXPECT_TRUE(std::regex_match(rec.boxes[i].text, std::wregex(rows[i].pattern))) << i << ": " << rec.boxes[i].text;
    }
}
