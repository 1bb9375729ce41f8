#include "core/numeric/replicate_interval.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

#include "core/numeric/sample_moments.h"

namespace pellmar {

namespace {

// Where the type-7 quantile at p of `count` values lies: between the order statistics v(j) and
// v(j + 1), h = (count - 1) p + 1, j = floor(h), at most count.
struct QuantilePosition {
  double h = 0.0;
  std::size_t j = 0;
};

QuantilePosition positionOf(std::size_t count, double p) {
  const double h = static_cast<double>(count - 1) * p + 1.0;
  return {h, std::min(static_cast<std::size_t>(std::floor(h)), count)};
}

// The order statistics of ranks `rank` and rank + 1 (1-based; the second is the first when there
// is no such rank) of `values`, whose first `placed` entries are known to hold its `placed`
// smallest values with the largest of them last, where a sort would put it; rank >= placed.
// Only these two are needed: a partial ordering finds them in linear time.
template <typename Value>
std::pair<double, double> orderPair(std::span<Value> values, std::size_t placed, std::size_t rank) {
  const auto lower = values.begin() + static_cast<std::ptrdiff_t>(rank - 1);
  if (rank > placed) {
    std::nth_element(values.begin() + static_cast<std::ptrdiff_t>(placed), lower, values.end());
  }
  const auto below = static_cast<double>(*lower);
  const double above = rank < values.size()
                           ? static_cast<double>(*std::min_element(lower + 1, values.end()))
                           : below;
  return {below, above};
}

double interpolate(QuantilePosition at, std::pair<double, double> order) {
  const auto [below, above] = order;
  // Equal neighbours give their value exactly, not a sum that rounding may move.
  if (above == below) return below;
  const double g = at.h - static_cast<double>(at.j);
  return (1.0 - g) * below + g * above;
}

template <typename Value>
PercentileBounds orderEveryValue(std::span<Value> values, double pLow, double pHigh) {
  const QuantilePosition low = positionOf(values.size(), pLow);
  const QuantilePosition high = positionOf(values.size(), pHigh);
  // Ordering for the first leaves v(j) in place with every smaller value before it.
  return {interpolate(low, orderPair(values, 0, low.j)),
          interpolate(high, orderPair(values, low.j, high.j))};
}

// From this many values on, the bounds are looked for in the tails alone.
constexpr std::size_t kTailsFrom = 4096;
constexpr std::size_t kSampleSize = 512;
// Sample ranks between a quantile and the bound put past it: over 4 standard deviations of a
// sample quantile of 512 values, so that a bound falls short of its quantile very seldom.
constexpr std::ptrdiff_t kMargin = 16;

// The bounds of many values: a sample of them puts a bound just past each quantile, one pass
// keeps the values beyond each bound, and only those are ordered, a few hundredths of them for
// the usual confidences instead of all. A bound the sample misplaced leaves too few values
// beyond it; then every value is ordered.
template <typename Value>
PercentileBounds orderTails(std::span<Value> values, double pLow, double pHigh) {
  const std::size_t count = values.size();
  std::array<Value, kSampleSize> sample{};
  const std::size_t stride = count / kSampleSize;
  for (std::size_t s = 0; s < kSampleSize; ++s) sample[s] = values[s * stride];
  std::sort(sample.begin(), sample.end());
  const auto sampleRank = [](double p, std::ptrdiff_t shift) {
    const auto rank = static_cast<std::ptrdiff_t>(std::floor(p * (kSampleSize - 1))) + shift;
    return static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(rank, 0, kSampleSize - 1));
  };
  const Value lowBound = sample[sampleRank(pLow, kMargin + 1)];
  const Value highBound = sample[sampleRank(pHigh, -kMargin)];
  std::vector<Value> lows;
  std::vector<Value> highs;
  for (const Value v : values) {
    if (v < lowBound) lows.push_back(v);
    if (v > highBound) highs.push_back(v);
  }
  // The values below the low bound are the smallest of all, those above the high bound the
  // largest: their order among themselves is their order among all.
  const QuantilePosition low = positionOf(count, pLow);
  const QuantilePosition high = positionOf(count, pHigh);
  const std::size_t aboveHighs = count - highs.size();
  const bool lowInTail = std::min(low.j + 1, count) <= lows.size();
  const bool highInTail = high.j > aboveHighs;
  if (!lowInTail || !highInTail) return orderEveryValue(values, pLow, pHigh);
  return {interpolate(low, orderPair(std::span<Value>(lows), 0, low.j)),
          interpolate(high, orderPair(std::span<Value>(highs), 0, high.j - aboveHighs))};
}

template <typename Value>
PercentileBounds boundsOf(std::span<Value> values, double pLow, double pHigh) {
  if (values.size() < kTailsFrom) return orderEveryValue(values, pLow, pHigh);
  return orderTails(values, pLow, pHigh);
}

}  // namespace

double percentile(std::span<double> values, double p) {
  const QuantilePosition at = positionOf(values.size(), p);
  return interpolate(at, orderPair(values, 0, at.j));
}

PercentileBounds percentileBounds(std::span<double> values, double pLow, double pHigh) {
  return boundsOf(values, pLow, pHigh);
}

PercentileBounds percentileBounds(std::span<float> values, double pLow, double pHigh) {
  return boundsOf(values, pLow, pHigh);
}

TailSizes tailSizesFor(std::size_t count, double pLow, double pHigh) {
  const QuantilePosition low = positionOf(count, pLow);
  const QuantilePosition high = positionOf(count, pHigh);
  return {std::min(low.j + 1, count), count - high.j + 1};
}

PercentileBounds percentileBoundsOfTails(std::span<double> lowest, std::span<double> highest,
                                         std::size_t count, double pLow, double pHigh) {
  const QuantilePosition low = positionOf(count, pLow);
  const QuantilePosition high = positionOf(count, pHigh);
  // v(j) of all is v(j - (count - highest.size())) of the largest.
  const std::size_t before = count - highest.size();
  return {interpolate(low, orderPair(lowest, 0, low.j)),
          interpolate(high, orderPair(highest, 0, high.j - before))};
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
  const PercentileBounds bounds =
      percentileBounds(scratch, (1.0 - confidence) / 2.0, (1.0 + confidence) / 2.0);
  estimate.low = bounds.low;
  estimate.high = bounds.high;
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
