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
