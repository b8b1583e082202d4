// The one way the program reports trouble: a modal box on the UI thread.
// Each source unit keeps its own report buffer and failure-line variable
// (a STR_ReportUnit); templates are composed with bounded formatting, so a
// report always fits its buffer whatever the length of the source path.
#pragma once
#include <windows.h>

#include <cstddef>

struct STR_ReportUnit {
    wchar_t* ptcBuf;
    size_t uiCap;  // in UTF-16 units
    int iLine;     // source line of the detected failure
};

// Defines a unit's report buffer and its record.
#define QD_REPORT_UNIT(name, cap)            \
    static wchar_t name##_buf[cap];          \
    static STR_ReportUnit name = {name##_buf, cap, 0}

// Composes pcTemplate into the unit's buffer and returns the text.
const wchar_t* zt_ComposeReport(STR_ReportUnit* pUnit, const char* pcTemplate, ...);

// Structured failure report: composed, then shown with no owner, caption
// "error", MB_OK. zt_ReportAs shows it with another caption (the list form
// uses "ERROR").
void zt_Report(STR_ReportUnit* pUnit, const char* pcTemplate, ...);
void zt_ReportAs(STR_ReportUnit* pUnit, const wchar_t* ptcCaption, const char* pcTemplate, ...);

// The system's own text for the thread's last error: caption "GetLastError",
// information icon, no owner. Returns the error code it showed.
DWORD zt_ShowLastError();

// A short box or notice with a fixed text.
int zt_Box(HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags);
