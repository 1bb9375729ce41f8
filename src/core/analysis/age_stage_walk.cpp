#include "core/analysis/age_stage_walk.h"

#include "core/data/table_index.h"

namespace pellmar {

std::vector<StageRun> walkThroughStages(const IndividualRecord& record, int m, int lastAge) {
  std::vector<double> left = record.stageDuration;
  const int dead = m + 1;
  std::vector<StageRun> runs;
  StageRun run{1, 0, 0, 0};
  int stage = 1;
  // Counts off one day of a stage: a positive count goes down; otherwise it goes up, and reaching
  // 0 that way means the individual dies. True when it died.
  const auto countOffDay = [](double& days) {
    if (days > 0) {
      days -= 1;
      return false;
    }
    days += 1;
    return days == 0;
  };
  if (left[1] > 0) {
    left[1] -= 1;
  } else {
    left[1] += 1;
    if (left[1] >= 0) stage = dead;
  }
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
        if (countOffDay(left[at(j + 1)])) stage = dead;
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
      // The last pre-adult stage ends: the individual becomes a female or a male adult. Both
      // steps leave column m - 1; the male's is counted in column m of D.
      stage = m;
      const bool female = record.sex == "F";
      develop(female ? m - 1 : m, female ? m : m + 1, x);
      if (countOffDay(left[at(m)])) stage = dead;
    } else {
      stay(j, x);
    }
  }
  runs.push_back(run);
  return runs;
}

void buildAgeStageMatrices(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int n = study.individualCount;
  const int m = study.stageCount;
  const int last = r.maxAgeIndex;

  for (int x = 0; x <= last; ++x) {
    for (int j = 1; j <= m + 1; ++j) {
      r.G(x, j) = 0;
      r.D(x, j) = 0;
      r.N(x, j) = 0;
      r.S(x, j) = 0;
      r.C(x, j) = 0;
    }
  }
  r.N(0, 1) = n;

  std::vector<std::vector<StageRun>> walks(at(n) + 1);
  for (int i = 1; i <= n; ++i) walks[at(i)] = walkThroughStages(study.individual(i), m, last);
  // Age by age, individual by individual: G and D add up 1 / N(x - 1, j) in that order.
  std::vector<std::size_t> current(at(n) + 1, 0);
  for (int x = 1; x <= last; ++x) {
    for (int i = 1; i <= n; ++i) {
      const std::vector<StageRun>& runs = walks[at(i)];
      std::size_t& k = current[at(i)];
      while (k < runs.size() && runs[k].last < x) ++k;
      if (k == runs.size()) continue;
      const StageRun& run = runs[k];
      r.N(x, run.column) += 1;
      if (run.first == x) {
        const StageRun& from = runs[k - 1];
        r.D(x - 1, from.exitColumn) += 1.0 / r.N(x - 1, from.column);
      } else {
        r.G(x - 1, run.column) += 1.0 / r.N(x - 1, run.column);
      }
    }
  }

  for (int j = 1; j <= m + 1; ++j) r.stageAgeRange[at(j)] = {0, -1, -1};
  for (int x = 0; x <= last; ++x) {
    for (int j = 1; j <= m + 1; ++j) {
      if (r.N(x, j) == 0) continue;
      r.C(x, j) = study.T.at(x, j) / r.N(x, j);
      r.S(x, j) = static_cast<double>(r.N(x, j)) / n;
      r.s[at(j)] += r.S(x, j);
      auto& range = r.stageAgeRange[at(j)];
      if (range[1] < 0) range[1] = x;
      range[2] = x;
    }
  }
  for (int j = 1; j <= m + 1; ++j) {
    auto& range = r.stageAgeRange[at(j)];
    if (range[1] < 0) range[1] = 0;
  }
}

}  // namespace pellmar
