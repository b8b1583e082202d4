#include <gtest/gtest.h>

#include <string>

#include "report_format.h"

namespace {

std::u16string fmt(size_t cap, const char* f, ...)
{
    std::u16string buf(cap, u'#');
    va_list ap;
    va_start(ap, f);
    qd_vformat(&buf[0], cap, f, ap);
    va_end(ap);
    return std::u16string(buf.c_str());
}

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

TEST(ReportFormat, ConversionsAsTheWindowsRuntimePrintsThem)
{
    EXPECT_EQ(u"a 12 -7 4294967295 ff FF 5%", fmt(100, "a %d %d %u %x %X %d%%", 12, -7, 0xFFFFFFFFu, 255, 255, 5));
    EXPECT_EQ(u"Profiles loaded: 03", fmt(100, "Profiles loaded: %.2u", 3u));
    EXPECT_EQ(u"Profiles loaded: 123", fmt(100, "Profiles loaded: %.2u", 123u));
    EXPECT_EQ(u"[  42][42  ][0042]", fmt(100, "[%4d][%-4d][%04d]", 42, 42, 42));
    EXPECT_EQ(u"-2147483648", fmt(100, "%d", INT32_MIN));
    EXPECT_EQ(u"file.cpp / wide", fmt(100, "%s / %ls", "file.cpp", u"wide"));
    // A null pointer shows as zeros of the pointer's width.
    EXPECT_EQ(widen(std::string(sizeof(void*) * 2, '0')), fmt(100, "%p", static_cast<void*>(nullptr)));
    std::u16string p = fmt(100, "%p", reinterpret_cast<void*>(0xABCDu));
    EXPECT_EQ(sizeof(void*) * 2, p.size());
    EXPECT_EQ(u"ABCD", p.substr(p.size() - 4));
}

TEST(ReportFormat, BoundedAndAlwaysTerminated)
{
    qd_char buf[8];
    for (qd_char& c : buf) c = u'#';
    size_t need = qd_format(buf, 8, "%s", "0123456789");
    EXPECT_EQ(10u, need);
    EXPECT_EQ(u"0123456", std::u16string(buf));
    EXPECT_EQ(0u, qd_format_report(nullptr, 8, "x"));
    qd_char one[1] = {u'#'};
    qd_format(one, 1, "abc");
    EXPECT_EQ(0, one[0]);
}

TEST(ReportFormat, LongSourcePathIsShortenedFromTheFront)
{
    const char* tmpl = "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- onButton_Scan_Click()\nret code = %d\nline of error handler:%d";
    std::string path(400, 'p');
    path += "/funcs_layout_windows/scan.cpp";
    qd_char buf[200];
    size_t n = qd_format_report(buf, 200, tmpl, path.c_str(), "WndProc", 120, -3, 125);
    std::u16string s(buf);
    EXPECT_EQ(199u, n);
    EXPECT_EQ(199u, s.size());
    EXPECT_NE(std::u16string::npos, s.find(u"file:\n...ppp"));
    EXPECT_NE(std::u16string::npos, s.find(u"/funcs_layout_windows/scan.cpp\nfunction:\nWndProc"));
    EXPECT_EQ(u"ret code = -3\nline of error handler:125", s.substr(s.size() - 39));
    // A report that fits is left alone.
    n = qd_format_report(buf, 200, tmpl, "sources/a.cpp", "f", 1, 2, 3);
    EXPECT_EQ(std::u16string(buf).size(), n);
    EXPECT_EQ(0u, std::u16string(buf).find(u"error\n\nfile:\nsources/a.cpp\n"));
    // Even a description longer than the buffer ends terminated inside it.
    std::string big(500, 'd');
    n = qd_format_report(buf, 200, "%s %s", "x", big.c_str());
    EXPECT_EQ(199u, n);
    EXPECT_EQ(199u, std::u16string(buf).size());
}
