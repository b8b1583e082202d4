// The profile file, the store of loaded profiles and the Profile list that
// names them. Files are laid out by tests/common/profile_bytes.h.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
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

// A one-entry profile of exactly uiSize bytes (even): the path takes what the name leaves.
Bytes sized(uint8_t kind, uint32_t uiSize, const std::u16string& name = u"AB")
{
    return qd_profile_bytes({{kind, std::u16string((uiSize - 30 - 2 * name.size()) / 2, u'p'), -8, 0, 800, 600}}, name);
}

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
    std::tuple<Bytes, Bytes, Bytes> snapshot() const { return std::make_tuple(raw(r), hw, files); }
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
}

TEST(ProfileFormat, AStoredFileIsReadAtAnOddAddressEntryByEntryWithItsHandles)
{
    Store s;  // 95 bytes first: the next file starts at an odd address
    ASSERT_EQ(QD_LP_OK, s.add(qd_profile_bytes({{1, u"q"}, {0, u"r"}}, u"0123456789abcdefghi"), 1, 1));
    ASSERT_EQ(QD_LP_OK, s.add(qd_profile_bytes(kThree, u"Z"), 1, 2));
    STR_LoadedEntryWalk w;
    ASSERT_EQ(QD_LP_OK, loaded_walk_first(&s.r, 1, &w));
    const STR_ProfileView& v = w.view;
    EXPECT_EQ((std::vector<uint32_t>{136, 3, 67, 131, 131, 1, 2, 226, 226}),
              (std::vector<uint32_t>{v.uiSize_file, v.N_wnds, v.uiOff_paths, v.uiOff_PrfName_beg, v.uiOff_PrfName_end, v.uiN_Folders,
                                     v.uiN_Programs, s.r.arr_uiOff_PrfName_beg[1], s.r.arr_uiOff_PrfName_end[1]}));
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

    // Nothing is read for a profile that does not exist or whose stored bytes or ranges no longer make sense.
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_first(&s.r, 2, &w));
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_next(&w));
    s.files[s.r.arr_uiOff_file_end[1]] = 0;  // signature broken in the pool
    EXPECT_EQ(QD_LP_BAD_FILE, loaded_walk_first(&s.r, 1, &w));
    s.r.arr_uiOff_file_beg[1] = 65536 - 100;  // agrees with the size, ends past the pool
    s.r.arr_uiOff_file_end[1] = s.r.arr_uiOff_file_beg[1] + s.r.arr_size_FileProfile[1] - 1;
    EXPECT_EQ(0u, loaded_profile_handle(&s.r, 1, 0));
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_walk_first(&s.r, 1, &w));
}

TEST(ProfileFormat, RefusalsInTheOrderOfTheTests)
{
    auto put_u32 = [](Bytes& b, size_t off, uint32_t v) { std::memcpy(&b[off], &v, 4); };  // little-endian host
    auto cut = [](Bytes& b, size_t n) { b.resize(n), b.insert(b.end(), {0, 7, 12}); };
    const size_t lenAt = 4 + 17 * 3;  // the three path lengths
    const std::vector<std::pair<std::function<void(Bytes&)>, int32_t>> cases = {
        {[](Bytes& b) { b.clear(); }, QD_PRF_EMPTY},
        {[](Bytes& b) { b = {7, 12}; }, QD_PRF_NO_TAIL},
        {[](Bytes& b) { b.back() = 0x0D; }, QD_PRF_BAD_SIGNATURE},
        {[](Bytes& b) { b = {1, 2, 3}; }, QD_PRF_BAD_SIGNATURE},  // before the count
        {[](Bytes& b) { b = {0, 7, 12}; }, QD_PRF_NO_COUNT},
        {[](Bytes& b) { b = {0, 0, 0, 0, 7, 12}; }, QD_PRF_NO_ENTRIES},  // the count may overlap the signature
        {[&](Bytes& b) { cut(b, 40); }, QD_PRF_ARRAYS_PAST_END},
        {[&](Bytes& b) { cut(b, 67); }, QD_PRF_PATHS_PAST_END},  // the arrays end at the signature
        {[&](Bytes& b) { put_u32(b, lenAt + 4, 13); }, QD_PRF_ODD_PATH_LENGTH},
        {[&](Bytes& b) { put_u32(b, lenAt + 8, 4); }, QD_PRF_PATHS_PAST_END},  // a terminator in the signature
        {[&](Bytes& b) { put_u32(b, lenAt + 8, 2); }, QD_PRF_PATH_UNTERMINATED},  // the name is no terminator
        {[&](Bytes& b) { put_u32(b, lenAt + 8, 2), b[131] = 0; }, QD_PRF_NO_NAME},
        {[](Bytes& b) { b.insert(b.end() - 3, 'q'); }, QD_PRF_ODD_NAME},
        {[](Bytes& b) { b.insert(b.end() - 3, {0, 0, 'q', 0}); }, QD_PRF_NAME_HAS_ZERO},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        Bytes b = qd_profile_bytes(kThree, u"Z");
        cases[i].first(b);
        const Bytes exact(b);  // a heap block of exactly the file's size
        STR_ProfileView v;
        EXPECT_EQ(cases[i].second, profile_open(exact.data(), exact.size(), &v)) << i;
    }
    EXPECT_EQ(QD_PRF_TOO_LARGE, profile_check_size(0x100000000ull));
}

TEST(LoadedProfiles, RefusalsInTheirOrderChangeNothingAndAnExactFitIsTaken)
{
    Store s(28, 231);  // room for seven handles and 231 bytes of files
    ASSERT_EQ(QD_LP_OK, s.add(qd_profile_bytes({{1, u"a"}, {0, u"b"}, {0, u"c"}, {1, u"d"}, {0, u"e"}}, u"AB"), 3, 2));  // 136 bytes
    const auto before = s.snapshot();
    const Bytes ok = sized(0, 72);
    Bytes unsigned_ = ok, wild = ok;
    unsigned_.back() = 0x0D;
    wild[0] = 9;  // nine entries' arrays do not fit the file
    EXPECT_EQ(QD_LP_BAD_INPUT, loaded_profiles_add(&s.r, nullptr, kFld, 72, ok.data(), 1, 0, nullptr));
    const struct { Bytes f; uint32_t F, P, uiMax; int32_t code, iFile, result; } rows[] = {  // uiMax: the capacity
        {ok, 0, 0, 1024, QD_LP_BAD_INPUT, 0, -1},
        {unsigned_, 1, 0, 0, QD_LP_NOT_READY, 0, -2},  // the record before the file
        {unsigned_, 1, 0, 1025, QD_LP_NOT_READY, 0, -2},  // a capacity past the arrays
        {unsigned_, 1, 0, 1024, QD_LP_BAD_FILE, QD_PRF_BAD_SIGNATURE, -1},
        {wild, 5, 5, 1, QD_LP_BAD_FILE, QD_PRF_ARRAYS_PAST_END, -1},  // the file before the counts
        {ok, 0, 1, 1, QD_LP_COUNTS_MISMATCH, 0, -1},  // the counts before the room
        {sized(0, 300), 1, 0, 1, QD_LP_NO_ROOM_PROFILES, 0, 2},  // the slots before the pools
        {qd_profile_bytes({{0, u"x"}, {0, u"y"}, {0, u"z"}}, std::u16string(50, u'n')), 3, 0, 1024, QD_LP_NO_ROOM_HWNDS, 0, 2},
        {sized(0, 96), 1, 0, 1024, QD_LP_NO_ROOM_FILES, 0, 2},  // 96 > 95 bytes left
    };
    for (const auto& row : rows) {
        s.r.uiMax_num_loaded_prfls = row.uiMax;
        STR_LoadedAddInfo info{};
        EXPECT_EQ(row.code, s.add(row.f, row.F, row.P, &info)) << &row - rows;
        EXPECT_EQ(row.iFile, info.iFile_refusal) << &row - rows;
        EXPECT_EQ(row.result, loaded_profiles_add_result(row.code)) << &row - rows;
        s.r.uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES;
        EXPECT_TRUE(before == s.snapshot()) << &row - rows;
    }
    // The next append takes the same slot, the last one, and fills both pools to the byte.
    s.r.uiMax_num_loaded_prfls = 2;
    STR_LoadedAddInfo info{};
    ASSERT_EQ(QD_LP_OK, s.add(qd_profile_bytes({{1, u"q"}, {0, u"r"}}, u"0123456789abcdefghi"), 1, 1, &info));  // 95 bytes
    const LoadedProfiles_STR& r = s.r;
    EXPECT_EQ((std::vector<uint32_t>{1, 136, 230, 190, 226, 20, 27, 0xA0, 0xF1}),
              (std::vector<uint32_t>{info.ui_index, r.arr_uiOff_file_beg[1], r.arr_uiOff_file_end[1], r.arr_uiOff_PrfName_beg[1],
                                     r.arr_uiOff_PrfName_end[1], r.arr_uiOff_hwnds_beg[1], r.arr_uiOff_hwnds_end[1],
                                     loaded_profile_handle(&r, 1, 0), loaded_profile_handle(&r, 1, 1)}));
    const uint32_t inEntryOrder[7] = {0xA0, 0xF1, 0xF2, 0xA3, 0xF4, 0xA0, 0xF1};
    EXPECT_EQ(raw(inEntryOrder), s.hw);
}

TEST(ProfileList, EntriesKeepTheirOwnProfilesThroughRemovalsAndAFullListRefuses)
{
    Store s;
    CB_Profile_manage_STR cb{0x1234, 4, 0, QD_PROFILE_LIST_CAPACITY, 0, {}, {}};
    STR_ProfileListNames names{};
    auto name = [](uint32_t k) { return k == 1 ? std::u16string(256, u'\x4E00') : std::u16string{u'P', char16_t(u'A' + k)}; };
    uint32_t uiPos = 99;
    for (uint32_t k = 0; k < 33; ++k) {
        ASSERT_EQ(QD_LP_OK, s.add(sized(1, k == 1 ? 544 : 40, name(k)), 0, 1));
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
