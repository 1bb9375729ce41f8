#pragma once

#include <span>
#include <vector>

namespace pellmar {

// An axis from `low` to `high` in steps of `step`, a round number (1, 2 or 5 times a power of
// ten), with both ends on a step; `decimals` is how many a tick's label needs.
struct NiceScale {
  double low = 0.0;
  double high = 1.0;
  double step = 0.2;
  int decimals = 1;

  // The ticks from low to high.
  [[nodiscard]] std::vector<double> ticks() const;
};

// The round step (1, 2 or 5 times a power of ten) of at most `maxIntervals` intervals over
// `span`; the smallest such step. A span of 0 or less, or not finite, gives 1.
double niceStep(double span, int maxIntervals);

// The scale over [low, high] with at most `maxIntervals` steps between its ends: low rounded down
// and high up to a step. Equal ends are widened by a step; ends not finite give [0, 1].
NiceScale niceScale(double low, double high, int maxIntervals);

// A histogram of `values` in bins of a round width with edges on multiples of it: about
// `targetBins` bins over the values' range (fewer when the values are few).
struct NiceHistogram {
  double first = 0.0;  // the lower edge of the first bin
  double width = 1.0;
  int decimals = 0;  // what an edge's label needs
  std::vector<long> counts;

  [[nodiscard]] double edge(std::size_t bin) const {
    return first + width * static_cast<double>(bin);
  }
};
// Values not finite are left out. A bin holds the values v with edge(k) <= v < edge(k + 1).
NiceHistogram niceHistogram(std::span<const double> values, int targetBins);

}  // namespace pellmar
