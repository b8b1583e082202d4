// Report buffers of the layout, discovery and profile unit: one for the
// loaded-profile store and the two lists, one for everything else.
#pragma once
#include "report/report.h"

STR_ReportUnit* rep_layout();
STR_ReportUnit* rep_profiles();
