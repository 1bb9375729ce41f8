#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

#include "core/analysis/cohort_contributions.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/population_growth.h"
#include "core/predation/life_figures.h"
#include "core/predation/stage_curves.h"
#include "core/resampling/bootstrap_results.h"
#include "core/resampling/samples_file.h"

namespace pellmar {

// How a long run reports and stops: `progress(done, total)` is called on the calling thread
// between batches of replicates; a stop request ends the work with a UserError.
struct ProgressAndStop {
  std::function<void(long done, long total)> progress;
  std::stop_token stop;
};

// The threads that share out the replicates: one per core, at most 16.
int replicateThreadCount();

// Sizes every per-replicate table of `state` for B replicates of a cohort of m stages.
void sizeBootstrapTables(BootstrapResults& state, int replicates, int stageCount, int sexCount);

// The eggs of the cohort's individuals, for own samples that compute their own life table.
struct OwnSampleFecundity {
  const EggContributions& eggs;
  // Where the replicates' r is looked for first: a bracket around the cohort's r.
  RateBracket start;
};

// What every replicate computes beside its consumption: its life figures, and the values of
// e(x, j) and v(x, j) for their bands, B x cells floats stored replicate by replicate (NaN
// where the replicate has none); v only when `reproductiveValue` is given, and NaN where the
// replicate has no eggs or lambda.
struct ReplicateFigures {
  const CohortFigures& figures;
  const CohortCurves& curves;
  std::span<float> expectancy;
  std::span<float> reproductiveValue;
};

// How often a replicate is drawn at most before the bootstrap gives up finding eggs in it.
inline constexpr int kMaxDrawsForEggs = 1000;

// Draws own-sample replicate b: as many individuals as `individuals` holds, from the random
// stream of (seed, b). With `eggs`, the replicate is drawn again from the same stream while no
// individual drawn laid eggs (the conditional bootstrap). The number of draws it took, or 0 when
// kMaxDrawsForEggs draws had no eggs.
int drawOwnSample(std::uint64_t seed, int b, int cohortSize, const EggContributions* eggs,
                  std::vector<int>& individuals);

// Own samples: replicate b draws `state.bootSampleSize` individuals with drawOwnSample() and is
// analysed into slot b, for b = 1 .. state.bootCount, on every core. With `fecundity`, every
// replicate computes its R0, r, lambda and T from its draws, and psi and FP at its own lambda. A
// replicate that drew no laying female is kept with R0 = 0 and no r, lambda, T, psi or FP; with
// state.redrawBarren it is drawn again until it has eggs, and one that finds none in
// kMaxDrawsForEggs draws ends the work with a UserError. state.barrenReplicates counts them.
void runOwnSampleReplicates(const CohortContributions& cohort, BootstrapResults& state,
                            const ProgressAndStop& work,
                            const OwnSampleFecundity* fecundity = nullptr,
                            const ReplicateFigures* figures = nullptr);

// Same samples: the replicates of the samples file, read one batch at a time while the previous
// batch is analysed; psi and FP use each replicate's own lambda.
void runSameSampleReplicates(const CohortContributions& cohort, BootstrapResults& state,
                             SamplesFileReader& samples, const ProgressAndStop& work,
                             const ReplicateFigures* figures = nullptr);

}  // namespace pellmar
