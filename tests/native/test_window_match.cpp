#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_match.h"

namespace {

struct Entry {
    uint8_t kind;
    std::u16string path;
};

// A valid profile file with the given entries, opened.
struct Profile {
    std::vector<uint8_t> file;
    STR_ProfileView view{};
    STR_EntryPaths paths;
    explicit Profile(const std::vector<Entry>& entries)
    {
        std::vector<uint8_t> kinds;
        std::vector<uint32_t> zeros(entries.size(), 0), lens;
        std::u16string packed;
        for (const Entry& e : entries) {
            kinds.push_back(e.kind > 1 ? 1 : e.kind);  // the writer makes only 0 and 1
            lens.push_back(static_cast<uint32_t>(e.path.size() * 2));
            packed += e.path;
            packed.push_back(0);
        }
        STR_ProfileData d = {static_cast<uint32_t>(entries.size()), kinds.data(), zeros.data(), zeros.data(),
                             zeros.data(), zeros.data(), lens.data(), packed.data(), u"p", 2};
        EXPECT_EQ(QD_PRF_OK, profile_write(&d, &file));
        for (size_t i = 0; i < entries.size(); ++i) file[4 + i] = entries[i].kind;  // foreign kinds, as a reader may meet them
        EXPECT_EQ(QD_PRF_OK, profile_open(file.data(), file.size(), &view));
        entry_paths_build(&view, &paths);
    }
};

const std::u16string kEditor = u"C:\\Tools\\Editor.exe";
const std::u16string kDocs = u"C:\\Users\\me\\Docs";

}  // namespace

TEST(WindowMatch, FolderWindowFillsEveryFolderEntryShowingItsPath)
{
    Profile p({{0, kDocs}, {1, kDocs}, {0, u"c:\\users\\ME\\docs"}, {0, kDocs + u"\\"}});
    ASSERT_EQ(4u, p.paths.kind.size());
    EXPECT_EQ(kDocs, std::u16string(p.paths.units.data() + p.paths.off[0], p.paths.len[0]));
    std::vector<uint32_t> hwnd(4, 0);
    EXPECT_EQ(2u, match_folder_window(&p.paths, kDocs.data(), kDocs.size(), 0x50, hwnd.data(), nullptr));
    // Same folder in another case matches; a program entry and a path with
    // a trailing separator do not.
    EXPECT_EQ((std::vector<uint32_t>{0x50, 0, 0x50, 0}), hwnd);
    // A later window on the same folder replaces the first.
    match_folder_window(&p.paths, kDocs.data(), kDocs.size(), 0x60, hwnd.data(), nullptr);
    EXPECT_EQ(0x60u, hwnd[0]);
}

TEST(WindowMatch, ProgramSlotsPreferWindowsOfTheProcessesThisLoadStarted)
{
    Profile p({{1, kEditor}, {0, kEditor}, {1, u"C:\\Tools\\Other.exe"}, {1, u"c:\\tools\\editor.EXE"}});
    std::vector<uint32_t> hwnd(4, 0);
    const STR_LaunchIds launched[] = {{0, 700, 701}, {2, 0, 0}, {3, 800, 801}};
    // An older instance's window comes first in Z order: it fills the empty slots.
    EXPECT_EQ(2u, match_program_window(&p.paths, kEditor.data(), kEditor.size(), 0x10, 55, 56, launched, 3, hwnd.data(), nullptr));
    EXPECT_EQ((std::vector<uint32_t>{0x10, 0, 0, 0x10}), hwnd);
    // Another window of an unrelated process does not replace it.
    match_program_window(&p.paths, kEditor.data(), kEditor.size(), 0x11, 57, 58, launched, 3, hwnd.data(), nullptr);
    EXPECT_EQ(0x10u, hwnd[0]);
    // A window of a started process but of a secondary thread does not either.
    match_program_window(&p.paths, kEditor.data(), kEditor.size(), 0x12, 700, 999, launched, 3, hwnd.data(), nullptr);
    EXPECT_EQ(0x10u, hwnd[0]);
    // The started process's primary-thread window wins, for both entries of that path.
    match_program_window(&p.paths, kEditor.data(), kEditor.size(), 0x20, 800, 801, launched, 3, hwnd.data(), nullptr);
    EXPECT_EQ((std::vector<uint32_t>{0x20, 0, 0, 0x20}), hwnd);
    // A failed start (ids 0) never matches a window of pid 0.
    match_program_window(&p.paths, kEditor.data(), kEditor.size(), 0x30, 0, 0, launched, 3, hwnd.data(), nullptr);
    EXPECT_EQ(0x20u, hwnd[0]);
}

TEST(WindowMatch, WaitsEndWhenEverythingIsFoundOrExcused)
{
    Profile p({{0, kDocs}, {1, kEditor}, {0, u"D:\\Gone"}, {1, u"C:\\gone.exe"}, {7, u"C:\\odd.exe"}});
    std::vector<uint32_t> hwnd(5, 0);
    STR_LoadFailures fail;
    EXPECT_EQ(2, folders_all_found(&p.paths, hwnd.data(), &fail));
    EXPECT_FALSE(programs_all_found(&p.paths, hwnd.data(), &fail));
    hwnd[0] = 1;
    hwnd[1] = 2;
    // Entry 2's folder and entry 3's program failed to open.
    fail.indices = {2, 3};
    fail.uiN_Folders = 1;
    fail.uiN_Programs = 1;
    EXPECT_EQ(1, folders_all_found(&p.paths, hwnd.data(), &fail));
    EXPECT_TRUE(programs_all_found(&p.paths, hwnd.data(), &fail));  // the kind-7 entry is not waited for
    // A folder in the list is excused only when a folder failed at all.
    fail.uiN_Folders = 0;
    EXPECT_EQ(2, folders_all_found(&p.paths, hwnd.data(), &fail));
}
