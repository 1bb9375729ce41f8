#pragma once

// A plain, literal analysis of one bootstrap replicate, kept as the reference the fast engine
// is tested against: the drawn individuals are copied one by one into the slots of a working
// study, their consumption is added into T for every age, and the ordinary Basic Run runs on it;
// the replicate's stable distribution follows the recursion over G and D step by step.
#include <cmath>
#include <vector>

#include "core/analysis/basic_run.h"

namespace pellmar::reference {

struct ReplicateValues {
  double c0 = 0.0;
  double psi = 0.0;
  double fp = 0.0;
  std::vector<double> stageDuration;
  std::vector<double> cumDuration;
  std::vector<double> stageConsumption;
  std::vector<std::vector<double>> stageConsumptionBySex;
  std::vector<double> stageDailyMean;
  // Whether the replicate gives each stage value: someone drawn entered the stage (of that sex)
  // or occupied the column.
  std::vector<bool> stageValid;
  std::vector<bool> cumValid;
  std::vector<std::vector<bool>> stageBySexValid;
  std::vector<bool> dailyMeanValid;
};

// The drawn individuals copied one by one into a study of their own, their consumption added
// into T for every age.
inline Study drawnStudy(const Study& master, const std::vector<int>& drawn) {
  Study study;
  study.timeUnit = master.timeUnit;
  study.sexCount = master.sexCount;
  study.stageCount = master.stageCount;
  study.sexCode = master.sexCode;
  study.stageName = master.stageName;
  const int n = static_cast<int>(drawn.size());
  const int m = master.stageCount;
  study.individualCount = n;
  study.individuals.resize(drawn.size() + 1);
  study.T.reset(master.T.rows() + 1, m + 2);
  for (int k = 1; k <= n; ++k) {
    const IndividualRecord& source = master.individual(drawn[static_cast<std::size_t>(k - 1)]);
    study.individuals[static_cast<std::size_t>(k)] = source;
    for (std::size_t x = 0; x < source.dailyConsumption.size(); ++x) {
      const int column = source.dailyColumn[x];
      if (column != 0) study.T(static_cast<int>(x), column) += source.dailyConsumption[x];
    }
  }
  return study;
}

inline ReplicateValues analyseReplicate(const Study& master, const std::vector<int>& drawn,
                                        double lambda) {
  const Study study = drawnStudy(master, drawn);
  const int m = master.stageCount;
  const BasicRunResults r = basicRun(study);
  ReplicateValues values;
  values.c0 = r.C0ByAge;
  const auto columns = static_cast<std::size_t>(m) + 2;
  values.stageDuration.assign(columns, 0.0);
  values.cumDuration.assign(columns, 0.0);
  values.stageConsumption.assign(columns, 0.0);
  values.stageConsumptionBySex.assign(static_cast<std::size_t>(master.sexCount) + 1,
                                      std::vector<double>(columns, 0.0));
  values.stageValid.assign(columns, false);
  values.cumValid.assign(columns, false);
  values.stageBySexValid.assign(static_cast<std::size_t>(master.sexCount) + 1,
                                std::vector<bool>(columns, false));
  values.dailyMeanValid.assign(columns, false);
  for (std::size_t j = 1; j < columns; ++j) values.dailyMeanValid[j] = r.s[j] != 0;
  for (int j = 1; j <= m; ++j) {
    const auto jj = static_cast<std::size_t>(j);
    values.stageValid[jj] = r.stageDuration[jj].count != 0;
    values.cumValid[jj] = j >= 2 && r.cumDuration[jj].count != 0;
    if (r.stageDuration[jj].count != 0) values.stageDuration[jj] = r.stageDuration[jj].mean;
    if (r.stageConsumption[jj].count != 0)
      values.stageConsumption[jj] = r.stageConsumption[jj].mean;
    if (j >= 2 && r.cumDuration[jj].count != 0) values.cumDuration[jj] = r.cumDuration[jj].mean;
    for (int k = 1; k <= master.sexCount; ++k) {
      const Statistic& st = r.stageConsumptionBySex[static_cast<std::size_t>(k)][jj];
      values.stageBySexValid[static_cast<std::size_t>(k)][jj] = st.count != 0;
      if (st.count != 0) values.stageConsumptionBySex[static_cast<std::size_t>(k)][jj] = st.mean;
    }
  }
  values.stageDailyMean = r.stageDailyMeanConsumption;

  if (lambda > 0) {
    const int last = r.maxAgeIndex;
    const double growth = std::pow(lambda, study.timeUnit);
    AgeStageMatrix Z(last + 2, m + 2);
    Z(0, 1) = 1;
    for (int x = 1; x <= last; ++x) {
      Z(x, 1) = r.G(x - 1, 1) * Z(x - 1, 1) / growth;
      for (int j = 2; j <= m; ++j) {
        Z(x, j) = (r.G(x - 1, j) * Z(x - 1, j) + r.D(x - 1, j - 1) * Z(x - 1, j - 1)) / growth;
      }
      Z(x, m + 1) =
          (r.G(x - 1, m + 1) * Z(x - 1, m + 1) + r.D(x - 1, m) * Z(x - 1, m - 1)) / growth;
    }
    double total = 0.0;
    for (int x = 0; x <= last; ++x) {
      for (int j = 1; j <= m + 1; ++j) total += Z(x, j);
    }
    for (int x = 0; x <= last; ++x) {
      for (int j = 1; j <= m + 1; ++j) values.psi += r.C(x, j) * (Z(x, j) / total);
    }
    values.fp = values.psi * growth;
  }
  return values;
}

}  // namespace pellmar::reference
