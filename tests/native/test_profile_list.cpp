#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "profile_list.h"

namespace {

// Profiles written by the file writer, one program entry each (so every
// name starts at an odd offset), stored in small pools and then listed.
struct Fixture {
    std::vector<uint8_t> hw = std::vector<uint8_t>(4096), files = std::vector<uint8_t>(1 << 16);
    LoadedProfiles_STR store{};
    CB_Profile_manage_STR cb{0x1234, 4, 0, QD_PROFILE_LIST_CAPACITY, 0, {}, {}};
    STR_ProfileListNames names{};
    Fixture()
    {
        store.uiMax_num_loaded_prfls = QD_MAX_LOADED_PROFILES;
        store.uiSize_DynMem_hwnds_wnds_prfl = static_cast<uint32_t>(hw.size());
        store.uiSize_DynMem_files = static_cast<uint32_t>(files.size());
        store.pc_hwnds_wnds_of_prfl = hw.data();
        store.pc_raw_FilesProfile = files.data();
    }
    int32_t load(const std::u16string& name, uint32_t* puiPos = nullptr)
    {
        const uint8_t kind = QD_PRF_KIND_PROGRAM;
        const uint32_t zero = 0, len = 8, hwnd = 0x99;
        const std::u16string path(u"C:\\a\0", 5);
        const STR_ProfileData d = {1, &kind, &zero, &zero, &zero, &zero, &len, path.data(), name.data(),
                                   static_cast<uint32_t>(2 * name.size())};
        std::vector<uint8_t> f;
        EXPECT_EQ(QD_PRF_OK, profile_write(&d, &f));
        EXPECT_EQ(QD_LP_OK, loaded_profiles_add(&store, &hwnd, &hwnd, static_cast<uint32_t>(f.size()), f.data(), 0, 1,
                                                nullptr));
        uint32_t uiPos = 0;
        const int32_t iRet = profile_list_add(&cb, &names, &store, store.uiN_loaded_prfls - 1, &uiPos);
        if (puiPos) *puiPos = uiPos;
        return iRet;
    }
    // Each listed position shows its own store profile's name through its
    // own copy and looks up to that profile; the rest are empty.
    void expect_listed(const std::vector<uint32_t>& ks) const
    {
        ASSERT_EQ(ks.size(), cb.uiN_strs);
        for (uint32_t p = 0; p < QD_PROFILE_LIST_CAPACITY; ++p) {
            qd_char stored[202] = {};
            uint32_t k = 9999;
            if (p < ks.size()) {
                loaded_profile_copy_name(&store, ks[p], stored, 202);
                EXPECT_EQ(QD_PL_OK, profile_list_store_index(&cb, static_cast<int32_t>(p), &k));
                EXPECT_EQ(ks[p], k) << p;
                EXPECT_EQ(names.arr_tc_Name[p], cb.arr_p_PrfName[p]) << p;
            } else {
                EXPECT_EQ(0u, cb.arr_ind_prfl[p]) << p;
                EXPECT_EQ(nullptr, cb.arr_p_PrfName[p]) << p;
            }
            EXPECT_EQ(std::u16string(stored), std::u16string(names.arr_tc_Name[p])) << p;
        }
    }
    std::vector<uint8_t> snapshot() const
    {
        std::vector<uint8_t> b(sizeof cb + sizeof names);
        std::memcpy(b.data(), &cb, sizeof cb);
        std::memcpy(b.data() + sizeof cb, &names, sizeof names);
        return b;
    }
};

}  // namespace

TEST(ProfileList, EntriesKeepTheirOwnProfilesThroughRemovalsAndNewLoads)
{
    Fixture f;
    for (char16_t c = u'0'; c <= u'5'; ++c) ASSERT_EQ(QD_PL_OK, f.load(std::u16string(u"Profile ") + c));
    for (int32_t iSel : {2, 2, 0}) ASSERT_EQ(QD_PL_OK, profile_list_delete(&f.cb, &f.names, iSel));
    f.expect_listed({1, 4, 5});
    uint32_t uiPos = 0;
    ASSERT_EQ(QD_PL_OK, f.load(u"Profile 6"));
    ASSERT_EQ(QD_PL_OK, f.load(u"Profile 7", &uiPos));
    EXPECT_EQ(4u, uiPos);
    ASSERT_EQ(QD_PL_OK, profile_list_delete(&f.cb, &f.names, 1));
    f.expect_listed({1, 5, 6, 7});
    EXPECT_EQ(u"Profile 7", std::u16string(f.cb.arr_p_PrfName[3]));
    EXPECT_EQ(8u, f.store.uiN_loaded_prfls);  // closing never removes from the store
}

TEST(ProfileList, FullListRefusesAndLongNamesAreCutTo201Units)
{
    Fixture f;
    std::u16string n256;
    for (int u = 0; u < 256; ++u) n256 += static_cast<char16_t>(0x4E00 + u);
    for (size_t n : {200, 201, 202, 256}) ASSERT_EQ(QD_PL_OK, f.load(n256.substr(0, n)));
    EXPECT_EQ(n256.substr(0, 200), std::u16string(f.cb.arr_p_PrfName[0]));
    for (uint32_t p = 1; p < 4; ++p) EXPECT_EQ(n256.substr(0, 201), std::u16string(f.cb.arr_p_PrfName[p])) << p;

    for (uint32_t p = 4; p < 32; ++p) ASSERT_EQ(QD_PL_OK, f.load(u"x"));
    const std::vector<uint8_t> full = f.snapshot();
    EXPECT_EQ(QD_PL_REFUSED, f.load(u"33rd"));  // stored, not listed
    EXPECT_TRUE(full == f.snapshot());

    ASSERT_EQ(QD_PL_OK, profile_list_delete(&f.cb, &f.names, 31));
    const std::vector<uint8_t> after = f.snapshot();
    uint32_t uiPos = 0;
    EXPECT_EQ(QD_PL_BAD_INPUT, profile_list_add(&f.cb, &f.names, &f.store, 33, &uiPos));  // not in the store
    EXPECT_TRUE(after == f.snapshot());
    EXPECT_EQ(QD_PL_OK, profile_list_add(&f.cb, &f.names, &f.store, 32, &uiPos));
    EXPECT_EQ(31u, uiPos);
    EXPECT_EQ(u"33rd", std::u16string(f.cb.arr_p_PrfName[31]));
}

TEST(ProfileList, DeleteAndLookupRefuseSelectionsOutsideTheList)
{
    Fixture f;
    EXPECT_EQ(QD_PL_REFUSED, profile_list_delete(&f.cb, &f.names, 0));
    for (const char16_t* s : {u"a", u"b", u"c"}) ASSERT_EQ(QD_PL_OK, f.load(s));
    const std::vector<uint8_t> before = f.snapshot();
    uint32_t k = 77;
    for (int32_t iSel : {3, 4, -1, INT32_MIN}) {
        EXPECT_EQ(QD_PL_REFUSED, profile_list_delete(&f.cb, &f.names, iSel)) << iSel;
        EXPECT_EQ(QD_PL_REFUSED, profile_list_store_index(&f.cb, iSel, &k)) << iSel;
    }
    EXPECT_EQ(77u, k);
    EXPECT_TRUE(before == f.snapshot());
    for (int32_t iSel : {2, 0}) ASSERT_EQ(QD_PL_OK, profile_list_delete(&f.cb, &f.names, iSel));
    f.expect_listed({1});
    ASSERT_EQ(QD_PL_OK, profile_list_delete(&f.cb, &f.names, 0));  // the last entry: list cleared
    f.expect_listed({});
}
