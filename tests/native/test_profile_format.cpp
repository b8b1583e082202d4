#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "profile_format.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// Plain values of a profile, kept alive for the STR_ProfileData built on them.
struct Values {
    std::vector<uint8_t> kinds;
    std::vector<uint32_t> x, y, w, h, len;
    std::u16string packed, name;
    STR_ProfileData data() const
    {
        return {static_cast<uint32_t>(kinds.size()), kinds.data(), x.data(), y.data(), w.data(), h.data(),
                len.data(), packed.data(), name.data(), static_cast<uint32_t>(2 * name.size())};
    }
};

Bytes write(const Values& v)
{
    Bytes b;
    const STR_ProfileData d = v.data();
    EXPECT_EQ(QD_PRF_OK, profile_write(&d, &b));
    return b;
}

// A file opened from a heap block of exactly its size, so the sanitizer
// build catches any read past the data.
struct Exact {
    std::unique_ptr<uint8_t[]> p;
    STR_ProfileView view;
    int32_t r;
    explicit Exact(const Bytes& b) : p(new uint8_t[b.size()])
    {
        std::copy(b.begin(), b.end(), p.get());
        r = profile_open(p.get(), b.size(), &view);
    }
};

void put_u32(Bytes* b, size_t off, uint32_t v)
{
    for (int i = 0; i < 4; ++i) (*b)[off + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::u16string path_of(const STR_ProfileEntry& e)
{
    std::u16string s(e.ui_len_path / 2 + 1, u'?');
    EXPECT_EQ(e.ui_len_path / 2, profile_copy_path(&e, &s[0], s.size()));
    return s.c_str();
}

// Program maximised at (-8, -8), folder with w = 0 and h = 200, folder
// whose path was not found; a name of one unit. Paths start at 67, the
// terminators lie at 111, 127, 129, the name at 131, the signature at 133.
const std::u16string kPaths[3] = {u"C:\\Windows\\notepad.exe", u"D:\\Docs", u""};
const Values kThree = {{1, 0, 0}, {0xFFFFFFF8, 100, 0}, {0xFFFFFFF8, 50, 0}, {1936, 0, 0}, {1056, 200, 0},
                       {44, 14, 0}, kPaths[0] + u'\0' + kPaths[1] + u'\0' + u'\0', u"Z"};

}  // namespace

TEST(ProfileFormat, WorkedExampleByteForByte)
{
    const Values v = {{0}, {10}, {20}, {300}, {200}, {8}, std::u16string(u"C:\\A\0", 5), u"Ab"};
    const Bytes expected = {1, 0, 0, 0,  0,  10, 0, 0, 0,  20, 0, 0, 0,  0x2C, 1, 0, 0,  200, 0, 0, 0,
                            8, 0, 0, 0,  'C', 0, ':', 0, '\\', 0, 'A', 0, 0, 0,  'A', 0, 'b', 0,  0, 7, 12};
    EXPECT_EQ(42u, profile_file_size(1, v.len.data(), 4));
    EXPECT_EQ(expected, write(v));

    // A caller buffer one byte short is left untouched but learns the size.
    const STR_ProfileData d = v.data();
    Bytes buf(42, 0xEE);
    uint32_t uiSize = 0;
    EXPECT_EQ(QD_PRF_SMALL_BUFFER, profile_write(&d, buf.data(), 41, &uiSize));
    EXPECT_EQ(std::make_tuple(42u, Bytes(42, 0xEE)), std::tie(uiSize, buf));

    const Exact f(expected);
    ASSERT_EQ(QD_PRF_OK, f.r);
    const STR_ProfileView& w = f.view;
    EXPECT_EQ(std::make_tuple(1u, 25u, 35u, 37u, 1u, 0u),
              std::tie(w.N_wnds, w.uiOff_paths, w.uiOff_PrfName_beg, w.uiOff_PrfName_end, w.uiN_Folders,
                       w.uiN_Programs));
    STR_ProfileEntry e;
    ASSERT_EQ(QD_PRF_OK, profile_entry_at(&w, 0, &e));
    EXPECT_EQ(std::make_tuple(25u, std::u16string(u"C:\\A")), std::make_tuple(e.uiOff_path, path_of(e)));
    qd_char name[8];
    EXPECT_EQ(2u, profile_copy_name(&w, name, 8));
    EXPECT_EQ(u"Ab", std::u16string(name));
}

TEST(ProfileFormat, UnalignedFieldsRoundTripAtAnyAddress)
{
    const Bytes b = write(kThree);
    ASSERT_EQ(4u + 21 * 3 + (44 + 2) + (14 + 2) + (0 + 2) + 2 * 1 + 3, b.size());
    EXPECT_EQ(b.size(), profile_file_size(3, kThree.len.data(), 2));
    EXPECT_EQ(Bytes({1, 0, 0, 0xF8, 0xFF, 0xFF, 0xFF}), Bytes(b.begin() + 4, b.begin() + 11));  // kinds, x0 at 7
    EXPECT_EQ(Bytes({0x90, 0x07, 0, 0}), Bytes(b.begin() + 4 + 9 * 3, b.begin() + 35));        // w0

    // A stored copy may start at any address of its pool.
    Bytes pool(1 + b.size());
    std::copy(b.begin(), b.end(), pool.begin() + 1);
    STR_ProfileView view;
    ASSERT_EQ(QD_PRF_OK, profile_open(pool.data() + 1, b.size(), &view));
    EXPECT_EQ(std::make_tuple(1u, 2u), std::tie(view.uiN_Programs, view.uiN_Folders));
    // A name of one unit begins at S - 5, right after the last terminator.
    EXPECT_EQ(std::make_tuple(131u, 131u), std::tie(view.uiOff_PrfName_beg, view.uiOff_PrfName_end));

    const bool geometry[3] = {true, false, false};
    STR_ProfileEntry e, at;
    int32_t r = profile_entry_at(&view, 0, &e);
    for (uint32_t i = 0; i < 3; ++i, r = profile_next_entry(&view, &e)) {
        ASSERT_EQ(1, r);
        const Values& in = kThree;
        EXPECT_EQ(std::make_tuple(in.kinds[i], int32_t(in.x[i]), int32_t(in.y[i]), int32_t(in.w[i]),
                                  int32_t(in.h[i]), in.len[i], kPaths[i]),
                  std::make_tuple(e.uc_kind, e.i_x, e.i_y, e.i_w, e.i_h, e.ui_len_path, path_of(e)));
        EXPECT_EQ(0, e.pc_path[e.ui_len_path] | e.pc_path[e.ui_len_path + 1]);
        EXPECT_EQ(geometry[i], profile_has_saved_geometry(&e)) << i;
        ASSERT_EQ(QD_PRF_OK, profile_entry_at(&view, i, &at));
        EXPECT_EQ(e.uiOff_path, at.uiOff_path);
    }
    EXPECT_EQ(0, r);
    EXPECT_EQ(QD_PRF_OK, profile_entry_at(&view, 0, &e));
    EXPECT_EQ(std::make_tuple(-8, -8), std::tie(e.i_x, e.i_y));  // x and y are signed
    EXPECT_EQ(QD_PRF_BAD_INPUT, profile_entry_at(&view, 3, &e));
    // An entry that does not belong to the view cannot lead past its paths.
    ASSERT_EQ(QD_PRF_OK, profile_entry_at(&view, 0, &e));
    e.uiOff_path += 20;  // entry 1 would then end at 149, past the name at 131
    EXPECT_EQ(QD_PRF_BAD_INPUT, profile_next_entry(&view, &e));
}

TEST(ProfileFormat, WriterRefusesWhatTheFormatCannotHold)
{
    const std::vector<std::function<void(STR_ProfileData*, Values*)>> bad = {
        [](STR_ProfileData* d, Values*) { d->N_wnds = 0; },
        [](STR_ProfileData* d, Values*) { d->p_arr1D_ui_h = nullptr; },
        [](STR_ProfileData*, Values* v) { v->kinds[1] = 2; },
        [](STR_ProfileData*, Values* v) { v->len[1] = 13; },
        [](STR_ProfileData* d, Values*) { d->uiSize_PrfName_inBytes = 0; },
        [](STR_ProfileData* d, Values*) { d->uiSize_PrfName_inBytes = 3; },
        [](STR_ProfileData* d, Values* v) { v->name.assign(257, u'n'); *d = v->data(); },
        [](STR_ProfileData* d, Values* v) { v->name = std::u16string(u"a\0b", 3); *d = v->data(); },
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        Values v = kThree;
        STR_ProfileData d = v.data();
        bad[i](&d, &v);
        Bytes b;
        EXPECT_EQ(QD_PRF_BAD_INPUT, profile_write(&d, &b)) << i;
        EXPECT_TRUE(b.empty()) << i;
    }
    // The longest name is written; a stray unit where a terminator belongs
    // in the packed paths does not reach the file.
    Values v = kThree;
    v.name.assign(256, u'n');
    v.packed[22] = u'X';
    const Exact f(write(v));
    ASSERT_EQ(QD_PRF_OK, f.r);
    EXPECT_EQ(256u, profile_copy_name(&f.view, nullptr, 0));
}

TEST(ProfileFormat, RefusalsComeInTheDocumentedOrder)
{
    Bytes tail = write(kThree);
    tail.back() = 0x0D;
    const std::vector<std::pair<Bytes, int32_t>> cases = {
        {{}, QD_PRF_EMPTY},
        {{0x07}, QD_PRF_NO_TAIL},
        {{0x07, 0x0C}, QD_PRF_NO_TAIL},
        {tail, QD_PRF_BAD_SIGNATURE},
        {{0, 0, 0, 0, 1, 2, 3}, QD_PRF_BAD_SIGNATURE},  // the signature before the count
        {{0, 7, 12}, QD_PRF_NO_COUNT},                  // the signature alone
        {{0, 0, 0, 0, 7, 12}, QD_PRF_NO_ENTRIES},       // the count may overlap the signature
        {{0, 0, 0, 0, 0, 7, 12}, QD_PRF_NO_ENTRIES},
    };
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].second, Exact(cases[i].first).r) << i;
    EXPECT_EQ(QD_PRF_OK, profile_check_size(0xFFFFFFFFull));
    EXPECT_EQ(QD_PRF_TOO_LARGE, profile_check_size(0x100000000ull));
}

TEST(ProfileFormat, OutOfBoundsShapesAreRefused)
{
    const Bytes good = write(kThree);
    const size_t lenAt = 4 + 17 * 3;
    auto truncated = [&](Bytes* b, size_t n) {
        b->resize(n);
        b->insert(b->end(), {0, 7, 12});
    };
    const std::vector<std::pair<std::function<void(Bytes*)>, int32_t>> cases = {
        {[&](Bytes* b) { truncated(b, 40); }, QD_PRF_ARRAYS_PAST_END},
        {[&](Bytes* b) { truncated(b, 80); }, QD_PRF_PATHS_PAST_END},
        {[](Bytes* b) { put_u32(b, 0, 0xFFFFFFFF); }, QD_PRF_ARRAYS_PAST_END},
        {[](Bytes* b) { put_u32(b, 0, 204522253); }, QD_PRF_ARRAYS_PAST_END},  // 4 + 21N wraps to 21 in 32 bits
        {[&](Bytes* b) { put_u32(b, lenAt, 0xFFFFFFFE); }, QD_PRF_PATHS_PAST_END},  // off + len + 2 wraps to off
        {[&](Bytes* b) { put_u32(b, lenAt + 8, 4); }, QD_PRF_PATHS_PAST_END},
        {[&](Bytes* b) { put_u32(b, lenAt + 4, 13); }, QD_PRF_ODD_PATH_LENGTH},
        {[](Bytes* b) { (*b)[111] = 'x'; }, QD_PRF_PATH_UNTERMINATED},
        {[&](Bytes* b) { put_u32(b, lenAt + 8, 2); }, QD_PRF_PATH_UNTERMINATED},  // the name is no terminator
        {[&](Bytes* b) { put_u32(b, lenAt + 8, 2); (*b)[131] = 0; }, QD_PRF_NO_NAME},
        {[](Bytes* b) { b->insert(b->end() - 3, 'q'); }, QD_PRF_ODD_NAME},
        {[](Bytes* b) { b->insert(b->end() - 3, {0, 0, 'q', 0}); }, QD_PRF_NAME_HAS_ZERO},
        {[](Bytes* b) { (*b)[131] = 0; }, QD_PRF_NAME_HAS_ZERO},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        Bytes b = good;
        cases[i].first(&b);
        EXPECT_EQ(cases[i].second, Exact(b).r) << i;
    }

    // The store's name search on a copy that holds no zero unit.
    std::unique_ptr<uint8_t[]> p(new uint8_t[7]{'A', 0x01, 'B', 0x01, 0, 7, 12});
    uint32_t beg = 0, end = 0;
    EXPECT_EQ(QD_PRF_NO_NAME, profile_find_name(p.get(), 7, &beg, &end));
    p[0] = p[1] = 0;
    EXPECT_EQ(QD_PRF_OK, profile_find_name(p.get(), 7, &beg, &end));
    EXPECT_EQ(2u, beg);
}

TEST(ProfileFormat, EveryTruncationAndByteChangeStaysInsideTheData)
{
    const Bytes good = write(kThree);
    for (size_t n = 0; n + 3 < good.size(); ++n) {
        Bytes b(good.begin(), good.begin() + n);
        b.insert(b.end(), {0, 7, 12});
        EXPECT_NE(QD_PRF_OK, Exact(b).r) << n;
    }
    // Whatever passes can be walked to the end within its paths.
    int accepted = 0;
    for (size_t off = 0; off < good.size(); ++off)
        for (uint8_t val : {0x00, 0x01, 0x80, 0xFF}) {
            Bytes b = good;
            b[off] = val;
            const Exact f(b);
            if (f.r != QD_PRF_OK) continue;
            ++accepted;
            const STR_ProfileView& v = f.view;
            EXPECT_EQ(v.N_wnds, v.uiN_Folders + v.uiN_Programs);
            STR_ProfileEntry e;
            int32_t r = profile_entry_at(&v, 0, &e);
            for (; r == 1; r = profile_next_entry(&v, &e)) {
                EXPECT_LE(e.uiOff_path + e.ui_len_path + 2, v.uiOff_PrfName_beg);
                path_of(e);
            }
            EXPECT_EQ(0, r);
            std::u16string name(300, u'?');
            EXPECT_EQ(v.uiSize_file - 3 - v.uiOff_PrfName_beg, 2 * profile_copy_name(&v, &name[0], 300));
        }
    EXPECT_GT(accepted, 0);  // changed geometry or path text still loads
}
