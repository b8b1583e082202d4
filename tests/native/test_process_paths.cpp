#include <gtest/gtest.h>

#include <string>

#include "process_paths.h"

// Processes keep their first answer (path, or failure with its error) and
// windows their first owner and class verdict; a second answer changes nothing.
TEST(ProcessPaths, FirstAnswerPerProcessAndPerWindowIsKept)
{
    STR_ProcPaths r;
    const struct { uint32_t pid; QD_ProcPathKind kind; uint32_t err; std::u16string path; } kProcs[] = {
        {3000, QD_PROC_PATH, 0, u"C:\\Tools\\Editor.exe"}, {12, QD_PROC_NO_PATH, 299, u""},
        {0, QD_PROC_NOT_OPENED, 5, u""}, {700, QD_PROC_PATH, 0, u"C:\\windows\\explorer.exe"}};
    for (const auto& a : kProcs) {
        EXPECT_EQ(nullptr, proc_paths_find(&r, a.pid));
        EXPECT_TRUE(proc_paths_keep(&r, a.pid, a.kind, a.err, a.path.c_str(), static_cast<uint32_t>(a.path.size())));
    }
    EXPECT_TRUE(proc_paths_keep(&r, 12, QD_PROC_PATH, 0, u"C:\\x.exe", 8));
    const STR_WndOwner kWindows[] = {{0x2004A, 3000, 3004, false}, {0x10010, 0, 0, true}, {0xFFFF0012, 3000, 3008, false}};
    for (const auto& w : kWindows) EXPECT_TRUE(proc_paths_keep_window(&r, w));
    EXPECT_TRUE(proc_paths_keep_window(&r, {0x10010, 77, 78, false}));

    for (const auto& a : kProcs) {
        const STR_ProcPath* e = proc_paths_find(&r, a.pid);
        ASSERT_NE(nullptr, e) << a.pid;
        EXPECT_EQ(a.kind, e->uc_Kind);
        EXPECT_EQ(a.err, e->ui_Error);
        EXPECT_EQ(a.path.size(), e->uiN_Path);
        EXPECT_EQ(a.path, std::u16string(proc_paths_text(&r, e)));  // zero-terminated
    }
    for (const auto& w : kWindows) {
        const STR_WndOwner* e = proc_paths_find_window(&r, w.ui_hwnd);
        ASSERT_NE(nullptr, e) << w.ui_hwnd;
        EXPECT_TRUE(e->ui_Pid == w.ui_Pid && e->ui_Tid == w.ui_Tid && e->b_Excluded == w.b_Excluded);
    }
    EXPECT_EQ(nullptr, proc_paths_find(&r, 701));
    EXPECT_EQ(nullptr, proc_paths_find_window(&r, 0x2004B));
    EXPECT_FALSE(proc_paths_keep(&r, 1, QD_PROC_PATH, 0, nullptr, 3));  // a path answer needs its text
    // (A thread that did not answer once is not waited for again: the Scan tests count the waits.)
}
