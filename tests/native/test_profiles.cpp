// The profile file, the store of loaded profiles and the Profile list that
// names them. Files are laid out by tests/common/profile_bytes.h.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "loaded_profiles.h"
#include "profile_bytes.h"
#include "profile_list.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// N = 3: a program maximised at (-8, -8), a folder with w = 0 and a path
// of 7 units, an entry of another kind with an empty path; a name of one
// unit. The paths start at 67, their terminators lie at 111, 127 and 129,
// the name at 131, the signature at 133.
const std::vector<QdTestEntry> kThree = {
    {1, u"C:\\Windows\\notepad.exe", -8, -8, 1936, 1056}, {0, u"D:\\Docs", 100, 50, 0, 200}, {2, u"", 0, 0, 0, 0}};

template <typename... T>
Bytes raw(const T&... v)  // the bytes of records and pools, padding included
{
    Bytes b;
    auto add = [&b](const void* p, size_t n) { b.resize(b.size() + n), std::memcpy(&b[b.size() - n], p, n); };
    (add(&v, sizeof v), ...);
    return b;
}

const uint32_t kPrg[5] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4}, kFld[5] = {0xF0, 0xF1, 0xF2, 0xF3, 0xF4};

// A record as the program prepares it, over pools of exactly the given
// sizes, so the sanitizer build catches a write past either of them.
struct Store {
    Bytes hw, files;
    LoadedProfiles_STR r{};
    explicit Store(uint32_t uiHw = 4096, uint32_t uiFiles = 65536) : hw(uiHw), files(uiFiles)
    {
        r = {0, {}, QD_MAX_LOADED_PROFILES, {}, {}, uiHw, uiFiles, hw.data(), files.data(), {}, {}, {}, {}, {}, {}};
    }
    int32_t add(const Bytes& f, uint32_t F, uint32_t P, STR_LoadedAddInfo* pInfo = nullptr)
    {
        return loaded_profiles_add(&r, kPrg, kFld, static_cast<uint32_t>(f.size()), f.data(), F, P, pInfo);
    }
};

}  // namespace

TEST(ProfileFormat, TheWorkedExampleByteForByte)
{
    const uint8_t kind = 0;
    const uint32_t x = 10, y = 20, w = 300, h = 200, len = 8;
    const STR_ProfileData d = {1, &kind, &x, &y, &w, &h, &len, u"C:\\AX", u"Ab", 4};  // X stands where the zero unit goes
    Bytes file;
    EXPECT_EQ(QD_PRF_OK, profile_write(&d, &file));
    EXPECT_EQ(Bytes({1, 0, 0, 0, 0, 10, 0, 0, 0, 20, 0, 0, 0, 0x2C, 1, 0, 0, 200, 0, 0, 0, 8, 0, 0, 0,
                     'C', 0, ':', 0, '\\', 0, 'A', 0, 0, 0, 'A', 0, 'b', 0, 0, 7, 12}), file);
    EXPECT_EQ(qd_profile_bytes({{0, u"C:\\A", 10, 20, 300, 200}}, u"Ab"), file);  // the tests' own layout agrees
    EXPECT_EQ(QD_PRF_TOO_LARGE, profile_check_size(0x100000000ull));
}

// The refusals of the reader and of the append, in their order and leaving
// everything as it was, are checked against the layout by the fuzz target.
TEST(LoadedProfiles, AFileFillingTheLastSlotAndBothPoolsIsReadAtAnOddAddressWithItsHandles)
{
    Store s(20, 231);  // 95 bytes first: the next file starts at an odd address and ends the pool
    s.r.uiMax_num_loaded_prfls = 2;
    ASSERT_EQ(QD_LP_OK, s.add(qd_profile_bytes({{1, u"q"}, {0, u"r"}}, u"0123456789abcdefghi"), 1, 1));
    const Bytes three = qd_profile_bytes(kThree, u"Z");
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_profiles_add(&s.r, nullptr, kFld, 136, three.data(), 1, 2, nullptr));
    STR_LoadedAddInfo info{};
    ASSERT_EQ(QD_LP_OK, s.add(three, 1, 2, &info));
    EXPECT_EQ(QD_LP_NO_ROOM_PROFILES, s.add(three, 1, 2));  // the slots before the pools
    STR_LoadedEntryWalk w;
    ASSERT_EQ(QD_LP_OK, loaded_walk_first(&s.r, 1, &w));
    const STR_ProfileView& v = w.view;
    const LoadedProfiles_STR& q = s.r;
    EXPECT_EQ((std::vector<uint32_t>{136, 3, 67, 131, 131, 1, 2, 1, 95, 226, 226, 8, 19}),
              (std::vector<uint32_t>{v.uiSize_file, v.N_wnds, v.uiOff_paths, v.uiOff_PrfName_beg, v.uiOff_PrfName_end,
                                     v.uiN_Folders, v.uiN_Programs, info.ui_index, q.arr_uiOff_file_beg[1],
                                     q.arr_uiOff_PrfName_beg[1], q.arr_uiOff_PrfName_end[1], q.arr_uiOff_hwnds_beg[1],
                                     q.arr_uiOff_hwnds_end[1]}));
    const uint32_t handles[3] = {0xA0, 0xF1, 0};  // kind 2: a program the store keeps no handle for
    int32_t r = 1;
    for (uint32_t i = 0; r == 1; ++i, r = loaded_walk_next(&w)) {
        ASSERT_LT(i, 3u);
        const QdTestEntry& t = kThree[i];
        const STR_ProfileEntry& e = w.entry;
        std::u16string path(t.path.size() + 1, u'?');
        EXPECT_EQ(t.path.size(), profile_copy_path(&e, &path[0], path.size()));
        EXPECT_EQ(t.path + u'\0', path);
        EXPECT_EQ((std::vector<int64_t>{t.kind, t.x, t.y, t.w, t.h, 2 * int64_t(t.path.size()), i == 0, handles[i]}),
                  (std::vector<int64_t>{e.uc_kind, e.i_x, e.i_y, e.i_w, e.i_h, e.ui_len_path, profile_has_saved_geometry(&e), w.ui_hwnd}));
    }
    EXPECT_EQ(0, r);
    // The append's answer to its caller: 1 taken, 2 no room, -2 a record not ready, -1 the arguments or the file.
    const int32_t results[][2] = {{QD_LP_OK, 1}, {QD_LP_NO_ROOM_PROFILES, 2}, {QD_LP_NO_ROOM_HWNDS, 2},
                                  {QD_LP_NO_ROOM_FILES, 2}, {QD_LP_NOT_READY, -2}, {QD_LP_BAD_INPUT, -1},
                                  {QD_LP_BAD_FILE, -1}, {QD_LP_COUNTS_MISMATCH, -1}};
    for (const auto& row : results) EXPECT_EQ(row[1], loaded_profiles_add_result(row[0])) << row[0];

    // Nothing is read for a profile that does not exist or whose stored bytes or ranges no longer make sense.
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_first(&s.r, 2, &w));
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_next(&w));
    s.files[s.r.arr_uiOff_file_end[1]] = 0;  // signature broken in the pool
    EXPECT_EQ(QD_LP_BAD_FILE, loaded_walk_first(&s.r, 1, &w));
    s.r.arr_uiOff_file_beg[1] = 200;  // agrees with the size, ends past the pool
    s.r.arr_uiOff_file_end[1] = s.r.arr_uiOff_file_beg[1] + s.r.arr_size_FileProfile[1] - 1;
    EXPECT_EQ(0u, loaded_profile_handle(&s.r, 1, 0));
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_first(&s.r, 1, &w));
}

TEST(ProfileList, EntriesKeepTheirOwnProfilesThroughRemovalsAndAFullListRefuses)
{
    Store s;
    CB_Profile_manage_STR cb{0x1234, 4, 0, QD_PROFILE_LIST_CAPACITY, 0, {}, {}};
    STR_ProfileListNames names{};
    auto name = [](uint32_t k) { return k == 1 ? std::u16string(256, u'\x4E00') : std::u16string{u'P', char16_t(u'A' + k)}; };
    uint32_t uiPos = 99;
    for (uint32_t k = 0; k < 33; ++k) {
        ASSERT_EQ(QD_LP_OK, s.add(qd_profile_bytes({{1, u"p"}}, name(k)), 0, 1));
        const Bytes before = raw(cb, names);
        EXPECT_EQ(k < 32 ? QD_PL_OK : QD_PL_REFUSED, profile_list_add(&cb, &names, &s.r, k, &uiPos)) << k;
        EXPECT_TRUE(k < 32 || before == raw(cb, names));  // the 33rd is stored, not listed
    }
    for (int32_t iSel : {2, 2, 0}) ASSERT_EQ(QD_PL_OK, profile_list_delete(&cb, &names, iSel));
    ASSERT_EQ(29u, cb.uiN_strs);
    for (uint32_t p = 0; p < QD_PROFILE_LIST_CAPACITY; ++p) {
        const uint32_t k = p == 0 ? 1 : p + 3;  // 0, 2 and 3 were removed
        uint32_t uiK = 999;
        EXPECT_EQ(p < 29 ? QD_PL_OK : QD_PL_REFUSED, profile_list_store_index(&cb, static_cast<int32_t>(p), &uiK)) << p;
        EXPECT_EQ(p < 29 ? k : 999, uiK) << p;
        EXPECT_EQ(p < 29 ? names.arr_tc_Name[p] : nullptr, cb.arr_p_PrfName[p]) << p;
        EXPECT_EQ(p < 29 ? name(k).substr(0, 201) : u"", std::u16string(names.arr_tc_Name[p])) << p;  // at most 201 units
    }
    ASSERT_EQ(QD_PL_OK, profile_list_add(&cb, &names, &s.r, 32, &uiPos));  // the freed position, its own text
    EXPECT_EQ(29u, uiPos);
    EXPECT_EQ((std::vector<std::u16string>{name(31), name(32)}), (std::vector<std::u16string>{cb.arr_p_PrfName[28], cb.arr_p_PrfName[29]}));
    const Bytes before = raw(cb, names);
    for (int32_t iSel : {30, -1, INT32_MIN}) EXPECT_EQ(QD_PL_REFUSED, profile_list_delete(&cb, &names, iSel)) << iSel;
    EXPECT_EQ(QD_PL_BAD_INPUT, profile_list_add(&cb, &names, &s.r, 33, &uiPos));  // not in the store
    EXPECT_TRUE(before == raw(cb, names));
}
