#include "core/numeric/replicate_draws.h"

#include <cstddef>

namespace pellmar {

void collectDraws(const std::vector<int>& individuals, std::vector<int>& counts,
                  ReplicateDraws& draws) {
  draws.clear();
  for (const int i : individuals) ++counts[static_cast<std::size_t>(i)];
  for (std::size_t i = 1; i < counts.size(); ++i) {
    if (counts[i] == 0) continue;
    draws.emplace_back(static_cast<int>(i), counts[i]);
    counts[i] = 0;
  }
}

}  // namespace pellmar
