#include "platform/zt_files.h"

namespace {

ZT_FileFailHook g_pfnFileFail = nullptr;
void* g_pFileCtx = nullptr;

// True when a test asks this operation to fail; the error is then set.
bool injected_failure(ZT_FileOp op)
{
    if (!g_pfnFileFail) return false;
    DWORD dwErr = g_pfnFileFail(g_pFileCtx, op);
    if (!dwErr) return false;
    SetLastError(dwErr);
    return true;
}

}  // namespace

void zt_SetFileFailHook(ZT_FileFailHook pfnHook, void* pCtx)
{
    g_pfnFileFail = pfnHook;
    g_pFileCtx = pCtx;
}

HANDLE zt_CreateNewFile(const wchar_t* ptcPath)
{
    if (!ptcPath || injected_failure(ZT_FILE_CREATE)) return INVALID_HANDLE_VALUE;
    return CreateFileW(ptcPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE zt_OpenExistingForRead(const wchar_t* ptcPath)
{
    if (!ptcPath || injected_failure(ZT_FILE_OPEN)) return INVALID_HANDLE_VALUE;
    return CreateFileW(ptcPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool zt_GetFileSize(HANDLE hFile, uint64_t* puiSize)
{
    LARGE_INTEGER li = {};
    if (!puiSize || injected_failure(ZT_FILE_SIZE) || !GetFileSizeEx(hFile, &li) || li.QuadPart < 0) return false;
    *puiSize = static_cast<uint64_t>(li.QuadPart);
    return true;
}

bool zt_SeekFile(HANDLE hFile, int64_t iOffset, DWORD dwMethod)
{
    LARGE_INTEGER li;
    li.QuadPart = iOffset;
    return !injected_failure(ZT_FILE_SEEK) && SetFilePointerEx(hFile, li, nullptr, dwMethod);
}

bool zt_ReadAll(HANDLE hFile, void* pvBuf, uint32_t uiBytes)
{
    DWORD dwRead = 0;
    if (injected_failure(ZT_FILE_READ) || !ReadFile(hFile, pvBuf, uiBytes, &dwRead, nullptr)) return false;
    if (dwRead != uiBytes) {
        SetLastError(ERROR_HANDLE_EOF);
        return false;
    }
    return true;
}

bool zt_WriteAll(HANDLE hFile, const void* pvBuf, uint32_t uiBytes)
{
    DWORD dwWritten = 0;
    if (injected_failure(ZT_FILE_WRITE) || !WriteFile(hFile, pvBuf, uiBytes, &dwWritten, nullptr)) return false;
    if (dwWritten != uiBytes) {
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return true;
}

bool zt_FlushFile(HANDLE hFile)
{
    return !injected_failure(ZT_FILE_FLUSH) && FlushFileBuffers(hFile);
}
