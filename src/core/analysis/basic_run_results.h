#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/data/age_stage_table.h"
#include "core/numeric/statistic.h"

namespace pellmar {

// Everything the Basic Run computes and leaves for the report, the charts, the result screens
// and the later commands. Stage arrays are indexed by stage column j = 1 .. m + 1 (column m
// adult females, m + 1 adult males), sex arrays by stage-name line k = 1 .. sexCount,
// individual arrays by i = 1 .. n and age arrays by age index x = 0 .. maxAgeIndex; index 0
// of the 1-based arrays is unused.
struct BasicRunResults {
  // False when the individuals counted by sex do not add up to n: the analysis went wrong.
  bool sexCountsAddUp = true;

  // Age-stage matrices.
  int maxAgeIndex = 0;
  int basicMaxAgeIndex = 0;
  AgeStageCountMatrix N;
  AgeStageMatrix S;
  AgeStageMatrix G;
  AgeStageMatrix D;
  AgeStageMatrix C;
  // First and last age index at which column j is occupied ([j][1], [j][2]); 0 and -1 for a
  // column nobody occupies.
  std::vector<std::array<int, 3>> stageAgeRange;
  std::vector<double> s;  // sum over x of S(x, j)

  // Age-specific curves and C0.
  std::vector<double> l;
  std::vector<double> q;
  std::vector<double> k;
  std::vector<double> cumulativeQ;
  // The net consumption rate C0, summed in the two orders the output files print, which may
  // differ in the last bits: C0ByAge adds q(x) age by age (each q(x) a sum over the stage
  // columns); C0ByCell adds B(x, j) = C(x, j) S(x, j) cell by cell, age by age and column by
  // column. The age-specific table and the jackknife use the first, the sum of matrix B, the
  // bootstrap files and the normal density curves the second.
  double C0ByAge = 0.0;
  double C0ByCell = 0.0;
  std::vector<double> z;  // stage net consumption rate, sum over x of B(x, j)
  std::vector<double> stageTotalConsumption;
  std::vector<double> ageTotalConsumption;
  double cohortConsumption = 0.0;

  // Stage statistics (durations in days).
  std::vector<Statistic> stageDuration;
  std::vector<Statistic> cumDuration;
  std::vector<std::vector<Statistic>> stageDurationBySex;  // [k][j]
  std::vector<std::vector<Statistic>> cumDurationBySex;    // [k][j]
  std::vector<double> preadultDuration;                    // [i]
  std::vector<Statistic> stageConsumption;                 // with max and min
  std::vector<std::vector<Statistic>> stageConsumptionBySex;
  int spanFirstStage = 0;
  int spanLastStage = 0;
  Statistic span;
  std::vector<Statistic> spanBySex;              // [k]
  std::vector<Statistic> totalConsumptionBySex;  // [k]
  double cohortConsumptionMean = 0.0;
  double cohortConsumptionSD = 0.0;
  double cohortConsumptionSE = 0.0;
  std::vector<double> stageDailyMeanConsumption;  // [j], j = 1 .. m + 1
  // Pre-adult consumption over all individuals and by sex code ("F", "M", "N").
  Statistic preadultConsumption;
  std::array<Statistic, 3> preadultConsumptionBySex;  // F, M, N

  // Daily mean consumption rates and weighting coefficients: from the stage means and from z(j)
  // and s(j), each table with its largest rate (the weighting coefficients' base), the stage
  // that has it, and the check sum over x and j of rate(j) x S(x, j).
  std::vector<double> meansDailyMean;
  double meansMaxDailyMean = 0.0;
  std::string meansMaxDailyMeanStage;
  double meansCheckSum = 0.0;
  std::vector<double> zsDailyMean;
  double zsMaxDailyMean = 0.0;
  std::string zsMaxDailyMeanStage;
  double zsCheckSum = 0.0;

  // Per-individual values of the individual tables.
  std::vector<double> longevity;   // [i], days
  std::vector<int> longevityDays;  // [i], time units
  double maxLongevity = 0.0;
  double minLongevity = 0.0;
  double maxFemaleLongevity = 0.0;
  double maxMaleLongevity = 0.0;
  double meanLongevity = 0.0;
  double sdLongevity = 0.0;
  double seLongevity = 0.0;
  std::vector<double> totalConsumption;  // [i]
  double maxTotalConsumption = 0.0;
  double maxFemaleTotalConsumption = 0.0;
  double maxMaleTotalConsumption = 0.0;
  double maxDailyConsumption = 0.0;
  int effectiveCountNc = 0;
  double meanRateCbar = 0.0;
  std::vector<int> dailyCount;  // [x]
  std::vector<double> dailyMean;
  std::vector<double> dailySD;
  std::vector<double> dailySE;
  std::vector<double> maxStageDuration;  // [j]
  std::vector<double> minStageDuration;  // [j]
};

}  // namespace pellmar
