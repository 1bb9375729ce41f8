#include "core/resampling/jackknife.h"

#include <algorithm>
#include <cmath>

#include "core/resampling/replicate_analysis.h"
#include "core/resampling/replicate_summary.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

// Frequency classes of the pseudo-values. With a smallest pseudo-value of exactly 0, 22 class
// bounds are built and pseudo-values of 0 are not counted; otherwise 23 bounds and every value
// is counted. A value counts in the class whose next bound is the first one above it.
FrequencyClasses pseudoValueClasses(const JackknifeState& jack) {
  double smallest = replicateValue(jack.jackknifePseudoC0, 1);
  for (int i = 2; i <= jack.fullCount; ++i) {
    smallest = std::min(smallest, replicateValue(jack.jackknifePseudoC0, i));
  }
  const bool minimumIsZero = jack.fullCount >= 1 && smallest == 0;
  const int lastBound = minimumIsZero ? 21 : 22;
  return frequencyClasses(jack.jackknifePseudoC0, jack.fullCount, lastBound, lastBound,
                          minimumIsZero);
}

}  // namespace

void runJackknife(const BootstrapCohort& cohort, double cohortC0, JackknifeState& state,
                  const ProgressAndStop& work) {
  const int n = cohort.individualCount;
  std::vector<double> reducedC0(static_cast<std::size_t>(n) + 1, 0.0);
  std::vector<double> pseudoC0(static_cast<std::size_t>(n) + 1, 0.0);
  ReplicateAnalyser analyser(cohort);
  ReplicateDraws draws;
  for (int i = 1; i <= n; ++i) {
    if (work.stop.stop_requested()) {
      throw UserError("Jackknife",
                      "The jackknife was stopped before it ended; no file was written.",
                      ErrorKind::kCommandFailed);
    }
    draws.clear();
    for (int k = 1; k <= n; ++k) {
      if (k != i) draws.emplace_back(k, 1);
    }
    const double c0 = analyser.netConsumptionRateOf(draws, n - 1);
    reducedC0[static_cast<std::size_t>(i)] = c0;
    pseudoC0[static_cast<std::size_t>(i)] = n * cohortC0 - (n - 1) * c0;
    if (work.progress) work.progress(i, n);
  }
  state.fullCount = n;
  state.jackknifeC0 = std::move(reducedC0);
  state.jackknifePseudoC0 = std::move(pseudoC0);
}

void summarizeJackknife(JackknifeState& state) {
  const int n = state.fullCount;
  const ReplicateSummary summary = summarizeReplicates(state.jackknifePseudoC0, n);
  state.jackMean = summary.mean;
  state.jackVariance = summary.variance;
  state.jackSD = std::sqrt(summary.variance);
  state.jackSE = n > 0 ? state.jackSD / std::sqrt(static_cast<double>(n)) : 0.0;
  state.classes = pseudoValueClasses(state);
}

}  // namespace pellmar
