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

// Entries 0 and 2 are twins of one program; entry 1 is a folder with the
// same path, entry 3 another program. The load started 700 for entry 0,
// 800 for entry 2 and 900 for entry 3; process 55 is a copy the load did
// not start, and windows 0x5_ existed before the load.
TEST(WindowMatch, NewWindowsAreTheProfilesAndTheUsersOwnStandInOnlyForAStartThatEndedWithout)
{
    const std::u16string kOther = u"C:\\Tools\\Other.exe";
    const STR_EntryPaths paths = paths_of({{1, kEditor}, {0, kEditor}, {1, u"c:\\tools\\editor.EXE"}, {1, kOther}});
    enum Start { Runs, Ended, EndedAPauseAgo };
    struct Seen { uint32_t hwnd, pid; bool bOther; };  // bOther: the module is Other.exe, not Editor.exe
    const uint32_t pre[] = {0x50, 0x51};
    // How starts 700 and 800 stand (900 runs), the slots open to matching
    // (all when empty), what one attempt met in enumeration order, and the slots it leaves.
    const struct { const char* what; Start s700, s800; std::vector<uint8_t> open; std::vector<Seen> seen; std::vector<uint32_t> slots; } rows[] = {
        {"twins: each started window to its own entry", Runs, Runs, {}, {{0x20, 800, false}, {0x10, 700, false}}, {0x10, 0, 0x20, 0}},
        {"a single-instance twin: the second window to the start that handed over", Runs, Ended, {}, {{0x10, 700, false}, {0x11, 700, false}}, {0x10, 0, 0x11, 0}},
        {"but not while that start still runs", Runs, Runs, {}, {{0x10, 700, false}, {0x11, 700, false}}, {0x10, 0, 0, 0}},
        {"the user's running copy: its new windows take the starts, its old one stays", Ended, Ended, {}, {{0x50, 55, false}, {0x60, 55, false}, {0x61, 55, false}}, {0x60, 0, 0x61, 0}},
        {"the user's window stands in for a start that ended a pause ago", EndedAPauseAgo, Runs, {}, {{0x50, 55, false}}, {0x50, 0, 0, 0}},
        {"never for one that just ended or still runs", Ended, Runs, {}, {{0x50, 55, false}, {0x51, 55, false}}, {0, 0, 0, 0}},
        {"and only for what the new windows leave, whatever the order met", EndedAPauseAgo, EndedAPauseAgo, {}, {{0x50, 55, false}, {0x60, 55, false}}, {0x60, 0, 0x50, 0}},
        {"a copy's new window holds a running start's entry until that start's own comes, then the next", Runs, Runs, {}, {{0x40, 55, false}, {0x10, 700, false}}, {0x10, 0, 0x40, 0}},
        {"a started process's window of another path goes nowhere", Runs, Runs, {}, {{0x30, 900, false}}, {0, 0, 0, 0}},
        {"another program's window fills its own entry only", Runs, Runs, {}, {{0x41, 56, true}}, {0, 0, 0, 0x41}},
        {"only open entries are filled", Runs, Runs, {0, 0, 1, 0}, {{0x10, 700, false}, {0x21, 800, false}}, {0, 0, 0x21, 0}},
    };
    for (const auto& row : rows) {
        const STR_LaunchIds launched[] = {{0, 700, row.s700 == Runs, row.s700 == EndedAPauseAgo},
                                          {2, 800, row.s800 == Runs, row.s800 == EndedAPauseAgo},
                                          {3, 900, true, false}};
        std::vector<STR_WndSeen> seen;
        for (const Seen& w : row.seen) {
            const std::u16string& path = w.bOther ? kOther : kEditor;
            seen.push_back({w.hwnd, w.pid, path.data(), path.size()});
        }
        std::vector<uint32_t> hwnd(4, 0), pid(4, 0);
        STR_ProgramSlots slots = {hwnd.data(), pid.data(), row.open.empty() ? nullptr : row.open.data()};
        // Met twice: a window already in a slot takes no other.
        for (int a = 0; a < 2; ++a)
            match_program_windows(&paths, seen.data(), static_cast<uint32_t>(seen.size()), pre, 2, launched, 3, &slots, nullptr);
        EXPECT_EQ(row.slots, hwnd) << row.what;
    }
}

TEST(WindowMatch, WaitsEndWhenEverythingIsFoundOrExcused)
{
    const STR_EntryPaths paths = paths_of({{0, kDocs}, {1, kEditor}, {0, u"D:\\Gone"}, {1, u"C:\\gone.exe"}, {7, u"C:\\odd.exe"}});
    std::vector<uint32_t> hwnd(5, 0);
    STR_LoadFailures fail;
    EXPECT_EQ(2, folders_all_found(&paths, hwnd.data(), &fail));
    EXPECT_FALSE(programs_all_found(&paths, hwnd.data(), &fail));
    hwnd[0] = 1;
    // Entry 2's folder and entry 3's program failed to open: one of each.
    fail = {{2, 3}, 1, 1};
    EXPECT_EQ(1, folders_all_found(&paths, hwnd.data(), &fail));
    EXPECT_FALSE(programs_all_found(&paths, hwnd.data(), &fail));
    hwnd[1] = 2;
    EXPECT_TRUE(programs_all_found(&paths, hwnd.data(), &fail));  // the kind-7 entry is not waited for
    // A folder in the list is excused only when a folder failed at all.
    fail.uiN_Folders = 0;
    EXPECT_EQ(2, folders_all_found(&paths, hwnd.data(), &fail));
}

TEST(WindowMatch, A32BitStartUnderTheSystemFolderTurnsRedirectionOff)
{
    const std::u16string kSystem = u"C:\\Windows\\System32";
    const struct { bool bWow64; std::u16string path, system; bool bOff; } rows[] = {
        {true, u"C:\\WINDOWS\\system32\\notepad.exe", kSystem, true},
        {true, u"C:\\Windows\\System32\\wbem\\wmic.exe", kSystem + u"\\", true},
        {false, u"C:\\Windows\\System32\\notepad.exe", kSystem, false},  // a 64-bit or a 32-bit Windows
        {true, u"C:\\Windows\\System32.exe", kSystem, false},
        {true, u"C:\\Windows\\SysWOW64\\notepad.exe", kSystem, false},
        {true, u"C:\\Windows\\notepad.exe", kSystem, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.bOff, start_without_redirection(row.bWow64, row.path.data(), row.path.size(), row.system.data(),
                                                     row.system.size(), nullptr))
            << std::string(row.path.begin(), row.path.end());
}
