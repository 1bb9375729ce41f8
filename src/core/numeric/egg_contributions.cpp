#include "core/numeric/egg_contributions.h"

#include <algorithm>

namespace pellmar {

void netMaternityOf(const EggContributions& contributions, const ReplicateDraws& draws,
                    int sampleSize, std::span<double> lm) {
  std::fill(lm.begin(), lm.end(), 0.0);
  const auto ages = static_cast<int>(lm.size());
  for (const auto& [i, count] : draws) {
    const EggContribution& c = contributions.individuals[static_cast<std::size_t>(i)];
    const int begin = std::max(c.firstAge, 0);
    const int end = std::min(c.firstAge + static_cast<int>(c.eggs.size()), ages);
    const auto times = static_cast<double>(count);
    double* out = lm.data() + begin;
    const double* in = c.eggs.data() + (begin - c.firstAge);
    for (int k = 0; k < end - begin; ++k) out[k] += times * in[k];
  }
  for (double& value : lm) value /= sampleSize;
}

}  // namespace pellmar
