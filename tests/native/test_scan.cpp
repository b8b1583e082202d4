// The rules of window discovery, the scan result store, and the write
// record Create Profile copies out of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "profile_bytes.h"
#include "profile_write_record.h"
#include "scan_store.h"

namespace {

// Zeroed exact-size buffers, as committed memory arrives, so the sanitizers
// catch a write past any of them.
void* zalloc(size_t n) { return std::calloc(n ? n : 1, 1); }

// The store of uiN counted windows with paths of at most uiL bytes, before
// the filling pass; released when the test ends (the sanitizer build
// reports a buffer released twice or never).
struct OwnedStore {
    STR_ENUM_WNDS_DATA s{};
    STR_BufRelease rel{[](void*, void* pAddr) { std::free(pAddr); }, nullptr};
    OwnedStore(uint32_t uiN, uint32_t uiL)
    {
        STR_ScanBufSizes z{};
        EXPECT_EQ(QD_SCAN_OK, scan_buffer_sizes(uiN, uiL, &z));
        s.counter_valid = uiN;
        s.uiMaxLen_inBytes_AllPath = uiL;
        s.uiSize_TmpBuf_Path = QD_SCAN_TMPBUF_BYTES;
        s.pcTmpBuf_Prg_Folder_Path = static_cast<uint8_t*>(zalloc(QD_SCAN_TMPBUF_BYTES));
        s.arr1D_ui_LenPath = static_cast<uint32_t*>(zalloc(z.ui_LenPath));
        s.arr1D_uc_flag_FP = static_cast<uint8_t*>(zalloc(z.ui_flag_FP));
        s.pcDynMem_GeomText = static_cast<uint8_t*>(zalloc(z.ui_GeomText));
        s.pcDynMem_WinHndls = static_cast<uint8_t*>(zalloc(z.ui_WinHndls));
        s.pcDynMem_FullPaths = static_cast<uint8_t*>(zalloc(z.ui_FullPaths));
    }
    ~OwnedStore() { scan_store_release(&s, &rel); }
};

}  // namespace

TEST(WindowRules, CaptionsUpTo48UnitsWholeLongerOnes25DotsLast20)
{
    const std::u16string c49 = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVW";
    const std::pair<uint32_t, std::u16string> rows[] = {
        {48, c49.substr(0, 48)}, {49, u"abcdefghijklmnopqrstuvwxy...DEFGHIJKLMNOPQRSTUVW"},
        {caption_shown_length(60, 12), u"abcdefghijkl"},  // no more than was copied
        {caption_shown_length(-1, 49), u""}, {caption_shown_length(30, 999), c49.substr(0, 30)}};
    for (const auto& row : rows) {
        qd_char cell[QD_CAPTION_CELL_UNITS];
        std::fill(cell, cell + QD_CAPTION_CELL_UNITS, u'#');
        const uint32_t n = caption_shorten(c49.c_str(), row.first, cell);
        EXPECT_EQ(row.second, std::u16string(cell, n));
        EXPECT_EQ(std::u16string(QD_CAPTION_CELL_UNITS - n, u'\0'), std::u16string(cell + n, QD_CAPTION_CELL_UNITS - n));
    }
}

TEST(WindowRules, TenExcludedClassesAndTheExplorerTailInAnyCaseOfAToZ)
{
    // Near misses too, and a capital outside A-Z that is not folded (Greek Nu).
    const std::pair<const char16_t*, bool> classes[] = {
        {u"tooltips_class32", true}, {u"TOOLTIPS_CLASS", true}, {u"SysShadow", true}, {u"RegEdit_RegEdit", true},
        {u"#32770", true}, {u"TaskManagerWindow", true}, {u"ApplicationFrameWindow", true}, {u"Windows.UI.Core.CoreWindow", true},
        {u"Progman", true}, {u"BUTTON", true}, {u"buttonx", false}, {u"butto", false}, {u"#3277", false}, {u"", false},
        {u"CabinetWClass", false}, {u"BUTTO\u039D", false}};
    for (const auto& c : classes) EXPECT_EQ(c.second, is_excluded_class(c.first)) << c.second << qd_strlen(c.first);
    const std::pair<std::u16string, bool> paths[] = {
        {u"C:\\Windows\\explorer.exe", true}, {u"C:\\WINDOWS\\EXPLORER.EXE", true}, {u"explorer.exe", true},
        {u"D:\\FileExplorer.exe", true}, {u"xplorer.exe", false}, {u"C:\\Windows\\explorer.exe.bak", false}};
    for (const auto& p : paths) EXPECT_EQ(p.second, is_explorer_path(p.first.c_str(), p.first.size())) << p.second;
    EXPECT_FALSE(is_explorer_path(u"C:\\explorer.exe", 14));  // only the given length counts
}

TEST(ScanStore, CountFillTrimFolderPathsThenTheWriteRecordThenRelease)
{
    STR_ENUM_WNDS_DATA c{};
    scan_store_count_window(&c, true, 18);
    scan_store_count_window(&c, false, 23);
    scan_store_count_window(&c, true, 5);
    EXPECT_EQ(3u, c.counter_valid);
    EXPECT_EQ(36u, c.uiMaxLen_inBytes_PrgPath);  // Explorer windows are measured apart

    OwnedStore o(4, 36);  // four counted, one closed before the filling pass
    STR_ENUM_WNDS_DATA& s = o.s;
    const std::u16string prg = u"C:\\Apps\\editor.exe", folder(40, u'f');
    const STR_ScanEntryIn in[3] = {{0x1001, 10, 20, 810, 620, false, u"Editor", 6, true, prg.c_str(), 18},
                                   {0x2002, 10, 20, 810, 620, true, u"Docs", 4, false, nullptr, 0},  // minimised
                                   {0x2002, -30, 20, 810, 620, false, u"Docs", 4, false, nullptr, 0}};
    for (const STR_ScanEntryIn& e : in) ASSERT_EQ(QD_SCAN_OK, scan_store_write_entry(&s, &e));
    EXPECT_EQ(3u, scan_store_trim(&s));
    EXPECT_EQ(QD_SCAN_NO_ROOM, scan_store_write_entry(&s, &in[0]));
    // Every entry of the folder's window gets the path, cut to its slot of 37 units less one.
    EXPECT_EQ(QD_SCAN_OK, scan_store_write_folder_path(&s, 0x2002, folder.c_str(), 40));
    EXPECT_EQ(QD_SCAN_NULL_FOLDER_HWND, scan_store_write_folder_path(&s, 0, u"C:\\x", 4));
    std::vector<int32_t> got;
    for (uint32_t i = 0; i < 4; ++i) {
        const GeomText_STR* g = scan_entry_geom(&s, i);
        got.insert(got.end(), {int32_t(scan_entry_hwnd(&s, i)), scan_entry_flag(&s, i), int32_t(scan_entry_len_path(&s, i)),
                               g ? g->i_x : 99, g ? g->i_y : 99, g ? g->i_h : 99, g ? g->i_w : 99});
    }  // height before width; a minimised window all zero
    EXPECT_EQ((std::vector<int32_t>{0x1001, 1, 36, 10, 20, 600, 800, 0x2002, 0, 72, 0, 0, 0, 0, 0x2002, 0, 72, -30, 20, 600, 840,
                                    0, 0, 0, 99, 99, 99, 99}), got);
    EXPECT_EQ(37, scan_entry_path(&s, 2) - scan_entry_path(&s, 1));  // the paths are checked in the file below
    // Caption cells of 49 units follow all four geometry records, and outlive the trim.
    EXPECT_EQ(reinterpret_cast<const qd_char*>(s.pcDynMem_GeomText + 4 * sizeof(GeomText_STR)) + 2 * 49, scan_entry_caption(&s, 2));

    // Rows 0 and 2 ticked: the write record copies them, and the file holds them.
    STR_RW_PRFL rw{};
    size_t sizes[QD_RW_ARRAYS];
    ASSERT_TRUE(rw_profile_array_sizes(2, 36, sizes));
    for (int i = 0; i < QD_RW_ARRAYS; ++i) *rw_profile_array_slot(&rw, i) = zalloc(sizes[i]);
    rw.N_wnds_in_profile = 2;
    rw.p_arr1D_ui_indexes_wnds_profile[1] = 2;
    ASSERT_EQ(1, rw_profile_prepare(&rw, &s));
    EXPECT_EQ(8u, rw_profile_set_name(&rw, u"Work", 8));
    std::vector<uint8_t> file;
    const STR_ProfileData d = rw_profile_as_data(&rw);
    ASSERT_EQ(QD_PRF_OK, profile_write(&d, &file));
    EXPECT_EQ(qd_profile_bytes({{1, prg, 10, 20, 800, 600}, {0, folder.substr(0, 36), -30, 20, 840, 600}}, u"Work"), file);
    rw.p_arr1D_ui_indexes_wnds_profile[1] = 3;  // no such row
    EXPECT_EQ(-1, rw_profile_prepare(&rw, &s));
    const std::u16string n300(300, u'n');  // a name handed back: whole units, at most 256
    EXPECT_EQ(512u, rw_profile_set_name(&rw, n300.data(), 600));
    EXPECT_EQ(6u, rw_profile_set_name(&rw, u"abcd", 7));
    for (int i = 0; i < QD_RW_ARRAYS; ++i) std::free(*rw_profile_array_slot(&rw, i));

    // Released here and again when the test ends: every buffer once, then readers find nothing.
    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&s, &o.rel));
    EXPECT_EQ(nullptr, scan_entry_geom(&s, 0));
}
