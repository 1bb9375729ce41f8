#pragma once

#include <cstdint>

namespace pellmar {

// The random numbers of one bootstrap replicate: a permuted congruential generator (PCG-XSH-RR,
// 64-bit state, 32-bit output) whose state and stream are made from the run seed and the
// replicate number. The same run seed gives the same replicates on any machine and with any
// number of threads, and no two replicates share a stream.
class ReplicateRandom {
 public:
  ReplicateRandom(std::uint64_t runSeed, std::uint64_t replicate);

  std::uint32_t next();
  // A single-precision uniform number in [0, 1), from the top 24 bits of next().
  float uniform();

 private:
  std::uint64_t state_ = 0;
  std::uint64_t increment_ = 0;
};

// Draws one individual of a cohort of `cohortSize` for a replicate: i is the whole number
// nearest to u x N + 0.5 (halves to even) for a uniform u, drawn again while i is outside
// 1 .. N.
int drawIndividual(ReplicateRandom& random, int cohortSize);

}  // namespace pellmar
