#pragma once

#include <cstdint>
#include <string>

namespace pellmar::tools {

// Parameters of a generated predator cohort.
struct StudyShape {
  int individuals = 100;
  // Stages including the adult stage. Seven gives the lady beetle study: egg, four larval
  // instars, pupa, adult; other counts give an egg, numbered immature stages and the adult.
  int stages = 7;
  std::uint32_t seed = 2026;
  // Multiplies the adult life span (1 gives adults of about 20 to 60 days).
  double adultLifeScale = 1.0;
};

// Writes a raw consumption data file for a cohort reared from egg to death: sexes F, M and N,
// deaths in several stages, a few missing days, daily consumption rising with the instar and
// adults eating most. The same shape always gives the same file, on any machine.
std::string generateStudy(const StudyShape& shape);

// Writes the fecundity file of the study generateStudy(shape) writes: one line per female with
// the eggs of each adult time unit. Most females begin to lay a few days after emergence, lay a
// daily count that rises to a peak and falls again, and stop a few days before death; some lay
// nothing. The eggs are drawn from a random stream of their own, so the study is the same file
// with or without them.
std::string generateFecundity(const StudyShape& shape);

}  // namespace pellmar::tools
