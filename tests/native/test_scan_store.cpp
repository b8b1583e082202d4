#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "scan_store.h"
#include "scan_store_fixture.h"

using namespace test_store;

TEST(ScanStoreLayout, SizesSlotsAndRecordOrder)
{
    STR_ScanBufSizes z{};
    ASSERT_EQ(QD_SCAN_OK, scan_buffer_sizes(3, 100, &z));
    EXPECT_EQ(606u, z.ui_FullPaths);
    EXPECT_EQ(404u, scan_path_slot_offset(100, 2) * sizeof(qd_char));
    EXPECT_EQ(12u, z.ui_LenPath);
    EXPECT_EQ(3u, z.ui_flag_FP);
    EXPECT_EQ(12u, z.ui_WinHndls);
    EXPECT_EQ(3 * (sizeof(void*) == 4 ? 118u : 122u), z.ui_GeomText);
    EXPECT_EQ(sizeof(void*) == 4 ? 20u : 24u, sizeof(GeomText_STR));
    EXPECT_EQ(QD_SCAN_TOO_LARGE, scan_buffer_sizes(UINT32_MAX, UINT32_MAX, &z));

    EXPECT_EQ(0u, offsetof(GeomText_STR, ptc_Caption));
    EXPECT_LT(offsetof(GeomText_STR, i_h), offsetof(GeomText_STR, i_w));
#define OFF(m) offsetof(STR_ENUM_WNDS_DATA, m)
    const size_t offs[] = {OFF(arr1D_ui_LenPath), OFF(arr1D_uc_flag_FP), OFF(counter_filled),
                           OFF(pcTmpBuf_Prg_Folder_Path), OFF(uiSize_TmpBuf_Path), OFF(pcDynMem_FullPaths),
                           OFF(uiMaxLen_inBytes_PrgPath), OFF(uiMaxLen_inBytes_FolderPath),
                           OFF(uiMaxLen_inBytes_AllPath), OFF(pcDynMem_WinHndls), OFF(pcDynMem_GeomText),
                           OFF(counter_valid)};
#undef OFF
    for (size_t k = 1; k < 12; ++k) EXPECT_LT(offs[k - 1], offs[k]) << k;

    // Handles keep their low 32 bits and come back sign-extended.
    EXPECT_EQ(static_cast<uintptr_t>(intptr_t{-2}), scan_handle_from_bits(0xFFFFFFFEu));
    EXPECT_EQ(0xFFFFFFFEu, scan_handle_bits(scan_handle_from_bits(0xFFFFFFFEu)));
}

TEST(ScanStoreFill, CountingThenFillingWritesEveryArray)
{
    const qd_char* prg = u"C:\\Apps\\editor.exe";
    STR_ENUM_WNDS_DATA c{};
    scan_store_count_window(&c, true, 18);
    scan_store_count_window(&c, false, 23);  // Explorer: counted, not measured
    scan_store_count_window(&c, true, 5);
    EXPECT_EQ(3u, c.counter_valid);
    EXPECT_EQ(36u, c.uiMaxLen_inBytes_PrgPath);

    Heap heap;
    STR_ENUM_WNDS_DATA s = allocated_store(c.counter_valid, c.uiMaxLen_inBytes_PrgPath);
    std::u16string cap60;
    for (int k = 0; k < 60; ++k) cap60 += static_cast<qd_char>(0x400 + k);
    STR_ScanEntryIn m = window(0x3003, cap60.c_str(), prg);
    m.b_Iconic = true;
    fill(&s, {window(0x1001, u"Editor", prg), window(0x2002, u"Documents"), m});
    STR_ScanEntryIn extra = window(0x4004, u"New");  // opened after the count
    EXPECT_EQ(QD_SCAN_NO_ROOM, scan_store_write_entry(&s, &extra));
    EXPECT_EQ(3u, s.counter_filled);

    EXPECT_EQ(0x2002u, scan_entry_hwnd(&s, 1));
    EXPECT_EQ(1, scan_entry_flag(&s, 0));
    EXPECT_EQ(0, scan_entry_flag(&s, 1));
    EXPECT_EQ(prg, path_of(s, 0));
    EXPECT_EQ(prg, path_of(s, 2));
    EXPECT_EQ(0u, scan_entry_len_path(&s, 1));
    EXPECT_EQ(0, scan_entry_path(&s, 1)[0]);
    const GeomText_STR* g = scan_entry_geom(&s, 0);
    EXPECT_EQ((std::vector<int32_t>{10, 20, 600, 800}), (std::vector<int32_t>{g->i_x, g->i_y, g->i_h, g->i_w}));
    g = scan_entry_geom(&s, 2);
    EXPECT_EQ(0, g->i_x | g->i_y | g->i_h | g->i_w);
    // Caption cells follow all three geometry records, 49 units apart.
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(reinterpret_cast<const qd_char*>(s.pcDynMem_GeomText + 3 * sizeof(GeomText_STR) + 98 * i),
                  scan_entry_caption(&s, i));
    EXPECT_EQ(u"Documents", std::u16string(scan_entry_caption(&s, 1)));
    EXPECT_EQ(cap60.substr(0, 25) + u"..." + cap60.substr(40), std::u16string(scan_entry_caption(&s, 2)));
    EXPECT_EQ(nullptr, scan_entry_geom(&s, 3));

    s.counter_filled = 0;
    uint8_t* pcPaths = s.pcDynMem_FullPaths;
    s.pcDynMem_FullPaths = nullptr;  // a missing buffer is refused, nothing written
    EXPECT_EQ(QD_SCAN_BAD_INPUT, scan_store_write_entry(&s, &extra));
    EXPECT_EQ(0x1001u, scan_entry_hwnd(&s, 0));
    s.pcDynMem_FullPaths = pcPaths;
    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&s, &heap.rel));
}

TEST(ScanStoreFill, TrimDropsUnfilledEntriesAndKeepsCaptions)
{
    Heap heap;
    STR_ENUM_WNDS_DATA s = allocated_store(4, 40);
    fill(&s, {window(0x11, u"first", u"C:\\a.exe"), window(0x22, u"second", u"C:\\b.exe")});
    EXPECT_EQ(2u, scan_store_trim(&s));  // two counted windows closed before filling
    EXPECT_EQ(2u, s.counter_valid);
    EXPECT_EQ(u"first", std::u16string(scan_entry_caption(&s, 0)));
    EXPECT_EQ(u"second", std::u16string(scan_entry_caption(&s, 1)));
    EXPECT_EQ(u"C:\\b.exe", path_of(s, 1));
    EXPECT_EQ(nullptr, scan_entry_caption(&s, 2));
    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&s, &heap.rel));
}

TEST(ScanStoreFolders, EveryMatchingEntryGetsThePathCutToItsSlot)
{
    Heap heap;
    STR_ENUM_WNDS_DATA s = allocated_store(3, 518);  // longest folder path 259 units
    fill(&s, {window(0x500, u"A"), window(0x600, u"B"), window(0x500, u"A")});
    const std::u16string p259(259, u'p');
    EXPECT_EQ(QD_SCAN_OK, scan_store_write_folder_path(&s, 0x500, p259.c_str(), 259));
    EXPECT_EQ(518u, scan_entry_len_path(&s, 0));
    EXPECT_EQ(p259, path_of(s, 0));
    EXPECT_EQ(p259, path_of(s, 2));
    EXPECT_EQ(0, scan_entry_flag(&s, 2));  // still a folder entry
    EXPECT_EQ(QD_SCAN_NULL_FOLDER_HWND, scan_store_write_folder_path(&s, 0, u"C:\\x", 4));
    EXPECT_EQ(0u, scan_entry_len_path(&s, 1));
    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&s, &heap.rel));

    // A folder opened after measuring: cut to 8 units, the slot's last
    // unit stays zero, and the length tells what is really there.
    STR_ENUM_WNDS_DATA t = allocated_store(2, 8);
    fill(&t, {window(0x700, u"A"), window(0x800, u"B")});
    EXPECT_EQ(QD_SCAN_OK, scan_store_write_folder_path(&t, 0x800, u"D:\\Projects", 11));
    EXPECT_EQ(u"D:\\Proje", path_of(t, 1));
    EXPECT_EQ(0, scan_entry_path(&t, 1)[8]);
    EXPECT_EQ(0u, scan_entry_len_path(&t, 0));
    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&t, &heap.rel));
}

TEST(ScanStoreRelease, EachBufferOnceAddressesNullCountersKept)
{
    Heap heap;
    STR_ENUM_WNDS_DATA s = allocated_store(3, 100);
    void* bufs[] = {s.arr1D_ui_LenPath, s.arr1D_uc_flag_FP, s.pcTmpBuf_Prg_Folder_Path,
                    s.pcDynMem_GeomText, s.pcDynMem_WinHndls, s.pcDynMem_FullPaths};
    const STR_BufRelease none{nullptr, &heap};
    EXPECT_EQ(QD_SCAN_BAD_INPUT, scan_store_release(&s, &none));
    EXPECT_EQ(bufs[0], s.arr1D_ui_LenPath);

    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&s, &heap.rel));  // List of Windows closes
    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&s, &heap.rel));  // main window destroyed
    EXPECT_EQ(6u, heap.released.size());
    for (void* p : bufs) EXPECT_EQ(1, heap.released[p]);
    for (const void* a : std::initializer_list<const void*>{
             s.arr1D_ui_LenPath, s.arr1D_uc_flag_FP, s.pcTmpBuf_Prg_Folder_Path, s.pcDynMem_GeomText,
             s.pcDynMem_WinHndls, s.pcDynMem_FullPaths})
        EXPECT_EQ(nullptr, a);
    EXPECT_EQ(3u, s.counter_valid);  // counters kept: readers test the addresses
    EXPECT_EQ(nullptr, scan_entry_geom(&s, 0));

    // A scan that stopped early: only what exists is released.
    Heap h2;
    STR_ENUM_WNDS_DATA p{};
    p.pcTmpBuf_Prg_Folder_Path = zalloc<uint8_t>(16);
    p.arr1D_ui_LenPath = zalloc<uint32_t>(8);
    EXPECT_EQ(QD_SCAN_OK, scan_store_release(&p, &h2.rel));
    EXPECT_EQ(2u, h2.released.size());
}
