#include "core/analysis/age_stage_walk.h"

#include <vector>

namespace pellmar {
namespace {

// Counts off one day of a stage: a positive count goes down; otherwise it goes up, and reaching
// 0 that way means the individual dies. Returns true when it died.
bool countOffFirstDay(double& daysLeft) {
  if (daysLeft > 0) {
    daysLeft -= 1;
    return false;
  }
  daysLeft += 1;
  return daysLeft == 0;
}

}  // namespace

void buildAgeStageMatrices(Session& session) {
  const StudyData& study = session.study;
  BasicRunResults& r = session.basic;
  const int n = study.individualCount;
  const int m = study.stageCount;
  const int dead = m + 1;
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

  // daysLeft(i, j) starts as the stage duration and is counted down (or, in the stage of death,
  // up) as the individual lives; currentStage(i) is m + 1 once it is dead.
  std::vector<std::vector<double>> daysLeft(static_cast<std::size_t>(n) + 1);
  std::vector<int> currentStage(static_cast<std::size_t>(n) + 1, 1);
  for (int i = 1; i <= n; ++i) {
    daysLeft[static_cast<std::size_t>(i)] = study.individual(i).stageDuration;
  }
  const auto left = [&](int i, int j) -> double& {
    return daysLeft[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
  };

  for (int i = 1; i <= n; ++i) {
    double& d = left(i, 1);
    if (d > 0) {
      d -= 1;
    } else {
      d += 1;
      if (d >= 0) currentStage[static_cast<std::size_t>(i)] = dead;
    }
  }

  const auto stay = [&](int i, int j, int x) {
    r.N(x, j) += 1;
    r.G(x - 1, j) += 1.0 / r.N(x - 1, j);
    double& d = left(i, j);
    if (d < 0) {
      d += 1;
      if (d == 0) currentStage[static_cast<std::size_t>(i)] = dead;
    } else if (d > 0) {
      d -= 1;
    }
  };

  for (int x = 1; x <= last; ++x) {
    for (int i = 1; i <= n; ++i) {
      int& stage = currentStage[static_cast<std::size_t>(i)];
      if (stage > m) continue;
      const int j = stage;
      if (j < m - 1) {
        if (left(i, j) == 0) {
          stage = j + 1;
          r.D(x - 1, j) += 1.0 / r.N(x - 1, j);
          r.N(x, j + 1) += 1;
          if (countOffFirstDay(left(i, j + 1))) stage = dead;
        } else {
          stay(i, j, x);
        }
      } else if (j == m) {
        if (left(i, m) == 0) {
          stage = dead;
        } else {
          const int column = study.individual(i).sex == "F" ? m : m + 1;
          r.N(x, column) += 1;
          r.G(x - 1, column) += 1.0 / r.N(x - 1, column);
          left(i, m) -= 1;
          if (left(i, m) == 0) stage = dead;
        }
      } else if (left(i, j) == 0) {
        // The last pre-adult stage ends: the individual becomes a female or a male adult.
        stage = m;
        if (study.individual(i).sex == "F") {
          r.D(x - 1, m - 1) += 1.0 / r.N(x - 1, m - 1);
          r.N(x, m) += 1;
        } else {
          r.D(x - 1, m) += 1.0 / r.N(x - 1, m - 1);
          r.N(x, m + 1) += 1;
        }
        if (countOffFirstDay(left(i, m))) stage = dead;
      } else {
        stay(i, j, x);
      }
    }
  }

  for (int j = 1; j <= m + 1; ++j) {
    r.stageAgeRange[static_cast<std::size_t>(j)] = {0, -1, -1};
  }
  for (int x = 0; x <= last; ++x) {
    for (int j = 1; j <= m + 1; ++j) {
      if (r.N(x, j) == 0) continue;
      r.C(x, j) = study.T.at(x, j) / r.N(x, j);
      r.S(x, j) = static_cast<double>(r.N(x, j)) / n;
      r.s[static_cast<std::size_t>(j)] += r.S(x, j);
      auto& range = r.stageAgeRange[static_cast<std::size_t>(j)];
      if (range[1] < 0) range[1] = x;
      range[2] = x;
    }
  }
  for (int j = 1; j <= m + 1; ++j) {
    auto& range = r.stageAgeRange[static_cast<std::size_t>(j)];
    if (range[1] < 0) range[1] = 0;
  }
}

}  // namespace pellmar
