#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// The three stage tables that follow the net consumption matrix B: z(j) with the total net
// consumption rate, s(j), and the daily mean consumption rate z(j) / s(j).
void writeStageNetConsumptionTable(const Study& study, const BasicRunResults& basic,
                                   ReportPages& pages);
void writeStageSurvivalSumTable(const Study& study, const BasicRunResults& basic,
                                ReportPages& pages);
void writeStageDailyMeanRateTable(const Study& study, const BasicRunResults& basic,
                                  ReportPages& pages);

// The two tables "Mean daily consumption rate and weighting coefficient" that end the basic
// statistics: one from the stage means, one from z(j) and s(j).
void writeWeightingTableFromStageMeans(const Study& study, const BasicRunResults& basic,
                                       ReportPages& pages);
void writeWeightingTableFromMatrices(const Study& study, const BasicRunResults& basic,
                                     ReportPages& pages);

}  // namespace pellmar
