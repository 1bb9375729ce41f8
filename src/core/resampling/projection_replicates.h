#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/data/fecundity_file.h"
#include "core/data/study.h"
#include "core/predation/projection.h"
#include "core/resampling/bootstrap_engine.h"

namespace pellmar {

// The own-samples bootstrap whose replicates are projected: each is drawn again from its random
// stream, exactly as the bootstrap drew it, and projected with its own life table.
struct ProjectionBootstrap {
  std::uint64_t seed = 0;
  int replicates = 0;  // B
  int sampleSize = 0;  // n
  bool redrawBarren = false;
  // The replicates' lambda, [b] for b = 1 .. B (index 0 unused); 0 for a replicate without one.
  std::span<const double> lambda;
  double confidence = 0.95;
  int threads = 0;  // 0: replicateThreadCount()
  // The most memory the tails of the replicates' values take at once: the steps are taken a
  // block at a time within it, and the replicates drawn again for each block.
  std::size_t blockBytes = std::size_t{256} << 20U;
};

// The values of a projection file's rows at one step, in its order: for the population, the
// predation per day and the cumulative predation, every stage column and then the total.
inline constexpr int kProjectionSeriesCount = 3;
inline int projectionValuesPerStep(int columns) { return kProjectionSeriesCount * (columns + 1); }

// Puts the values of step t of `projection` into `values` in that order; `cumulative` holds
// the prey eaten before the step in each column and is carried on past it.
void projectionStepValues(const Projection& projection, int t, std::span<double> cumulative,
                          std::span<double> values);

// The pointwise percentile band of every value of every step, over the replicates that took
// part.
struct ProjectionBand {
  int replicates = 0;
  int valuesPerStep = 0;
  std::vector<double> low;  // [t * valuesPerStep + v]; NaN past what a double holds
  std::vector<double> high;
};

// A replicate's life table projected in full: the one at a rank of the replicates' lambdas.
struct LambdaRankProjection {
  std::string rank;  // "low", "median" or "high"
  int replicate = 0;
  double lambda = 0.0;
  Projection projection;
};

struct ProjectionReplicates {
  ProjectionBand band;
  std::vector<LambdaRankProjection> ranks;  // low, median, high; none without a lambda
};

// Projects every replicate of `bootstrap` from `start` over steps 0 .. `cohort`'s last, for
// the band at bootstrap.confidence P, and the replicates at the ranks (1 - P)/2, 1/2 and
// (1 + P)/2 of lambda in full. From "stable:" a replicate without a lambda takes no part. Of
// each value only the two tails the band needs are kept. A stop request ends the work with a
// UserError.
ProjectionReplicates projectReplicates(const Study& study, const FecundityData& fecundity,
                                       const ProjectionBootstrap& bootstrap,
                                       const ProjectionStart& start, const Projection& cohort,
                                       const ProgressAndStop& work);

}  // namespace pellmar
