#pragma once

#include "core/session.h"

namespace pellmar {

// The three stage tables that follow the net consumption matrix B: z(j) with the total net
// consumption rate, s(j), and the daily mean consumption rate z(j) / s(j).
void writeStageNetConsumptionTable(const Session& session, ReportPages& pages);
void writeStageSurvivalSumTable(const Session& session, ReportPages& pages);
void writeStageDailyMeanRateTable(const Session& session, ReportPages& pages);

// The two tables "Mean daily consumption rate and weighting coefficient" that end the basic
// statistics: one from the stage means, one from z(j) and s(j).
void writeWeightingTableFromStageMeans(const Session& session, ReportPages& pages);
void writeWeightingTableFromMatrices(const Session& session, ReportPages& pages);

}  // namespace pellmar
