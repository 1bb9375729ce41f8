#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// Writes the table "Stage consumption rate of each individual" into the basic report: each
// individual's consumption in every stage, in the pre-adult period and over its life, then the
// count, mean, extremes, SD and SE of each column and the effective consumers.
void writeIndividualStageConsumptionTable(const Study& study, const BasicRunResults& basic,
                                          ReportPages& pages);

}  // namespace pellmar
