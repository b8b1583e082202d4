// File operations of the program, each a thin wrapper that a test can make
// fail (disk full, device error) to prove nothing is lost or left behind.
#pragma once
#include <windows.h>

#include <cstdint>

enum ZT_FileOp : int {
    ZT_FILE_CREATE = 0,
    ZT_FILE_OPEN,
    ZT_FILE_SIZE,
    ZT_FILE_SEEK,
    ZT_FILE_READ,
    ZT_FILE_WRITE,
    ZT_FILE_FLUSH,
};

// Returns the error code to fail with, or 0 to let the operation run.
typedef DWORD (*ZT_FileFailHook)(void* pCtx, ZT_FileOp op);
void zt_SetFileFailHook(ZT_FileFailHook pfnHook, void* pCtx);

// A new file for writing; fails when it exists (ERROR_FILE_EXISTS).
HANDLE zt_CreateNewFile(const wchar_t* ptcPath);
// An existing file for reading, shared for reading; never creates one.
HANDLE zt_OpenExistingForRead(const wchar_t* ptcPath);
bool zt_GetFileSize(HANDLE hFile, uint64_t* puiSize);
bool zt_SeekFile(HANDLE hFile, int64_t iOffset, DWORD dwMethod);
// Reads or writes exactly uiBytes; anything less is a failure.
bool zt_ReadAll(HANDLE hFile, void* pvBuf, uint32_t uiBytes);
bool zt_WriteAll(HANDLE hFile, const void* pvBuf, uint32_t uiBytes);
bool zt_FlushFile(HANDLE hFile);
