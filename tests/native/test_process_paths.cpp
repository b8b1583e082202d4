#include <gtest/gtest.h>

#include <string>

#include "process_paths.h"

TEST(ProcessPaths, EachProcessKeepsItsFirstAnswerWithPathOrError)
{
    STR_ProcPaths r;
    const struct {
        uint32_t pid;
        QD_ProcPathKind kind;
        uint32_t err;
        std::u16string path;
    } kAnswers[] = {
        {3000, QD_PROC_PATH, 0, u"C:\\Tools\\Editor.exe"},
        {12, QD_PROC_NO_PATH, 299, u""},
        {0, QD_PROC_NOT_OPENED, 5, u""},
        {700, QD_PROC_PATH, 0, u"C:\\windows\\explorer.exe"},
    };
    for (const auto& a : kAnswers) {
        EXPECT_EQ(nullptr, proc_paths_find(&r, a.pid));
        EXPECT_TRUE(proc_paths_keep(&r, a.pid, a.kind, a.err, a.path.c_str(), static_cast<uint32_t>(a.path.size())));
    }
    // A second answer for a process changes nothing: its windows all get the first.
    EXPECT_TRUE(proc_paths_keep(&r, 12, QD_PROC_PATH, 0, u"C:\\x.exe", 8));
    for (const auto& a : kAnswers) {
        const STR_ProcPath* e = proc_paths_find(&r, a.pid);
        ASSERT_NE(nullptr, e) << a.pid;
        EXPECT_EQ(a.kind, e->uc_Kind);
        EXPECT_EQ(a.err, e->ui_Error);
        EXPECT_EQ(a.path.size(), e->uiN_Path);
        EXPECT_EQ(a.path, std::u16string(proc_paths_text(&r, e)));
    }
    EXPECT_EQ(nullptr, proc_paths_find(&r, 701));
    EXPECT_EQ(4u, r.entries.size());
    // Without a record nothing is kept or found; a path answer needs its text.
    EXPECT_FALSE(proc_paths_keep(nullptr, 1, QD_PROC_NOT_OPENED, 0, nullptr, 0));
    EXPECT_FALSE(proc_paths_keep(&r, 1, QD_PROC_PATH, 0, nullptr, 3));
    EXPECT_EQ(nullptr, proc_paths_find(nullptr, 3000));
}

TEST(ProcessPaths, WindowsKeepTheirFirstOwnerAndClassVerdict)
{
    STR_ProcPaths r;
    const struct {
        uint32_t hwnd, pid;
        bool excluded;
    } kWindows[] = {{0x2004A, 3000, false}, {0x10010, 0, true}, {0xFFFF0012, 3000, false}, {0x30020, 12, false}};
    for (const auto& w : kWindows) {
        EXPECT_EQ(nullptr, proc_paths_find_window(&r, w.hwnd));
        EXPECT_TRUE(proc_paths_keep_window(&r, w.hwnd, w.pid, w.excluded));
    }
    EXPECT_TRUE(proc_paths_keep_window(&r, 0x10010, 77, false));
    for (const auto& w : kWindows) {
        const STR_WndOwner* e = proc_paths_find_window(&r, w.hwnd);
        ASSERT_NE(nullptr, e) << w.hwnd;
        EXPECT_EQ(w.pid, e->ui_Pid);
        EXPECT_EQ(w.excluded, e->b_Excluded);
    }
    EXPECT_EQ(nullptr, proc_paths_find_window(&r, 0x2004B));
    EXPECT_TRUE(r.entries.empty());  // windows are not processes
    EXPECT_FALSE(proc_paths_keep_window(nullptr, 1, 1, false));
}
