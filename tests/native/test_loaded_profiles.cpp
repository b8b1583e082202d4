#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "loaded_profiles.h"
#include "report_format.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void put_u32(Bytes* b, size_t off, uint32_t v)
{
    for (int i = 0; i < 4; ++i) (*b)[off + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A well-formed file of exactly uiSize bytes: entry i at (i - 8, 100 i),
// 800 + i by 600 + i (w = 0 for entry iNoGeom), the spare bytes in path 0,
// a name of uiName units from cTag on.
Bytes make_file(const std::vector<uint8_t>& kinds, uint32_t uiSize, uint32_t uiName = 2, qd_char cTag = u'A',
                uint32_t iNoGeom = 99)
{
    const uint32_t N = static_cast<uint32_t>(kinds.size()), uiLen0 = uiSize - (4 + 23 * N + 2 * uiName + 3);
    EXPECT_EQ(0u, uiLen0 & 1) << uiSize;
    Bytes b(uiSize, 0);
    put_u32(&b, 0, N);
    for (uint32_t i = 0; i < N; ++i) {
        b[4 + i] = kinds[i];
        const uint32_t vals[4] = {i - 8, 100 * i, i == iNoGeom ? 0 : 800 + i, 600 + i};
        for (uint32_t a = 0; a < 4; ++a) put_u32(&b, 4 + N + 4 * N * a + 4 * i, vals[a]);
    }
    put_u32(&b, 4 + 17 * N, uiLen0);
    std::memset(&b[4 + 21 * N], 'p', uiLen0);  // the other paths are empty
    for (uint32_t u = 0; u < uiName; ++u) b[uiSize - 3 - 2 * uiName + 2 * u] = static_cast<uint8_t>(cTag + u);
    std::memcpy(&b[uiSize - 3], QD_PRF_SIGNATURE, 3);
    return b;
}

const uint32_t kPrg[8] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7};
const uint32_t kFld[8] = {0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7};

// A record as the program prepares it, over pools of exactly the given
// sizes, so the sanitizer build catches a write past either of them.
struct Store {
    Bytes hw, files;
    LoadedProfiles_STR r{};
    explicit Store(uint32_t uiHw = QD_POOL_HWNDS_SIZE, uint32_t uiFiles = QD_POOL_FILES_SIZE) : hw(uiHw), files(uiFiles)
    {
        r.uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES;
        r.uiSize_DynMem_hwnds_wnds_prfl = uiHw;
        r.uiSize_DynMem_files = uiFiles;
        r.pc_hwnds_wnds_of_prfl = hw.data();
        r.pc_raw_FilesProfile = files.data();
    }
    int32_t add(const Bytes& f, uint32_t F, uint32_t P, STR_LoadedAddInfo* pInfo = nullptr, const uint32_t* prg = kPrg)
    {
        return loaded_profiles_add(&r, prg, kFld, static_cast<uint32_t>(f.size()), f.data(), F, P, pInfo);
    }
    // The whole record, padding included, and both pools.
    Bytes snapshot() const
    {
        Bytes b(sizeof r + hw.size() + files.size());
        std::memcpy(b.data(), &r, sizeof r);
        std::memcpy(b.data() + sizeof r, hw.data(), hw.size());
        std::memcpy(b.data() + sizeof r + hw.size(), files.data(), files.size());
        return b;
    }
};

std::u16string name_of(const LoadedProfiles_STR& r, uint32_t k)
{
    qd_char buf[300];
    const size_t n = loaded_profile_copy_name(&r, k, buf, 300);
    EXPECT_EQ(n, qd_strlen(buf));
    return buf;
}

}  // namespace

TEST(LoadedProfilesAdd, FilesAndHandlesPackedFromZeroInLoadOrder)
{
    Store s;
    const Bytes f[3] = {make_file({1}, 100, 2, u'A'), make_file({0}, 50), make_file({1}, 70, 1, u'C')};
    STR_LoadedAddInfo info{};
    EXPECT_EQ(QD_LP_OK, s.add(f[0], 0, 1));
    EXPECT_EQ(QD_LP_OK, s.add(f[1], 1, 0));
    EXPECT_EQ(QD_LP_OK, s.add(f[2], 0, 1, &info));
    EXPECT_EQ(2u, info.ui_index);
    EXPECT_EQ(3u, s.r.uiN_loaded_prfls);
    const LoadedProfiles_STR& r = s.r;
    EXPECT_EQ((std::vector<uint32_t>{150, 219, 215, 215, 8, 11, 93, 95}),
              (std::vector<uint32_t>{r.arr_uiOff_file_beg[2], r.arr_uiOff_file_end[2], r.arr_uiOff_PrfName_beg[2],
                                     r.arr_uiOff_PrfName_end[2], r.arr_uiOff_hwnds_beg[2], r.arr_uiOff_hwnds_end[2],
                                     r.arr_uiOff_PrfName_beg[0], r.arr_uiOff_PrfName_end[0]}));
    EXPECT_EQ(f[0], Bytes(s.files.begin(), s.files.begin() + 100));
    EXPECT_EQ(f[2], Bytes(s.files.begin() + 150, s.files.begin() + 220));
    EXPECT_EQ(u"AB", name_of(r, 0));  // names start at odd pool offsets
    EXPECT_EQ(u"C", name_of(r, 2));
    EXPECT_EQ(0xF0u, loaded_profile_handle(&r, 1, 0));
}

TEST(LoadedProfilesAdd, HandleSlotsFollowEntryOrderAndFillTheHandlePoolExactly)
{
    Store s(20, 4096);  // room for exactly five handles
    const Bytes f = make_file({1, 0, 0, 1, 0}, 200);
    EXPECT_EQ(QD_LP_COUNTS_MISMATCH, s.add(f, 2, 3));  // counts must be the file's
    ASSERT_EQ(QD_LP_OK, s.add(f, 3, 2));
    const uint32_t expected[5] = {0xA0, 0xF1, 0xF2, 0xA3, 0xF4};
    EXPECT_EQ(0, std::memcmp(expected, s.hw.data(), 20));
    ASSERT_EQ(5u, loaded_profile_entry_count(&s.r, 0));
    for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(expected[i], loaded_profile_handle(&s.r, 0, i)) << i;
    EXPECT_EQ(0u, loaded_profile_handle(&s.r, 0, 5));
    EXPECT_EQ(QD_LP_NO_ROOM_HWNDS, s.add(make_file({0}, 40), 1, 0));
    EXPECT_EQ(2, loaded_profiles_add_result(QD_LP_NO_ROOM_HWNDS));
}

TEST(LoadedProfilesAdd, The1025thProfileIsRefusedWithBothNumbers1024)
{
    Store s;
    const Bytes f = make_file({0}, 32, 1);
    for (uint32_t k = 0; k < 1024; ++k) ASSERT_EQ(QD_LP_OK, s.add(f, 1, 0)) << k;
    STR_LoadedAddInfo info{};
    EXPECT_EQ(QD_LP_NO_ROOM_PROFILES, s.add(f, 1, 0, &info));
    EXPECT_EQ(1024u, s.r.uiN_loaded_prfls);
    EXPECT_EQ(2, loaded_profiles_add_result(QD_LP_NO_ROOM_PROFILES));
    qd_char buf[200];
    qd_format(buf, 200, loaded_profiles_room_detail(QD_LP_NO_ROOM_PROFILES), info.uiMax_num_loaded_prfls,
              info.uiN_loaded_prfls);
    EXPECT_EQ(u"\nerror, exceed amount of loaded Profiles, max = 1024, already loaded = 1024\n"
              u"Profile will not be added\n", std::u16string(buf));
}

TEST(LoadedProfilesAdd, AFileThatExactlyFillsTheFilePoolIsAcceptedOneByteMoreIsNot)
{
    {
        Store s;
        const Bytes f = make_file({1}, QD_POOL_FILES_SIZE, 1);  // one entry: an even size
        ASSERT_EQ(QD_LP_OK, s.add(f, 0, 1));
        EXPECT_EQ(QD_POOL_FILES_SIZE - 5u, s.r.arr_uiOff_PrfName_beg[0]);
        EXPECT_TRUE(f == s.files);
        EXPECT_EQ(QD_LP_NO_ROOM_FILES, s.add(make_file({0}, 32, 1), 1, 0));
    }
    Store s;
    const Bytes before = s.snapshot();
    EXPECT_EQ(QD_LP_NO_ROOM_FILES, s.add(make_file({1, 0}, QD_POOL_FILES_SIZE + 1u, 1), 1, 1));
    EXPECT_TRUE(before == s.snapshot());
}

TEST(LoadedProfilesAdd, EveryRefusalLeavesRecordAndPoolsAsTheyWere)
{
    Store s(16, 200);
    ASSERT_EQ(QD_LP_OK, s.add(make_file({1, 0}, 61), 1, 1));
    const Bytes before = s.snapshot();
    const Bytes ok = make_file({0}, 40);
    Bytes wild = make_file({1}, 60), unsigned_ = ok;
    put_u32(&wild, 0, 1000);  // entry arrays far past the end of the file
    unsigned_.back() = 0x0D;
    STR_LoadedAddInfo info{};
    EXPECT_EQ(QD_LP_BAD_INPUT, s.add(ok, 1, 0, nullptr, nullptr));
    EXPECT_EQ(QD_LP_BAD_INPUT, s.add(ok, 0, 0));
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_profiles_add(&s.r, kPrg, kFld, 0, ok.data(), 1, 0, nullptr));
    EXPECT_EQ(QD_LP_BAD_FILE, s.add(wild, 0, 1, &info));
    EXPECT_EQ(QD_PRF_ARRAYS_PAST_END, info.iFile_refusal);
    EXPECT_EQ(QD_LP_BAD_FILE, s.add(unsigned_, 1, 0, &info));
    EXPECT_EQ(QD_PRF_BAD_SIGNATURE, info.iFile_refusal);
    EXPECT_EQ(-1, loaded_profiles_add_result(QD_LP_BAD_FILE));
    EXPECT_EQ(QD_LP_NO_ROOM_HWNDS, s.add(make_file({0, 0, 0}, 120), 3, 0));  // 12 > 8 bytes left
    EXPECT_EQ(QD_LP_NO_ROOM_FILES, s.add(make_file({0}, 140), 1, 0));        // 140 > 139 left
    s.r.uiMax_num_loaded_prfls = 1;
    EXPECT_EQ(QD_LP_NO_ROOM_PROFILES, s.add(ok, 1, 0));
    s.r.uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES + 1;  // would index past the arrays
    EXPECT_EQ(QD_LP_NOT_READY, s.add(ok, 1, 0));
    s.r.uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES;
    s.r.pc_raw_FilesProfile = nullptr;  // the pool could not be obtained
    EXPECT_EQ(QD_LP_NOT_READY, s.add(ok, 1, 0));
    s.r.pc_raw_FilesProfile = s.files.data();
    EXPECT_TRUE(before == s.snapshot());

    // The next append takes the same slot; both pools are then full to the byte.
    ASSERT_EQ(QD_LP_OK, s.add(make_file({1, 0}, 139), 1, 1, &info));
    EXPECT_EQ(1u, info.ui_index);
    EXPECT_EQ((std::vector<uint32_t>{61, 199, 8, 15}),
              (std::vector<uint32_t>{s.r.arr_uiOff_file_beg[1], s.r.arr_uiOff_file_end[1], s.r.arr_uiOff_hwnds_beg[1],
                                     s.r.arr_uiOff_hwnds_end[1]}));
}

TEST(LoadedProfilesRead, WalkGivesEachEntrysGeometryAndHandleInsideItsOwnFile)
{
    Store s;
    ASSERT_EQ(QD_LP_OK, s.add(make_file({0}, 46), 1, 0));
    ASSERT_EQ(QD_LP_OK, s.add(make_file({1, 2, 0}, 122, 3, u'X', 1), 1, 2));  // kind 2: a program without handle
    STR_LoadedEntryWalk w;
    ASSERT_EQ(QD_LP_OK, loaded_walk_first(&s.r, 1, &w));
    std::vector<std::vector<int32_t>> seen;
    int32_t iRet = 1;
    for (; iRet == 1; iRet = loaded_walk_next(&w))
        seen.push_back({w.entry.i_x, w.entry.i_y, w.entry.i_w, w.entry.i_h, profile_has_saved_geometry(&w.entry),
                        static_cast<int32_t>(w.ui_hwnd)});
    EXPECT_EQ(0, iRet);
    EXPECT_EQ((std::vector<std::vector<int32_t>>{{-8, 0, 800, 600, 1, 0xA0}, {-7, 100, 0, 601, 0, 0},
                                                 {-6, 200, 802, 602, 1, 0xF2}}), seen);
    EXPECT_EQ(u"XYZ", name_of(s.r, 1));
    qd_char cut[3];
    EXPECT_EQ(3u, loaded_profile_copy_name(&s.r, 1, cut, 3));
    EXPECT_EQ(u"XY", std::u16string(cut));

    // Nothing is read for a profile that does not exist or whose stored
    // bytes or ranges no longer make sense.
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_first(&s.r, 2, &w));
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_next(&w));
    EXPECT_EQ(0u, loaded_profile_copy_name(&s.r, 2, cut, 3));
    s.files[s.r.arr_uiOff_file_end[1]] = 0;  // signature broken in the pool
    EXPECT_EQ(QD_LP_BAD_FILE, loaded_walk_first(&s.r, 1, &w));
    s.r.arr_uiOff_file_beg[1] = QD_POOL_FILES_SIZE - 100;  // agrees with the size, ends past the pool
    s.r.arr_uiOff_file_end[1] = QD_POOL_FILES_SIZE + 21;
    EXPECT_EQ(0u, loaded_profile_handle(&s.r, 1, 0));
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_first(&s.r, 1, &w));
}
