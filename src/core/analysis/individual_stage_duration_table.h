#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// Writes the table "Stage duration of each individual" into the basic report: one line per
// individual with its duration of every stage, its pre-adult duration and its longevity, then
// the count, mean, extremes, SD and SE of each column. A table of more than 11 columns is
// printed in two sections.
void writeIndividualStageDurationTable(const Study& study, const BasicRunResults& basic,
                                       ReportPages& pages);

}  // namespace pellmar
