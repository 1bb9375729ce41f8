#pragma once

#include <string>
#include <vector>

#include "core/data/age_stage_table.h"
#include "core/numeric/statistic.h"

namespace pellmar {

// One female record of the stable age-stage distribution file, with the periods and the
// consumption computed from it. Ages are age indices.
struct FemaleRecord {
  int recordNumber = 0;  // the individual's number i
  std::string sasdSex;
  double endAge = 0.0;
  double inclusionValue = 0.0;
  double tpop = 0.0;  // total preoviposition period: age of the first oviposition
  double lastOvipositionAge = 0.0;
  double postOvipositionPeriod = 0.0;
  double ovipositionPeriod = 0.0;
  double tpopConsumption = 0.0;
  double ovipositionConsumption = 0.0;
  double postOvipositionConsumption = 0.0;
};

// The stable age-stage distribution (read from a SASD file, or the fecundity life table's) and
// the predation rates computed from it.
struct PredationRates {
  double finiteRate = 0.0;  // lambda of the cohort, per day as the file gives it
  // lambda^t: the finite rate of one time unit of t days, the rate the psi and omega of the
  // fixed-layout files go with (per time unit).
  double timeUnitRate = 0.0;
  std::string sasdLayout;
  AgeStageMatrix stableDistribution;  // a(x, j)
  int sasdIndividualCount = 0;
  // The female records by individual number i = 1 .. n (a record's fields stay zero for an
  // individual the file does not list).
  std::vector<FemaleRecord> females;
  double femaleCount = 0.0;
  // Statistics of the six period columns over the females in the period table: TPOP, its
  // consumption, oviposition period, its consumption, postoviposition period, its consumption.
  std::vector<Statistic> periodStatistics;
  // psi (the sum over every age, 0 included, of c(x, j) a(x, j)) and omega = psi x lambda^t,
  // per time unit; the summary gives them per day.
  double stablePredationRate = 0.0;
  double finitePredationRate = 0.0;
  double intrinsicPredationRate = 0.0;  // ln omega
  bool intrinsicRateDefined = false;
};

}  // namespace pellmar
