#pragma once

#include <utility>
#include <vector>

#include "core/data/age_stage_table.h"
#include "core/resampling/bootstrap_cohort.h"
#include "core/resampling/bootstrap_state.h"

namespace pellmar {

// The individuals of one replicate: each distinct individual with the number of times it was
// drawn.
using ReplicateDraws = std::vector<std::pair<int, int>>;

// Analyses replicates of a cohort: the age-stage matrices N, G, D, C and T of the replicate are
// built from the contributions of the individuals drawn (one run per stage and one cell per
// consumption value, weighted by the number of draws), and from them C0, the stage means, the
// stage daily means and, with a lambda, the stable and finite predation rates. One analyser
// per thread; its tables are allocated once and reused for every replicate.
class ReplicateAnalyser {
 public:
  explicit ReplicateAnalyser(const BootstrapCohort& cohort);

  // Analyses replicate b (the draws of `sampleSize` individuals) and stores its estimates in
  // slot b of `state`. With `lambda` above 0, also psi and FP from the replicate's stable
  // age-stage distribution.
  void analyse(const ReplicateDraws& draws, int sampleSize, int b, double lambda,
               BootstrapState& state);

  // The net consumption rate C0 of a cohort made of the draws alone (the jackknife's reduced
  // cohorts); the matrices of that cohort stay in the analyser, its stays and steps between
  // stages (G and D) only when `transitions` is set.
  double netConsumptionRateOf(const ReplicateDraws& draws, int sampleSize,
                              bool transitions = false);

  // The stable age-stage distribution a(x, j) at `lambda` of a cohort made of the draws alone,
  // by the recurrence behind the replicates' psi, into `a`, sized here to the ages 0 .. that
  // cohort's last age index and the columns 0 .. m + 1 (column 0 unused).
  void stableDistributionOf(const ReplicateDraws& draws, int sampleSize, double lambda,
                            AgeStageMatrix& a);

  // Counts draws of individual numbers into `draws`, in the order of the individuals. `counts`
  // is a zeroed table of N + 1 entries, handed back zeroed.
  static void collect(const std::vector<int>& individuals, std::vector<int>& counts,
                      ReplicateDraws& draws);

 private:
  void buildMatrices(const ReplicateDraws& draws, bool transitions);
  [[nodiscard]] double netConsumptionRate(int sampleSize) const;
  void stageMeans(const ReplicateDraws& draws, int b, BootstrapState& state);
  void stageDailyMeans(int b, BootstrapState& state) const;
  double stableDistribution(double lambda);
  double stablePredationRate(double lambda);

  [[nodiscard]] std::size_t cell(int x, int j) const {
    return static_cast<std::size_t>(x) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(j);
  }

  const BootstrapCohort& cohort_;
  int columns_;
  int maxAgeIndex_ = 0;
  std::vector<int> N_;
  std::vector<int> stays_;
  std::vector<int> steps_;
  std::vector<double> T_;
  std::vector<double> Z_;
};

}  // namespace pellmar
