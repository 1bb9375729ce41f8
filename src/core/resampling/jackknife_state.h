#pragma once

#include <vector>

#include "core/resampling/bootstrap_state.h"

namespace pellmar {

// The jackknife of C0: the C0 of the cohort without each individual, its pseudo-values and
// their statistics. Tables are indexed by the omitted individual i = 1 .. N.
struct JackknifeState {
  bool done = false;
  int fullCount = 0;  // N
  std::vector<double> jackknifeC0;
  std::vector<double> jackknifePseudoC0;
  double jackMean = 0.0;
  double jackVariance = 0.0;
  double jackSD = 0.0;
  double jackSE = 0.0;
  FrequencyClasses classes;  // minValue, maxValue: the smallest and largest pseudo-value
};

}  // namespace pellmar
