#include "funcs_layout_windows/unit_reports.h"

QD_REPORT_UNIT(g_repLayout, 1000);
QD_REPORT_UNIT(g_repProfiles, 1000);

STR_ReportUnit* rep_layout() { return &g_repLayout; }
STR_ReportUnit* rep_profiles() { return &g_repProfiles; }
