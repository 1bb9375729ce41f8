#include "core/resampling/replicate_summary.h"

#include <cmath>
#include <cstddef>

namespace pellmar {

double replicateValue(const std::vector<double>& values, int b) {
  return b >= 0 && b < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(b)] : 0.0;
}

ReplicateSummary summarizeReplicates(const std::vector<double>& values, int count) {
  ReplicateSummary summary;
  if (count < 1) return summary;
  double sum = 0.0;
  double sumOfSquares = 0.0;
  bool allEqual = true;
  const double first = replicateValue(values, 1);
  for (int b = 1; b <= count; ++b) {
    const double value = replicateValue(values, b);
    sum += value;
    sumOfSquares += value * value;
    allEqual = allEqual && value == first;
  }
  const double n = count;
  summary.mean = sum / n;
  // Equal values have no spread; the sums would leave a trace of rounding (1.1 five times
  // gives 2E-16).
  if (count > 1 && !allEqual) {
    const double variance = (sumOfSquares - sum * sum / n) / (n - 1.0);
    summary.variance = variance > 0.0 ? variance : 0.0;
  }
  summary.se = std::sqrt(summary.variance);
  return summary;
}

}  // namespace pellmar
