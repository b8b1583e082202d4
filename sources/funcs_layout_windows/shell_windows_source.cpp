// The shell's collection of open shell windows (ShellWindows) as a source of
// (window, folder path) pairs: for each window, its browser, the browser's
// active view, that view's folder and the folder's item identifier list,
// whose file-system path is the folder path.
#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "funcs_layout_windows/explorer_folders.h"
#include "platform/zt_shell.h"

namespace {

const CLSID CLSID_ShellWindows_QD = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
const IID IID_IShellWindows_QD = {0x85CB6900, 0x4D95, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
const IID IID_IWebBrowserApp_QD = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IServiceProvider_QD = {0x6D5140C1, 0x7436, 0x11CE, {0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA}};
const GUID SID_STopLevelBrowser_QD = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
const IID IID_IShellBrowser_QD = {0x000214E2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IFolderView_QD = {0xCDE725B0, 0xCCC9, 0x4519, {0x91, 0x7E, 0x32, 0x5D, 0x72, 0xFA, 0xB4, 0xCE}};
const IID IID_IPersistFolder2_QD = {0x1AC3D9F0, 0x175C, 0x11D1, {0x95, 0xBE, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x4F}};

const DWORD CLSCTX_SHELL_WINDOWS = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

template <typename T>
void release(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

// What one item of the collection holds while its path is looked up.
struct STR_ShellItem {
    IDispatch* pDisp;
    IWebBrowserApp* pBrowserApp;
    IServiceProvider* pService;
    IShellBrowser* pBrowser;
    IShellView* pView;
    IFolderView* pFolderView;
    IPersistFolder2* pFolder;
    PIDLIST_ABSOLUTE pidl;
    HWND hwnd;
};

void release_item(STR_ShellItem* it)
{
    if (it->pidl) CoTaskMemFree(it->pidl);
    it->pidl = nullptr;
    release(it->pFolder);
    release(it->pFolderView);
    release(it->pView);
    release(it->pBrowser);
    release(it->pService);
    release(it->pBrowserApp);
    release(it->pDisp);
}

// Each step counts as done when its output is there; a missing output ends
// the item. The path buffer holds MAX_PATH units.
bool item_folder_path(IShellWindows* pWindows, VARIANT* pvIndex, STR_ShellItem* it, wchar_t* ptcPath)
{
    pWindows->Item(*pvIndex, &it->pDisp);
    if (!it->pDisp) return false;
    it->pDisp->QueryInterface(IID_IWebBrowserApp_QD, reinterpret_cast<void**>(&it->pBrowserApp));
    if (!it->pBrowserApp) return false;
    SHANDLE_PTR hwndTop = 0;
    it->pBrowserApp->get_HWND(&hwndTop);
    it->hwnd = reinterpret_cast<HWND>(hwndTop);
    it->pBrowserApp->QueryInterface(IID_IServiceProvider_QD, reinterpret_cast<void**>(&it->pService));
    if (!it->pService) return false;
    it->pService->QueryService(SID_STopLevelBrowser_QD, IID_IShellBrowser_QD, reinterpret_cast<void**>(&it->pBrowser));
    if (!it->pBrowser) return false;
    it->pBrowser->QueryActiveShellView(&it->pView);
    if (!it->pView) return false;
    it->pView->QueryInterface(IID_IFolderView_QD, reinterpret_cast<void**>(&it->pFolderView));
    if (!it->pFolderView) return false;
    it->pFolderView->GetFolder(IID_IPersistFolder2_QD, reinterpret_cast<void**>(&it->pFolder));
    if (!it->pFolder) return false;
    it->pFolder->GetCurFolder(&it->pidl);
    if (!it->pidl) return false;
    // False for a virtual folder (This PC, Control Panel): no path.
    return zt_SHGetPathFromIDList(it->pidl, ptcPath) != FALSE;
}

STR_ShellWalk walk_shell_windows(void*, QD_ShellFolderFound pfnFound, void* pFoundCtx)
{
    // A VT_I4 index owns nothing, so it is set up and dropped by hand: the
    // program then needs no oleaut32 (VariantInit, VariantClear) at start.
    VARIANT vIndex = {};
    IShellWindows* pWindows = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_ShellWindows_QD, nullptr, CLSCTX_SHELL_WINDOWS, IID_IShellWindows_QD,
                                        reinterpret_cast<void**>(&pWindows));
    if (!pWindows) return {false, hr};
    long iCount = 0;
    if (SUCCEEDED(hr)) pWindows->get_Count(&iCount);
    for (long i = 0; i < iCount; ++i) {
        STR_ShellItem item = {};
        wchar_t ptcPath[MAX_PATH] = {};
        vIndex.vt = VT_I4;
        vIndex.lVal = i;
        bool bGoOn = true;
        if (item_folder_path(pWindows, &vIndex, &item, ptcPath))
            bGoOn = pfnFound(pFoundCtx, item.hwnd, ptcPath, static_cast<uint32_t>(lstrlenW(ptcPath)));
        release_item(&item);
        if (!bGoOn) break;
    }
    release(pWindows);
    return {true, hr};
}

const STR_ShellFolderSource g_shellSource = {walk_shell_windows, nullptr};

}  // namespace

const STR_ShellFolderSource* shell_windows_source() { return &g_shellSource; }
