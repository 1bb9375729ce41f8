#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// Writes the table "Daily consumption rate of each individual" into the basic report: each
// individual's consumption in the first age intervals (at most nine) with its death marked,
// its total when the whole study fits, then the count, mean, SD and SE of every interval and
// the consumption maxima and effective consumers.
void writeIndividualDailyConsumptionTable(const Study& study, const BasicRunResults& basic,
                                          ReportPages& pages);

}  // namespace pellmar
