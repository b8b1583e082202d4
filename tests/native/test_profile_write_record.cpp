#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile_write_record.h"
#include "scan_store_fixture.h"

using namespace test_store;

namespace {

// A write record whose arrays are plain heap blocks of the sizes Create
// Profile allocates.
struct Record {
    STR_RW_PRFL rw{};
    Record(uint32_t N, uint32_t L)
    {
        size_t sizes[QD_RW_ARRAYS];
        EXPECT_TRUE(rw_profile_array_sizes(N, L, sizes));
        for (int i = 0; i < QD_RW_ARRAYS; ++i) *rw_profile_array_slot(&rw, i) = zalloc<uint8_t>(sizes[i]);
        rw.N_wnds_in_profile = N;
    }
    ~Record()
    {
        for (int i = 0; i < QD_RW_ARRAYS; ++i) std::free(*rw_profile_array_slot(&rw, i));
    }
};

std::u16string copy_path(const STR_ProfileView& v, uint32_t i)
{
    STR_ProfileEntry e{};
    EXPECT_EQ(QD_PRF_OK, profile_entry_at(&v, i, &e));
    qd_char buf[300];
    size_t n = profile_copy_path(&e, buf, 300);
    return std::u16string(buf, n);
}

}  // namespace

TEST(ProfileWriteRecord, TickedRowsBecomeEntriesInRowOrderAndAValidFile)
{
    // Ten rows; row 2 is an Explorer window whose folder path was not found.
    OwnedStore owned(10, 40);
    STR_ENUM_WNDS_DATA& s = owned.s;
    std::vector<std::u16string> paths;
    for (int r = 0; r < 10; ++r) paths.push_back(u"C:\\Apps\\prog" + std::u16string(1, u'0' + r) + u".exe");
    for (uint32_t r = 0; r < 10; ++r) {
        STR_ScanEntryIn in = window(100 + r, u"caption", r == 2 ? nullptr : paths[r].c_str());
        in.i_left = static_cast<int32_t>(r) * 10 - 50;  // negative x for the first rows
        in.i_right = in.i_left + 300 + static_cast<int32_t>(r);
        ASSERT_EQ(QD_SCAN_OK, scan_store_write_entry(&s, &in));
    }
    // Rows 5, 2 and 9 ticked (in that order): the entries are rows 2, 5, 9.
    Record rec(3, s.uiMaxLen_inBytes_AllPath);
    const uint32_t rows[3] = {2, 5, 9};
    for (int i = 0; i < 3; ++i) rec.rw.p_arr1D_ui_indexes_wnds_profile[i] = rows[i];
    ASSERT_EQ(1, rw_profile_prepare(&rec.rw, &s));
    EXPECT_EQ(0, rec.rw.p_arr1D_uc_flag_Prg_or_Folder[0]);
    EXPECT_EQ(0u, rec.rw.p_arr1D_ui_len_path[0]);
    EXPECT_EQ(1, rec.rw.p_arr1D_uc_flag_Prg_or_Folder[1]);
    EXPECT_EQ(static_cast<uint32_t>(-30), rec.rw.p_arr1D_ui_x[0]);
    EXPECT_EQ(305u, rec.rw.p_arr1D_ui_w[1]);
    EXPECT_EQ(600u, rec.rw.p_arr1D_ui_h[2]);
    // Packed paths: "" then row 5's then row 9's, each terminated.
    EXPECT_EQ(0, rec.rw.p_arr_strz_paths[0]);
    EXPECT_EQ(paths[5], std::u16string(rec.rw.p_arr_strz_paths + 1));

    const char16_t name[] = u"Work";
    EXPECT_EQ(8u, rw_profile_set_name(&rec.rw, name, 8));
    std::vector<uint8_t> file;
    STR_ProfileData d = rw_profile_as_data(&rec.rw);
    ASSERT_EQ(QD_PRF_OK, profile_write(&d, &file));
    const uint32_t len5 = static_cast<uint32_t>(paths[5].size() * 2), len9 = static_cast<uint32_t>(paths[9].size() * 2);
    EXPECT_EQ(4u + 21 * 3 + (0 + 2) + (len5 + 2) + (len9 + 2) + 8 + 3, file.size());

    STR_ProfileView v{};
    ASSERT_EQ(QD_PRF_OK, profile_open(file.data(), file.size(), &v));
    EXPECT_EQ(1u, v.uiN_Folders);
    EXPECT_EQ(2u, v.uiN_Programs);
    EXPECT_EQ(u"", copy_path(v, 0));
    EXPECT_EQ(paths[5], copy_path(v, 1));
    EXPECT_EQ(paths[9], copy_path(v, 2));
    qd_char nm[10];
    EXPECT_EQ(4u, profile_copy_name(&v, nm, 10));
    EXPECT_EQ(u"Work", std::u16string(nm));
}

TEST(ProfileWriteRecord, RefusesRowsOutsideTheStoreAndMissingArrays)
{
    OwnedStore owned(2, 20);
    STR_ENUM_WNDS_DATA& s = owned.s;
    fill(&s, {window(1, u"a", u"C:\\a.exe"), window(2, u"b", u"C:\\b.exe")});
    Record rec(1, 20);
    rec.rw.p_arr1D_ui_indexes_wnds_profile[0] = 2;  // only rows 0 and 1 exist
    EXPECT_EQ(-1, rw_profile_prepare(&rec.rw, &s));
    rec.rw.p_arr1D_ui_indexes_wnds_profile[0] = 1;
    EXPECT_EQ(1, rw_profile_prepare(&rec.rw, &s));
    std::free(rec.rw.p_arr1D_ui_h);
    rec.rw.p_arr1D_ui_h = nullptr;
    EXPECT_EQ(-1, rw_profile_prepare(&rec.rw, &s));
    EXPECT_EQ(-1, rw_profile_prepare(nullptr, &s));
}

TEST(ProfileWriteRecord, NameIsWholeUnitsCutTo256)
{
    STR_RW_PRFL rw{};
    std::u16string longName(300, u'n');
    EXPECT_EQ(512u, rw_profile_set_name(&rw, longName.data(), longName.size() * 2));
    EXPECT_EQ(6u, rw_profile_set_name(&rw, u"abcd", 7));  // an odd count loses its last byte
    EXPECT_EQ(0u, rw_profile_set_name(&rw, nullptr, 10));
    // Sizes: eight arrays, paths (L + 1) x N x 2.
    size_t sizes[QD_RW_ARRAYS];
    ASSERT_TRUE(rw_profile_array_sizes(3, 100, sizes));
    EXPECT_EQ(12u, sizes[0]);
    EXPECT_EQ(3u, sizes[1]);
    EXPECT_EQ(606u, sizes[7]);
}
