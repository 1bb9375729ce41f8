#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// The Basic Run: stage statistics, individual values, age-stage matrices, age curves, stage
// daily means and weighting coefficients of the study, each step reading what the earlier ones
// computed. results.sexCountsAddUp is false when the individuals counted by sex do not add up to
// n.
BasicRunResults basicRun(const Study& study);

// The basic report's tables, appended to `report` in order.
void writeBasicReport(const Study& study, const BasicRunResults& basic, ReportPages& report);

// Number of age rows every age table needs for the study (at least maxAgeIndex + 2).
int ageRowsFor(const Study& study);

}  // namespace pellmar
