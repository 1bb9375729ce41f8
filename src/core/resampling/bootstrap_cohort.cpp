#include "core/resampling/bootstrap_cohort.h"

#include <algorithm>
#include <cmath>

namespace pellmar {
namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// Follows one individual through the walk of the age-stage analysis (the same rules, applied to
// the individual alone, since its path does not depend on the others) up to `lastAge`.
std::vector<StageRun> walk(const IndividualRecord& record, int m, int lastAge) {
  std::vector<double> left = record.stageDuration;
  const int dead = m + 1;
  std::vector<StageRun> runs;
  StageRun run{1, 0, 0, 0};
  int stage = 1;
  if (left[1] > 0) {
    left[1] -= 1;
  } else {
    left[1] += 1;
    if (left[1] >= 0) stage = dead;
  }
  // Counts off the first day of a new stage; true when the individual dies on it.
  const auto countOffFirstDay = [](double& days) {
    if (days > 0) {
      days -= 1;
      return false;
    }
    days += 1;
    return days == 0;
  };
  const auto stay = [&](int j, int x) {
    run.last = x;
    double& days = left[at(j)];
    if (days < 0) {
      days += 1;
      if (days == 0) stage = dead;
    } else if (days > 0) {
      days -= 1;
    }
  };
  const auto develop = [&](int exitColumn, int newColumn, int x) {
    run.exitColumn = exitColumn;
    runs.push_back(run);
    run = StageRun{newColumn, x, x, 0};
  };

  for (int x = 1; x <= lastAge && stage <= m; ++x) {
    const int j = stage;
    if (j < m - 1) {
      if (left[at(j)] == 0) {
        stage = j + 1;
        develop(j, j + 1, x);
        if (countOffFirstDay(left[at(j + 1)])) stage = dead;
      } else {
        stay(j, x);
      }
    } else if (j == m) {
      if (left[at(m)] == 0) {
        stage = dead;
      } else {
        run.last = x;
        left[at(m)] -= 1;
        if (left[at(m)] == 0) stage = dead;
      }
    } else if (left[at(j)] == 0) {
      stage = m;
      const bool female = record.sex == "F";
      develop(female ? m - 1 : m, female ? m : m + 1, x);
      if (countOffFirstDay(left[at(m)])) stage = dead;
    } else {
      stay(j, x);
    }
  }
  runs.push_back(run);
  return runs;
}

}  // namespace

BootstrapCohort buildBootstrapCohort(const StudyData& study) {
  BootstrapCohort cohort;
  const int m = study.stageCount;
  cohort.individualCount = study.individualCount;
  cohort.stageCount = m;
  cohort.sexCount = study.sexCount;
  cohort.timeUnit = study.timeUnit;
  int rows = study.T.rows();
  for (int i = 1; i <= study.individualCount; ++i) {
    rows = std::max(rows, static_cast<int>(study.individual(i).dailyConsumption.size()));
  }
  cohort.ageRows = rows + 1;
  const int lastAge = cohort.ageRows - 2;

  cohort.individuals.resize(at(study.individualCount) + 1);
  for (int i = 1; i <= study.individualCount; ++i) {
    const IndividualRecord& record = study.individual(i);
    IndividualContribution& c = cohort.individuals[at(i)];
    c.runs = walk(record, m, lastAge);

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
