#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// Writes the table "Basic Statistics of Life History Data" (durations, cumulative durations,
// span and consumption, overall and by sex) followed by the two weighting tables.
void writeBasicStatisticsTable(const Study& study, const BasicRunResults& basic,
                               ReportPages& pages);

}  // namespace pellmar
