#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// The last age index of the age-stage matrices: from the cumulative durations through the
// adult stage (each stopping at the first duration that is 0 or negative), the largest, less 1.
int computeMaxAgeIndex(const Study& study);

// Sets maxAgeIndex (and basicMaxAgeIndex) and gathers the stage duration, cumulative duration,
// pre-adult duration and stage consumption statistics, overall and by sex.
void computeStageStatistics(const Study& study, BasicRunResults& basic);

// Gathers the span and total consumption statistics. Returns false when the individuals counted
// by sex do not add up to n (the stage-name lines miss a sex code that the data use).
bool computeSpanAndConsumptionStatistics(const Study& study, BasicRunResults& basic);

// Mean consumption per individual per time unit in every stage column.
void computeStageDailyMeanConsumption(const Study& study, BasicRunResults& basic);

// The daily mean consumption rates of the two weighting tables (from the stage means, and from
// z(j) / s(j) of the age curves), the largest of each and their check sums.
void computeWeightingCoefficients(const Study& study, BasicRunResults& basic);

}  // namespace pellmar
