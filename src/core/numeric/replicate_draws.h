#pragma once

#include <utility>
#include <vector>

namespace pellmar {

// The individuals of a cohort made of draws (a bootstrap replicate, a cohort less one
// individual): each distinct individual number with the number of times it was drawn, in the
// order of the individuals.
using ReplicateDraws = std::vector<std::pair<int, int>>;

// Counts the draws of individual numbers into `draws`. `counts` is a zeroed table of N + 1
// entries, handed back zeroed.
void collectDraws(const std::vector<int>& individuals, std::vector<int>& counts,
                  ReplicateDraws& draws);

}  // namespace pellmar
