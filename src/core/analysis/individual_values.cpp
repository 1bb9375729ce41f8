#include "core/analysis/individual_values.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <string>

#include "core/data/table_index.h"
#include "core/numeric/statistic.h"

namespace pellmar {
namespace {

// The end marker the full read stores after an individual's last daily value.
constexpr double kEndMarker = -1.0;

// Longevity: every stage duration counts by its absolute value, up to and including the first
// negative one (the stage in which the individual died).
void computeLongevity(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  StatisticSums sums;
  r.maxFemaleLongevity = 0.0;
  r.maxMaleLongevity = 0.0;
  for (int i = 1; i <= study.individualCount; ++i) {
    const IndividualRecord& record = study.individual(i);
    double timeUnits = 0.0;
    for (int j = 1; j <= study.stageCount; ++j) {
      const double duration = record.stageDuration[at(j)];
      timeUnits += std::fabs(duration);
      if (duration < 0) break;
    }
    const double days = study.timeUnit * timeUnits;
    r.longevityDays[at(i)] = static_cast<int>(std::lround(timeUnits));
    r.longevity[at(i)] = days;
    sums.add(days);
    if (record.sex == "F" && days > r.maxFemaleLongevity) r.maxFemaleLongevity = days;
    if (record.sex == "M" && days > r.maxMaleLongevity) r.maxMaleLongevity = days;
  }
  Statistic longevity;
  sums.storeInto(longevity);
  r.maxLongevity = longevity.max;
  r.minLongevity = longevity.min;
  r.meanLongevity = longevity.mean;
  r.sdLongevity = longevity.sd;
  r.seLongevity = longevity.se;
}

// Each individual's consumption summed over its life, the largest daily value, and the
// effective consumers (those that consumed anything) with their mean total.
void computeTotalConsumption(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  r.maxDailyConsumption = 0.0;
  r.effectiveCountNc = 0;
  double effectiveSum = 0.0;
  for (int i = 1; i <= study.individualCount; ++i) {
    const IndividualRecord& record = study.individual(i);
    double total = 0.0;
    for (int x = 0; x <= r.longevityDays[at(i)]; ++x) {
      const double value = record.consumptionAt(x);
      if (value == kEndMarker) break;
      total += value;
      if (value > r.maxDailyConsumption) r.maxDailyConsumption = value;
    }
    r.totalConsumption[at(i)] = total;
    if (i == 1 || total > r.maxTotalConsumption) r.maxTotalConsumption = total;
    if (total > 0) {
      ++r.effectiveCountNc;
      effectiveSum += total;
    }
  }
  r.meanRateCbar = r.effectiveCountNc > 0 ? effectiveSum / r.effectiveCountNc : 0.0;
}

// Statistics of the daily consumption at each age over the individuals still alive there.
void computeDailyStatistics(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int ages = static_cast<int>(r.dailyCount.size());
  for (int x = 0; x < ages; ++x) {
    StatisticSums sums;
    for (int i = 1; i <= study.individualCount; ++i) {
      if (r.longevity[at(i)] - 1.0 >= x * study.timeUnit) {
        sums.add(study.individual(i).consumptionAt(x));
      }
    }
    Statistic daily{0, r.dailyMean[at(x)], r.dailySD[at(x)], r.dailySE[at(x)], 0.0, 0.0};
    sums.storeInto(daily);
    r.dailyCount[at(x)] = daily.count;
    r.dailyMean[at(x)] = daily.mean;
    r.dailySD[at(x)] = daily.sd;
    r.dailySE[at(x)] = daily.se;
  }
}

// Largest and smallest duration of each stage among the individuals that completed it; the
// durations of individuals that died in the stage do not count.
void computeStageDurationRange(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  for (int j = 1; j <= study.stageCount; ++j) {
    bool found = false;
    for (int i = 1; i <= study.individualCount; ++i) {
      const double duration = study.individual(i).stageDuration[at(j)];
      if (duration <= 0) continue;
      const double days = study.timeUnit * duration;
      if (!found || days > r.maxStageDuration[at(j)]) r.maxStageDuration[at(j)] = days;
      if (!found || days < r.minStageDuration[at(j)]) r.minStageDuration[at(j)] = days;
      found = true;
    }
  }
}

// Index of a sex code in the per-sex pre-adult statistics, -1 for any other code.
int sexSlot(const std::string& sex) {
  if (sex == "F") return 0;
  if (sex == "M") return 1;
  if (sex == "N") return 2;
  return -1;
}

// The pre-adult consumption over all individuals and by sex code, and the largest lifelong
// consumption of each sex.
void computePreadultConsumption(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  StatisticSums preadult;
  std::array<StatisticSums, 3> preadultBySex;
  r.maxFemaleTotalConsumption = 0.0;
  r.maxMaleTotalConsumption = 0.0;
  for (int i = 1; i <= study.individualCount; ++i) {
    const IndividualRecord& record = study.individual(i);
    const double value = preadultConsumptionOf(record, study.stageCount);
    preadult.add(value);
    if (const int slot = sexSlot(record.sex); slot >= 0) preadultBySex[at(slot)].add(value);
    const double lifelong = r.totalConsumption[at(i)];
    if (record.sex == "M" && lifelong > r.maxMaleTotalConsumption) {
      r.maxMaleTotalConsumption = lifelong;
    }
    if (record.sex == "F" && lifelong > r.maxFemaleTotalConsumption) {
      r.maxFemaleTotalConsumption = lifelong;
    }
  }
  preadult.storeInto(r.preadultConsumption);
  for (std::size_t slot = 0; slot < preadultBySex.size(); ++slot) {
    preadultBySex[slot].storeInto(r.preadultConsumptionBySex[slot]);
  }
}

}  // namespace

double preadultConsumptionOf(const IndividualRecord& record, int stageCount) {
  double sum = 0.0;
  for (int j = 1; j < stageCount; ++j) sum += record.stageConsumption[at(j)];
  return sum;
}

void computeIndividualValues(const Study& study, BasicRunResults& basic) {
  computeLongevity(study, basic);
  computeTotalConsumption(study, basic);
  computeDailyStatistics(study, basic);
  computeStageDurationRange(study, basic);
  computePreadultConsumption(study, basic);
}

Statistic totalConsumptionStatistic(const Study& study, const BasicRunResults& basic) {
  StatisticSums sums;
  for (int i = 1; i <= study.individualCount; ++i) {
    sums.add(basic.totalConsumption[at(i)]);
  }
  Statistic total;
  sums.storeInto(total);
  return total;
}

void writeEffectiveConsumerLines(ReportWriter& out, const BasicRunResults& results) {
  out.tab(5)
      .text("The effective consumer (predator) (Nc or Np) =")
      .number(results.effectiveCountNc)
      .endLine();
  out.tab(5)
      .text("The mean consumption (predation) rate (Cbar or Pbar) of effective consumer")
      .text(" (predator) =")
      .rounded(results.meanRateCbar, 2)
      .endLine();
}

}  // namespace pellmar
