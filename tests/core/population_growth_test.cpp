#include "core/numeric/population_growth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace pellmar {
namespace {

// Relative difference, with 1 as the scale for values near 0.
double relative(double value, double expected) {
  return std::fabs(value - expected) / std::max(std::fabs(expected), 1.0);
}

TEST(PopulationGrowth, EggsAtOneAgeGiveTheClosedForm) {
  // With every egg at age index x0, exp(-r (x0 + 1) t) R0 = 1: r = ln(R0) / ((x0 + 1) t).
  for (const double t : {1.0, 0.5}) {
    for (const double R0 : {57.25, 0.3, 1e-6, 3e4}) {
      for (const std::size_t x0 : {0U, 3U, 40U}) {
        std::vector<double> lm(x0 + 5, 0.0);
        lm[x0] = R0;
        const double expected = std::log(R0) / (static_cast<double>(x0 + 1) * t);
        const PopulationGrowth growth = populationGrowth(lm, t);
        ASSERT_TRUE(growth.rates);
        EXPECT_LE(std::fabs(growth.rates->r - expected), 1e-14 * std::fabs(expected))
            << "R0 " << R0 << ", x0 " << x0 << ", t " << t;
        const auto generation = static_cast<double>(x0 + 1);
        EXPECT_NEAR(growth.rates->T, generation * t, 1e-13 * generation);
        EXPECT_EQ(growth.rates->lambda, std::exp(growth.rates->r));
      }
    }
  }
}

TEST(PopulationGrowth, TwoAgesSolvedByHand) {
  // 24 q^5 + 16 q^6 = 1 at q = exp(-r t) = 1/2, so r = ln 2 / t; and .25 q + .125 q^2 = 1 at
  // q = 2, a negative r = -ln 2 / t for R0 = .375 below 1.
  const std::vector<double> growing = {0, 0, 0, 0, 24, 16, 0};
  const std::vector<double> shrinking = {0.25, 0.125};
  for (const double t : {1.0, 0.5, 2.0}) {
    const auto up = populationGrowth(growing, t);
    ASSERT_TRUE(up.rates);
    EXPECT_EQ(up.R0, 40);
    EXPECT_LE(relative(up.rates->r, std::log(2.0) / t), 4e-16);
    EXPECT_LE(relative(up.rates->T, std::log(40.0) / (std::log(2.0) / t)), 1e-15);

    const auto down = populationGrowth(shrinking, t);
    ASSERT_TRUE(down.rates);
    EXPECT_LE(relative(down.rates->r, -std::log(2.0) / t), 4e-16);
    EXPECT_LT(down.rates->lambda, 1);
  }
}

TEST(PopulationGrowth, ReplacementGivesZeroRateAndTheLimitOfT) {
  // R0 = 1: r = 0, and T is the mean age of the eggs, the sum of (x + 1) t l(x)m(x) / R0.
  const std::vector<double> lm = {0, 0.2, 0.3, 0.5};
  const auto growth = populationGrowth(lm, 0.5);
  ASSERT_TRUE(growth.rates);
  EXPECT_LE(std::fabs(growth.rates->r), 1e-12);
  EXPECT_NEAR(growth.rates->T, (2 * 0.2 + 3 * 0.3 + 4 * 0.5) * 0.5, 1e-14);
  EXPECT_NEAR(growth.rates->lambda, 1, 1e-12);

  // Just off replacement the rate is tiny and T still the limit, not 0 / 0.
  const std::vector<double> thirds = {1.0 / 3 + 1e-14, 1.0 / 3, 1.0 / 3};
  const auto nearly = populationGrowth(thirds, 1.0);
  ASSERT_TRUE(nearly.rates);
  EXPECT_LE(std::fabs(nearly.rates->r), 1e-12);
  EXPECT_NEAR(nearly.rates->T, 2, 1e-12);
}

TEST(PopulationGrowth, HumpOfEggsSolvedToTheLastBitsWithAndWithoutAStartingBracket) {
  std::vector<double> lm(120, 0.0);
  for (std::size_t x = 20; x < 90; ++x) {
    const double u = static_cast<double>(x - 19) / 25;
    lm[x] = 4.7 * u * std::exp(1 - u) * std::pow(0.985, static_cast<double>(x - 20));
  }
  const std::optional<double> r = intrinsicRateOfIncrease(lm, 1.0);
  ASSERT_TRUE(r);
  // The sum at r in long double: 1 to the rounding of the terms.
  long double sum = 0;
  for (std::size_t x = 0; x < lm.size(); ++x) {
    sum += static_cast<long double>(lm[x]) *
           std::exp(-static_cast<long double>(*r) * static_cast<long double>(x + 1));
  }
  EXPECT_NEAR(static_cast<double>(sum), 1.0, 4e-15);

  // A bracket that holds the root only narrows the search; one that misses it is not used.
  for (const RateBracket start :
       {RateBracket{*r * 0.99, *r * 1.01}, RateBracket{*r * 1.5, *r * 2}, RateBracket{1, 0}}) {
    const std::optional<double> again = intrinsicRateOfIncrease(lm, 1.0, start);
    ASSERT_TRUE(again);
    EXPECT_LE(relative(*again, *r), 1e-15) << start.low << " .. " << start.high;
  }
}

}  // namespace
}  // namespace pellmar
