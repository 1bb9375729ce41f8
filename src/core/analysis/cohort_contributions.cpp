#include "core/analysis/cohort_contributions.h"

#include <cmath>

#include "core/analysis/basic_run.h"
#include "core/data/table_index.h"

namespace pellmar {

CohortContributions buildCohortContributions(const Study& study) {
  CohortContributions cohort;
  const int m = study.stageCount;
  cohort.individualCount = study.individualCount;
  cohort.stageCount = m;
  cohort.sexCount = study.sexCount;
  cohort.timeUnit = study.timeUnit;
  cohort.ageRows = ageRowsFor(study);
  const int lastAge = cohort.ageRows - 2;

  cohort.individuals.resize(at(study.individualCount) + 1);
  for (int i = 1; i <= study.individualCount; ++i) {
    const IndividualRecord& record = study.individual(i);
    IndividualContribution& c = cohort.individuals[at(i)];
    c.runs = walkThroughStages(record, m, lastAge);

    c.cellsThroughAge.assign(at(cohort.ageRows), 0);
    for (std::size_t x = 0; x < record.dailyConsumption.size(); ++x) {
      const int column = x < record.dailyColumn.size() ? record.dailyColumn[x] : 0;
      const double value = record.dailyConsumption[x];
      if (column != 0 && value != 0) {
        c.cellPosition.push_back(static_cast<int>(x) * (m + 2) + column);
        c.cellValue.push_back(value);
      }
      c.cellsThroughAge[x] = static_cast<int>(c.cellValue.size());
    }
    for (std::size_t x = record.dailyConsumption.size(); x < c.cellsThroughAge.size(); ++x) {
      c.cellsThroughAge[x] = static_cast<int>(c.cellValue.size());
    }

    c.stageSums.assign(at(kFirstSexKind * (m + 1)), 0.0);
    c.sexStageSums.assign(at(2 * (m + 1)), 0.0);
    for (int k = 1; k <= study.sexCount; ++k) {
      if (record.sex == study.sexCode[at(k)]) c.sexLines |= 1U << static_cast<unsigned>(k);
    }
    const auto sum = [&](int kind, int j) -> double& {
      return c.stageSums[at(stageSumIndex(kind, j, m))];
    };
    double through = 0.0;
    bool passedAll = true;
    for (int j = 1; j <= m; ++j) {
      const double duration = record.stageDuration[at(j)];
      const bool passed = duration > 0;
      passedAll = passedAll && passed;
      through += duration;
      if (passed) {
        sum(kDurationSum, j) = study.timeUnit * duration;
        sum(kDurationCount, j) = 1;
        sum(kConsumptionSum, j) = record.stageConsumption[at(j)];
        c.sexStageSums[at(stageSumIndex(0, j, m))] = record.stageConsumption[at(j)];
        c.sexStageSums[at(stageSumIndex(1, j, m))] = 1;
      }
      if (passedAll && j >= 2) {
        sum(kCumulativeSum, j) = study.timeUnit * through;
        sum(kCumulativeCount, j) = 1;
      }
    }
    double cumulative = 0.0;
    for (int j = 1; j <= m; ++j) {
      if (record.stageDuration[at(j)] <= 0) break;
      cumulative += record.stageDuration[at(j)];
    }
    c.cumulativeAge = static_cast<int>(std::nearbyint(cumulative));
  }
  return cohort;
}

}  // namespace pellmar
