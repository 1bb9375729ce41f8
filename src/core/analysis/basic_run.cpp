#include "core/analysis/basic_run.h"

#include <algorithm>

#include "core/analysis/age_curves.h"
#include "core/analysis/age_stage_walk.h"
#include "core/analysis/basic_statistics_table.h"
#include "core/analysis/individual_daily_consumption_table.h"
#include "core/analysis/individual_stage_consumption_table.h"
#include "core/analysis/individual_stage_duration_table.h"
#include "core/analysis/individual_values.h"
#include "core/analysis/stage_statistics.h"

namespace pellmar {

int ageRowsFor(const Study& study) {
  int rows = study.T.rows();
  for (int i = 1; i <= study.individualCount; ++i) {
    rows = std::max(rows, static_cast<int>(study.individual(i).dailyConsumption.size()));
  }
  return rows + 1;
}

namespace {

// Sizes every table of the results for the study, all zero: stage arrays for columns 0 .. m + 1,
// sex arrays for lines 0 .. sexCount, individual arrays for 0 .. n and age arrays (and matrices)
// for every age index the study's records reach.
void prepareBasicRunResults(const Study& study, BasicRunResults& r) {
  const auto columns = static_cast<std::size_t>(study.stageCount) + 2;
  const auto sexes = static_cast<std::size_t>(study.sexCount) + 1;
  const auto individuals = static_cast<std::size_t>(study.individualCount) + 1;
  const int rows = ageRowsFor(study);
  const auto ages = static_cast<std::size_t>(rows);

  for (AgeStageMatrix* matrix : {&r.S, &r.G, &r.D, &r.C}) {
    matrix->reset(rows, static_cast<int>(columns));
  }
  r.N.reset(rows, static_cast<int>(columns));
  r.stageAgeRange.assign(columns, {0, 0, -1});
  for (std::vector<double>* v :
       {&r.s, &r.z, &r.stageTotalConsumption, &r.stageDailyMeanConsumption, &r.zsDailyMean,
        &r.meansDailyMean, &r.maxStageDuration, &r.minStageDuration}) {
    v->assign(columns, 0.0);
  }
  for (std::vector<double>* v : {&r.l, &r.q, &r.k, &r.cumulativeQ, &r.ageTotalConsumption,
                                 &r.dailyMean, &r.dailySD, &r.dailySE}) {
    v->assign(ages, 0.0);
  }
  r.dailyCount.assign(ages, 0);
  for (std::vector<double>* v : {&r.preadultDuration, &r.longevity, &r.totalConsumption}) {
    v->assign(individuals, 0.0);
  }
  r.longevityDays.assign(individuals, 0);
  for (std::vector<Statistic>* v : {&r.stageDuration, &r.cumDuration, &r.stageConsumption}) {
    v->assign(columns, Statistic{});
  }
  for (std::vector<std::vector<Statistic>>* v :
       {&r.stageDurationBySex, &r.cumDurationBySex, &r.stageConsumptionBySex}) {
    v->assign(sexes, std::vector<Statistic>(columns));
  }
  r.spanBySex.assign(sexes, Statistic{});
  r.totalConsumptionBySex.assign(sexes, Statistic{});
}

}  // namespace

BasicRunResults basicRun(const Study& study) {
  BasicRunResults basic;
  prepareBasicRunResults(study, basic);
  computeStageStatistics(study, basic);
  basic.sexCountsAddUp = computeSpanAndConsumptionStatistics(study, basic);
  computeIndividualValues(study, basic);
  buildAgeStageMatrices(study, basic);
  computeAgeCurves(study, basic);
  computeStageDailyMeanConsumption(study, basic);
  computeWeightingCoefficients(study, basic);
  return basic;
}

void writeBasicReport(const Study& study, const BasicRunResults& basic, ReportPages& report) {
  writeIndividualStageDurationTable(study, basic, report);
  writeIndividualStageConsumptionTable(study, basic, report);
  writeIndividualDailyConsumptionTable(study, basic, report);
  writeAgeStageTables(study, basic, report);
  writeBasicStatisticsTable(study, basic, report);
}

}  // namespace pellmar
