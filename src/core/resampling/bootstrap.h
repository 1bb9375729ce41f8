#pragma once

#include <cstdint>

#include "core/analysis/basic_run_results.h"
#include "core/data/fecundity_file.h"
#include "core/data/study.h"
#include "core/numeric/replicate_interval.h"
#include "core/predation/fecundity_life_table.h"
#include "core/report/report_output.h"
#include "core/resampling/bootstrap_engine.h"
#include "core/resampling/bootstrap_results.h"
#include "core/resampling/samples_file.h"

namespace pellmar {

// What an own-samples bootstrap draws: B replicates of n individuals each, every replicate from
// its own random stream made from the seed and its number.
struct OwnSamplesOptions {
  int replicates = 0;  // B
  int sampleSize = 0;  // n
  std::uint64_t seed = 0;
  // With eggs: a replicate that drew no laying female is drawn again instead of kept with R0 = 0.
  bool redrawBarren = false;
  // The confidence of the bands of e(x, j) and v(x, j).
  double confidence = kDefaultConfidence;
};

// The eggs of the study's females with the life table they give, for a bootstrap whose replicates
// compute their own life tables. Without a lambda (no eggs at all) the replicates have none.
struct StudyFecundity {
  const FecundityData& eggs;
  const FecundityLifeTable& table;
};

// An own-samples bootstrap of the study: every replicate's C0, stage means and daily means, and
// with `fecundity` (when its life table has a lambda) its own R0, r, lambda, T, Qp, psi and FP,
// then their summaries. A stop request, or a replicate that finds no eggs in kMaxDrawsForEggs
// draws, raises a UserError.
BootstrapResults ownSamplesBootstrap(const Study& study, const BasicRunResults& basic,
                                     const OwnSamplesOptions& options,
                                     const StudyFecundity* fecundity, const ProgressAndStop& work);

// A bootstrap of the replicates of the life-table program's samples file, each with its R0 and
// lambda from the file, then their summaries.
BootstrapResults sameSamplesBootstrap(const Study& study, const BasicRunResults& basic,
                                      SamplesFileReader& samples, const ProgressAndStop& work,
                                      double confidence = kDefaultConfidence);

// The bootstrap's report "_0_Bootstrap_Output.txt" (after the tables of the stable age-stage
// distribution and its products with C(x, j), when the study has one), with page and table
// numbers from 1 again, every result file and the frequency file.
void writeBootstrapFiles(const BootstrapReport& report, ReportCounters& counters,
                         OutputFiles& files);

}  // namespace pellmar
