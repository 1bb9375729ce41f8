#pragma once

#include <array>
#include <vector>

#include "core/analysis/cohort_contributions.h"
#include "core/data/age_stage_table.h"
#include "core/numeric/replicate_draws.h"

namespace pellmar {

// What the analysis of one drawn cohort (a bootstrap replicate) gives. Stage tables are indexed
// by stage column j (0 unused), the table by sex by stage-name line k and column j; beside each
// value a flag says whether it exists: a stage mean needs someone drawn who entered the stage (of
// that sex), a daily mean someone in the column, psi a lambda above 0.
struct DrawnCohortEstimates {
  template <typename Value>
  using ByStage = std::array<Value, kMaxStageColumns + 2>;

  double c0 = 0.0;
  ByStage<double> stageDuration{};     // j = 1 .. m
  ByStage<double> stageConsumption{};  // j = 1 .. m
  ByStage<bool> stageValid{};
  ByStage<double> cumulativeDuration{};  // j = 2 .. m
  ByStage<bool> cumulativeValid{};
  std::array<ByStage<double>, kMaxStageNameLines + 1> consumptionBySex{};  // [k][j]
  std::array<ByStage<bool>, kMaxStageNameLines + 1> consumptionBySexValid{};
  ByStage<double> dailyMean{};  // j = 1 .. m + 1
  ByStage<bool> dailyMeanValid{};
  double psi = 0.0;
  bool psiValid = false;
};

class DrawnCohortAnalyser {
 public:
  explicit DrawnCohortAnalyser(const CohortContributions& cohort);

  // Analyses the draws of `sampleSize` individuals into `estimates`. With `lambda` above 0, also
  // psi from the drawn cohort's stable age-stage distribution at that lambda.
  void analyse(const ReplicateDraws& draws, int sampleSize, double lambda,
               DrawnCohortEstimates& estimates);

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

  // After netConsumptionRateOf(): the drawn cohort's last age index, and at (x, j) the
  // individuals counted and the prey they ate.
  [[nodiscard]] int maxAgeIndex() const { return maxAgeIndex_; }
  [[nodiscard]] int count(int x, int j) const { return N_[cell(x, j)]; }
  [[nodiscard]] double eaten(int x, int j) const { return T_[cell(x, j)]; }

 private:
  struct WalkEdges;
  void buildMatrices(const ReplicateDraws& draws, bool transitions);
  void addWalk(const WalkEdges& edges, int count, bool transitions);
  void addCutWalk(const IndividualContribution& individual, int count, bool transitions);
  [[nodiscard]] double netConsumptionRate(int sampleSize) const;
  void stageMeans(const ReplicateDraws& draws, DrawnCohortEstimates& estimates) const;
  void stageDailyMeans(DrawnCohortEstimates& estimates) const;
  double stableDistribution(double lambda);
  double stablePredationRate(double lambda);

  [[nodiscard]] std::size_t cell(int x, int j) const {
    return static_cast<std::size_t>(x) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(j);
  }

  // Where each individual's walk adds to N, the stays and the steps between stages, as places in
  // the tables, for a replicate whose ages reach past the individual's last: then none of its
  // runs is cut short, and it adds without a test.
  struct WalkEdges {
    std::vector<int> count;  // begin, end, ... of every run
    std::vector<int> stays;  // begin, end, ... of every run longer than one age
    std::vector<int> steps;  // the place of each step into the next stage
    int lastAge = 0;
  };

  const CohortContributions& cohort_;
  int columns_;
  std::vector<WalkEdges> edges_;  // [i]
  int maxAgeIndex_ = 0;
  std::vector<int> N_;
  std::vector<int> stays_;
  std::vector<int> steps_;
  std::vector<double> T_;
  std::vector<double> Z_;
};

}  // namespace pellmar
