// Profile files for tests, laid out by hand from the file format (not by
// the program's writer), so a fault in the writer cannot hide itself.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct QdTestEntry {
    uint8_t kind;  // 0 folder, 1 program; a reader may meet others
    std::u16string path;
    int32_t x = 0, y = 0, w = 0, h = 0;  // no saved geometry unless given
};

inline std::vector<uint8_t> qd_profile_bytes(const std::vector<QdTestEntry>& entries, const std::u16string& name)
{
    std::vector<uint8_t> b;
    auto u32 = [&b](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto units = [&b](const std::u16string& s) {
        for (char16_t c : s) b.insert(b.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    };
    u32(static_cast<uint32_t>(entries.size()));
    for (const QdTestEntry& e : entries) b.push_back(e.kind);
    for (int32_t QdTestEntry::*m : {&QdTestEntry::x, &QdTestEntry::y, &QdTestEntry::w, &QdTestEntry::h})
        for (const QdTestEntry& e : entries) u32(static_cast<uint32_t>(e.*m));
    for (const QdTestEntry& e : entries) u32(static_cast<uint32_t>(2 * e.path.size()));
    for (const QdTestEntry& e : entries) units(e.path + u'\0');
    units(name);
    b.insert(b.end(), {0x00, 0x07, 0x0C});
    return b;
}
