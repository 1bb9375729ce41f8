// Round axes and histogram bins: steps of 1, 2 or 5 times a power of ten, ends on a step.
#include "core/numeric/nice_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace pellmar {
namespace {

// True when `value` is a whole multiple of `step`, within rounding.
bool onStep(double value, double step) {
  const double steps = value / step;
  return std::abs(steps - std::round(steps)) < 1e-9;
}

TEST(NiceScale, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
  EXPECT_DOUBLE_EQ(niceStep(1.0, 5), 0.2);
  EXPECT_DOUBLE_EQ(niceStep(1.0, 10), 0.1);
  EXPECT_DOUBLE_EQ(niceStep(1.0, 4), 0.5);
  EXPECT_DOUBLE_EQ(niceStep(82.0, 5), 20.0);
  EXPECT_DOUBLE_EQ(niceStep(827.0, 10), 100.0);
  EXPECT_DOUBLE_EQ(niceStep(0.0034, 6), 0.001);
  EXPECT_DOUBLE_EQ(niceStep(0.0, 5), 1.0);
  EXPECT_DOUBLE_EQ(niceStep(std::numeric_limits<double>::infinity(), 5), 1.0);
  for (const double span : {0.7, 3.3, 17.0, 123.4, 9999.0, 2.5e-5}) {
    for (int intervals = 1; intervals <= 12; ++intervals) {
      const double step = niceStep(span, intervals);
      const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
      EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                  std::abs(mantissa - 5) < 1e-9)
          << span << " " << intervals << " " << step;
      EXPECT_LE(span / step, intervals + 1e-9) << span << " " << intervals;
    }
  }
}

TEST(NiceScale, AProbabilityRunsFromZeroToOneByTwoTenths) {
  const NiceScale scale = niceScale(0.0, 1.0, 6);
  EXPECT_DOUBLE_EQ(scale.low, 0.0);
  EXPECT_DOUBLE_EQ(scale.high, 1.0);
  EXPECT_DOUBLE_EQ(scale.step, 0.2);
  EXPECT_EQ(scale.decimals, 1);
  const std::vector<double> ticks = scale.ticks();
  ASSERT_EQ(ticks.size(), 6U);
  EXPECT_NEAR(ticks[3], 0.6, 1e-12);
  EXPECT_DOUBLE_EQ(ticks.back(), 1.0);
}

TEST(NiceScale, EndsAreRoundedOutToAStepWithinTheIntervalsAllowed) {
  for (const auto& [low, high] : std::vector<std::pair<double, double>>{
           {0, 0.97}, {0, 83}, {2134.01, 2961.22}, {-3.2, 7.9}, {0.001, 0.0042}, {5, 5}, {0, 0}}) {
    for (int intervals = 2; intervals <= 10; ++intervals) {
      const NiceScale scale = niceScale(low, high, intervals);
      // An end on a step may lie a rounding error inside a value that is itself on one.
      const double rounding = scale.step * 1e-9;
      EXPECT_LE(scale.low, low + rounding) << low << ".." << high;
      EXPECT_GE(scale.high, high - rounding) << low << ".." << high;
      EXPECT_LT(scale.low, scale.high);
      EXPECT_TRUE(onStep(scale.low, scale.step)) << scale.low << " by " << scale.step;
      EXPECT_TRUE(onStep(scale.high, scale.step)) << scale.high << " by " << scale.step;
      EXPECT_LE(std::lround((scale.high - scale.low) / scale.step), intervals);
      // The label of every tick shows it exactly with the decimals given.
      for (const double tick : scale.ticks()) {
        const double shown =
            std::round(tick * std::pow(10.0, scale.decimals)) / std::pow(10.0, scale.decimals);
        EXPECT_NEAR(shown, tick, scale.step * 1e-6);
      }
    }
  }
  const NiceScale bad = niceScale(std::nan(""), 1.0, 5);
  EXPECT_DOUBLE_EQ(bad.low, 0.0);
  EXPECT_DOUBLE_EQ(bad.high, 1.0);
}

TEST(NiceHistogram, BinsHaveRoundEdgesAndHoldEveryFiniteValue) {
  std::vector<double> values;
  for (int k = 0; k < 200; ++k) values.push_back(2134.01 + 827.21 * std::sin(k) * std::sin(k));
  values.push_back(std::nan(""));
  values.push_back(std::numeric_limits<double>::infinity());
  const NiceHistogram histogram = niceHistogram(values, 15);
  EXPECT_DOUBLE_EQ(histogram.width, 50.0);
  EXPECT_DOUBLE_EQ(histogram.first, 2100.0);
  EXPECT_EQ(histogram.decimals, 0);
  EXPECT_LE(histogram.counts.size(), 18U);
  EXPECT_EQ(std::accumulate(histogram.counts.begin(), histogram.counts.end(), 0L), 200);
  EXPECT_GE(histogram.edge(histogram.counts.size()), 2961.22);

  // A value on an edge counts in the bin above it, the largest included.
  const std::vector<double> onEdges = {0.0, 0.5, 1.0, 1.0, 2.0};
  const NiceHistogram edges = niceHistogram(onEdges, 4);
  EXPECT_DOUBLE_EQ(edges.width, 0.5);
  EXPECT_EQ(edges.counts, (std::vector<long>{1, 1, 2, 0, 1}));

  EXPECT_EQ(niceHistogram(std::vector<double>{3.0, 3.0}, 10).counts.size(), 1U);
  EXPECT_TRUE(niceHistogram(std::vector<double>{}, 10).counts.empty());
}

}  // namespace
}  // namespace pellmar
