// Writes the seed corpus of the profile fuzzers into a directory:
//   make_corpus DIR
// Well-formed profiles of 1 to 5 entries come from the core's own writer;
// the malformed ones are those files cut, patched or built by hand so that
// each refusal of the reader has at least one seed. The output depends on
// nothing but this file and the writer, so the committed corpus can be
// compared with a fresh run (scripts/fuzz.sh does).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "profile_format.h"

namespace {

typedef std::vector<uint8_t> Bytes;

struct Entry {
    uint8_t kind;
    int32_t x, y, w, h;
    std::u16string path;
};

Bytes build(const std::vector<Entry>& entries, const std::u16string& name)
{
    std::vector<uint8_t> kinds;
    std::vector<uint32_t> x, y, w, h, len;
    std::u16string packed;
    for (const Entry& e : entries) {
        kinds.push_back(e.kind > QD_PRF_KIND_PROGRAM ? QD_PRF_KIND_PROGRAM : e.kind);
        x.push_back(static_cast<uint32_t>(e.x));
        y.push_back(static_cast<uint32_t>(e.y));
        w.push_back(static_cast<uint32_t>(e.w));
        h.push_back(static_cast<uint32_t>(e.h));
        len.push_back(static_cast<uint32_t>(2 * e.path.size()));
        packed += e.path;
        packed.push_back(0);
    }
    const STR_ProfileData d{static_cast<uint32_t>(entries.size()), kinds.data(), x.data(), y.data(),
                            w.data(), h.data(), len.data(), packed.data(), name.data(),
                            static_cast<uint32_t>(2 * name.size())};
    Bytes b;
    if (profile_write(&d, &b) != QD_PRF_OK) {
        std::fprintf(stderr, "make_corpus: the writer refused a seed\n");
        std::exit(1);
    }
    // Kinds other than 0 and 1 are readable but not writable: patch them in.
    for (size_t i = 0; i < entries.size(); ++i) b[4 + i] = entries[i].kind;
    return b;
}

void put_u32(Bytes* b, size_t off, uint32_t v)
{
    for (int i = 0; i < 4; ++i) (*b)[off + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t get_u32(const Bytes& b, size_t off)
{
    return b[off] | (b[off + 1] << 8) | (b[off + 2] << 16) | (static_cast<uint32_t>(b[off + 3]) << 24);
}

// Offset of the first byte after the last path's terminator: the name.
size_t name_offset(const Bytes& b)
{
    const uint32_t N = get_u32(b, 0);
    size_t off = 4 + 21ull * N;
    for (uint32_t i = 0; i < N; ++i) off += get_u32(b, 4 + 17ull * N + 4 * i) + 2;
    return off;
}

Bytes with_signature(Bytes b)
{
    b.insert(b.end(), QD_PRF_SIGNATURE, QD_PRF_SIGNATURE + sizeof QD_PRF_SIGNATURE);
    return b;
}

Bytes without_signature(Bytes b)
{
    b.resize(b.size() - sizeof QD_PRF_SIGNATURE);
    return b;
}

const std::u16string kNotepad = u"C:\\Windows\\notepad.exe";
const std::u16string kCalc = u"C:\\Windows\\System32\\calc.exe";
const std::u16string kUsers = u"C:\\Users";
const std::u16string kDocs = u"D:\\Documents\\Reports 2024";

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    int iN_files = 0;
    auto save = [&](const char* pszName, const Bytes& b) {
        const std::string path = dir + "/" + pszName;
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || (!b.empty() && std::fwrite(b.data(), 1, b.size(), f) != b.size()) || std::fclose(f)) {
            std::fprintf(stderr, "make_corpus: cannot write %s\n", path.c_str());
            std::exit(1);
        }
        ++iN_files;
    };

    // ---- well-formed ----
    const Bytes n1 = build({{1, 100, 80, 640, 480, kNotepad}}, u"Work");
    save("valid_n1_program", n1);
    save("valid_n1_folder_name_one_unit", build({{0, 0, 0, 800, 600, kUsers}}, u"A"));
    save("valid_n1_empty_path", build({{1, 10, 10, 300, 200, u""}}, u"Empty path"));
    const Bytes n2 = build({{0, -8, -8, 1936, 1056, kUsers}, {1, 0, 0, 0, 0, kNotepad}}, u"Desk");
    save("valid_n2_mixed", n2);
    save("valid_n2_kind_other", build({{2, 1, 2, 3, 4, kCalc}, {0, 5, 6, 7, 8, kDocs}}, u"Other kind"));
    save("valid_n2_name_max", build({{1, 0, 0, 10, 10, kCalc}, {0, 0, 0, 10, 10, kUsers}},
                                    std::u16string(QD_PRF_NAME_MAX_UNITS, u'n')));
    // N = 3: every 32-bit field starts at an odd offset.
    const Bytes n3 = build({{1, 1, 2, 300, 400, kNotepad}, {0, -1920, 0, 0, 200, kDocs}, {1, 5, 5, 0, 0, kCalc}},
                           u"Odd alignment");
    save("valid_n3_odd_alignment", n3);
    save("valid_n3_long_path", build({{1, 0, 0, 500, 500, u"C:\\" + std::u16string(257, u'x') + u".exe"},
                                      {0, 1, 1, 1, 1, kUsers},
                                      {0, 2, 2, 2, 2, u"c:\\users"}},
                                     u"Long"));
    save("valid_n4_no_geometry", build({{1, 0, 0, 0, 200, kNotepad},
                                        {1, 0, 0, 0, 0, kNotepad},
                                        {0, -32000, -32000, 160, 28, kUsers},
                                        {0, 2147483647, -2147483647 - 1, -1, -1, kDocs}},
                                       u"Minimised"));
    const Bytes n5 = build({{0, 0, 0, 640, 480, u"C:\\\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b"},
                            {1, 640, 0, 640, 480, u"C:\\Program Files\\\U0001F600\\app.exe"},
                            {0, 0, 480, 640, 480, kUsers},
                            {0, 640, 480, 640, 480, u"C:\\USERS"},
                            {1, 1280, 0, 640, 960, kCalc}},
                           u"\u041f\u0440\u043e\u0444\u0438\u043b\u044c");
    save("valid_n5_mixed_unicode", n5);
    save("valid_n5_all_programs", build({{1, 0, 0, 1, 1, kNotepad}, {1, 0, 0, 2, 2, kCalc},
                                         {1, 0, 0, 3, 3, kNotepad}, {1, 0, 0, 4, 4, kCalc},
                                         {1, 0, 0, 5, 5, u"a.exe"}},
                                        u"P"));
    save("valid_n5_all_folders", build({{0, 0, 0, 1, 1, u"A:"}, {0, 0, 0, 2, 2, u"B:"},
                                        {0, 0, 0, 3, 3, u"C:"}, {0, 0, 0, 4, 4, u"D:"},
                                        {0, 0, 0, 5, 5, u"E:"}},
                                       u"Folders"));

    // ---- too short or wrong end mark ----
    save("bad_empty", Bytes{});
    save("bad_one_byte", Bytes{0x0C});
    save("bad_two_bytes", Bytes{0x07, 0x0C});
    save("bad_signature_only", with_signature(Bytes{}));
    save("bad_four_bytes", with_signature(Bytes{0x01}));
    save("bad_count_only", with_signature(Bytes{0x01, 0x00, 0x00, 0x00}));
    Bytes b = n2;
    b.back() = 0x0D;
    save("bad_end_mark_last", b);
    b = n2;
    b[b.size() - 3] = 0x0C;
    b[b.size() - 1] = 0x00;
    save("bad_end_mark_reversed", b);
    save("bad_truncated_half", Bytes(n3.begin(), n3.begin() + n3.size() / 2));
    save("bad_truncated_signed", with_signature(Bytes(n3.begin(), n3.begin() + n3.size() / 2)));
    save("bad_truncated_in_arrays", with_signature(Bytes(n5.begin(), n5.begin() + 4 + 21 * 5 - 1)));

    // ---- counts ----
    b = n1;
    put_u32(&b, 0, 0);
    save("bad_n_zero", b);
    b = n1;
    put_u32(&b, 0, 0xFFFFFFFFu);
    save("bad_n_huge", b);
    b = n2;
    put_u32(&b, 0, 0x0C0C0C0Cu);
    save("bad_n_large", b);
    b = n2;
    put_u32(&b, 0, 3);
    save("bad_n_one_more", b);
    b = n3;
    put_u32(&b, 0, 2);
    save("bad_n_one_less", b);

    // ---- path lengths ----
    b = n2;
    put_u32(&b, 4 + 17 * 2, get_u32(b, 4 + 17 * 2) + 1);
    save("bad_path_length_odd", b);
    b = n2;
    put_u32(&b, 4 + 17 * 2 + 4, 0xFFFFFFFEu);
    save("bad_path_length_huge", b);
    b = n3;
    put_u32(&b, 4 + 17 * 3 + 8, get_u32(b, 4 + 17 * 3 + 8) + 2);
    save("bad_path_length_plus_one_unit", b);
    b = n3;
    put_u32(&b, 4 + 17 * 3, get_u32(b, 4 + 17 * 3) - 2);
    save("bad_path_unterminated", b);

    // ---- the name ----
    b = without_signature(n1);
    b.resize(name_offset(n1));
    save("bad_no_name", with_signature(b));
    b = without_signature(n1);
    b.push_back('!');
    save("bad_name_odd", with_signature(b));
    b = without_signature(n1);
    b.push_back(0);
    b.push_back(0);
    save("bad_name_zero_last", with_signature(b));
    b = without_signature(n3);
    b.insert(b.begin() + static_cast<long>(name_offset(n3)) + 2, {0, 0});
    save("bad_name_has_zero", with_signature(b));
    b = n2;
    b[name_offset(n2) - 2] = 0x41;  // the last path's terminator
    save("bad_last_path_unterminated", b);

    std::printf("make_corpus: %d files in %s\n", iN_files, dir.c_str());
    return 0;
}
