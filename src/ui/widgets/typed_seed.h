#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace pellmar {

// The seed typed in a box: none when the box is empty, which takes a seed from the clock; not
// valid when it is not a whole number from 0 to 2^64 - 1.
struct TypedSeed {
  std::optional<std::uint64_t> seed;
  bool valid = true;
};

TypedSeed typedSeed(const QString& text);

}  // namespace pellmar
