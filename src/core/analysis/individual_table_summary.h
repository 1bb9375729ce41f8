#pragma once

#include <string_view>
#include <vector>

#include "core/numeric/statistic.h"
#include "core/report/report_writer.h"

namespace pellmar {

// How one column of the statistics rows closing a per-individual table prints: its figures,
// where they go, and from which count on the mean (with the extremes) and the spread (SD and
// SE) are printed instead of a dash.
struct SummaryColumn {
  Statistic figures;
  int valueTab = 0;
  std::string_view dash = " -";
  int dashTab = 0;
  int countForMean = 1;    // 0: always printed
  int countForSpread = 2;  // 0: always printed
  int sdDecimals = 3;
  int seDecimals = 2;
};

// The rows "N", "Mean" (2 decimals), "Maximum", "Minimum" (as they are), "S.D." and "S.E.",
// each preceded by a single rule of `ruleLength`, with one cell per column.
void writeSummaryRows(ReportWriter& out, int ruleLength, const std::vector<SummaryColumn>& columns);

}  // namespace pellmar
