#include "core/numeric/population_growth.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pellmar {
namespace {

// The ages with eggs: lm[x] for x = first .. last, ages (x + 1) t days.
struct Maternity {
  std::span<const double> lm;
  std::size_t first = 0;
  std::size_t last = 0;
  double t = 1.0;
};

// The sum over x of lm[x] exp(-r (x + 1) t) at some r, and its derivative in r.
struct Reproduction {
  double sum = 0.0;
  double slope = 0.0;
};

// Written as exp(-r (first + 1) t) times polynomials in q = exp(-r t). Each polynomial is
// evaluated by Horner's rule in q^2, its even and odd terms apart, so that two chains of
// multiply-adds run side by side: two exponentials per call, whatever the ages.
Reproduction reproduction(const Maternity& s, double r) {
  const double q = std::exp(-r * s.t);
  const double q2 = q * q;
  const double* lm = s.lm.data() + s.first;
  const std::size_t count = s.last - s.first + 1;
  const auto age = [&](std::size_t k) { return static_cast<double>(s.first + k + 1); };
  double even = 0.0, odd = 0.0, evenWeighted = 0.0, oddWeighted = 0.0;
  std::size_t k = count;
  if (k % 2 == 1) {
    --k;
    even = lm[k];
    evenWeighted = age(k) * lm[k];
  }
  while (k > 0) {
    k -= 2;
    odd = odd * q2 + lm[k + 1];
    even = even * q2 + lm[k];
    oddWeighted = oddWeighted * q2 + age(k + 1) * lm[k + 1];
    evenWeighted = evenWeighted * q2 + age(k) * lm[k];
  }
  const double scale = std::exp(-r * static_cast<double>(s.first + 1) * s.t);
  return {(even + q * odd) * scale, -s.t * (evenWeighted + q * oddWeighted) * scale};
}

// A bracket of the root with the sum at both of its ends.
struct Bracket {
  double low = 0.0;
  double high = 0.0;
  Reproduction atLow;
  Reproduction atHigh;

  // True when the ends are a few ulp apart. They have the same sign, so this is a relative
  // width of a few times 2^-52.
  [[nodiscard]] bool narrowEnough() const {
    const double larger = std::max(std::fabs(low), std::fabs(high));
    return high - low <=
           4 * (std::nextafter(larger, std::numeric_limits<double>::infinity()) - larger);
  }

  // Puts r at the end its sum belongs to.
  void narrowTo(double r, const Reproduction& at) {
    if (at.sum >= 1) {
      low = r;
      atLow = at;
    } else {
      high = r;
      atHigh = at;
    }
  }
};

// Narrows the bracket from both sides while each round narrows it. The sum falls with r and is
// convex, so the tangent at the low end meets 1 at or below the root, and the chord between the
// ends meets 1 at or above it: the two steps close in on the root from either side, fast. Every
// new end is still placed by the sum computed there, so rounding cannot lose the root.
void closeIn(const Maternity& s, Bracket& b) {
  for (int round = 0; round < 16 && !b.narrowEnough(); ++round) {
    const double width = b.high - b.low;
    if (b.atLow.slope < 0) {
      const double tangent = b.low - (b.atLow.sum - 1) / b.atLow.slope;
      if (tangent > b.low && tangent < b.high) b.narrowTo(tangent, reproduction(s, tangent));
    }
    const double drop = b.atLow.sum - b.atHigh.sum;
    if (drop > 0) {
      const double chord = b.low + (b.atLow.sum - 1) / drop * (b.high - b.low);
      if (chord > b.low && chord < b.high) b.narrowTo(chord, reproduction(s, chord));
    }
    if (!(b.high - b.low < width)) return;  // rounding has taken over: bisection finishes
  }
}

}  // namespace

RateBracket bracketAround(double r) {
  constexpr double kRelativeWidth = 0.2;
  const double a = r * (1 - kRelativeWidth);
  const double b = r * (1 + kRelativeWidth);
  return {std::min(a, b), std::max(a, b)};
}

std::optional<double> intrinsicRateOfIncrease(std::span<const double> lm, double timeUnit,
                                              std::optional<RateBracket> start) {
  Maternity s{lm, 0, 0, timeUnit};
  double R0 = 0.0;
  bool any = false;
  for (std::size_t x = 0; x < lm.size(); ++x) {
    if (!(lm[x] > 0)) continue;
    if (!any) s.first = x;
    s.last = x;
    any = true;
    R0 += lm[x];
  }
  if (!any) return std::nullopt;

  // With every term between R0 exp(-r (last + 1) t) and R0 exp(-r (first + 1) t), the root lies
  // between ln(R0) / ((last + 1) t) and ln(R0) / ((first + 1) t); both ends have the sign of
  // ln(R0), so the bracket never holds 0 inside and can shrink to a few ulp.
  const double logR0 = std::log(R0);
  const double nearEnd = logR0 / (static_cast<double>(s.first + 1) * timeUnit);
  const double farEnd = logR0 / (static_cast<double>(s.last + 1) * timeUnit);
  const double low = std::min(nearEnd, farEnd);
  const double high = std::max(nearEnd, farEnd);
  std::optional<Bracket> b;
  if (start) {
    const double narrowLow = std::max(low, start->low);
    const double narrowHigh = std::min(high, start->high);
    if (narrowLow <= narrowHigh) {
      const Reproduction atLow = reproduction(s, narrowLow);
      const Reproduction atHigh = reproduction(s, narrowHigh);
      if (atLow.sum >= 1 && atHigh.sum <= 1) b = Bracket{narrowLow, narrowHigh, atLow, atHigh};
    }
  }
  if (!b) b = Bracket{low, high, reproduction(s, low), reproduction(s, high)};

  closeIn(s, *b);
  while (!b->narrowEnough()) {
    const double middle = b->low + (b->high - b->low) / 2;
    const Reproduction at = reproduction(s, middle);
    if (at.sum == 1) return middle;
    b->narrowTo(middle, at);
  }

  // Newton steps from the middle of the last bracket, kept only while they stay inside it.
  double r = b->low + (b->high - b->low) / 2;
  for (int step = 0; step < 2; ++step) {
    const Reproduction at = reproduction(s, r);
    if (!(at.slope < 0)) break;
    const double next = r - (at.sum - 1) / at.slope;
    if (!(next >= b->low && next <= b->high) || next == r) break;
    r = next;
  }
  return r;
}

PopulationGrowth populationGrowth(std::span<const double> lm, double timeUnit,
                                  std::optional<RateBracket> start) {
  PopulationGrowth growth;
  for (const double value : lm) growth.R0 += value;
  const std::optional<double> r = intrinsicRateOfIncrease(lm, timeUnit, start);
  if (!r) return growth;
  GrowthRates rates;
  rates.r = *r;
  rates.lambda = std::exp(*r);
  if (std::fabs(*r) < 1e-12) {
    double ages = 0.0;
    for (std::size_t x = 0; x < lm.size(); ++x) {
      ages += static_cast<double>(x + 1) * timeUnit * lm[x];
    }
    rates.T = ages / growth.R0;
  } else {
    rates.T = std::log(growth.R0) / *r;
  }
  growth.rates = rates;
  return growth;
}

}  // namespace pellmar
