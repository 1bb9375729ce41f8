#include "core/numeric/replicate_random.h"

#include <cmath>

namespace pellmar {
namespace {

// SplitMix64: spreads related seeds (run seed, replicate number) over the whole state space.
std::uint64_t splitMix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31U);
}

}  // namespace

ReplicateRandom::ReplicateRandom(std::uint64_t runSeed, std::uint64_t replicate) {
  std::uint64_t mix = runSeed ^ (replicate * 0xD1B54A32D192ED03ULL);
  const std::uint64_t initialState = splitMix(mix);
  increment_ = (splitMix(mix) << 1U) | 1U;
  state_ = 0;
  next();
  state_ += initialState;
  next();
}

std::uint32_t ReplicateRandom::next() {
  const std::uint64_t old = state_;
  state_ = old * 6364136223846793005ULL + increment_;
  const auto xorShifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
  const auto rotation = static_cast<std::uint32_t>(old >> 59U);
  return (xorShifted >> rotation) | (xorShifted << ((32U - rotation) & 31U));
}

float ReplicateRandom::uniform() { return static_cast<float>(next() >> 8U) * (1.0F / 16777216.0F); }

int drawIndividual(ReplicateRandom& random, int cohortSize) {
  for (;;) {
    // u has 24 bits and N at most a few hundred, so u x N + 0.5 is exact in double precision.
    const double scaled = static_cast<double>(random.uniform()) * cohortSize + 0.5;
    const auto i = static_cast<int>(std::nearbyint(scaled));
    if (i >= 1 && i <= cohortSize) return i;
  }
}

}  // namespace pellmar
