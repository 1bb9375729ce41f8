#include "core/numeric/nice_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pellmar {
namespace {

// The decimals a multiple of `step` needs: none for 1, 2 or 5 and up, one for 0.1 .. 0.5, ...
int decimalsOf(double step) {
  const int places = static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  return std::clamp(places, 0, 15);
}

// `value` rounded down (or up) to a multiple of `step`, forgiving a rounding error of the
// division so that a value on a tick stays on it.
double floorTo(double value, double step) { return std::floor(value / step + 1e-9) * step; }
double ceilTo(double value, double step) { return std::ceil(value / step - 1e-9) * step; }

}  // namespace

std::vector<double> NiceScale::ticks() const {
  std::vector<double> ticks;
  const auto count = static_cast<long>(std::lround((high - low) / step));
  for (long k = 0; k <= count; ++k) ticks.push_back(low + step * static_cast<double>(k));
  return ticks;
}

double niceStep(double span, int maxIntervals) {
  if (!(span > 0) || !std::isfinite(span)) return 1.0;
  const int intervals = std::max(1, maxIntervals);
  const double least = span / intervals;
  double power = std::pow(10.0, std::floor(std::log10(least)));
  constexpr std::array<double, 4> kMultiples = {1.0, 2.0, 5.0, 10.0};
  for (;;) {
    for (const double multiple : kMultiples) {
      // A step within rounding of the least one is taken, so that 1 / 5 gives 0.2, not 0.5.
      if (multiple * power >= least * (1 - 1e-9)) return multiple * power;
    }
    power *= 10.0;
  }
}

NiceScale niceScale(double low, double high, int maxIntervals) {
  if (!std::isfinite(low) || !std::isfinite(high)) return {};
  if (low > high) std::swap(low, high);
  const int intervals = std::max(1, maxIntervals);
  double step = niceStep(high - low, intervals);
  if (high == low) {
    step = niceStep(std::abs(high) > 0 ? std::abs(high) : 1.0, intervals);
    return {floorTo(low, step) - (floorTo(low, step) == low ? step : 0.0),
            ceilTo(high, step) + (ceilTo(high, step) == high ? step : 0.0), step, decimalsOf(step)};
  }
  // Rounding the ends out may add an interval beyond the most allowed: the next step then.
  for (;;) {
    const double from = floorTo(low, step);
    const double to = ceilTo(high, step);
    if (std::lround((to - from) / step) <= intervals) return {from, to, step, decimalsOf(step)};
    step = niceStep(step * 1.5, 1);
  }
}

NiceHistogram niceHistogram(std::span<const double> values, int targetBins) {
  std::vector<double> finite;
  finite.reserve(values.size());
  std::copy_if(values.begin(), values.end(), std::back_inserter(finite),
               [](double v) { return std::isfinite(v); });
  NiceHistogram histogram;
  if (finite.empty()) return histogram;
  const auto [least, most] = std::minmax_element(finite.begin(), finite.end());
  // Few values fill few bins: at most twice the square root of their count, at least one.
  const int bins =
      std::clamp(targetBins, 1, std::max(1, static_cast<int>(std::sqrt(finite.size())) * 2));
  // Of the round widths either side of the one that gives `bins`, the one nearer that count.
  const double span = *most - *least;
  const double wider = niceStep(span, bins);
  const double mantissa = wider / std::pow(10.0, std::floor(std::log10(wider) + 1e-9));
  const double narrower = wider * (std::abs(mantissa - 5) < 1e-9 ? 0.4 : 0.5);
  const auto binsOf = [span](double width) { return std::floor(span / width + 1e-9) + 1; };
  histogram.width =
      std::abs(binsOf(narrower) - bins) < std::abs(binsOf(wider) - bins) ? narrower : wider;
  if (*most == *least) histogram.width = niceStep(std::abs(*most) > 0 ? std::abs(*most) : 1.0, 10);
  histogram.first = floorTo(*least, histogram.width);
  histogram.decimals = decimalsOf(histogram.width);
  // The largest value opens a bin of its own when it falls on an edge.
  const auto count =
      static_cast<std::size_t>(std::floor((*most - histogram.first) / histogram.width + 1e-9)) + 1;
  histogram.counts.assign(count, 0);
  for (const double v : finite) {
    const auto bin = static_cast<std::size_t>(
        std::clamp(std::floor((v - histogram.first) / histogram.width + 1e-9), 0.0,
                   static_cast<double>(count - 1)));
    ++histogram.counts[bin];
  }
  return histogram;
}

}  // namespace pellmar
