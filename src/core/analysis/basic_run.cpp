#include "core/analysis/basic_run.h"

#include <algorithm>

#include "core/analysis/age_curves.h"
#include "core/analysis/age_stage_walk.h"
#include "core/analysis/basic_statistics_table.h"
#include "core/analysis/figure_files.h"
#include "core/analysis/individual_daily_consumption_table.h"
#include "core/analysis/individual_stage_consumption_table.h"
#include "core/analysis/individual_stage_duration_table.h"
#include "core/analysis/individual_values.h"
#include "core/analysis/stage_statistics.h"

namespace pellmar {

int ageRowsFor(const StudyData& study) {
  int rows = study.T.rows();
  for (int i = 1; i <= study.individualCount; ++i) {
    rows = std::max(rows, static_cast<int>(study.individual(i).dailyConsumption.size()));
  }
  return rows + 1;
}

void prepareBasicRunResults(Session& session) {
  const StudyData& study = session.study;
  BasicRunResults& r = session.basic;
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

bool computeBasicRunResults(Session& session) {
  prepareBasicRunResults(session);
  computeStageStatistics(session);
  const bool sexCountsAddUp = computeSpanAndConsumptionStatistics(session);
  computeIndividualValues(session);
  buildAgeStageMatrices(session);
  computeAgeCurves(session);
  computeStageDailyMeanConsumption(session);
  computeWeightingCoefficients(session);
  return sexCountsAddUp;
}

void writeBasicRunOutput(Session& session) {
  ReportPages report = session.basicReportPages();
  OutputFiles files = session.outputFiles();
  const Session& results = session;
  writeIndividualStageDurationTable(results, report);
  writeIndividualStageConsumptionTable(results, report);
  writeIndividualDailyConsumptionTable(results, report);
  writeAgeStageTables(results, report);
  writeBasicStatisticsTable(results, report);
  writeFigureFiles(results, files);
}

bool runBasicRunSteps(Session& session) {
  const bool sexCountsAddUp = computeBasicRunResults(session);
  writeBasicRunOutput(session);
  return sexCountsAddUp;
}

}  // namespace pellmar
