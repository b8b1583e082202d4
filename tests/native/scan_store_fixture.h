// Scan result stores built in memory the way the Scan command leaves
// them, for the tests of the store and of what is made from it.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>

#include "scan_store.h"

namespace test_store {

// Zeroed exact-size buffers, as committed memory arrives, so the sanitizers
// catch a write past any of them.
inline void* zalloc(size_t n) { return std::calloc(n ? n : 1, 1); }

// A window at (10, 20), 800 wide, 600 high; the texts must outlive the record.
inline STR_ScanEntryIn window(uint32_t hwnd, const qd_char* cap, const qd_char* path = nullptr)
{
    return {hwnd, 10, 20, 810, 620, false, cap, static_cast<uint32_t>(qd_strlen(cap)),
            path != nullptr, path, static_cast<uint32_t>(qd_strlen(path))};
}

// The store of uiN counted windows with paths of at most uiL bytes, before
// the filling pass; released when the test ends (the sanitizer build
// reports a buffer released twice or never).
struct OwnedStore {
    STR_ENUM_WNDS_DATA s{};
    STR_BufRelease rel{[](void*, void* pAddr) { std::free(pAddr); }, nullptr};
    OwnedStore(uint32_t uiN, uint32_t uiL)
    {
        STR_ScanBufSizes z{};
        EXPECT_EQ(QD_SCAN_OK, scan_buffer_sizes(uiN, uiL, &z));
        s.counter_valid = uiN;
        s.uiMaxLen_inBytes_AllPath = uiL;
        s.uiSize_TmpBuf_Path = QD_SCAN_TMPBUF_BYTES;
        s.pcTmpBuf_Prg_Folder_Path = static_cast<uint8_t*>(zalloc(QD_SCAN_TMPBUF_BYTES));
        s.arr1D_ui_LenPath = static_cast<uint32_t*>(zalloc(z.ui_LenPath));
        s.arr1D_uc_flag_FP = static_cast<uint8_t*>(zalloc(z.ui_flag_FP));
        s.pcDynMem_GeomText = static_cast<uint8_t*>(zalloc(z.ui_GeomText));
        s.pcDynMem_WinHndls = static_cast<uint8_t*>(zalloc(z.ui_WinHndls));
        s.pcDynMem_FullPaths = static_cast<uint8_t*>(zalloc(z.ui_FullPaths));
    }
    ~OwnedStore() { scan_store_release(&s, &rel); }
};

}  // namespace test_store
