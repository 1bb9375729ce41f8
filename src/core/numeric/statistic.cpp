#include "core/numeric/statistic.h"

#include <cmath>
#include <cstddef>

namespace pellmar {

const Statistic& statisticAt(const std::vector<Statistic>& statistics, int j) {
  static const Statistic kNone;
  return j >= 0 && j < static_cast<int>(statistics.size()) ? statistics[static_cast<std::size_t>(j)]
                                                           : kNone;
}

void StatisticSums::add(double value) {
  if (count_ == 0) {
    max_ = value;
    min_ = value;
  } else {
    if (value > max_) max_ = value;
    if (value < min_) min_ = value;
  }
  ++count_;
  sum_ += value;
  sumOfSquares_ += value * value;
}

double StatisticSums::variance() const {
  if (count_ < 2) return 0.0;
  const double n = count_;
  const double variance = (sumOfSquares_ - sum_ * sum_ / n) / (n - 1.0);
  return variance > 0.0 ? variance : 0.0;
}

void StatisticSums::storeInto(Statistic& statistic, double varianceFloor) const {
  statistic.count = count_;
  if (count_ == 0) return;
  statistic.mean = sum_ / count_;
  statistic.max = max_;
  statistic.min = min_;
  if (count_ > 1) {
    double v = variance();
    if (v < varianceFloor) v = 0.0;
    statistic.sd = std::sqrt(v);
    statistic.se = statistic.sd / std::sqrt(static_cast<double>(count_));
  }
}

}  // namespace pellmar
