#include "report/report.h"

#include <cstdarg>

#include "platform/zt_win.h"
#include "report_format.h"

namespace {

const wchar_t* compose(STR_ReportUnit* pUnit, const char* pcTemplate, va_list ap)
{
    if (!pUnit || !pUnit->ptcBuf || !pUnit->uiCap) return L"";
    qd_vformat_report(zt_Q(pUnit->ptcBuf), pUnit->uiCap, pcTemplate, ap);
    return pUnit->ptcBuf;
}

void show_report(STR_ReportUnit* pUnit, const wchar_t* ptcCaption, int iLine, const char* pcTemplate, va_list ap)
{
    if (pUnit) pUnit->iLine = iLine;
    zt_MessageBox(nullptr, compose(pUnit, pcTemplate, ap), ptcCaption, MB_OK);
}

}  // namespace

const wchar_t* zt_ComposeReport(STR_ReportUnit* pUnit, const char* pcTemplate, ...)
{
    va_list ap;
    va_start(ap, pcTemplate);
    const wchar_t* ptc = compose(pUnit, pcTemplate, ap);
    va_end(ap);
    return ptc;
}

void zt_ReportAt(STR_ReportUnit* pUnit, int iLine, const char* pcTemplate, ...)
{
    va_list ap;
    va_start(ap, pcTemplate);
    show_report(pUnit, L"error", iLine, pcTemplate, ap);
    va_end(ap);
}

void zt_ReportAtAs(STR_ReportUnit* pUnit, const wchar_t* ptcCaption, int iLine, const char* pcTemplate, ...)
{
    va_list ap;
    va_start(ap, pcTemplate);
    show_report(pUnit, ptcCaption, iLine, pcTemplate, ap);
    va_end(ap);
}

DWORD zt_ShowLastError()
{
    DWORD dwErr = GetLastError();
    wchar_t* ptcMsg = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, dwErr, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<wchar_t*>(&ptcMsg), 0, nullptr);
    zt_MessageBox(nullptr, ptcMsg ? ptcMsg : L"", L"GetLastError", MB_ICONINFORMATION);
    if (ptcMsg) LocalFree(ptcMsg);
    return dwErr;
}

int zt_Box(HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags)
{
    return zt_MessageBox(hwndOwner, ptcText, ptcCaption, uiFlags);
}
