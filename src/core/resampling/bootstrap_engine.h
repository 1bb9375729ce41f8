#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

#include "core/resampling/bootstrap_cohort.h"
#include "core/resampling/bootstrap_state.h"
#include "core/resampling/samples_file.h"

namespace pellmar {

// How a long run reports and stops: `progress(done, total)` is called on the calling thread
// between batches of replicates; a stop request ends the work with a UserError.
struct ProgressAndStop {
  std::function<void(long done, long total)> progress;
  std::stop_token stop;
};

// Sizes every per-replicate table of `state` for B replicates of a cohort of m stages.
void sizeBootstrapTables(BootstrapState& state, int replicates, int stageCount, int sexCount);

// Own samples: replicate b draws `state.bootSampleSize` individuals with the random numbers of
// (state.seed, b) and is analysed into slot b, for b = 1 .. state.bootCount, on every core.
void runOwnSampleReplicates(const BootstrapCohort& cohort, BootstrapState& state,
                            const ProgressAndStop& work);

// Same samples: the replicates of the samples file, read one batch at a time while the previous
// batch is analysed; psi and FP use each replicate's own lambda.
void runSameSampleReplicates(const BootstrapCohort& cohort, BootstrapState& state,
                             SamplesFileReader& samples, const ProgressAndStop& work);

}  // namespace pellmar
