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

// The report of a failure found at iLine: the line is kept in the unit,
// the text composed and shown with no owner, caption "error" (or
// ptcCaption: the list form uses "ERROR") and MB_OK.
void zt_ReportAt(STR_ReportUnit* pUnit, int iLine, const char* pcTemplate, ...);
void zt_ReportAtAs(STR_ReportUnit* pUnit, const wchar_t* ptcCaption, int iLine, const char* pcTemplate, ...);

// The report shapes, at the line where the failure was found. The
// template's first three conversions take the source file, pcFunc and
// that line; QD_REPORT's last conversion takes the line again as the
// handler's line, QD_REPORT_HF's fourth one does, QD_REPORT_NL has none.
// The other values follow in the template's order.
#define QD_REPORT(pUnit, pcFunc, pcTemplate, ...) \
    zt_ReportAt((pUnit), __LINE__, (pcTemplate), __FILE__, (pcFunc), __LINE__, ##__VA_ARGS__, __LINE__)
#define QD_REPORT_HF(pUnit, pcFunc, pcTemplate, ...) \
    zt_ReportAt((pUnit), __LINE__, (pcTemplate), __FILE__, (pcFunc), __LINE__, __LINE__, ##__VA_ARGS__)
#define QD_REPORT_NL(pUnit, pcFunc, pcTemplate, ...) \
    zt_ReportAt((pUnit), __LINE__, (pcTemplate), __FILE__, (pcFunc), __LINE__, ##__VA_ARGS__)
#define QD_REPORT_AS_NL(pUnit, ptcCaption, pcFunc, pcTemplate, ...) \
    zt_ReportAtAs((pUnit), (ptcCaption), __LINE__, (pcTemplate), __FILE__, (pcFunc), __LINE__, ##__VA_ARGS__)

// The system's own text for the thread's last error: caption "GetLastError",
// information icon, no owner. Returns the error code it showed.
DWORD zt_ShowLastError();

// A short box or notice with a fixed text.
int zt_Box(HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags);
