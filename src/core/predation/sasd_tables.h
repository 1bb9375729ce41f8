#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/predation/predation_rates.h"
#include "core/report/report_output.h"

namespace pellmar {

// The stable age-stage distribution a(x, j), rounded to 4 decimals, as a table of the open
// resampling report.
void writeStableDistributionTable(const Study& study, const BasicRunResults& basic,
                                  const PredationRates& predation, ReportPages& pages);

// The products a(x, j) x C(x, j) for every age from 0, with the Basic Run's C, as a table of the
// open resampling report, followed by their sum psi and psi x lambda^t.
void writeStablePredationTable(const Study& study, const BasicRunResults& basic,
                               const PredationRates& predation, ReportPages& pages);

}  // namespace pellmar
