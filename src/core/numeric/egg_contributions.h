#pragma once

#include <span>
#include <vector>

#include "core/numeric/replicate_draws.h"

namespace pellmar {

// The eggs one individual brings to any replicate it is drawn into, worked out once: the eggs
// laid at ages firstAge .. firstAge + eggs.size() - 1, from its first to its last time unit with
// eggs. Empty for males, N individuals and females that laid none.
struct EggContribution {
  int firstAge = 0;
  std::vector<double> eggs;
};

// The egg contributions of a cohort's individuals i = 1 .. N (index 0 unused).
struct EggContributions {
  std::vector<EggContribution> individuals;
};

// The net maternity l(x)m(x) of the cohort made of `draws` alone, sampleSize individuals: for
// every age index x of `lm`, the eggs laid at age x by the individuals drawn, each counted as
// often as it was drawn, divided by sampleSize. Every entry of `lm` is overwritten; eggs at ages
// beyond it are left out. Allocates nothing, so a replicate can call it with a table of its own.
void netMaternityOf(const EggContributions& contributions, const ReplicateDraws& draws,
                    int sampleSize, std::span<double> lm);

}  // namespace pellmar
