// Profile file validation speed, natively.
//
// Builds a profile of about 32 MiB (the size of the loaded-profile file
// pool): many program entries with long paths. Times, as the median of
// repeated runs, profile_open followed by a walk over every entry and
// profile_find_name, against a plain memcpy of the same bytes; and, for
// reference, the loader's aligned copies of every path (entry_paths_build).
//
//   qd_bench_profile [repeats]   (default 21)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "loaded_profiles.h"
#include "profile_format.h"
#include "window_match.h"

namespace {

double now_ms()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

volatile uint64_t g_sink;

// Entries of 800 to 1199 units each until the file reaches about 32 MiB.
std::vector<uint8_t> build_profile()
{
    const uint64_t uiTarget = QD_POOL_FILES_SIZE - 4096;
    std::vector<uint8_t> kinds;
    std::vector<uint32_t> x, y, w, h, len;
    std::u16string packed;
    const std::u16string name = u"Benchmark profile with long paths";
    uint64_t uiSize = 4 + name.size() * 2 + 3;
    for (uint32_t i = 0;; ++i) {
        const uint32_t uiUnits = 800 + (i * 37) % 400;
        if (uiSize + 21 + 2ull * uiUnits + 2 > uiTarget) break;
        uiSize += 21 + 2ull * uiUnits + 2;
        kinds.push_back(i % 8 ? QD_PRF_KIND_PROGRAM : QD_PRF_KIND_FOLDER);
        x.push_back(i % 1900);
        y.push_back(i % 1000);
        w.push_back(300 + i % 500);
        h.push_back(200 + i % 300);
        len.push_back(2 * uiUnits);
        std::u16string path = u"C:\\Program Files\\Bench\\" + std::u16string(uiUnits, u'a');
        path.resize(uiUnits);
        for (uint32_t u = 24; u < uiUnits; ++u) path[u] = static_cast<char16_t>(u'a' + (i + u) % 26);
        path[uiUnits - 4] = u'.';
        packed += path;
        packed.push_back(0);
    }
    STR_ProfileData d = {static_cast<uint32_t>(kinds.size()), kinds.data(), x.data(), y.data(), w.data(), h.data(),
                         len.data(), packed.data(), name.data(), static_cast<uint32_t>(name.size() * 2)};
    std::vector<uint8_t> file;
    if (profile_write(&d, &file) != QD_PRF_OK) file.clear();
    return file;
}

// Validation, every entry read, and the name search. Returns false on a refusal.
bool validate_and_walk(const uint8_t* pc, uint32_t uiSize)
{
    STR_ProfileView view;
    if (profile_open(pc, uiSize, &view) != QD_PRF_OK) return false;
    STR_ProfileEntry e;
    if (profile_entry_at(&view, 0, &e) != QD_PRF_OK) return false;
    uint64_t sum = 0;
    uint32_t uiWalked = 0;
    do {
        sum += e.uc_kind + static_cast<uint32_t>(e.i_x + e.i_y + e.i_w + e.i_h) + e.ui_len_path + e.pc_path[0];
        ++uiWalked;
    } while (profile_next_entry(&view, &e) == 1);
    uint32_t uiBeg = 0, uiEnd = 0;
    if (profile_find_name(pc, uiSize, &uiBeg, &uiEnd) != QD_PRF_OK) return false;
    g_sink = sum + uiBeg + uiEnd;
    return uiWalked == view.N_wnds;
}

}  // namespace

int main(int argc, char** argv)
{
    int iRepeats = argc > 1 ? std::atoi(argv[1]) : 21;
    if (iRepeats < 1) iRepeats = 1;
    const std::vector<uint8_t> file = build_profile();
    if (file.empty()) {
        std::printf("profile: the benchmark profile could not be written\n");
        return 1;
    }
    const uint32_t uiSize = static_cast<uint32_t>(file.size());
    STR_ProfileView view;
    profile_open(file.data(), uiSize, &view);
    std::printf("profile: %u bytes (%.2f MiB), %u entries\n", uiSize, uiSize / 1048576.0, view.N_wnds);

    std::vector<uint8_t> copy(file.size());
    std::memcpy(copy.data(), file.data(), file.size());  // pages touched before timing
    std::vector<double> tCopy, tValidate, tPaths;
    for (int r = -2; r < iRepeats; ++r) {  // two warm-up rounds
        double a = now_ms();
        std::memcpy(copy.data(), file.data(), file.size());
        g_sink = copy[uiSize / 2];
        double b = now_ms();
        if (r >= 0) tCopy.push_back(b - a);

        a = now_ms();
        if (!validate_and_walk(file.data(), uiSize)) {
            std::printf("profile: the benchmark profile was refused\n");
            return 1;
        }
        b = now_ms();
        if (r >= 0) tValidate.push_back(b - a);

        a = now_ms();
        STR_EntryPaths paths;
        entry_paths_build(&view, &paths);
        g_sink = paths.units.size();
        b = now_ms();
        if (r >= 0) tPaths.push_back(b - a);
    }
    const double c = median(tCopy), v = median(tValidate), p = median(tPaths);
    std::printf("\n| operation on %.1f MiB | median ms | x memcpy |\n", uiSize / 1048576.0);
    std::printf("|---|---:|---:|\n");
    std::printf("| memcpy of the file | %.3f | 1.00 |\n", c);
    std::printf("| profile_open + entry walk + profile_find_name | %.3f | %.2f |\n", v, v / c);
    std::printf("| aligned copies of all paths (entry_paths_build) | %.3f | %.2f |\n", p, p / c);
    std::printf("(median of %d runs, %u entries)\n", iRepeats, view.N_wnds);
    return 0;
}
