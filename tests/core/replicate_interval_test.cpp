#include "core/numeric/replicate_interval.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "core/numeric/value_tails.h"
#include "core/resampling/replicate_summary.h"

namespace pellmar {
namespace {

double quantileOf(std::vector<double> values, double p) { return percentile(values, p); }

// Values worked out by hand and given by R's quantile(x, p) (type 7).
TEST(Percentile, InterpolatesBetweenOrderStatisticsAsR) {
  EXPECT_DOUBLE_EQ(quantileOf({4, 1, 3, 2}, 0.025), 1.075);
  EXPECT_DOUBLE_EQ(quantileOf({4, 1, 3, 2}, 0.975), 3.925);
  EXPECT_DOUBLE_EQ(quantileOf({0.1, 0.7, 0.2, 0.4}, 0.3), 0.19);
  // Ties: 1 3 3 3 5 9.
  const std::vector<double> ties{5, 1, 3, 3, 3, 9};
  EXPECT_EQ(quantileOf(ties, 0.5), 3);
  EXPECT_DOUBLE_EQ(quantileOf(ties, 0.1), 2);
  EXPECT_DOUBLE_EQ(quantileOf(ties, 0.9), 7);
  EXPECT_EQ(quantileOf(ties, 0), 1);
  EXPECT_EQ(quantileOf(ties, 1), 9);
  // K = 1 and K = 2.
  EXPECT_EQ(quantileOf({2.5}, 0.025), 2.5);
  EXPECT_EQ(quantileOf({2.5}, 0.975), 2.5);
  EXPECT_DOUBLE_EQ(quantileOf({20, 10}, 0.025), 10.25);
  EXPECT_DOUBLE_EQ(quantileOf({20, 10}, 0.975), 19.75);
  // Equal values give exactly their value, not a rounded interpolation of it.
  EXPECT_EQ(quantileOf({0.1, 0.1, 0.1, 0.1, 0.1}, 0.025), 0.1);
  EXPECT_EQ(quantileOf({0.1, 0.1, 0.1, 0.1, 0.1}, 0.975), 0.1);
}

// The type-7 quantile from a full sort, to check the partial orderings against.
double sortedQuantile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const double h = static_cast<double>(values.size() - 1) * p + 1.0;
  const auto j = std::min(static_cast<std::size_t>(std::floor(h)), values.size());
  const double below = values[j - 1];
  const double above = j < values.size() ? values[j] : below;
  const double g = h - static_cast<double>(j);
  return above == below ? below : (1 - g) * below + g * above;
}

// Many values are bounded from their tails alone; the bounds must be the full ordering's, for
// values in replicate order, in sorted and reversed order (where a sample of them misleads),
// with heavy ties, and for doubles and floats.
TEST(Percentile, BoundsOfManyValuesAreThoseOfAFullOrdering) {
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<double> spread(0.0, 10.0);
  for (const std::size_t count : {4095UL, 4096UL, 10000UL, 100003UL}) {
    std::vector<double> shuffled(count);
    for (double& v : shuffled) v = spread(random);
    std::vector<double> sorted = shuffled;
    std::sort(sorted.begin(), sorted.end());
    std::vector<double> reversed(sorted.rbegin(), sorted.rend());
    std::vector<double> ties(count);
    for (double& v : ties) v = std::floor(spread(random) / 3);
    for (const auto& values : {shuffled, sorted, reversed, ties}) {
      for (const auto& [low, high] : {std::pair{0.025, 0.975}, std::pair{0.005, 0.995},
                                      std::pair{0.25, 0.3}, std::pair{0.0, 1.0}}) {
        std::vector<double> doubles = values;
        const PercentileBounds bounds = percentileBounds(doubles, low, high);
        EXPECT_EQ(bounds.low, sortedQuantile(values, low)) << count << " " << low;
        EXPECT_EQ(bounds.high, sortedQuantile(values, high)) << count << " " << high;
        std::vector<float> floats(values.begin(), values.end());
        const std::vector<double> widened(floats.begin(), floats.end());
        const PercentileBounds fromFloats = percentileBounds(floats, low, high);
        EXPECT_EQ(fromFloats.low, sortedQuantile(widened, low));
        EXPECT_EQ(fromFloats.high, sortedQuantile(widened, high));
      }
    }
  }
}

std::optional<ResampledEstimate> summarize(const std::vector<double>& values,
                                           const std::vector<std::uint8_t>& valid,
                                           double confidence = 0.95) {
  std::vector<double> scratch;
  return summarizeReplicateValues(values, valid, confidence, scratch);
}

TEST(ReplicateValues, OnlyTheReplicatesThatGiveAValueCount) {
  // The zeros of replicates 2 and 4 are what the files print for "no value".
  const auto estimate = summarize({4, 0, 1, 0, 3, 2}, {1, 0, 1, 0, 1, 1});
  ASSERT_TRUE(estimate);
  EXPECT_EQ(estimate->count, 4);
  EXPECT_DOUBLE_EQ(estimate->mean, 2.5);
  ASSERT_TRUE(estimate->se);
  EXPECT_DOUBLE_EQ(*estimate->se, std::sqrt(5.0 / 3.0));
  EXPECT_DOUBLE_EQ(estimate->low, 1.075);
  EXPECT_DOUBLE_EQ(estimate->high, 3.925);
  EXPECT_DOUBLE_EQ(summarize({4, 0, 1, 0, 3, 2}, {1, 0, 1, 0, 1, 1}, 0.5)->low, 1.75);

  EXPECT_FALSE(summarize({0, 0}, {0, 0}));
  const auto one = summarize({0, 7, 0}, {0, 1, 0});
  ASSERT_TRUE(one);
  EXPECT_EQ(one->count, 1);
  EXPECT_FALSE(one->se);
  EXPECT_EQ(one->low, 7);
  EXPECT_EQ(one->high, 7);

  const auto equal = summarize({1.1, 1.1, 1.1, 1.1, 1.1}, {});
  EXPECT_EQ(equal->se, 0.0);
  EXPECT_EQ(equal->low, 1.1);
  EXPECT_EQ(equal->high, 1.1);
}

// The summary's two passes and the report's Q - S^2 / n agree to the digits the latter keeps; the
// two passes keep the rest.
TEST(ReplicateValues, WithEveryReplicateValidTheSEIsTheReportsOneToItsDigits) {
  std::vector<double> values;
  std::vector<double> table{0.0};  // 1-based, as the report's tables
  for (int b = 1; b <= 997; ++b) {
    const double value = 40.0 + 0.37 * ((b * 7919) % 101) + 1e-3 * b;
    values.push_back(value);
    table.push_back(value);
  }
  const ReplicateSummary report = summarizeReplicates(table, 997);
  const auto estimate = summarize(values, {});
  EXPECT_EQ(estimate->mean, report.mean);
  EXPECT_NEAR(*estimate->se, report.se, 1e-10 * report.se);
  EXPECT_EQ(estimate->count, 997);
  // The SD of 100,000 values near 1e6 that differ by a few units: Q - S^2 / n loses about eleven
  // of the sixteen digits there (its S^2 is 1e22 for a spread of 4e5), the two passes about
  // three.
  std::vector<double> close;
  double deviations = 0;
  double squares = 0;
  for (int b = 0; b < 100000; ++b) {
    const int d = b % 7 - 3;
    close.push_back(1e6 + d);
    deviations += d;
    squares += d * d;
  }
  const double sd = std::sqrt((squares - deviations * deviations / 1e5) / (1e5 - 1));
  EXPECT_NEAR(*summarize(close, {})->se, sd, 1e-12 * sd);
}

// Keeping only the tails of a stream gives the bounds of all its values, whatever their order,
// their ties, their number and the confidence: where a tail is cut back many times, where the
// two tails would hold every value, with infinities, and with one value.
TEST(ValueTails, BoundsEqualThoseOfEveryValue) {
  std::mt19937_64 random(11);
  for (const std::size_t count : {1U, 2U, 7U, 40U, 1000U, 20011U}) {
    for (const double confidence : {0.95, 0.99, 0.5, 0.1}) {
      for (const bool ties : {false, true}) {
        std::vector<double> values;
        std::uniform_real_distribution<double> uniform(0.0, 1e6);
        for (std::size_t k = 0; k < count; ++k) {
          values.push_back(ties ? std::floor(uniform(random) / 2e5) : uniform(random));
        }
        if (count > 10) values[3] = std::numeric_limits<double>::infinity();
        const double pLow = (1 - confidence) / 2;
        const double pHigh = (1 + confidence) / 2;
        ValueTails tails(count, pLow, pHigh);
        for (const double value : values) tails.add(value);
        const PercentileBounds kept = tails.bounds();
        const PercentileBounds all = percentileBounds(values, pLow, pHigh);
        EXPECT_EQ(kept.low, all.low) << count << " values at " << confidence << ", ties " << ties;
        EXPECT_EQ(kept.high, all.high) << count << " values at " << confidence;
      }
    }
  }
  EXPECT_LE(ValueTails::mostKept(100000, 0.025, 0.975), 4 * 2502U);
  EXPECT_EQ(ValueTails::mostKept(100, 0.25, 0.75), 100U) << "one tail holds every value";
}

TEST(JackknifeEstimate, TIntervalAroundTheMean) {
  // t(0.975, 9) = 2.262157162798205 (solved from the closed form of the t distribution for odd
  // degrees of freedom), t(0.95, 4) = 2.1318467863266499.
  const ResampledEstimate estimate = jackknifeEstimate(30, 2, 10, 0.95);
  EXPECT_NEAR(estimate.low, 30 - 2 * 2.262157162798205, 1e-12);
  EXPECT_NEAR(estimate.high, 30 + 2 * 2.262157162798205, 1e-12);
  EXPECT_EQ(estimate.count, 10);
  EXPECT_NEAR(jackknifeEstimate(0, 1, 5, 0.9).high, 2.1318467863266499, 1e-12);
}

}  // namespace
}  // namespace pellmar
