// libFuzzer target: appending the bytes of a loaded file to the store of
// loaded profiles, and reading the stored profiles back.
//
// The input is the file. A small generator seeded from the input's bytes
// picks the rest of each run: the capacity and the two pool sizes (small,
// and often just around what the file needs, so that room refusals and
// exact fills happen), and a series of appends of the file whose folder and
// program counts come from profile_open or from the input's first bytes,
// sometimes deliberately wrong, with the file sometimes cut short.
// The target keeps its own copy of what the record and the pools must hold:
//   - an append that is refused leaves the record and both pools exactly
//     as they were (byte compare with a snapshot);
//   - an accepted one changes exactly the new profile's slot, its file and
//     handle ranges (packed after the previous ones), its name offsets
//     (inside its own file, ending two bytes before the signature);
//   - the readers (entry count, handle, name copy, entry walk) give back
//     what was stored and stay inside profile k's file;
//   - after the stored ranges or bytes are damaged on purpose, the readers
//     either refuse or stay inside the pools (the pools are heap blocks of
//     exactly their size, so the sanitizer catches any step outside).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "loaded_profiles.h"
#include "profile_format.h"

namespace {

#define FZ_CHECK(cond)                                                                 \
    do {                                                                               \
        if (!(cond)) {                                                                 \
            std::fprintf(stderr, "fuzz_store_append: check failed at line %d: %s\n", \
                         __LINE__, #cond);                                             \
            __builtin_trap();                                                          \
        }                                                                              \
    } while (0)

constexpr uint32_t kHwndPoolMax = 4096;
constexpr uint32_t kFilePoolMax = 65536;

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct Rng {
    uint64_t s;
    uint32_t next()
    {
        s += 0x9E3779B97F4A7C15ull;
        uint64_t z = s;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 16);
    }
    uint32_t below(uint32_t n) { return n ? next() % n : 0; }
    bool chance(uint32_t uiPercent) { return below(100) < uiPercent; }
};

// The handle an entry i of append number a is given in each array, so
// that every stored slot tells where it came from.
uint32_t folder_handle(uint32_t a, uint32_t i) { return 0x40000000u | (a << 20) | (i + 1); }
uint32_t program_handle(uint32_t a, uint32_t i) { return 0x80000000u | (a << 20) | (i + 1); }

// Pools of exactly their size, zero-filled like committed memory.
struct Pools {
    std::unique_ptr<uint8_t[]> hwnds, files;
    uint32_t uiHwnds = 0, uiFiles = 0;
    void make(uint32_t h, uint32_t f)
    {
        uiHwnds = h;
        uiFiles = f;
        hwnds.reset(new uint8_t[h]());
        files.reset(new uint8_t[f]());
    }
};

// What the target knows of one stored profile.
struct Stored {
    uint32_t uiSize;
    uint32_t uiN;
    uint32_t uiOff_name;  // within the file
    std::vector<uint32_t> handles;
};

struct Snapshot {
    std::unique_ptr<LoadedProfiles_STR> rec{new LoadedProfiles_STR()};
    std::vector<uint8_t> hwnds, files;
    void take(const LoadedProfiles_STR* p, const Pools& pools)
    {
        std::memcpy(rec.get(), p, sizeof *p);
        hwnds.assign(pools.hwnds.get(), pools.hwnds.get() + pools.uiHwnds);
        files.assign(pools.files.get(), pools.files.get() + pools.uiFiles);
    }
    bool same(const LoadedProfiles_STR* p, const Pools& pools) const
    {
        return std::memcmp(rec.get(), p, sizeof *p) == 0 &&
               std::memcmp(hwnds.data(), pools.hwnds.get(), pools.uiHwnds) == 0 &&
               std::memcmp(files.data(), pools.files.get(), pools.uiFiles) == 0;
    }
};

// Readers on one profile that is intact: they give back what was stored.
void check_intact(const LoadedProfiles_STR* p, const Pools& pools, uint32_t k, const Stored& s,
                  const uint8_t* pcFile)
{
    FZ_CHECK(loaded_profile_entry_count(p, k) == s.uiN);
    for (uint32_t i = 0; i < s.uiN; ++i) FZ_CHECK(loaded_profile_handle(p, k, i) == s.handles[i]);
    FZ_CHECK(loaded_profile_handle(p, k, s.uiN) == 0);

    const uint32_t uiN_name = (s.uiSize - 3 - s.uiOff_name) / 2;
    std::unique_ptr<qd_char[]> name(new qd_char[uiN_name + 1]);
    FZ_CHECK(loaded_profile_copy_name(p, k, name.get(), uiN_name + 1) == uiN_name);
    for (uint32_t u = 0; u < uiN_name; ++u) FZ_CHECK(name[u] == le16(pcFile + s.uiOff_name + 2 * u));
    FZ_CHECK(name[uiN_name] == 0);
    qd_char c = 0xAAAA;
    FZ_CHECK(loaded_profile_copy_name(p, k, &c, 1) == uiN_name && c == 0);
    FZ_CHECK(loaded_profile_copy_name(p, k, nullptr, 0) == uiN_name);

    const uint8_t* pcBeg = pools.files.get() + p->arr_uiOff_file_beg[k];
    STR_LoadedEntryWalk w;
    FZ_CHECK(loaded_walk_first(p, k, &w) == QD_LP_OK);
    FZ_CHECK(w.view.pc_file == pcBeg && w.view.uiSize_file == s.uiSize && w.view.N_wnds == s.uiN);
    uint32_t uiN_walked = 0;
    for (;;) {
        FZ_CHECK(w.entry.ui_index == uiN_walked);
        FZ_CHECK(w.entry.pc_path >= pcBeg &&
                 w.entry.pc_path + w.entry.ui_len_path + 2 <= pcBeg + s.uiOff_name);
        FZ_CHECK(w.entry.uc_kind == pcFile[4 + uiN_walked]);
        FZ_CHECK(w.ui_hwnd == s.handles[uiN_walked]);
        ++uiN_walked;
        const int32_t r = loaded_walk_next(&w);
        if (r == 0) break;
        FZ_CHECK(r == 1);
    }
    FZ_CHECK(uiN_walked == s.uiN);
    FZ_CHECK(loaded_walk_next(&w) == 0);
}

// Readers on a record whose ranges or bytes may have been damaged: each
// either refuses or stays inside the pools and inside the recorded file.
void check_guarded(const LoadedProfiles_STR* p, const Pools& pools, uint32_t k)
{
    const uint32_t uiN = loaded_profile_entry_count(p, k);
    FZ_CHECK(uint64_t{uiN} * 4 <= pools.uiHwnds);
    if (uiN) {
        (void)loaded_profile_handle(p, k, 0);
        (void)loaded_profile_handle(p, k, uiN - 1);
    }
    FZ_CHECK(loaded_profile_handle(p, k, uiN) == 0);
    qd_char buf[8];
    const size_t uiN_name = loaded_profile_copy_name(p, k, buf, 8);
    if (uiN_name) {
        FZ_CHECK(uiN) ;
        FZ_CHECK(uint64_t{uiN_name} * 2 <= p->arr_size_FileProfile[k]);
    }
    STR_LoadedEntryWalk w;
    if (loaded_walk_first(p, k, &w) != QD_LP_OK) {
        FZ_CHECK(loaded_walk_next(&w) == QD_LP_BAD_INPUT);
        return;
    }
    FZ_CHECK(uiN != 0 && w.view.N_wnds == uiN);
    const uint8_t* pcBeg = pools.files.get() + p->arr_uiOff_file_beg[k];
    const uint8_t* pcEnd = pcBeg + p->arr_size_FileProfile[k];
    FZ_CHECK(pcBeg >= pools.files.get() && pcEnd <= pools.files.get() + pools.uiFiles);
    uint32_t uiN_walked = 0;
    int32_t r = 1;
    while (r == 1) {
        FZ_CHECK(uiN_walked < uiN && w.entry.ui_index == uiN_walked);
        FZ_CHECK(w.entry.pc_path >= pcBeg && w.entry.pc_path + w.entry.ui_len_path + 2 <= pcEnd);
        ++uiN_walked;
        r = loaded_walk_next(&w);
    }
    FZ_CHECK(r == 0 && uiN_walked == uiN);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kFilePoolMax) return 0;
    const uint32_t S = static_cast<uint32_t>(size);
    // The file, in a heap block of exactly its size.
    std::unique_ptr<uint8_t[]> file(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(file.get(), data, size);

    uint64_t uiSeed = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < size; ++i) uiSeed = (uiSeed ^ data[i]) * 0x100000001B3ull;
    Rng rng{uiSeed};

    STR_ProfileView v;
    const int32_t rOpen = profile_open(file.get(), S, &v);
    const bool bValid = rOpen == QD_PRF_OK;
    const uint32_t N = bValid ? v.N_wnds : 0;

    // The store and its pools.
    std::unique_ptr<LoadedProfiles_STR> rec(new LoadedProfiles_STR());
    LoadedProfiles_STR* p = rec.get();
    const uint32_t uiCopies = 1 + rng.below(6);
    auto around = [&](uint64_t uiWant, uint32_t uiMax) -> uint32_t {
        if (!uiWant || rng.chance(25)) return uiMax;
        const uint32_t d = rng.below(5);
        uint64_t ui = uiWant;
        if (d == 0 && ui > 1) ui -= 1;
        if (d == 1) ui += 1;
        if (d == 2) ui += rng.below(64);
        if (ui == 0) ui = 1;
        return ui > uiMax ? uiMax : static_cast<uint32_t>(ui);
    };
    Pools pools;
    pools.make(around(4ull * N * uiCopies, kHwndPoolMax), around(uint64_t{S} * uiCopies, kFilePoolMax));
    p->uiMax_num_loaded_prfls = rng.chance(70) ? QD_MAX_LOADED_PROFILES : 1 + rng.below(6);
    p->uiSize_DynMem_hwnds_wnds_prfl = pools.uiHwnds;
    p->uiSize_DynMem_files = pools.uiFiles;
    p->pc_hwnds_wnds_of_prfl = pools.hwnds.get();
    p->pc_raw_FilesProfile = pools.files.get();
    // Stale ranges in the unused slots: the first append clears them all.
    const bool bStale = rng.chance(20);
    if (bStale) {
        for (uint32_t* arr : {p->arr_uiOff_hwnds_beg, p->arr_uiOff_hwnds_end, p->arr_uiOff_file_beg,
                              p->arr_uiOff_file_end})
            for (uint32_t k = 1; k < QD_MAX_LOADED_PROFILES; ++k) arr[k] = rng.next();
    }

    std::vector<Stored> stored;
    Snapshot before;
    const uint32_t uiN_appends = 1 + rng.below(12);
    for (uint32_t a = 0; a < uiN_appends; ++a) {
        // The counts the caller claims.
        uint32_t F = v.uiN_Folders, P = v.uiN_Programs;
        const uint32_t uiMode = rng.below(10);
        if (!bValid || uiMode == 0) {
            F = size > 0 ? data[0] % 8 : 0;
            P = size > 1 ? data[1] % 8 : 1;
        } else if (uiMode == 1) {
            if (rng.chance(50)) ++F; else ++P;
        } else if (uiMode == 2) {
            std::swap(F, P);
        } else if (uiMode == 3) {
            if (F) { --F; ++P; } else if (P) { --P; ++F; }
        } else if (uiMode == 4 && rng.chance(30)) {
            F = 0xFFFFFFFFu;
            P = 1 + N;  // wraps to the right sum in 32 bits
        }
        // The file handed over: whole, or cut short; an exact block either way.
        uint32_t uiSize = S;
        if (size && rng.chance(10)) uiSize = rng.below(S);
        std::unique_ptr<uint8_t[]> cut;
        const uint8_t* pcFile = file.get();
        STR_ProfileView vFile = v;
        int32_t rFile = rOpen;
        if (uiSize != S) {
            cut.reset(new uint8_t[uiSize ? uiSize : 1]);
            if (uiSize) std::memcpy(cut.get(), data, uiSize);
            pcFile = cut.get();
            rFile = profile_open(pcFile, uiSize, &vFile);
        }
        const uint32_t uiN_file = rFile == QD_PRF_OK ? vFile.N_wnds : 0;
        // One slot per entry of the handed file in each array, exactly.
        const uint32_t uiSlots = uiN_file ? uiN_file : 1;
        std::unique_ptr<uint32_t[]> hFolders(new uint32_t[uiSlots]), hPrograms(new uint32_t[uiSlots]);
        for (uint32_t i = 0; i < uiSlots; ++i) {
            hFolders[i] = folder_handle(a, i);
            hPrograms[i] = program_handle(a, i);
        }
        const bool bNullArg = rng.chance(3);
        const uint32_t uiWhichNull = rng.below(3);

        // Now and then a record the program never prepared (capacity, pool
        // size or pool missing, or a capacity above the arrays' length).
        const LoadedProfiles_STR good = *p;
        const bool bNotReady = rng.chance(3);
        if (bNotReady) {
            switch (rng.below(6)) {
            case 0: p->uiMax_num_loaded_prfls = 0; break;
            case 1: p->uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES + 1 + rng.below(100); break;
            case 2: p->uiSize_DynMem_hwnds_wnds_prfl = 0; break;
            case 3: p->uiSize_DynMem_files = 0; break;
            case 4: p->pc_hwnds_wnds_of_prfl = nullptr; break;
            default: p->pc_raw_FilesProfile = nullptr; break;
            }
        }

        // What the store must answer, in the order it tests.
        const uint32_t k = p->uiN_loaded_prfls;
        const uint64_t uiUsed_h = k ? uint64_t{p->arr_uiOff_hwnds_end[k - 1]} + 1 : 0;
        const uint64_t uiUsed_f = k ? uint64_t{p->arr_uiOff_file_end[k - 1]} + 1 : 0;
        int32_t iWant;
        if (bNullArg || !uiSize || (!F && !P)) iWant = QD_LP_BAD_INPUT;
        else if (bNotReady) iWant = QD_LP_NOT_READY;
        else if (rFile != QD_PRF_OK) iWant = QD_LP_BAD_FILE;
        else if (F != vFile.uiN_Folders || P != vFile.uiN_Programs) iWant = QD_LP_COUNTS_MISMATCH;
        else if (k + 1ull > p->uiMax_num_loaded_prfls) iWant = QD_LP_NO_ROOM_PROFILES;
        else if (uiUsed_h + 4ull * uiN_file > pools.uiHwnds) iWant = QD_LP_NO_ROOM_HWNDS;
        else if (uiUsed_f + uiSize > pools.uiFiles) iWant = QD_LP_NO_ROOM_FILES;
        else iWant = QD_LP_OK;

        before.take(p, pools);
        STR_LoadedAddInfo info;
        std::memset(&info, 0x5A, sizeof info);
        const bool bInfo = !rng.chance(20);
        const int32_t r = loaded_profiles_add(p, bNullArg && uiWhichNull == 0 ? nullptr : hPrograms.get(),
                                              bNullArg && uiWhichNull == 1 ? nullptr : hFolders.get(), uiSize,
                                              bNullArg && uiWhichNull == 2 ? nullptr : pcFile, F, P,
                                              bInfo ? &info : nullptr);
        FZ_CHECK(r == iWant);
        const int32_t rRes = loaded_profiles_add_result(r);
        FZ_CHECK(rRes == (r == QD_LP_OK                 ? 1
                          : r == QD_LP_NOT_READY        ? -2
                          : r >= QD_LP_NO_ROOM_PROFILES ? 2
                                                        : -1));
        FZ_CHECK((loaded_profiles_room_detail(r)[0] != '\0') == (rRes == 2));
        if (bInfo) {
            if (r == QD_LP_BAD_INPUT) {
                FZ_CHECK(info.uiMax_num_loaded_prfls == 0 && info.uiN_loaded_prfls == 0);
            } else {
                FZ_CHECK(info.uiMax_num_loaded_prfls == p->uiMax_num_loaded_prfls && info.uiN_loaded_prfls == k);
            }
            if (r == QD_LP_BAD_FILE) FZ_CHECK(info.iFile_refusal == rFile);
            if (r == QD_LP_OK) FZ_CHECK(info.ui_index == k);
        }
        if (bNotReady) {
            FZ_CHECK(before.same(p, pools));
            *p = good;
            continue;
        }

        if (r != QD_LP_OK) {
            FZ_CHECK(before.same(p, pools));
            continue;
        }

        // Accepted: exactly the new slot, ranges and bytes changed.
        const uint32_t N1 = uiN_file;
        Stored s{uiSize, N1, vFile.uiOff_PrfName_beg, std::vector<uint32_t>(N1)};
        LoadedProfiles_STR* x = before.rec.get();
        x->uiN_loaded_prfls = k + 1;
        x->arr_size_FileProfile[k] = uiSize;
        x->arr_uiN_Folders[k] = F;
        x->arr_uiN_Programs[k] = P;
        if (k == 0) {
            for (uint32_t* arr : {x->arr_uiOff_hwnds_beg, x->arr_uiOff_hwnds_end, x->arr_uiOff_file_beg,
                                  x->arr_uiOff_file_end})
                std::memset(arr, 0, sizeof x->arr_uiOff_file_end);
        }
        x->arr_uiOff_hwnds_beg[k] = static_cast<uint32_t>(uiUsed_h);
        x->arr_uiOff_hwnds_end[k] = static_cast<uint32_t>(uiUsed_h + 4 * N1 - 1);
        x->arr_uiOff_file_beg[k] = static_cast<uint32_t>(uiUsed_f);
        x->arr_uiOff_file_end[k] = static_cast<uint32_t>(uiUsed_f + uiSize - 1);
        x->arr_uiOff_PrfName_beg[k] = static_cast<uint32_t>(uiUsed_f + vFile.uiOff_PrfName_beg);
        x->arr_uiOff_PrfName_end[k] = static_cast<uint32_t>(uiUsed_f + uiSize - 5);
        for (uint32_t i = 0; i < N1; ++i) {
            const uint8_t uc = file[4 + i];
            s.handles[i] = uc == QD_PRF_KIND_FOLDER ? folder_handle(a, i)
                           : uc == QD_PRF_KIND_PROGRAM ? program_handle(a, i) : 0;
            std::memcpy(before.hwnds.data() + uiUsed_h + 4 * i, &s.handles[i], 4);
        }
        std::memcpy(before.files.data() + uiUsed_f, data, uiSize);
        FZ_CHECK(before.same(p, pools));
        stored.push_back(std::move(s));

        // The invariants, stated directly.
        uint64_t uiSum = 0;
        for (uint32_t j = 0; j <= k; ++j) {
            uiSum += p->arr_size_FileProfile[j];
            FZ_CHECK(p->arr_uiOff_file_beg[j] == (j ? p->arr_uiOff_file_end[j - 1] + 1 : 0));
            FZ_CHECK(p->arr_uiOff_hwnds_beg[j] == (j ? p->arr_uiOff_hwnds_end[j - 1] + 1 : 0));
            FZ_CHECK(p->arr_uiOff_file_end[j] == uiSum - 1 && p->arr_uiOff_file_end[j] < pools.uiFiles);
            FZ_CHECK(uint64_t{p->arr_uiOff_hwnds_end[j]} + 1 - p->arr_uiOff_hwnds_beg[j] ==
                     4ull * (p->arr_uiN_Folders[j] + p->arr_uiN_Programs[j]));
            FZ_CHECK(p->arr_uiOff_hwnds_end[j] < pools.uiHwnds);
            FZ_CHECK(p->arr_uiOff_PrfName_beg[j] > p->arr_uiOff_file_beg[j] + 4 &&
                     p->arr_uiOff_PrfName_beg[j] <= p->arr_uiOff_PrfName_end[j] &&
                     (p->arr_uiOff_PrfName_end[j] - p->arr_uiOff_PrfName_beg[j]) % 2 == 0 &&
                     p->arr_uiOff_PrfName_end[j] + 4 == p->arr_uiOff_file_end[j]);
        }
    }

    // Every stored profile reads back as stored; nothing past the last one.
    FZ_CHECK(p->uiN_loaded_prfls == stored.size());
    for (uint32_t k = 0; k < stored.size(); ++k) check_intact(p, pools, k, stored[k], file.get());
    const uint32_t kPast = p->uiN_loaded_prfls;
    FZ_CHECK(loaded_profile_entry_count(p, kPast) == 0);
    STR_LoadedEntryWalk w;
    FZ_CHECK(loaded_walk_first(p, kPast, &w) == QD_LP_BAD_INPUT);

    // Damage: stored bytes or recorded ranges changed behind the store's
    // back. The readers must refuse or stay inside.
    if (!stored.empty() && rng.chance(40)) {
        const uint32_t uiN_damage = 1 + rng.below(3);
        for (uint32_t d = 0; d < uiN_damage; ++d) {
            const uint32_t k = rng.below(static_cast<uint32_t>(stored.size()) + 1);
            const uint32_t uiVal = rng.chance(50) ? rng.next() : rng.below(2 * pools.uiFiles + 8);
            // Single fields, or two changed together so that the record
            // still looks consistent but may point outside the pools.
            switch (rng.below(15)) {
            case 11:
                p->arr_uiOff_file_beg[k] += uiVal;
                p->arr_uiOff_file_end[k] += uiVal;
                break;
            case 12:
                p->arr_size_FileProfile[k] = uiVal;
                p->arr_uiOff_file_end[k] = p->arr_uiOff_file_beg[k] + uiVal - 1;
                break;
            case 13:
                p->arr_uiOff_hwnds_beg[k] += uiVal;
                p->arr_uiOff_hwnds_end[k] += uiVal;
                break;
            case 14:
                p->arr_uiN_Programs[k] = uiVal % 4096;
                p->arr_uiOff_hwnds_end[k] =
                    p->arr_uiOff_hwnds_beg[k] + 4 * (p->arr_uiN_Folders[k] + p->arr_uiN_Programs[k]) - 1;
                break;
            case 0: pools.files[rng.below(pools.uiFiles)] = static_cast<uint8_t>(rng.next()); break;
            case 1: p->arr_size_FileProfile[k] = uiVal; break;
            case 2: p->arr_uiN_Folders[k] = uiVal; break;
            case 3: p->arr_uiN_Programs[k] = uiVal; break;
            case 4: p->arr_uiOff_file_beg[k] = uiVal; break;
            case 5: p->arr_uiOff_file_end[k] = uiVal; break;
            case 6: p->arr_uiOff_hwnds_beg[k] = uiVal; break;
            case 7: p->arr_uiOff_hwnds_end[k] = uiVal; break;
            case 8: p->arr_uiOff_PrfName_beg[k] = uiVal; break;
            case 9: p->arr_uiOff_PrfName_end[k] = uiVal; break;
            default:
                p->uiN_loaded_prfls = rng.chance(50) ? 0xFFFFFFFFu : p->uiN_loaded_prfls + 1;
                break;
            }
        }
        const uint32_t uiLast = p->uiN_loaded_prfls < QD_MAX_LOADED_PROFILES ? p->uiN_loaded_prfls
                                                                             : QD_MAX_LOADED_PROFILES;
        for (uint32_t k = 0; k <= uiLast && k < stored.size() + 2; ++k) check_guarded(p, pools, k);
        check_guarded(p, pools, QD_MAX_LOADED_PROFILES);
        check_guarded(p, pools, 0xFFFFFFFFu);
    }
    return 0;
}
