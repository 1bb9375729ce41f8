#pragma once

#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/resampling/bootstrap_results.h"

namespace pellmar {

// The jackknife of C0: the C0 of the cohort without each individual, its pseudo-values and
// their statistics. Tables are indexed by the omitted individual i = 1 .. N.
struct JackknifeResults {
  int fullCount = 0;  // N
  std::vector<double> jackknifeC0;
  std::vector<double> jackknifePseudoC0;
  double jackMean = 0.0;
  double jackVariance = 0.0;
  double jackSD = 0.0;
  double jackSE = 0.0;
  FrequencyClasses classes;  // minValue, maxValue: the smallest and largest pseudo-value

  // With fecundity: the pseudo-values of R0, r, lambda and T by omitted individual, formed as
  // those of C0 are. r, lambda and T have none when leaving some individual out leaves no eggs.
  bool withFecundity = false;
  int omissionWithoutEggs = 0;  // the first individual without whom no eggs are left, or 0
  std::vector<double> pseudoR0;
  std::vector<double> pseudoR;
  std::vector<double> pseudoLambda;
  std::vector<double> pseudoT;

  [[nodiscard]] bool growthForEveryOmission() const {
    return withFecundity && omissionWithoutEggs == 0;
  }
};

// What the jackknife's report and files are written from.
struct JackknifeReport {
  const Study& study;
  const BasicRunResults& basic;
  const JackknifeResults& jackknife;
};

}  // namespace pellmar
