#include <gtest/gtest.h>

#include <string>

#include "report_format.h"

TEST(ReportFormat, ConversionsAsTheWindowsRuntimePrintsThemAlwaysTerminatedInTheBuffer)
{
    auto fmt = [](size_t cap, const char* f, auto... args) {
        std::u16string buf(cap, u'#');
        qd_format(&buf[0], cap, f, args...);
        return std::u16string(buf.c_str());
    };
    EXPECT_EQ(u"a 12 -7 4294967295 ff FF 5% 03 123", fmt(99, "a %d %d %u %x %X %d%% %.2u %.2u", 12, -7, 0xFFFFFFFFu, 255, 255, 5, 3u, 123u));
    EXPECT_EQ(u"[  42][42  ][0042] -2147483648 a.cpp / wide", fmt(99, "[%4d][%-4d][%04d] %d %s / %ls", 42, 42, 42, INT32_MIN, "a.cpp", u"wide"));
    // Pointers in upper-case hex, zero-padded to the pointer's width.
    EXPECT_EQ(sizeof(void*) == 8 ? u"000000000000ABCD 0000000000000000" : u"0000ABCD 00000000",
              fmt(99, "%p %p", reinterpret_cast<void*>(0xABCDu), static_cast<void*>(nullptr)));
    EXPECT_EQ(u"0123456", fmt(8, "%s", "0123456789"));
    EXPECT_EQ(u"", fmt(1, "abc"));
}

TEST(ReportFormat, ALongSourcePathLosesItsFrontSoTheDescriptionSurvives)
{
    const char* tmpl = "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nret code = %d\nline of error handler:%d";
    const std::string path = std::string(400, 'p') + "/scan.cpp";
    qd_char buf[100];
    EXPECT_EQ(99u, qd_format_report(buf, 100, tmpl, path.c_str(), "WndProc", 120, -3, 125));
    EXPECT_EQ(u"error\n\nfile:\n...ppppp/scan.cpp\nfunction:\nWndProc\nline:\n120\n\nret code = -3\nline of error handler:125", std::u16string(buf));
    EXPECT_EQ(76u, qd_format_report(buf, 100, tmpl, "a.cpp", "f", 1, 2, 3));  // a report that fits is left alone
    EXPECT_EQ(u"error\n\nfile:\na.cpp\nfunction:\nf\nline:\n1\n\nret code = 2\nline of error handler:3", std::u16string(buf));
    EXPECT_EQ(99u, qd_format_report(buf, 100, "%s %s", "x", std::string(500, 'd').c_str()));  // cut at the end when needed
    EXPECT_EQ(u"... " + std::u16string(95, u'd'), std::u16string(buf));
}
