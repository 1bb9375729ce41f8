#include "core/numeric/replicate_interval.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

#include "core/numeric/sample_moments.h"

namespace pellmar {

double percentile(std::span<double> values, double p) {
  const std::size_t count = values.size();
  const double h = static_cast<double>(count - 1) * p + 1.0;
  const auto j = static_cast<std::size_t>(std::floor(h));
  // Only v(j) and v(j + 1) are needed: a partial ordering finds them in linear time.
  const auto lower = values.begin() + static_cast<std::ptrdiff_t>(std::min(j, count) - 1);
  std::nth_element(values.begin(), lower, values.end());
  const double below = *lower;
  if (j >= count) return below;
  const double above = *std::min_element(lower + 1, values.end());
  // Equal neighbours give their value exactly, not a sum that rounding may move.
  if (above == below) return below;
  const double g = h - static_cast<double>(j);
  return (1.0 - g) * below + g * above;
}

std::optional<ResampledEstimate> summarizeReplicateValues(std::span<const double> values,
                                                          std::span<const std::uint8_t> valid,
                                                          double confidence,
                                                          std::vector<double>& scratch) {
  scratch.clear();
  for (std::size_t b = 0; b < values.size(); ++b) {
    if (!valid.empty() && valid[b] == 0) continue;
    scratch.push_back(values[b]);
  }
  if (scratch.empty()) return std::nullopt;
  const SampleMoments moments = sampleMoments(scratch);
  ResampledEstimate estimate;
  estimate.count = moments.count;
  estimate.mean = moments.mean;
  if (moments.count > 1) estimate.se = std::sqrt(moments.variance);
  estimate.low = percentile(scratch, (1.0 - confidence) / 2.0);
  estimate.high = percentile(scratch, (1.0 + confidence) / 2.0);
  return estimate;
}

ResampledEstimate jackknifeEstimate(double mean, double se, int n, double confidence) {
  const boost::math::students_t distribution(static_cast<double>(n - 1));
  const double t = boost::math::quantile(distribution, 1.0 - (1.0 - confidence) / 2.0);
  ResampledEstimate estimate;
  estimate.mean = mean;
  estimate.se = se;
  estimate.low = mean - t * se;
  estimate.high = mean + t * se;
  estimate.count = n;
  return estimate;
}

}  // namespace pellmar
