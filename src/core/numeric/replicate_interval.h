#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pellmar {

// What the resampled values of one quantity say about it: their mean, their standard error (none
// for a single value), an interval and how many values there were.
struct ResampledEstimate {
  double mean = 0.0;
  std::optional<double> se;
  double low = 0.0;
  double high = 0.0;
  long count = 0;
};

// The confidence of the summary's intervals unless the user chooses another.
inline constexpr double kDefaultConfidence = 0.95;

// The quantile at probability p of K >= 1 values by linear interpolation between order
// statistics: h = (K - 1) p + 1, j = floor(h), Q = v(j) + (h - j) (v(j + 1) - v(j)) on the sorted
// values, v(K) when j >= K. This is R's default quantile (type 7). Reorders `values`.
double percentile(std::span<double> values, double p);

// The quantiles at pLow <= pHigh of the same values, exactly as percentile() gives them, found
// among the values of each tail alone when there are many. Reorders `values`.
struct PercentileBounds {
  double low = 0.0;
  double high = 0.0;
};
PercentileBounds percentileBounds(std::span<double> values, double pLow, double pHigh);
PercentileBounds percentileBounds(std::span<float> values, double pLow, double pHigh);

// How many of the smallest and of the largest of `count` values the bounds at pLow <= pHigh
// need: the order statistics v(j) and v(j + 1) of each quantile, and every value before or
// after them.
struct TailSizes {
  std::size_t lowest = 0;
  std::size_t highest = 0;
};
TailSizes tailSizesFor(std::size_t count, double pLow, double pHigh);

// The bounds percentileBounds() gives of `count` values, from their `lowest` smallest and their
// `highest` largest, each in any order and at least as many as tailSizesFor() asks. Reorders
// both.
PercentileBounds percentileBoundsOfTails(std::span<double> lowest, std::span<double> highest,
                                         std::size_t count, double pLow, double pHigh);

// Summarises the values of replicates b = 1 .. B, `values[b - 1]`, that give one (`valid[b - 1]`
// not 0; every replicate when `valid` is empty): the mean and the standard error (the SD of the
// K values, from sampleMoments()), and the percentile interval from (1 - confidence) / 2 to
// (1 + confidence) / 2. Values all equal have standard error 0, as the bootstrap report has it.
// Nullopt when no replicate gives a value. `scratch` is working space, kept by the caller to
// spare allocations over many quantities.
std::optional<ResampledEstimate> summarizeReplicateValues(std::span<const double> values,
                                                          std::span<const std::uint8_t> valid,
                                                          double confidence,
                                                          std::vector<double>& scratch);

// The jackknife's interval: mean +- t(1 - (1 - confidence) / 2, n - 1) x se over n >= 2
// pseudo-values.
ResampledEstimate jackknifeEstimate(double mean, double se, int n, double confidence);

}  // namespace pellmar
