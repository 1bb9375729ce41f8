#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// From the age-stage matrices: l(x), q(x), k(x) and the cumulative q; C0 summed both ways; z(j)
// and z(j) / s(j); the T totals of every age and stage and of the cohort.
void computeAgeCurves(const Study& study, BasicRunResults& basic);

// The basic report's tables of the age-stage analysis: the matrices N, C and B with the sum of B,
// the stage tables z(j), s(j) and z(j) / s(j), the matrix T with its totals, the matrix S, and
// the age-specific table of l(x), k(x) and q(x) with the C0 summary.
void writeAgeStageTables(const Study& study, const BasicRunResults& basic, ReportPages& pages);

}  // namespace pellmar
