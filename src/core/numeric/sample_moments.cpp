#include "core/numeric/sample_moments.h"

#include <algorithm>

namespace pellmar {

SampleMoments sampleMoments(std::span<const double> values) {
  SampleMoments moments;
  moments.count = static_cast<long>(values.size());
  if (values.empty()) return moments;
  double sum = 0.0;
  for (const double value : values) sum += value;
  const auto n = static_cast<double>(values.size());
  moments.mean = sum / n;
  if (values.size() < 2) return moments;
  // Equal values have no spread, whatever rounding made of their mean.
  if (std::all_of(values.begin(), values.end(), [&](double v) { return v == values.front(); })) {
    return moments;
  }
  double squares = 0.0;
  double deviations = 0.0;
  for (const double value : values) {
    const double d = value - moments.mean;
    squares += d * d;
    deviations += d;
  }
  moments.variance = std::max((squares - deviations * deviations / n) / (n - 1.0), 0.0);
  return moments;
}

}  // namespace pellmar
