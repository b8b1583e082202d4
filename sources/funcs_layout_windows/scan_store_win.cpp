#include "funcs_layout_windows/scan_command.h"
#include "platform/zt_win.h"

namespace {

void release_virtual(void*, void* pAddr)
{
    zt_VirtualFree(pAddr);
}

}  // namespace

void scan_store_prepare(STR_ENUM_WNDS_DATA* pSTR)
{
    if (!pSTR) return;
    pSTR->uiSize_TmpBuf_Path = QD_SCAN_TMPBUF_BYTES;
    pSTR->counter_filled = 0;
    pSTR->counter_valid = 0;
}

void scan_store_release_win(STR_ENUM_WNDS_DATA* pSTR)
{
    const STR_BufRelease rel = {release_virtual, nullptr};
    scan_store_release(pSTR, &rel);
}
