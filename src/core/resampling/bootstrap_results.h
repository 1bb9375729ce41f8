#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/predation/life_figures.h"
#include "core/predation/predation_rates.h"
#include "core/predation/stage_curves.h"

namespace pellmar {

// Which replicates give a value of a quantity, by replicate b: 1 where some individual drawn
// contributes to it, 0 where the value table holds the 0 that the result files print instead.
using ReplicateValidity = std::vector<std::uint8_t>;

// Mean, variance and standard error of B replicate values: mean = S1 / B, variance =
// (S2 - S1^2 / B) / (B - 1) (0 for B = 1, and never below 0), standard error = sqrt(variance).
struct ReplicateSummary {
  double mean = 0.0;
  double variance = 0.0;
  double se = 0.0;
};

// The closing figures of the life-table program's samples file.
struct LifeTableFigures {
  double lifeTableR0Mean = 0.0;
  double lifeTableR0Variance = 0.0;
  double lifeTableR0SE = 0.0;
  double R0 = 0.0;
  double lifeTableLambdaMean = 0.0;
  double lifeTableLambdaVariance = 0.0;
  double lifeTableLambdaSE = 0.0;
  double lifeTableLambda = 0.0;
};

// Frequency classes of replicate values: 20 classes of equal width from the minimum, counted
// in freq(0..21).
struct FrequencyClasses {
  double minValue = 0.0;
  double maxValue = 0.0;
  double classWidth = 0.0;
  std::array<double, 24> classBegin{};
  std::array<double, 24> classCenter{};
  std::array<int, 23> freq{};
};

// Everything a bootstrap run leaves: its parameters, the per-replicate estimates and their
// summaries. Per-replicate tables are indexed by replicate b = 1 .. B (index 0 unused); stage
// tables by stage first ([j][b]), sex tables by sex line, stage and replicate ([k][j][b]).
struct BootstrapResults {
  bool sameSamples = false;
  // Own samples of a study with eggs: every replicate computes its own R0, r, lambda and T from
  // the individuals it drew, so its Qp, psi and FP are paired with its C0 as the same samples'
  // are.
  bool ownLifeTable = false;
  // Own samples with eggs: a replicate that drew no laying female is drawn again (the
  // conditional bootstrap) instead of kept with R0 = 0.
  bool redrawBarren = false;
  // Own samples with eggs: the replicates that drew no laying female (kept with R0 = 0), or with
  // redrawBarren those that were drawn again.
  int barrenReplicates = 0;
  int bootCount = 0;       // B
  int bootSampleSize = 0;  // n drawn per replicate
  std::uint64_t seed = 0;  // own samples: the run seed every replicate's stream is made from
  std::string beganAt;     // date and time shown when the bootstrap began and ended
  std::string endedAt;

  // Every replicate's R0 and lambda: the life-table program's (same samples) or its own (own
  // samples with eggs), with the cohort's values and the mean, variance and SE of the replicates.
  std::vector<double> bootR0;
  std::vector<double> bootLambda;
  LifeTableFigures lifeTable;
  // Own samples with eggs: every replicate's intrinsic rate r and generation time T.
  std::vector<double> bootR;
  std::vector<double> bootT;
  double Qp = 0.0;  // the cohort's C0 / R0 when the replicates have R0, else 0

  std::vector<double> bootC0;
  std::vector<double> bootQp;
  std::vector<double> bootPsi;
  std::vector<double> bootFP;
  std::vector<std::vector<double>> bootStageDuration;                       // [j][b], j = 1 .. m
  std::vector<std::vector<double>> bootCumDuration;                         // [j][b], j = 2 .. m
  std::vector<std::vector<double>> bootStageConsumption;                    // [j][b], j = 1 .. m
  std::vector<std::vector<std::vector<double>>> bootStageConsumptionBySex;  // [k][j][b]
  std::vector<std::vector<double>> bootStageDailyMean;  // [j][b], j = 1 .. m + 1
  // Where the tables above hold a value: a stage mean needs someone drawn who entered the stage
  // (of that sex), a daily mean someone in the column, psi and FP a replicate lambda above 0.
  std::vector<ReplicateValidity> bootStageValid;                    // [j][b]: duration, consumption
  std::vector<ReplicateValidity> bootCumValid;                      // [j][b]
  std::vector<std::vector<ReplicateValidity>> bootStageBySexValid;  // [k][j][b]
  std::vector<ReplicateValidity> bootDailyMeanValid;                // [j][b]
  ReplicateValidity bootPsiValid;                                   // [b]: psi and FP
  // Every replicate's life figures (longevity, ..., and with its own life table F, GRR and the
  // female periods), [figure][b], and where a replicate has one.
  std::array<std::vector<double>, kLifeFigureCount> bootLifeFigures;
  std::array<ReplicateValidity, kLifeFigureCount> bootLifeFigureValid;
  // The pointwise percentile bands of e(x, j) and of v(x, j) (with the replicates' own life
  // tables) over the replicates that have each cell, at the bootstrap's confidence.
  std::optional<CurveBand> expectancyBand;
  std::optional<CurveBand> reproductiveValueBand;

  ReplicateSummary c0;
  ReplicateSummary qp;
  ReplicateSummary psi;
  ReplicateSummary fp;
  std::vector<ReplicateSummary> stageConsumption;                    // [j]
  std::vector<std::vector<ReplicateSummary>> stageConsumptionBySex;  // [k][j], k = 1, 2
  FrequencyClasses c0Classes;

  // True when every replicate has its own R0 and lambda, and hence its Qp, psi and FP.
  [[nodiscard]] bool replicatesHaveLifeTable() const { return sameSamples || ownLifeTable; }
};

// What the bootstrap's report and files are written from: the study, its Basic Run, its
// predation rates (none without a stable age-stage distribution; every replicate with its own
// life table has them) and the bootstrap.
struct BootstrapReport {
  const Study& study;
  const BasicRunResults& basic;
  const PredationRates* predation;
  const BootstrapResults& bootstrap;

  // The study's own psi and omega, which head their replicates' columns: 0 without a
  // distribution, beside replicates that have none either.
  [[nodiscard]] double stablePredationRate() const {
    return predation != nullptr ? predation->stablePredationRate : 0.0;
  }
  [[nodiscard]] double finitePredationRate() const {
    return predation != nullptr ? predation->finitePredationRate : 0.0;
  }
};

}  // namespace pellmar
