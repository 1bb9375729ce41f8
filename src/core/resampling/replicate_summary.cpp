#include "core/resampling/replicate_summary.h"

#include <cmath>
#include <cstddef>

namespace pellmar {

double replicateValue(const std::vector<double>& values, int b) {
  return b >= 0 && b < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(b)] : 0.0;
}

ReplicateSummary summarizeReplicates(const std::vector<double>& values, int count,
                                     const ReplicateValidity* valid) {
  ReplicateSummary summary;
  double sum = 0.0;
  double sumOfSquares = 0.0;
  bool allEqual = true;
  double first = 0.0;
  int n = 0;
  for (int b = 1; b <= count; ++b) {
    const auto slot = static_cast<std::size_t>(b);
    if (valid != nullptr && (slot >= valid->size() || (*valid)[slot] == 0)) continue;
    const double value = replicateValue(values, b);
    if (n == 0) first = value;
    ++n;
    sum += value;
    sumOfSquares += value * value;
    allEqual = allEqual && value == first;
  }
  if (n < 1) return summary;
  const double k = n;
  summary.mean = sum / k;
  // Equal values have no spread; the sums would leave a trace of rounding (1.1 five times
  // gives 2E-16).
  if (n > 1 && !allEqual) {
    const double variance = (sumOfSquares - sum * sum / k) / (k - 1.0);
    summary.variance = variance > 0.0 ? variance : 0.0;
  }
  summary.se = std::sqrt(summary.variance);
  return summary;
}

FrequencyClasses frequencyClasses(const std::vector<double>& values, int count, int lastBuiltBound,
                                  int lastCountedBound, bool skipZeros) {
  constexpr int kClassCount = 20;
  FrequencyClasses classes;
  if (count < 1) return classes;
  classes.minValue = replicateValue(values, 1);
  classes.maxValue = classes.minValue;
  for (int b = 2; b <= count; ++b) {
    const double value = replicateValue(values, b);
    if (value < classes.minValue) classes.minValue = value;
    if (value > classes.maxValue) classes.maxValue = value;
  }
  classes.classWidth = (classes.maxValue - classes.minValue) / kClassCount;
  for (int c = 0; c <= lastBuiltBound; ++c) {
    const auto at = static_cast<std::size_t>(c);
    classes.classBegin[at] = classes.minValue + c * classes.classWidth;
    classes.classCenter[at] = classes.classBegin[at] + classes.classWidth / 2;
  }
  for (int b = 1; b <= count; ++b) {
    const double value = replicateValue(values, b);
    if (skipZeros && value == 0) continue;
    for (int c = 1; c <= lastCountedBound; ++c) {
      if (value < classes.classBegin[static_cast<std::size_t>(c)]) {
        ++classes.freq[static_cast<std::size_t>(c - 1)];
        break;
      }
    }
  }
  return classes;
}

}  // namespace pellmar
