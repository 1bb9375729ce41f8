#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/age_stage_table.h"
#include "core/data/fecundity_file.h"
#include "core/data/study.h"
#include "core/numeric/population_growth.h"
#include "core/numeric/statistic.h"

namespace pellmar {

// One female's oviposition, in age indices (time units from birth).
struct FemaleOviposition {
  int individual = 0;
  int lifespan = 0;       // L(i): the sum of her durations, one past her last age index
  int firstAdultAge = 0;  // her first adult age index
  double eggs = 0.0;      // all the eggs she laid
  bool laid = false;
  int firstOviposition = 0;  // first and last age index with eggs; 0 and 0 when she laid none
  int lastOviposition = 0;
  int ovipositionUnits = 0;  // time units with eggs
};

// The columns of the female period statistics, in days.
enum FemalePeriod : int {
  kAPOP,                   // adult preoviposition period: first oviposition - first adult age
  kTPOP,                   // total preoviposition period: first oviposition, from birth
  kOvipositionDays,        // time units with eggs
  kOvipositionPeriod,      // last - first oviposition + 1
  kPostOvipositionPeriod,  // L(i) - last oviposition - 1
  kFemalePeriodCount,
};

// The two-sex life table with fecundity of a cohort. Age arrays are indexed by age index x =
// 0 .. maxAgeIndex; rates are per day and times in days.
struct FecundityLifeTable {
  double timeUnit = 1.0;
  int maxAgeIndex = 0;
  int individualCount = 0;  // N
  int femaleCount = 0;      // females of the study

  std::vector<double> l;   // l(x), the age-specific survival rate of the Basic Run
  std::vector<double> f;   // f(x, female adult): mean eggs per female alive in that column
  std::vector<double> m;   // m(x) = (sum over j of s(x, j) f(x, j)) / l(x); 0 where l(x) = 0
  std::vector<double> lm;  // l(x)m(x): the eggs laid at age x per individual of the cohort

  double R0 = 0.0;   // net reproductive rate, the sum of l(x)m(x)
  double F = 0.0;    // fecundity, the mean eggs of all females
  double GRR = 0.0;  // gross reproductive rate, the sum of m(x)
  // r, lambda and T; none when no female laid eggs.
  std::optional<GrowthRates> growth;

  std::vector<FemaleOviposition> females;  // every female, by serial number
  // Count, mean, SD and SE of each period over the females that laid eggs, in days.
  std::array<Statistic, kFemalePeriodCount> periods{};

  // The cohort's stable age-stage distribution a(x, j) at its own lambda, x = 0 .. maxAgeIndex,
  // j = 1 .. m + 1; empty when there is no lambda.
  AgeStageMatrix stableDistribution;
};

// Computes the life table from the study read in full, its Basic Run results and the eggs of its
// females. l(x)m(x), R0, r, lambda, T and a(x, j) come from the same code as a bootstrap
// replicate's: the cohort is taken as a replicate of every individual drawn once.
FecundityLifeTable computeFecundityLifeTable(const Study& study, const BasicRunResults& basic,
                                             const FecundityData& fecundity);

}  // namespace pellmar
