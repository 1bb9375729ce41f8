#include "core/predation/life_figures.h"

#include <algorithm>
#include <array>

#include "core/data/table_index.h"

namespace pellmar {

LifeFigureName lifeFigureName(int figure) {
  static constexpr std::array<LifeFigureName, kLifeFigureCount> kNames = {{
      {"longevity", "F"},
      {"longevity", "M"},
      {"longevity", "all"},
      {"adult_longevity", "F"},
      {"adult_longevity", "M"},
      {"preadult_duration", "F"},
      {"preadult_duration", "M"},
      {"preadult_duration", "all"},
      {"F", "F"},
      {"GRR", "all"},
      {"APOP", "F"},
      {"TPOP", "F"},
      {"oviposition_days", "F"},
      {"oviposition_period", "F"},
      {"post_oviposition_period", "F"},
  }};
  return kNames[at(figure)];
}

namespace {

void setFigure(IndividualFigures& f, int figure, double value) {
  f.row[at(figure)] = value;
  f.row[IndividualFigures::kCounts + at(figure)] = 1.0;
}

}  // namespace

CohortFigures buildCohortFigures(const Study& study, const CohortContributions& cohort,
                                 const FecundityLifeTable* lifeTable) {
  CohortFigures figures;
  figures.timeUnit = study.timeUnit;
  figures.ageRows = cohort.ageRows;
  figures.withEggs = lifeTable != nullptr;
  figures.individuals.resize(at(study.individualCount) + 1);
  const int m = study.stageCount;
  const double t = study.timeUnit;
  for (int i = 1; i <= study.individualCount; ++i) {
    IndividualFigures& f = figures.individuals[at(i)];
    int adultAges = 0;
    bool adult = false;
    for (const StageRun& run : cohort.individuals[at(i)].runs) {
      const int ages = run.last - run.first + 1;
      f.agesAlive += ages;
      if (run.column >= m) {
        adultAges += ages;
        adult = true;
      }
    }
    const std::string& sex = study.individual(i).sex;
    const bool isFemale = sex == "F";
    const bool isMale = sex == "M";
    const double longevity = f.agesAlive * t;
    const double preadult = (f.agesAlive - adultAges) * t;
    setFigure(f, kLongevityAll, longevity);
    if (adult) setFigure(f, kPreadultDurationAll, preadult);
    if (isFemale || isMale) {
      setFigure(f, isFemale ? kLongevityF : kLongevityM, longevity);
      if (adult) {
        setFigure(f, isFemale ? kAdultLongevityF : kAdultLongevityM, adultAges * t);
        setFigure(f, isFemale ? kPreadultDurationF : kPreadultDurationM, preadult);
      }
    }
  }
  if (lifeTable == nullptr) return figures;
  for (const FemaleOviposition& o : lifeTable->females) {
    IndividualFigures& f = figures.individuals[at(o.individual)];
    setFigure(f, kFecundityF, o.eggs);
    if (!o.laid) continue;
    const auto period = [&](FemalePeriod p, double days) {
      setFigure(f, kFirstPeriodFigure + static_cast<int>(p), days * t);
    };
    period(kAPOP, o.firstOviposition - o.firstAdultAge);
    period(kTPOP, o.firstOviposition);
    period(kOvipositionDays, o.ovipositionUnits);
    period(kOvipositionPeriod, o.lastOviposition - o.firstOviposition + 1);
    period(kPostOvipositionPeriod, o.lifespan - o.lastOviposition - 1);
  }
  return figures;
}

void lifeFiguresOf(const CohortFigures& cohort, const ReplicateDraws& draws,
                   std::span<const double> netMaternity, int sampleSize, std::vector<double>& alive,
                   LifeFigureValues& values) {
  // Every drawn individual adds its row, as often as it was drawn; the sums gather in local
  // tables, so the loop vectorises.
  std::array<double, 2 * IndividualFigures::kCounts> sums{};
  const auto ages = at(cohort.ageRows);
  const bool grr = cohort.withEggs && !netMaternity.empty();
  alive.assign(grr ? ages + 1 : 0, 0.0);
  for (const auto& [i, times] : draws) {
    const IndividualFigures& f = cohort.individuals[at(i)];
    const auto drawn = static_cast<double>(times);
    for (std::size_t k = 0; k < sums.size(); ++k) sums[k] += drawn * f.row[k];
    if (!grr) continue;
    // Alive at ages 0 .. agesAlive - 1: a step up at 0 and down after the last.
    alive[0] += drawn;
    alive[std::min(at(f.agesAlive), ages)] -= drawn;
  }
  const int figures = cohort.withEggs ? kLifeFigureCount : kFirstFecundityFigure;
  for (int figure = 0; figure < kLifeFigureCount; ++figure) {
    const auto k = at(figure);
    const double count = sums[IndividualFigures::kCounts + k];
    values.valid[k] = figure < figures && count > 0;
    values.value[k] = values.valid[k] ? sums[k] / count : 0.0;
  }
  values.valid[kGrossReproductiveRate] = false;
  if (!grr) return;
  // GRR: the eggs laid at each age over the individuals alive at that age, summed over the ages.
  double sum = 0.0;
  double living = 0.0;
  for (std::size_t x = 0; x < std::min(ages, netMaternity.size()); ++x) {
    living += alive[x];
    if (living > 0) sum += netMaternity[x] * sampleSize / living;
  }
  values.value[kGrossReproductiveRate] = sum;
  values.valid[kGrossReproductiveRate] = true;
}

}  // namespace pellmar
