#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "core/analysis/cohort_contributions.h"
#include "core/data/study.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/replicate_draws.h"
#include "core/predation/fecundity_life_table.h"

namespace pellmar {

// The whole-cohort figures of the life table that are means over individuals (or, GRR, a sum
// over ages), each a value of the cohort and of every bootstrap replicate. Durations in days.
enum LifeFigure : int {
  kLongevityF,  // ages alive, females
  kLongevityM,
  kLongevityAll,  // every individual, N included
  kAdultLongevityF,
  kAdultLongevityM,
  kPreadultDurationF,  // ages before the adult stage, of those that became adults
  kPreadultDurationM,
  kPreadultDurationAll,
  kFecundityF,  // F: the mean eggs of the females
  kGrossReproductiveRate,
  kFirstPeriodFigure,  // the female periods, in the order of FemalePeriod
  kLifeFigureCount = kFirstPeriodFigure + kFemalePeriodCount,
  kFirstFecundityFigure = kFecundityF,
};

// The summary's quantity and sex of each figure.
struct LifeFigureName {
  std::string_view quantity;
  std::string_view sex;
};
LifeFigureName lifeFigureName(int figure);

// What one individual brings to the figures, worked out once, as a row a replicate adds up: for
// each figure the individual has, its value and a count of 1 (the sums of a mean; 0 and 0 for
// a figure it has not); GRR, a sum over ages, is not in it.
struct IndividualFigures {
  // The values from 0, the counts from kCounts; padded so that the row adds up in whole vectors.
  static constexpr std::size_t kCounts = 16;
  std::array<double, 2 * kCounts> row{};
  int agesAlive = 0;  // the ages at which the walk through its stages counts it
};
static_assert(kLifeFigureCount <= IndividualFigures::kCounts);

struct CohortFigures {
  double timeUnit = 1.0;
  int ageRows = 0;
  bool withEggs = false;                       // the fecundity figures exist
  std::vector<IndividualFigures> individuals;  // i = 1 .. N
};

// The figures of every individual of the cohort; with `lifeTable`, the fecundity figures too.
CohortFigures buildCohortFigures(const Study& study, const CohortContributions& cohort,
                                 const FecundityLifeTable* lifeTable);

// The figures of a cohort made of `draws` (each individual counted as often as drawn), into
// `values`; `valid` says which exist (a longevity of females needs a female drawn, a period a
// laying female, the fecundity figures the eggs). GRR comes from `netMaternity`, the cohort's
// l(x)m(x) for `sampleSize` individuals, which a replicate has already worked out for its own
// life table; without it there is no GRR. `alive` is a table the caller keeps, so that a
// replicate allocates nothing.
struct LifeFigureValues {
  std::array<double, kLifeFigureCount> value{};
  std::array<bool, kLifeFigureCount> valid{};
};
void lifeFiguresOf(const CohortFigures& cohort, const ReplicateDraws& draws,
                   std::span<const double> netMaternity, int sampleSize, std::vector<double>& alive,
                   LifeFigureValues& values);

}  // namespace pellmar
