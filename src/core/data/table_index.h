#pragma once

#include <cstddef>

namespace pellmar {

// The position of entry `index` of a table kept in a std::vector the way the study's tables are:
// indexed by the individual i, the stage column j or the replicate b from 1 (slot 0 unused) or
// by the age x from 0, so that the index itself is the position. The one place where the int
// indices of the formulas become std::size_t.
constexpr std::size_t at(int index) { return static_cast<std::size_t>(index); }

}  // namespace pellmar
