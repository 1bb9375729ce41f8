#pragma once

#include <vector>

namespace pellmar {

// Count, mean, standard deviation and standard error of a list of values, and for some
// statistics the largest and smallest value. A statistic gathered over no value keeps what it
// held before (zero from the start).
struct Statistic {
  int count = 0;
  double mean = 0.0;
  double sd = 0.0;
  double se = 0.0;
  double max = 0.0;
  double min = 0.0;
};

// The statistic of column j, or an empty one where the table has no such column (a stage that
// none of a replicate's individuals reached).
[[nodiscard]] const Statistic& statisticAt(const std::vector<Statistic>& statistics, int j);

// Sums gathered for one statistic: mean = S / n, SD = sqrt((Q - S^2 / n) / (n - 1)) for n > 1,
// SE = SD / sqrt(n).
class StatisticSums {
 public:
  void add(double value);

  [[nodiscard]] int count() const { return count_; }
  [[nodiscard]] double sum() const { return sum_; }
  [[nodiscard]] double sumOfSquares() const { return sumOfSquares_; }
  [[nodiscard]] double max() const { return max_; }
  [[nodiscard]] double min() const { return min_; }

  // (Q - S^2 / n) / (n - 1); a result below 0 that only rounding produced is taken as 0.
  [[nodiscard]] double variance() const;

  // Stores the count, and mean, SD and SE (and max, min) when the count is not 0; the SD and
  // SE only when the count is above 1. Values not computed keep what they held. `varianceFloor`: a
  // variance below it is 0.
  void storeInto(Statistic& statistic, double varianceFloor = 0.0) const;

 private:
  int count_ = 0;
  double sum_ = 0.0;
  double sumOfSquares_ = 0.0;
  double max_ = 0.0;
  double min_ = 0.0;
};

}  // namespace pellmar
