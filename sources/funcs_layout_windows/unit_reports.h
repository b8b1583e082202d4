// Report buffers of the layout, discovery and profile unit: one for the
// loaded-profile store and the two lists, one for everything else.
#pragma once
#include <cstdint>

#include "report/report.h"

STR_ReportUnit* rep_layout();
STR_ReportUnit* rep_profiles();

// The report of an operation given no loaded-profile store; returns -1.
int32_t report_missing_store(const char* pcFile, const char* pcFunc, int iLine);
