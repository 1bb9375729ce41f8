#pragma once

#include "core/session.h"

namespace pellmar {

// The three stage tables that follow the net consumption matrix B: z(j) with the total net
// consumption rate, s(j), and the daily mean consumption rate z(j) / s(j).
void writeStageNetConsumptionTable(Session& session);
void writeStageSurvivalSumTable(Session& session);
void writeStageDailyMeanRateTable(Session& session);

// The two tables "Mean daily consumption rate and weighting coefficient" that end the basic
// statistics: one from the stage means, one from z(j) and s(j).
void writeWeightingTableFromStageMeans(Session& session);
void writeWeightingTableFromMatrices(Session& session);

}  // namespace pellmar
