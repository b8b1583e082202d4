#include <gtest/gtest.h>

#include <string>

#include "box_recorder.h"
#include "platform/zt_win.h"
#include "report/report.h"

namespace {
QD_REPORT_UNIT(g_repTest, 200);
}

TEST(Reports, StructuredReportShowsRelativePathFunctionLinesAndValues)
{
    BoxRecorder rec;
    g_repTest.iLine = __LINE__;
    zt_Report(&g_repTest, "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- onButton_Scan_Click()\nret code = %d\nline of error handler:%d",
              __FILE__, __func__, g_repTest.iLine, -2, 77);
    ASSERT_EQ(1u, rec.boxes.size());
    const RecordedBox& b = rec.boxes[0];
    EXPECT_EQ(L"error", b.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), b.uiFlags);
    EXPECT_EQ(nullptr, b.hwndOwner);
    // The build maps the repository root away: the path starts at tests/.
    EXPECT_EQ(0u, b.text.find(L"error\n\nfile:\ntests/win32/test_reports.cpp\nfunction:\nTestBody\nline:\n"));
    EXPECT_NE(std::wstring::npos, b.text.find(L"ret code = -2\nline of error handler:77"));
}

TEST(Reports, NullHandleShowsAsZerosOfPointerWidthAndLongReportsStayInTheBuffer)
{
    BoxRecorder rec;
    std::string longPath(600, 'x');
    zt_Report(&g_repTest, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input:\nhwnd_MW = %p, hDrop = %p\nline of error handler:\n%d",
              longPath.c_str(), "on_wm_dropfiles", 10, static_cast<void*>(nullptr), reinterpret_cast<void*>(0x1234), 12);
    ASSERT_EQ(1u, rec.boxes.size());
    const std::wstring& t = rec.boxes[0].text;
    EXPECT_EQ(199u, t.size());  // buffer of 200 units, path shortened from the front
    const std::wstring zeros(sizeof(void*) * 2, L'0');
    EXPECT_NE(std::wstring::npos, t.find(L"hwnd_MW = " + zeros + L", hDrop = "));
    EXPECT_NE(std::wstring::npos, t.find(L"1234\nline of error handler:\n12"));
    EXPECT_NE(std::wstring::npos, t.find(L"file:\n...xxx"));
}

TEST(Reports, SystemErrorBoxShowsTheSystemsTextForTheLastError)
{
    BoxRecorder rec;
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), zt_ShowLastError());
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"GetLastError", rec.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), rec.boxes[0].uiFlags);
    wchar_t expect[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), expect, 256, nullptr);
    EXPECT_FALSE(rec.boxes[0].text.empty());
    EXPECT_EQ(expect, rec.boxes[0].text);
}

TEST(Reports, HookAnswersForTheUserAndRealBoxesReturnAfterwards)
{
    {
        BoxRecorder rec;
        rec.iAnswer = IDCANCEL;
        EXPECT_EQ(IDCANCEL, zt_Box(nullptr, L"text", L"info", MB_OKCANCEL));
        EXPECT_EQ(1u, rec.count_caption(L"info"));
    }
    // Without a recorder a real box would be shown: prove the hook is gone by
    // a second recorder seeing only its own boxes.
    BoxRecorder rec2;
    zt_Box(nullptr, L"second", L"warning", MB_OK);
    ASSERT_EQ(1u, rec2.boxes.size());
    EXPECT_EQ(L"second", rec2.boxes[0].text);
}
