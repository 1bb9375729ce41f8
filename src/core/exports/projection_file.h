#pragma once

#include <span>
#include <string_view>

#include "core/data/study.h"
#include "core/predation/projection.h"
#include "core/report/report_writer.h"
#include "core/resampling/projection_replicates.h"

namespace pellmar {

// "<base>_projection.csv": day,series,stage,value,ci_low,ci_high. Each step gives the
// population, the predation in prey per day (the prey of the step divided by its days) and the
// cumulative predation in prey, each for every stage column in order (named as the summary
// names them) and then in total. Numbers in their shortest exact form; the band columns are
// empty without a `band`, and where it passes what a double holds.
ReportWriter projectionText(const Study& study, const Projection& projection,
                            const ProjectionBand* band = nullptr);

// The rows of the projection file, each after a first column `treatment`, for an experiment's
// "projection.csv" of every treatment in long form; its heading is "treatment," and
// kProjectionHeading.
inline constexpr std::string_view kProjectionHeading = "day,series,stage,value,ci_low,ci_high";
void writeTreatmentProjection(ReportWriter& out, std::string_view treatment, const Study& study,
                              const Projection& projection, const ProjectionBand* band);

// "<base>_projection_lambda_ranks.csv": day,rank,lambda,series,stage,value. The life tables at
// the lambda ranks low, median and high, each projected in full, in the rows of the projection
// file; lambda per day.
ReportWriter lambdaRanksText(const Study& study, std::span<const LambdaRankProjection> ranks);

}  // namespace pellmar
