#pragma once

#include "core/session.h"

namespace pellmar {

// The three stage tables that follow the net consumption matrix B: z(j) with the total net
// consumption rate, s(j), and the daily mean consumption rate z(j) / s(j).
void PrintStageNetConsumptionRate(Session& session);
void PrintSumOfStageSxj(Session& session);
void PrintStageWeightingCoef(Session& session);

// The two tables "Mean daily consumption rate and weighting coefficient" that end the basic
// statistics: one from the stage means, one from z(j) and s(j).
void PrintDailyMeanConsumptionBasedonMeans(Session& session);
void PrintWeightingCoefBasedOnMatricesZandS(Session& session);

}  // namespace pellmar
