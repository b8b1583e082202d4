#include "funcs_layout_windows/unit_reports.h"

QD_REPORT_UNIT(g_repLayout, 1000);
QD_REPORT_UNIT(g_repProfiles, 1000);

STR_ReportUnit* rep_layout() { return &g_repLayout; }
STR_ReportUnit* rep_profiles() { return &g_repProfiles; }

int32_t report_missing_store(const char* pcFile, const char* pcFunc, int iLine)
{
    zt_ReportAt(&g_repProfiles, iLine, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\nline of error handler:\n%d\nerror, incorrect input parameters:\n\np_LoadedProfiles_STR = %p",
                pcFile, pcFunc, iLine, iLine, static_cast<void*>(nullptr));
    return -1;
}
