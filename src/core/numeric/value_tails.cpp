#include "core/numeric/value_tails.h"

#include <algorithm>
#include <functional>

namespace pellmar {
namespace {

// The tail sizes, or every value in the low one when the tails, which may hold twice their
// size, would hold as many.
TailSizes keptSizes(std::size_t count, double pLow, double pHigh) {
  const TailSizes sizes = tailSizesFor(count, pLow, pHigh);
  if (2 * (sizes.lowest + sizes.highest) >= count) return {count, 0};
  return sizes;
}

// Cuts `values` back to its `size` smallest by `order`, and returns the last of them.
template <typename Order>
double cutBack(std::vector<double>& values, std::size_t size, Order order) {
  const auto last = values.begin() + static_cast<std::ptrdiff_t>(size - 1);
  std::nth_element(values.begin(), last, values.end(), order);
  values.resize(size);
  return *last;
}

}  // namespace

ValueTails::ValueTails(std::size_t count, double pLow, double pHigh)
    : count_(count), pLow_(pLow), pHigh_(pHigh), sizes_(keptSizes(count, pLow, pHigh)) {
  keepsHigh_ = sizes_.highest > 0;
}

std::size_t ValueTails::mostKept(std::size_t count, double pLow, double pHigh) {
  const TailSizes sizes = keptSizes(count, pLow, pHigh);
  return std::min(2 * sizes.lowest, count) + std::min(2 * sizes.highest, count);
}

void ValueTails::keepLow(double value) {
  low_.push_back(value);
  if (low_.size() < 2 * sizes_.lowest) return;
  lowThreshold_ = cutBack(low_, sizes_.lowest, std::less<>());
  lowCut_ = true;
}

void ValueTails::keepHigh(double value) {
  high_.push_back(value);
  if (high_.size() < 2 * sizes_.highest) return;
  highThreshold_ = cutBack(high_, sizes_.highest, std::greater<>());
  highCut_ = true;
}

PercentileBounds ValueTails::bounds() {
  if (!keepsHigh_) return percentileBounds(low_, pLow_, pHigh_);
  return percentileBoundsOfTails(low_, high_, count_, pLow_, pHigh_);
}

}  // namespace pellmar
