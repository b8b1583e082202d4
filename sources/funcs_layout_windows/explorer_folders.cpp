#include "funcs_layout_windows/explorer_folders.h"

#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"
#include "window_rules.h"

namespace {

const STR_ShellFolderSource* g_pSource = nullptr;  // null: the shell's


bool keep_longest(void* pCtx, HWND, const wchar_t*, uint32_t uiN_Path)
{
    uint32_t* puiMax = static_cast<uint32_t*>(pCtx);
    if (uiN_Path > *puiMax) *puiMax = uiN_Path;
    return true;
}

struct STR_WriteWalk {
    STR_ENUM_WNDS_DATA* pSTR;
    int32_t iRet;
};

bool write_path(void* pCtx, HWND hwndFolder, const wchar_t* ptcPath, uint32_t uiN_Path)
{
    STR_WriteWalk* w = static_cast<STR_WriteWalk*>(pCtx);
    if (!hwndFolder) {
        STR_ReportUnit* rep = rep_layout();
        QD_REPORT(rep, "GetCurrentExplorerFolders_02", "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nhwnd of folder = %p\n\nline of error handler:\n%d",
                  hwndFolder);
        w->iRet = QD_SCAN_NULL_FOLDER_HWND;
        return false;
    }
    scan_store_write_folder_path(w->pSTR, zt_hwnd32(hwndFolder), zt_Q(ptcPath), uiN_Path);
    return true;
}

}  // namespace

const STR_ShellFolderSource* explorer_folder_source()
{
    return g_pSource ? g_pSource : shell_windows_source();
}

void explorer_set_folder_source(const STR_ShellFolderSource* pSource)
{
    g_pSource = pSource;
}

int32_t GetCurrentExplorerFolders_01(STR_ENUM_WNDS_DATA* pSTR_params)
{
    STR_ReportUnit* rep = rep_layout();
    if (!pSTR_params) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:pSTR_params = %p\n\nline of error handler:\n%d",
                  pSTR_params);
        return -1;
    }
    uint32_t uiMax = 0;
    const STR_ShellFolderSource* pSrc = explorer_folder_source();
    const STR_ShellWalk walk = pSrc->pfnWalk(pSrc->pCtx, keep_longest, &uiMax);
    if (!walk.b_Created) return -1;
    pSTR_params->uiMaxLen_inBytes_FolderPath = path_len_bytes(uiMax);
    return 1;
}

int32_t GetCurrentExplorerFolders_02(STR_ENUM_WNDS_DATA* pSTR_params)
{
    STR_ReportUnit* rep = rep_layout();
    if (!pSTR_params) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:pSTR_params = %p\n\nline of error handler:\n%d",
                  pSTR_params);
        return -1;
    }
    if (!pSTR_params->pcDynMem_WinHndls || !pSTR_params->pcDynMem_FullPaths || !pSTR_params->arr1D_uc_flag_FP ||
        !pSTR_params->arr1D_ui_LenPath) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:pSTR_params->pcDynMem_WinHndls = %p\npSTR_params->pcDynMem_FullPaths = %p\npSTR_params->arr1D_uc_flag_FP = %p\nline of error handler:\n%d",
                  pSTR_params->pcDynMem_WinHndls, pSTR_params->pcDynMem_FullPaths, pSTR_params->arr1D_uc_flag_FP);
        return -1;
    }
    STR_WriteWalk w = {pSTR_params, 1};
    const STR_ShellFolderSource* pSrc = explorer_folder_source();
    const STR_ShellWalk walk = pSrc->pfnWalk(pSrc->pCtx, write_path, &w);
    if (!walk.b_Created) {
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\none of callable functions returned error\n\nfunction : CoCreateInstance()\n\nret code hResult = %d\n\nline of error handler:\n%d",
                  static_cast<int32_t>(walk.hr));
        return -4;
    }
    return w.iRet;
}
