#include "core/predation/fecundity_life_table.h"

#include <algorithm>

#include "core/analysis/cohort_contributions.h"
#include "core/analysis/drawn_cohort_analyser.h"
#include "core/data/table_index.h"
#include "core/numeric/egg_contributions.h"

namespace pellmar {
namespace {

FemaleOviposition ovipositionOf(const FemaleEggs& female, const IndividualRecord& record,
                                int stageCount) {
  FemaleOviposition o;
  o.individual = female.individual;
  o.firstAdultAge = female.firstAdultAge;
  double lifespan = 0.0;
  for (int j = 1; j <= stageCount; ++j) lifespan += record.stageDuration[at(j)];
  o.lifespan = static_cast<int>(lifespan);
  for (std::size_t k = 0; k < female.eggs.size(); ++k) {
    const double eggs = female.eggs[k];
    o.eggs += eggs;
    if (!(eggs > 0)) continue;
    const int x = female.firstAdultAge + static_cast<int>(k);
    if (!o.laid) o.firstOviposition = x;
    o.lastOviposition = x;
    o.laid = true;
    ++o.ovipositionUnits;
  }
  return o;
}

void gatherPeriods(FecundityLifeTable& table) {
  std::array<StatisticSums, kFemalePeriodCount> sums;
  const double t = table.timeUnit;
  for (const FemaleOviposition& o : table.females) {
    if (!o.laid) continue;
    sums[kAPOP].add((o.firstOviposition - o.firstAdultAge) * t);
    sums[kTPOP].add(o.firstOviposition * t);
    sums[kOvipositionDays].add(o.ovipositionUnits * t);
    sums[kOvipositionPeriod].add((o.lastOviposition - o.firstOviposition + 1) * t);
    sums[kPostOvipositionPeriod].add((o.lifespan - o.lastOviposition - 1) * t);
  }
  for (std::size_t c = 0; c < sums.size(); ++c) sums[c].storeInto(table.periods[c]);
}

}  // namespace

FecundityLifeTable computeFecundityLifeTable(const Study& study, const BasicRunResults& basic,
                                             const FecundityData& fecundity) {
  FecundityLifeTable table;
  const int n = study.individualCount;
  const int femaleColumn = study.stageCount;
  const int last = basic.maxAgeIndex;
  const auto ages = at(std::max(last + 1, 0));
  table.timeUnit = study.timeUnit;
  table.maxAgeIndex = last;
  table.individualCount = n;

  // The cohort as a replicate in which every individual is drawn once.
  ReplicateDraws everyone;
  for (int i = 1; i <= n; ++i) everyone.emplace_back(i, 1);
  const EggContributions contributions = buildEggContributions(study, fecundity);
  std::vector<double> laid(ages);
  netMaternityOf(contributions, everyone, 1, laid);
  table.lm.assign(ages, 0.0);
  netMaternityOf(contributions, everyone, n, table.lm);

  table.l.assign(ages, 0.0);
  table.f.assign(ages, 0.0);
  table.m.assign(ages, 0.0);
  for (int x = 0; x <= last; ++x) {
    const auto xi = at(x);
    table.l[xi] = basic.l[xi];
    const int alive = basic.N.at(x, femaleColumn);
    if (alive != 0) table.f[xi] = laid[xi] / alive;
    if (table.l[xi] > 0) table.m[xi] = basic.S.at(x, femaleColumn) * table.f[xi] / table.l[xi];
    table.GRR += table.m[xi];
  }

  const PopulationGrowth growth = populationGrowth(table.lm, study.timeUnit);
  table.R0 = growth.R0;
  table.growth = growth.rates;

  double allEggs = 0.0;
  for (const FemaleEggs& female : fecundity.females) {
    table.females.push_back(
        ovipositionOf(female, study.individual(female.individual), study.stageCount));
    allEggs += table.females.back().eggs;
  }
  table.femaleCount = static_cast<int>(table.females.size());
  if (table.femaleCount > 0) table.F = allEggs / table.femaleCount;
  gatherPeriods(table);

  if (table.growth) {
    const CohortContributions cohort = buildCohortContributions(study);
    DrawnCohortAnalyser analyser(cohort);
    analyser.stableDistributionOf(everyone, n, table.growth->lambda, table.stableDistribution);
  }
  return table;
}

}  // namespace pellmar
