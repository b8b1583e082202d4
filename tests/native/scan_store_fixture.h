// Scan result stores built in memory the way the Scan command leaves
// them, for the tests of the store and of what is made from it.
#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <map>
#include <string>

#include "scan_store.h"

namespace test_store {

// Zeroed exact-size buffers, as committed memory arrives, so the sanitizers
// catch a write past any of them; releases are counted per address.
struct Heap {
    std::map<void*, int> released;
    STR_BufRelease rel{&Heap::release, this};
    static void release(void* pCtx, void* pAddr)
    {
        static_cast<Heap*>(pCtx)->released[pAddr]++;
        std::free(pAddr);
    }
};

template <typename T>
inline T* zalloc(size_t n) { return static_cast<T*>(std::calloc(n ? n : 1, 1)); }

// The store as the Scan command leaves it before the filling pass.
inline STR_ENUM_WNDS_DATA allocated_store(uint32_t uiN, uint32_t uiL)
{
    STR_ENUM_WNDS_DATA s{};
    STR_ScanBufSizes z{};
    EXPECT_EQ(QD_SCAN_OK, scan_buffer_sizes(uiN, uiL, &z));
    s.uiSize_TmpBuf_Path = QD_SCAN_TMPBUF_BYTES;
    s.pcTmpBuf_Prg_Folder_Path = zalloc<uint8_t>(s.uiSize_TmpBuf_Path);
    s.counter_valid = uiN;
    s.uiMaxLen_inBytes_AllPath = uiL;
    s.arr1D_ui_LenPath = zalloc<uint32_t>(z.ui_LenPath);
    s.arr1D_uc_flag_FP = zalloc<uint8_t>(z.ui_flag_FP);
    s.pcDynMem_GeomText = zalloc<uint8_t>(z.ui_GeomText);
    s.pcDynMem_WinHndls = zalloc<uint8_t>(z.ui_WinHndls);
    s.pcDynMem_FullPaths = zalloc<uint8_t>(z.ui_FullPaths);
    return s;
}

// A window at (10, 20), 800 wide, 600 high; the texts must outlive the record.
inline STR_ScanEntryIn window(uint32_t hwnd, const qd_char* cap, const qd_char* path = nullptr)
{
    return {hwnd, 10, 20, 810, 620, false, cap, static_cast<uint32_t>(qd_strlen(cap)),
            path != nullptr, path, static_cast<uint32_t>(qd_strlen(path))};
}

inline void fill(STR_ENUM_WNDS_DATA* s, std::initializer_list<STR_ScanEntryIn> entries)
{
    for (const STR_ScanEntryIn& e : entries) ASSERT_EQ(QD_SCAN_OK, scan_store_write_entry(s, &e));
}

inline std::u16string path_of(const STR_ENUM_WNDS_DATA& s, uint32_t i)
{
    return std::u16string(scan_entry_path(&s, i), scan_entry_len_path(&s, i) / 2);
}

// A store that releases its buffers when the test ends.
struct OwnedStore {
    STR_ENUM_WNDS_DATA s;
    Heap heap;
    OwnedStore(uint32_t uiN, uint32_t uiL) : s(allocated_store(uiN, uiL)) {}
    ~OwnedStore() { scan_store_release(&s, &heap.rel); }
};

}  // namespace test_store
