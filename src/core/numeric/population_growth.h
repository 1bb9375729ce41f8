#pragma once

#include <optional>
#include <span>

namespace pellmar {

// An interval [low, high] of r (per day) known to hold the root.
struct RateBracket {
  double low = 0.0;
  double high = 0.0;
};

// The interval 20 % either side of r, where the r of a cohort resampled from one whose r is
// `r` usually lies: resampling hands it to the root search of every replicate.
RateBracket bracketAround(double r);

// The growth of a population whose net maternity is l(x)m(x): the intrinsic rate of increase r
// and the finite rate lambda = exp(r), both per day, and the mean generation time T in days.
struct GrowthRates {
  double r = 0.0;
  double lambda = 0.0;
  double T = 0.0;
};

// The net reproductive rate R0 and, when any eggs were laid, the growth rates.
struct PopulationGrowth {
  double R0 = 0.0;
  std::optional<GrowthRates> rates;  // none when R0 is 0
};

// The intrinsic rate of increase r per day: the root of
//   sum over x of exp(-r (x + 1) t) lm[x] = 1,
// where lm[x] = l(x)m(x) at age index x (a non-negative value for each x from 0) and t is the
// time unit in days. The sum falls as r grows, so the root is unique; it is negative when R0 < 1.
// The search brackets the root between ln(R0) / ((x + 1) t) of the first and the last age with
// eggs (or within `start`, when that brackets the root too: a bootstrap hands its replicates a
// bracket around the cohort's r), narrows the bracket with tangent and chord steps, bisects it
// down to a few ulp and ends with at most two Newton steps inside it. Allocates nothing. None
// when no eggs were laid (every lm[x] is 0).
std::optional<double> intrinsicRateOfIncrease(std::span<const double> lm, double timeUnit,
                                              std::optional<RateBracket> start = std::nullopt);

// R0 (the sum of lm[x], in age order), r, lambda and T = ln(R0) / r in days; when |r| < 1e-12, T
// is its limit, the sum of (x + 1) t lm[x] / R0. Allocates nothing.
PopulationGrowth populationGrowth(std::span<const double> lm, double timeUnit,
                                  std::optional<RateBracket> start = std::nullopt);

}  // namespace pellmar
