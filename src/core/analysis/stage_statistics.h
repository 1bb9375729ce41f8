#pragma once

#include "core/session.h"

namespace pellmar {

// The last age index of the age-stage matrices: from the cumulative durations through the
// adult stage (each stopping at the first duration that is 0 or negative), the largest, less 1.
int computeMaxAgeIndex(const StudyData& study);

// Sets maxAgeIndex (and basicMaxAgeIndex) and gathers the stage duration, cumulative duration,
// pre-adult duration and stage consumption statistics, overall and by sex.
void computeStageStatistics(Session& session);

// Gathers the span and total consumption statistics. Returns false when the individuals counted
// by sex do not add up to n (the stage-name lines miss a sex code that the data use).
bool computeSpanAndConsumptionStatistics(Session& session);

// Mean consumption per individual per time unit in every stage column.
void computeStageDailyMeanConsumption(Session& session);

// The daily mean consumption rates of the two weighting tables (from the stage means, and from
// z(j) / s(j) of the age curves), the largest of each and their check sums.
void computeWeightingCoefficients(Session& session);

}  // namespace pellmar
