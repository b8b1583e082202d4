// libFuzzer target: a profile file from outside, read and stored.
//
// The input is the file, copied into a heap block of exactly its size
// (one byte into the block for half of the sizes, so fields are also read
// from odd addresses). The target works out from the layout alone which
// refusal the reader must give; an accepted file is walked entry by entry,
// every field compared with the bytes at its offset, and its paths are
// copied as a load matches them. Then the file is appended a few times to
// a store whose capacity and pools, picked from the input, are often just
// too small or exactly big enough, with counts now and then wrong: the
// check and the append must give the answer expected in the store's order
// of tests, a refusal must leave the record and both pools as they were,
// and an accepted profile must read back with one handle per entry.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "loaded_profiles.h"
#include "window_match.h"

// A failed check names its line and condition, then stops the run as a crash.
#define FZ_CHECK(cond)                                                                                 \
    ((cond) ? (void)0                                                                                  \
            : (std::fprintf(stderr, "fuzz_profile: check failed at line %d: %s\n", __LINE__, #cond), __builtin_trap()))

namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return le16(p) | (static_cast<uint32_t>(le16(p + 2)) << 16); }

// The reader's answer, from the layout alone, in the order of its tests;
// *puiName receives the name's offset of an accepted file.
int32_t expected_open(const uint8_t* p, uint64_t S, uint64_t* puiName)
{
    if (S == 0) return QD_PRF_EMPTY;
    if (S < 3) return QD_PRF_NO_TAIL;
    if (p[S - 3] != 0x00 || p[S - 2] != 0x07 || p[S - 1] != 0x0C) return QD_PRF_BAD_SIGNATURE;
    if (S < 4) return QD_PRF_NO_COUNT;
    const uint64_t N = le32(p), uiSig = S - 3;
    uint64_t uiOff = 4 + 21 * N;
    if (N == 0) return QD_PRF_NO_ENTRIES;
    if (uiOff > uiSig) return QD_PRF_ARRAYS_PAST_END;
    for (uint64_t i = 0; i < N; ++i) {
        const uint64_t uiLen = le32(p + 4 + 17 * N + 4 * i);
        if (uiLen % 2) return QD_PRF_ODD_PATH_LENGTH;
        if (uiOff + uiLen + 2 > uiSig) return QD_PRF_PATHS_PAST_END;
        if (le16(p + uiOff + uiLen) != 0) return QD_PRF_PATH_UNTERMINATED;
        uiOff += uiLen + 2;
    }
    if (uiOff == uiSig) return QD_PRF_NO_NAME;
    if ((uiSig - uiOff) % 2) return QD_PRF_ODD_NAME;
    for (uint64_t u = uiOff; u < uiSig; u += 2)
        if (le16(p + u) == 0) return QD_PRF_NAME_HAS_ZERO;
    *puiName = uiOff;
    return QD_PRF_OK;
}

// Every entry's fields at their offsets, the paths back to back from the
// arrays to the name, each copied whole; the aligned copies agree.
void check_walk(const uint8_t* p, uint64_t S, const STR_ProfileView& v)
{
    const uint64_t N = v.N_wnds;
    STR_ProfileEntry e{}, at{};
    FZ_CHECK(profile_entry_at(&v, 0, &e) == QD_PRF_OK);
    uint64_t uiOff = 4 + 21 * N, i = 0, uiFolders = 0;
    for (int32_t r = 1; r == 1; r = profile_next_entry(&v, &e), ++i) {
        FZ_CHECK(i < N && e.ui_index == i && e.uc_kind == p[4 + i] && e.uiOff_path == uiOff && e.pc_path == p + uiOff);
        const int32_t fields[5] = {e.i_x, e.i_y, e.i_w, e.i_h, static_cast<int32_t>(e.ui_len_path)};
        for (uint64_t a = 0; a < 5; ++a) FZ_CHECK(static_cast<uint32_t>(fields[a]) == le32(p + 4 + N + 4 * N * a + 4 * i));
        std::unique_ptr<qd_char[]> path(new qd_char[e.ui_len_path / 2 + 1]);
        FZ_CHECK(profile_copy_path(&e, path.get(), e.ui_len_path / 2 + 1) == e.ui_len_path / 2 && path[e.ui_len_path / 2] == 0);
        if (i < 64) FZ_CHECK(profile_entry_at(&v, static_cast<uint32_t>(i), &at) == QD_PRF_OK && at.uiOff_path == uiOff);
        uiFolders += e.uc_kind == QD_PRF_KIND_FOLDER;
        uiOff += e.ui_len_path + 2ull;
    }
    FZ_CHECK(i == N && uiOff == v.uiOff_PrfName_beg && v.uiOff_PrfName_end == S - 5);
    FZ_CHECK(v.uiN_Folders == uiFolders && v.uiN_Programs == N - uiFolders);
    FZ_CHECK(profile_entry_at(&v, v.N_wnds, &at) == QD_PRF_BAD_INPUT);
    if (N > 1) {  // an entry that is not the view's own leads nowhere
        FZ_CHECK(profile_entry_at(&v, 0, &at) == QD_PRF_OK);
        at.uiOff_path = v.uiOff_PrfName_beg;
        FZ_CHECK(profile_next_entry(&v, &at) == QD_PRF_BAD_INPUT);
    }
    const size_t uiN_name = (S - 3 - v.uiOff_PrfName_beg) / 2;  // copied into one unit too few: cut and terminated
    std::unique_ptr<qd_char[]> name(new qd_char[uiN_name]);
    FZ_CHECK(profile_copy_name(&v, name.get(), uiN_name) == uiN_name && name[uiN_name - 1] == 0);
    FZ_CHECK(uiN_name == 1 || name[0] == le16(p + v.uiOff_PrfName_beg));
    STR_EntryPaths paths;
    entry_paths_build(&v, &paths);
    FZ_CHECK(paths.len.size() == N && paths.units.size() == (v.uiOff_PrfName_beg - v.uiOff_paths) / 2);
}

// Appends the file up to three times to a store picked from the input.
void check_store(const uint8_t* p, uint32_t S, int32_t rOpen, const STR_ProfileView& v, uint32_t uiPick)
{
    static const uint32_t kCaps[8] = {1024, 1024, 1024, 1, 2, 3, 0, 1025};  // the last two: a record not ready
    const uint32_t N = v.N_wnds, uiEach = N ? N : 1, uiCap = kCaps[uiPick % 8];
    // Room for one or two copies, give or take a byte; exact blocks, zeroed as committed memory is.
    const uint32_t uiHw = 4 * uiEach * (1 + (uiPick >> 3) % 2) + (uiPick >> 4) % 3 - 1;
    const uint32_t uiFiles = std::max(1u, S * (1 + (uiPick >> 6) % 2) + (uiPick >> 7) % 3 - (S ? 1 : 0));
    std::unique_ptr<uint8_t[]> hw(new uint8_t[uiHw]()), files(new uint8_t[uiFiles]());
    std::unique_ptr<LoadedProfiles_STR> rec(new LoadedProfiles_STR()), before(new LoadedProfiles_STR());
    LoadedProfiles_STR& r = *rec;
    r = {0, {}, uiCap, {}, {}, uiHw, uiFiles, hw.get(), files.get(), {}, {}, {}, {}, {}, {}};
    std::vector<uint32_t> prg(uiEach), fld(uiEach);
    for (uint32_t a = 0; a < 3; ++a, uiPick >>= 3) {
        for (uint32_t i = 0; i < uiEach; ++i) prg[i] = 0x80000000u | (a << 20) | i, fld[i] = 0x40000000u | (a << 20) | i;
        uint32_t F = rOpen == QD_PRF_OK ? v.uiN_Folders : 1, P = v.uiN_Programs;  // the counts claimed, now and then wrong
        if ((uiPick >> 10) % 8 == 1) ++F;
        if ((uiPick >> 10) % 8 == 4) ++P;
        if ((uiPick >> 10) % 8 == 2) std::swap(F, P);
        if ((uiPick >> 10) % 8 == 3) F = 0xFFFFFFFFu, P = N + 1;  // the right sum, wrapped
        const uint32_t k = r.uiN_loaded_prfls;
        const uint64_t uiUsedHw = k ? r.arr_uiOff_hwnds_end[k - 1] + 1ull : 0, uiUsedFiles = k ? r.arr_uiOff_file_end[k - 1] + 1ull : 0;
        int32_t iWant = QD_LP_OK;
        if (!S || (!F && !P)) iWant = QD_LP_BAD_INPUT;
        else if (!uiCap || uiCap > QD_MAX_LOADED_PROFILES) iWant = QD_LP_NOT_READY;
        else if (rOpen != QD_PRF_OK) iWant = QD_LP_BAD_FILE;
        else if (F != v.uiN_Folders || P != v.uiN_Programs) iWant = QD_LP_COUNTS_MISMATCH;
        else if (k + 1ull > uiCap) iWant = QD_LP_NO_ROOM_PROFILES;
        else if (uiUsedHw + 4ull * N > uiHw) iWant = QD_LP_NO_ROOM_HWNDS;
        else if (uiUsedFiles + S > uiFiles) iWant = QD_LP_NO_ROOM_FILES;
        *before = r;
        const std::vector<uint8_t> hw0(hw.get(), hw.get() + uiHw), files0(files.get(), files.get() + uiFiles);
        STR_LoadedAddInfo info;
        FZ_CHECK(loaded_profiles_check(&r, S, p, F, P, &info) == iWant);
        FZ_CHECK(loaded_profiles_add(&r, prg.data(), fld.data(), S, p, F, P, &info) == iWant);
        FZ_CHECK(iWant != QD_LP_BAD_FILE || info.iFile_refusal == rOpen);
        // Nothing but the new profile's slot and ranges may change.
        FZ_CHECK(std::memcmp(hw0.data(), hw.get(), uiUsedHw) == 0 && std::memcmp(files0.data(), files.get(), uiUsedFiles) == 0);
        if (iWant != QD_LP_OK) {
            FZ_CHECK(std::memcmp(before.get(), &r, sizeof r) == 0 && hw0 == std::vector<uint8_t>(hw.get(), hw.get() + uiHw) &&
                     files0 == std::vector<uint8_t>(files.get(), files.get() + uiFiles));
            continue;
        }
        FZ_CHECK(info.ui_index == k && r.uiN_loaded_prfls == k + 1 && r.arr_size_FileProfile[k] == S);
        FZ_CHECK(r.arr_uiOff_hwnds_beg[k] == uiUsedHw && r.arr_uiOff_hwnds_end[k] == uiUsedHw + 4 * N - 1);
        FZ_CHECK(r.arr_uiOff_file_beg[k] == uiUsedFiles && r.arr_uiOff_file_end[k] == uiUsedFiles + S - 1);
        FZ_CHECK(r.arr_uiOff_PrfName_beg[k] == uiUsedFiles + v.uiOff_PrfName_beg && r.arr_uiOff_PrfName_end[k] == uiUsedFiles + S - 5);
        FZ_CHECK(std::memcmp(files.get() + uiUsedFiles, p, S) == 0);
        STR_LoadedEntryWalk w;
        FZ_CHECK(loaded_walk_first(&r, k, &w) == QD_LP_OK && loaded_profile_entry_count(&r, k) == N);
        uint32_t i = 0;
        for (int32_t iNext = 1; iNext == 1; iNext = loaded_walk_next(&w), ++i) {
            const uint8_t uc = p[4 + i];
            const uint32_t uiWant = uc == QD_PRF_KIND_FOLDER ? fld[i] : uc == QD_PRF_KIND_PROGRAM ? prg[i] : 0;
            FZ_CHECK(i < N && w.ui_hwnd == uiWant && loaded_profile_handle(&r, k, i) == uiWant);
        }
        FZ_CHECK(i == N);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFF) return 0;
    const size_t uiShift = (size >> 1) & 1;
    std::unique_ptr<uint8_t[]> block(new uint8_t[size + uiShift]);
    uint8_t* p = block.get() + uiShift;
    if (size) std::memcpy(p, data, size);

    uint64_t uiName = 0;
    const int32_t iWant = expected_open(p, size, &uiName);
    STR_ProfileView v;
    std::memset(&v, 0x5A, sizeof v);
    FZ_CHECK(profile_open(p, size, &v) == iWant);
    if (iWant == QD_PRF_OK) {
        FZ_CHECK(v.pc_file == p && v.uiSize_file == size && v.N_wnds == le32(p) && v.uiOff_PrfName_beg == uiName);
        check_walk(p, size, v);
    } else {  // a refused file leaves an empty view that leads nowhere
        STR_ProfileEntry e{};
        FZ_CHECK(v.pc_file == nullptr && v.N_wnds == 0 && profile_entry_at(&v, 0, &e) == QD_PRF_BAD_INPUT);
        FZ_CHECK(profile_refusal_detail(iWant)[0] != '\0');
    }
    uint32_t uiPick = 2166136261u;  // FNV-1a of the input
    for (size_t i = 0; i < size; ++i) uiPick = (uiPick ^ data[i]) * 16777619u;
    check_store(p, static_cast<uint32_t>(size), iWant, v, uiPick);
    return 0;
}
