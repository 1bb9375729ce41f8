#pragma once

#include <cstddef>
#include <vector>

#include "core/numeric/replicate_interval.h"

namespace pellmar {

// The percentile bounds of a stream of values whose number is known before they come, from the
// values of the two tails the bounds need alone: a few hundredths of them at the usual
// confidences, where keeping every value would take too much memory. A value past a tail's
// threshold is kept, and once a tail holds twice what it needs it is cut back to its size and
// its threshold moved in: constant time a value on the average. Which values are kept depends
// on the order they come in; the bounds do not.
class ValueTails {
 public:
  ValueTails() = default;
  // For `count` values and the bounds at pLow <= pHigh.
  ValueTails(std::size_t count, double pLow, double pHigh);

  void add(double value) {
    if (!lowCut_ || value < lowThreshold_) keepLow(value);
    if (keepsHigh_ && (!highCut_ || value > highThreshold_)) keepHigh(value);
  }

  // The bounds of the values added, which must be `count`; reorders what is kept.
  PercentileBounds bounds();

  // The most values a tail keeper of `count` values at pLow and pHigh holds at once.
  static std::size_t mostKept(std::size_t count, double pLow, double pHigh);

 private:
  void keepLow(double value);
  void keepHigh(double value);

  std::size_t count_ = 0;
  double pLow_ = 0.0;
  double pHigh_ = 0.0;
  TailSizes sizes_;
  // When the tails would hold about every value, the low one holds them all.
  bool keepsHigh_ = true;
  bool lowCut_ = false;
  bool highCut_ = false;
  double lowThreshold_ = 0.0;
  double highThreshold_ = 0.0;
  std::vector<double> low_;
  std::vector<double> high_;
};

}  // namespace pellmar
