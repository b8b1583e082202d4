// libFuzzer target: the profile reader on arbitrary bytes.
//
// Every input is treated as a whole profile file. It is copied into a heap
// block of exactly its size (sometimes starting one byte into the block, so
// that fields are also read from odd addresses) and goes through the
// loader's checks and profile_open. Independently of the core, the target
// works out what the bytes are (the refusal a reader must give, or the
// layout of a well-formed file) and traps on any difference. When the file
// is accepted it walks every entry, copies every path and the name into
// exact and short buffers, runs the name search and entry_paths_build, and
// writes the file again from what it read, which must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "profile_format.h"
#include "window_match.h"

namespace {

#define FZ_CHECK(cond)                                                                  \
    do {                                                                                \
        if (!(cond)) {                                                                  \
            std::fprintf(stderr, "fuzz_profile_reader: check failed at line %d: %s\n", \
                         __LINE__, #cond);                                              \
            __builtin_trap();                                                           \
        }                                                                               \
    } while (0)

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t le32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// What the bytes are, worked out without the core.
struct Expected {
    int32_t code = QD_PRF_OK;
    uint32_t N = 0;
    uint32_t uiN_Folders = 0;
    uint64_t uiOff_name = 0;  // first byte of the name
};

Expected classify(const uint8_t* p, size_t S)
{
    Expected r;
    if (S == 0) return r.code = QD_PRF_EMPTY, r;
    if (S < 3) return r.code = QD_PRF_NO_TAIL, r;
    if (p[S - 3] != 0x00 || p[S - 2] != 0x07 || p[S - 1] != 0x0C) return r.code = QD_PRF_BAD_SIGNATURE, r;
    if (S < 4) return r.code = QD_PRF_NO_COUNT, r;
    r.N = le32(p);
    if (r.N == 0) return r.code = QD_PRF_NO_ENTRIES, r;
    const uint64_t uiSig = S - 3;
    const uint64_t N = r.N;
    uint64_t uiOff = 4 + 21 * N;
    if (uiOff > uiSig) return r.code = QD_PRF_ARRAYS_PAST_END, r;
    for (uint64_t i = 0; i < N; ++i) {
        if (p[4 + i] == 0) ++r.uiN_Folders;
        const uint64_t uiLen = le32(p + 4 + 17 * N + 4 * i);
        if (uiLen % 2) return r.code = QD_PRF_ODD_PATH_LENGTH, r;
        if (uiOff + uiLen + 2 > uiSig) return r.code = QD_PRF_PATHS_PAST_END, r;
        if (le16(p + uiOff + uiLen) != 0) return r.code = QD_PRF_PATH_UNTERMINATED, r;
        uiOff += uiLen + 2;
    }
    if (uiOff == uiSig) return r.code = QD_PRF_NO_NAME, r;
    if ((uiSig - uiOff) % 2) return r.code = QD_PRF_ODD_NAME, r;
    for (uint64_t u = uiOff; u < uiSig; u += 2)
        if (le16(p + u) == 0) return r.code = QD_PRF_NAME_HAS_ZERO, r;
    r.uiOff_name = uiOff;
    return r;
}

// Properties of profile_find_name on any bytes.
void check_find_name(const uint8_t* p, size_t S)
{
    uint32_t uiBeg = 0xDEADBEEF, uiEnd = 0xDEADBEEF;
    const int32_t r = profile_find_name(p, static_cast<uint32_t>(S), &uiBeg, &uiEnd);
    FZ_CHECK(r == QD_PRF_OK || r == QD_PRF_NO_NAME);
    if (r == QD_PRF_OK) {
        FZ_CHECK(S >= 5 && uiEnd == S - 5);
        FZ_CHECK(uiBeg >= 2 && uiBeg <= uiEnd && (uiEnd - uiBeg) % 2 == 0);
        FZ_CHECK(le16(p + uiBeg - 2) == 0);
        for (size_t u = uiBeg; u <= uiEnd; u += 2) FZ_CHECK(le16(p + u) != 0);
        return;
    }
    FZ_CHECK(uiBeg == 0xDEADBEEF && uiEnd == 0xDEADBEEF);
    if (S < 5 || le16(p + S - 5) == 0) return;
    // Otherwise no zero unit lies on the backward path at all.
    for (size_t u = S - 5 + 2; u >= 2;) {
        u -= 2;
        FZ_CHECK(le16(p + u) != 0);
    }
}

bool same_entry(const STR_ProfileEntry& a, const STR_ProfileEntry& b)
{
    return a.ui_index == b.ui_index && a.uc_kind == b.uc_kind && a.i_x == b.i_x && a.i_y == b.i_y &&
           a.i_w == b.i_w && a.i_h == b.i_h && a.ui_len_path == b.ui_len_path &&
           a.uiOff_path == b.uiOff_path && a.pc_path == b.pc_path;
}

// Text copied from the file into a buffer of exactly uiCap units (heap, so
// a write past it is caught): the full length comes back, the buffer holds
// the first min(len, cap - 1) units and a terminator.
template <typename Copy>
void check_copy(Copy copy, const uint8_t* pcText, size_t uiN_units, size_t uiCap)
{
    std::unique_ptr<qd_char[]> buf(new qd_char[uiCap ? uiCap : 1]);
    for (size_t u = 0; u < (uiCap ? uiCap : 1); ++u) buf[u] = 0xAAAA;
    FZ_CHECK(copy(uiCap ? buf.get() : nullptr, uiCap) == uiN_units);
    if (!uiCap) return;
    const size_t n = uiN_units < uiCap ? uiN_units : uiCap - 1;
    for (size_t u = 0; u < n; ++u) FZ_CHECK(buf[u] == le16(pcText + 2 * u));
    FZ_CHECK(buf[n] == 0);
}

void check_accepted(const uint8_t* p, size_t S, const Expected& x, const STR_ProfileView& v)
{
    const uint32_t N = x.N;
    FZ_CHECK(v.pc_file == p && v.uiSize_file == S && v.N_wnds == N);
    FZ_CHECK(v.uiOff_paths == 4 + 21ull * N);
    FZ_CHECK(v.uiOff_PrfName_beg == x.uiOff_name && v.uiOff_PrfName_end == S - 5);
    FZ_CHECK(v.uiN_Folders == x.uiN_Folders && v.uiN_Programs == N - x.uiN_Folders);
    FZ_CHECK(uint64_t{v.uiN_Folders} + v.uiN_Programs == N);

    // The name search agrees with the view.
    uint32_t uiBeg = 0, uiEnd = 0;
    FZ_CHECK(profile_find_name(p, v.uiSize_file, &uiBeg, &uiEnd) == QD_PRF_OK);
    FZ_CHECK(uiBeg == v.uiOff_PrfName_beg && uiEnd == v.uiOff_PrfName_end);
    const size_t uiN_name = (v.uiOff_PrfName_end - v.uiOff_PrfName_beg) / 2 + 1;
    auto copy_name = [&](qd_char* b, size_t c) { return profile_copy_name(&v, b, c); };
    const uint8_t* pcName = p + v.uiOff_PrfName_beg;
    check_copy(copy_name, pcName, uiN_name, uiN_name + 1);
    check_copy(copy_name, pcName, uiN_name, uiN_name);
    check_copy(copy_name, pcName, uiN_name, 1);
    check_copy(copy_name, pcName, uiN_name, 0);

    // The walk from entry 0: every field where the layout puts it, every
    // path inside the file between the arrays and the name.
    std::vector<STR_ProfileEntry> walked;
    std::vector<uint32_t> lens;
    STR_ProfileEntry e{};
    FZ_CHECK(profile_entry_at(&v, 0, &e) == QD_PRF_OK);
    uint64_t uiOff = v.uiOff_paths;
    for (;;) {
        const uint64_t i = walked.size();
        FZ_CHECK(i < N && e.ui_index == i);
        FZ_CHECK(e.uc_kind == p[4 + i]);
        FZ_CHECK(static_cast<uint32_t>(e.i_x) == le32(p + 4 + N + 4 * i));
        FZ_CHECK(static_cast<uint32_t>(e.i_y) == le32(p + 4 + 5ull * N + 4 * i));
        FZ_CHECK(static_cast<uint32_t>(e.i_w) == le32(p + 4 + 9ull * N + 4 * i));
        FZ_CHECK(static_cast<uint32_t>(e.i_h) == le32(p + 4 + 13ull * N + 4 * i));
        FZ_CHECK(e.ui_len_path == le32(p + 4 + 17ull * N + 4 * i));
        FZ_CHECK(e.uiOff_path == uiOff && e.pc_path == p + uiOff);
        FZ_CHECK(e.uiOff_path >= v.uiOff_paths);
        FZ_CHECK(uint64_t{e.uiOff_path} + e.ui_len_path + 2 <= v.uiOff_PrfName_beg);
        FZ_CHECK(le16(e.pc_path + e.ui_len_path) == 0);
        FZ_CHECK(profile_has_saved_geometry(&e) == (e.i_w != 0 && e.i_h != 0));

        const size_t uiN_units = e.ui_len_path / 2;
        auto copy_path = [&](qd_char* b, size_t c) { return profile_copy_path(&e, b, c); };
        check_copy(copy_path, e.pc_path, uiN_units, uiN_units + 1);
        check_copy(copy_path, e.pc_path, uiN_units, 1);
        if (uiN_units) check_copy(copy_path, e.pc_path, uiN_units, uiN_units);
        if (uiN_units > 2) check_copy(copy_path, e.pc_path, uiN_units, 2);

        walked.push_back(e);
        lens.push_back(e.ui_len_path);
        uiOff += uint64_t{e.ui_len_path} + 2;
        const int32_t r = profile_next_entry(&v, &e);
        if (r == 0) break;
        FZ_CHECK(r == 1);
    }
    FZ_CHECK(walked.size() == N);
    FZ_CHECK(uiOff == v.uiOff_PrfName_beg);
    // Past the end the walk stays finished.
    FZ_CHECK(profile_next_entry(&v, &e) == 0);
    STR_ProfileEntry eOut{};
    FZ_CHECK(profile_entry_at(&v, N, &eOut) == QD_PRF_BAD_INPUT);

    // Direct access gives the walked entry (every one for small N).
    if (N <= 64) {
        for (uint32_t i = 0; i < N; ++i) {
            FZ_CHECK(profile_entry_at(&v, i, &eOut) == QD_PRF_OK && same_entry(eOut, walked[i]));
        }
    } else {
        for (uint32_t i : {N / 2, N - 1}) {
            FZ_CHECK(profile_entry_at(&v, i, &eOut) == QD_PRF_OK && same_entry(eOut, walked[i]));
        }
    }

    // An entry that did not come from the view cannot lead the walk outside.
    if (N > 1) {
        for (uint32_t uiForged : {static_cast<uint32_t>(S), v.uiOff_PrfName_beg, 0xFFFFFFF0u}) {
            STR_ProfileEntry f = walked[0];
            f.uiOff_path = uiForged;
            FZ_CHECK(profile_next_entry(&v, &f) == QD_PRF_BAD_INPUT);
        }
    }

    // The aligned copies a load matches windows against.
    STR_EntryPaths paths;
    entry_paths_build(&v, &paths);
    FZ_CHECK(paths.off.size() == N && paths.len.size() == N && paths.kind.size() == N);
    size_t uiAt = 0;
    for (uint32_t i = 0; i < N; ++i) {
        FZ_CHECK(paths.off[i] == uiAt && paths.len[i] == walked[i].ui_len_path / 2);
        FZ_CHECK(paths.kind[i] == walked[i].uc_kind);
        for (uint32_t u = 0; u < paths.len[i]; ++u)
            FZ_CHECK(paths.units[uiAt + u] == le16(walked[i].pc_path + 2 * u));
        FZ_CHECK(paths.units[uiAt + paths.len[i]] == 0);
        uiAt += paths.len[i] + 1;
    }
    FZ_CHECK(paths.units.size() == uiAt);

    // The size formula and the writer give back the same file.
    const uint32_t uiName_bytes = static_cast<uint32_t>(S - 3 - v.uiOff_PrfName_beg);
    FZ_CHECK(profile_file_size(N, lens.data(), uiName_bytes) == S);
    std::vector<uint8_t> kinds(N);
    std::vector<uint32_t> xs(N), ys(N), ws(N), hs(N);
    bool bWritable = uiN_name <= QD_PRF_NAME_MAX_UNITS;
    for (uint32_t i = 0; i < N; ++i) {
        kinds[i] = walked[i].uc_kind;
        if (kinds[i] > QD_PRF_KIND_PROGRAM) bWritable = false;
        xs[i] = static_cast<uint32_t>(walked[i].i_x);
        ys[i] = static_cast<uint32_t>(walked[i].i_y);
        ws[i] = static_cast<uint32_t>(walked[i].i_w);
        hs[i] = static_cast<uint32_t>(walked[i].i_h);
    }
    std::vector<qd_char> name(uiN_name);
    FZ_CHECK(profile_copy_name(&v, name.data(), 0) == uiN_name);
    for (size_t u = 0; u < uiN_name; ++u) name[u] = le16(pcName + 2 * u);
    const STR_ProfileData d{N, kinds.data(), xs.data(), ys.data(), ws.data(), hs.data(), lens.data(),
                            paths.units.data(), name.data(), uiName_bytes};
    std::vector<uint8_t> again;
    const int32_t rw = profile_write(&d, &again);
    if (bWritable) {
        FZ_CHECK(rw == QD_PRF_OK);
        FZ_CHECK(again.size() == S && std::memcmp(again.data(), p, S) == 0);
    } else {
        FZ_CHECK(rw == QD_PRF_BAD_INPUT);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFF0u) return 0;
    // An exact-size copy: the end of the data is the end of the block. Bit 1
    // of the size picks a start one byte into the block, so that the same
    // fields are also read from odd addresses.
    const size_t uiShift = (size >> 1) & 1;
    std::unique_ptr<uint8_t[]> block(new uint8_t[size + uiShift]);
    uint8_t* p = block.get() + uiShift;
    if (size) std::memcpy(p, data, size);

    const Expected x = classify(p, size);

    // The loader's own first tests, then the whole validation.
    const int32_t rSize = profile_check_size(size);
    int32_t rFirst = rSize;
    if (rSize == QD_PRF_OK) rFirst = profile_check_signature(p + size - 3);
    STR_ProfileView v;
    std::memset(&v, 0x5A, sizeof v);
    const int32_t r = profile_open(p, size, &v);
    FZ_CHECK(r == x.code);
    if (rFirst != QD_PRF_OK) FZ_CHECK(r == rFirst);
    if (r != QD_PRF_OK) {
        FZ_CHECK(profile_refusal_detail(r)[0] != '\0');
        // A refused file leaves an empty view that leads nowhere.
        FZ_CHECK(v.pc_file == nullptr && v.uiSize_file == 0 && v.N_wnds == 0);
        STR_ProfileEntry e{};
        FZ_CHECK(profile_entry_at(&v, 0, &e) == QD_PRF_BAD_INPUT);
        qd_char c = 0xAAAA;
        FZ_CHECK(profile_copy_name(&v, &c, 1) == 0 && c == 0);
        STR_EntryPaths paths;
        entry_paths_build(&v, &paths);
        FZ_CHECK(paths.off.empty() && paths.units.empty());
    } else {
        check_accepted(p, size, x, v);
    }
    if (size) check_find_name(p, size);
    return 0;
}
