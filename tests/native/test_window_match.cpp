#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile_bytes.h"
#include "window_match.h"

namespace {

// The aligned paths of a profile with these entries (kinds other than 0
// and 1 too, as a reader may meet them).
STR_EntryPaths paths_of(const std::vector<QdTestEntry>& entries)
{
    const std::vector<uint8_t> file = qd_profile_bytes(entries, u"p");
    STR_ProfileView view{};
    EXPECT_EQ(QD_PRF_OK, profile_open(file.data(), file.size(), &view));
    STR_EntryPaths paths;
    entry_paths_build(&view, &paths);
    return paths;
}

const std::u16string kEditor = u"C:\\Tools\\Editor.exe";
const std::u16string kDocs = u"C:\\Users\\me\\Docs";

}  // namespace

TEST(WindowMatch, FolderWindowFillsEveryFolderEntryShowingItsPath)
{
    const STR_EntryPaths paths = paths_of({{0, kDocs}, {1, kDocs}, {0, u"c:\\users\\ME\\docs"}, {0, kDocs + u"\\"}});
    std::vector<uint32_t> hwnd(4, 0);
    EXPECT_EQ(2u, match_folder_window(&paths, kDocs.data(), kDocs.size(), 0x50, hwnd.data(), nullptr));
    // Same folder in another case matches; a program entry and a path with
    // a trailing separator do not.
    EXPECT_EQ((std::vector<uint32_t>{0x50, 0, 0x50, 0}), hwnd);
    // A later window on the same folder replaces the first.
    match_folder_window(&paths, kDocs.data(), kDocs.size(), 0x60, hwnd.data(), nullptr);
    EXPECT_EQ(0x60u, hwnd[0]);
}

// Entries 0 and 2 are twins of one program, each started by this load;
// entry 1 is a folder with the same path, entry 3 another program.
TEST(WindowMatch, EachWindowGoesToOneEntryAndAStartedProcesssWindowToItsOwn)
{
    const std::u16string kOther = u"C:\\Tools\\Other.exe";
    const STR_EntryPaths paths = paths_of({{1, kEditor}, {0, kEditor}, {1, u"c:\\tools\\editor.EXE"}, {1, kOther}});
    const STR_LaunchIds launched[] = {{0, 700, 701, true}, {2, 800, 801, true}, {3, 900, 901, true}};
    struct Seen { uint32_t hwnd, pid, tid; bool bOther; };  // bOther: the module is Other.exe, not Editor.exe
    // The windows seen in enumeration order, over one or more attempts, and the slots they leave.
    const struct { const char* what; std::vector<Seen> seen; std::vector<uint32_t> slots; } rows[] = {
        {"twins: each started window to its own entry", {{0x20, 800, 801, false}, {0x10, 700, 701, false}}, {0x10, 0, 0x20, 0}},
        {"an older instance first, then the started window", {{0x50, 55, 56, false}, {0x10, 700, 701, false}}, {0x10, 0, 0, 0}},
        {"the started window first, then an older instance", {{0x10, 700, 701, false}, {0x50, 55, 56, false}}, {0x10, 0, 0x50, 0}},
        {"a window already in a slot goes nowhere else", {{0x50, 55, 56, false}, {0x50, 55, 56, false}}, {0x50, 0, 0, 0}},
        {"the last primary-thread window wins", {{0x10, 700, 701, false}, {0x12, 700, 701, false}}, {0x12, 0, 0, 0}},
        {"a secondary-thread window never over its own primary", {{0x10, 700, 701, false}, {0x11, 700, 999, false}}, {0x10, 0, 0, 0}},
        {"a secondary-thread window over an older instance", {{0x50, 55, 56, false}, {0x11, 700, 999, false}}, {0x11, 0, 0, 0}},
        {"a started process's window of another path goes nowhere", {{0x30, 900, 901, false}}, {0, 0, 0, 0}},
        {"another program's window fills its own entry only", {{0x40, 56, 57, true}}, {0, 0, 0, 0x40}},
    };
    for (const auto& row : rows) {
        std::vector<uint32_t> hwnd(4, 0), pid(4, 0);
        STR_ProgramSlots slots = {hwnd.data(), pid.data()};
        for (const Seen& w : row.seen) {
            const std::u16string& path = w.bOther ? kOther : kEditor;
            const STR_WndSeen seen = {w.hwnd, w.pid, w.tid, path.data(), path.size()};
            match_program_window(&paths, &seen, launched, 3, &slots, nullptr);
        }
        EXPECT_EQ(row.slots, hwnd) << row.what;
    }
}

TEST(WindowMatch, WaitsEndWhenEverythingIsFoundOrExcused)
{
    const STR_EntryPaths paths = paths_of({{0, kDocs}, {1, kEditor}, {0, u"D:\\Gone"}, {1, u"C:\\gone.exe"}, {7, u"C:\\odd.exe"}});
    std::vector<uint32_t> hwnd(5, 0), pid(5, 0);
    STR_ProgramSlots slots = {hwnd.data(), pid.data()};
    STR_LaunchIds launched[] = {{1, 700, 701, true}, {3, 0, 0, false}};
    STR_LoadFailures fail;
    EXPECT_EQ(2, folders_all_found(&paths, hwnd.data(), &fail));
    EXPECT_FALSE(programs_all_found(&paths, &slots, launched, 2, &fail));
    hwnd[0] = 1;
    // Entry 2's folder and entry 3's program failed to open: one of each.
    fail = {{2, 3}, 1, 1};
    EXPECT_EQ(1, folders_all_found(&paths, hwnd.data(), &fail));
    // An older instance's window (process 55) does not end the wait while
    // the started process 700 runs; it does once 700 has ended.
    hwnd[1] = 2;
    pid[1] = 55;
    EXPECT_FALSE(programs_all_found(&paths, &slots, launched, 2, &fail));
    launched[0].b_Running = false;
    EXPECT_TRUE(programs_all_found(&paths, &slots, launched, 2, &fail));  // the kind-7 entry is not waited for
    launched[0].b_Running = true;
    pid[1] = 700;
    EXPECT_TRUE(programs_all_found(&paths, &slots, launched, 2, &fail));
    // A folder in the list is excused only when a folder failed at all.
    fail.uiN_Folders = 0;
    EXPECT_EQ(2, folders_all_found(&paths, hwnd.data(), &fail));
}
