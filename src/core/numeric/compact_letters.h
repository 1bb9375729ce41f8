#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pellmar {

// The compact letter display of K treatments by Piepho's insert-and-absorb algorithm: two
// treatments share a letter exactly when they do not differ. `estimates[i]` is treatment i's
// estimate (none: it takes part in no comparison and gets no letters); `differ` holds K x K
// flags, row by row, 1 where two treatments differ. The treatments are ranked by estimate,
// highest first (equal estimates in their given order), and the letters named in the order of
// their best-ranked member, so that "a" marks the group of the highest. Letters run a .. z,
// then A .. Z, then z1, z2, ... Returns each treatment's letters, in the given order.
std::vector<std::string> compactLetters(std::span<const std::optional<double>> estimates,
                                        std::span<const std::uint8_t> differ);

}  // namespace pellmar
