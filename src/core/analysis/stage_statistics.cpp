#include "core/analysis/stage_statistics.h"

#include <cmath>

#include "core/data/stage_label.h"
#include "core/data/table_index.h"

namespace pellmar {
namespace {

double duration(const Study& study, int i, int j) {
  return study.individual(i).stageDuration[static_cast<std::size_t>(j)];
}

// Time units from the start of stage `first` to the end of stage `last`, or a negative value
// when one of those stages has a duration of 0 or less.
double durationThrough(const Study& study, int i, int first, int last) {
  double sum = 0.0;
  for (int j = first; j <= last; ++j) {
    const double d = duration(study, i, j);
    if (d <= 0) return -1.0;
    sum += d;
  }
  return sum;
}

bool hasSex(const Study& study, int i, int k) {
  return study.individual(i).sex == study.sexCode[static_cast<std::size_t>(k)];
}

void gatherDurations(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int n = study.individualCount;
  const int m = study.stageCount;
  const double unit = study.timeUnit;

  for (int j = 1; j <= m; ++j) {
    StatisticSums sums;
    for (int i = 1; i <= n; ++i) {
      if (duration(study, i, j) > 0) sums.add(unit * duration(study, i, j));
    }
    sums.storeInto(r.stageDuration[static_cast<std::size_t>(j)]);
  }
  for (int j = 2; j <= m; ++j) {
    StatisticSums sums;
    for (int i = 1; i <= n; ++i) {
      const double through = durationThrough(study, i, 1, j);
      if (through >= 0) sums.add(unit * through);
    }
    sums.storeInto(r.cumDuration[static_cast<std::size_t>(j)]);
  }
  for (int k = 1; k <= study.sexCount; ++k) {
    auto& bySex = r.stageDurationBySex[static_cast<std::size_t>(k)];
    for (int j = 1; j <= m; ++j) {
      StatisticSums sums;
      for (int i = 1; i <= n; ++i) {
        if (hasSex(study, i, k) && duration(study, i, j) > 0)
          sums.add(unit * duration(study, i, j));
      }
      if (sums.count() == 0) break;
      sums.storeInto(bySex[static_cast<std::size_t>(j)]);
    }
  }
  for (int k = 1; k <= study.sexCount; ++k) {
    auto& bySex = r.cumDurationBySex[static_cast<std::size_t>(k)];
    for (int j = 2; j <= m; ++j) {
      StatisticSums sums;
      for (int i = 1; i <= n; ++i) {
        if (!hasSex(study, i, k)) continue;
        const double through = durationThrough(study, i, 1, j);
        if (through < 0) continue;
        sums.add(unit * through);
        if (j == m - 1) r.preadultDuration[static_cast<std::size_t>(i)] = unit * through;
      }
      if (sums.count() == 0) break;
      sums.storeInto(bySex[static_cast<std::size_t>(j)]);
    }
  }
  if (m < 3) {
    for (int i = 1; i <= n; ++i) {
      r.preadultDuration[static_cast<std::size_t>(i)] = unit * duration(study, i, 1);
    }
  }
}

void gatherStageConsumption(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int n = study.individualCount;
  const int m = study.stageCount;
  const auto eaten = [&](int i, int j) {
    return study.individual(i).stageConsumption[static_cast<std::size_t>(j)];
  };
  for (int j = 1; j <= m; ++j) {
    StatisticSums sums;
    for (int i = 1; i <= n; ++i) {
      if (duration(study, i, j) > 0) sums.add(eaten(i, j));
    }
    sums.storeInto(r.stageConsumption[static_cast<std::size_t>(j)]);
  }
  // A per-sex stage consumption varying by less than this is reported without spread.
  constexpr double kVarianceFloor = 0.01;
  for (int k = 1; k <= study.sexCount; ++k) {
    auto& bySex = r.stageConsumptionBySex[static_cast<std::size_t>(k)];
    for (int j = 1; j <= m; ++j) {
      StatisticSums sums;
      for (int i = 1; i <= n; ++i) {
        if (hasSex(study, i, k) && duration(study, i, j) > 0) sums.add(eaten(i, j));
      }
      if (sums.count() == 0) break;
      sums.storeInto(bySex[static_cast<std::size_t>(j)], kVarianceFloor);
    }
  }
}

// sum over x = 1 .. maxAgeIndex and j = 1 .. m + 1 of rate(j) x S(x, j).
double checkSum(const Study& study, const BasicRunResults& basic, const std::vector<double>& rate) {
  const BasicRunResults& r = basic;
  double sum = 0.0;
  for (int x = 1; x <= r.maxAgeIndex; ++x) {
    for (int j = 1; j <= study.stageCount + 1; ++j) {
      sum += rate[static_cast<std::size_t>(j)] * r.S(x, j);
    }
  }
  return sum;
}

// The daily rates from the stage means: the first stage sets the starting maximum; later
// pre-adult stages and the rate of all adults compete for it. The adult rate is stored in no
// column, so the check sum covers the pre-adult stages only.
void computeRatesFromStageMeans(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int m = study.stageCount;
  const auto rateOf = [&](int j) {
    const double days = r.stageDuration[at(j)].mean;
    return days != 0 ? r.stageConsumption[at(j)].mean / days : 0.0;
  };
  r.meansDailyMean[1] = rateOf(1);
  r.meansMaxDailyMean = r.meansDailyMean[1];
  r.meansMaxDailyMeanStage = stageLabel(study, 1);
  for (int j = 2; j <= m - 1; ++j) {
    if (r.stageDuration[at(j)].mean == 0) continue;
    r.meansDailyMean[at(j)] = rateOf(j);
    if (r.meansDailyMean[at(j)] > r.meansMaxDailyMean) {
      r.meansMaxDailyMean = r.meansDailyMean[at(j)];
      r.meansMaxDailyMeanStage = stageLabel(study, j);
    }
  }
  if (r.stageDuration[at(m)].mean != 0 && rateOf(m) > r.meansMaxDailyMean) {
    r.meansMaxDailyMean = rateOf(m);
    r.meansMaxDailyMeanStage = "Female";
  }
  r.meansCheckSum = checkSum(study, basic, r.meansDailyMean);
}

// The largest of the rates z(j) / s(j), and their check sum.
void computeRatesFromMatrices(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int m = study.stageCount;
  r.zsMaxDailyMean = r.zsDailyMean[1];
  r.zsMaxDailyMeanStage = stageLabel(study, 1);
  for (int j = 2; j <= m + 1; ++j) {
    const double rate = r.zsDailyMean[static_cast<std::size_t>(j)];
    if (rate <= r.zsMaxDailyMean) continue;
    r.zsMaxDailyMean = rate;
    r.zsMaxDailyMeanStage = j < m ? stageLabel(study, j) : (j == m ? "Female" : "Male");
  }
  r.zsCheckSum = checkSum(study, basic, r.zsDailyMean);
}

}  // namespace

int computeMaxAgeIndex(const Study& study) {
  const int m = study.stageCount;
  const auto cumulative = [&](int i) {
    double sum = 0.0;
    for (int j = 1; j <= m; ++j) {
      const double d = duration(study, i, j);
      if (d <= 0) break;
      sum += d;
    }
    return sum;
  };
  auto maxAgeIndex = static_cast<int>(std::nearbyint(cumulative(1)));
  for (int i = 1; i <= study.individualCount; ++i) {
    const double cum = cumulative(i);
    if (maxAgeIndex < cum) maxAgeIndex = static_cast<int>(std::nearbyint(cum));
  }
  return maxAgeIndex - 1;
}

void computeStageStatistics(const Study& study, BasicRunResults& basic) {
  basic.maxAgeIndex = computeMaxAgeIndex(study);
  basic.basicMaxAgeIndex = basic.maxAgeIndex;
  gatherDurations(study, basic);
  gatherStageConsumption(study, basic);
}

bool computeSpanAndConsumptionStatistics(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  const int n = study.individualCount;
  const int m = study.stageCount;
  const double unit = study.timeUnit;

  // The span's stage numbers come from the names of stage-name line 1 as read; the last match
  // wins and a name that matches nothing leaves the number as it was.
  int spanStage[3] = {0, r.spanFirstStage, r.spanLastStage};
  for (int e = 1; e <= 2; ++e) {
    for (int j = 1; j <= m; ++j) {
      if (study.name(1, j) == study.spanStageName[static_cast<std::size_t>(e)]) spanStage[e] = j;
    }
  }
  r.spanFirstStage = std::min(spanStage[1], spanStage[2]);
  r.spanLastStage = std::max(spanStage[1], spanStage[2]);

  StatisticSums span;
  std::vector<StatisticSums> spanBySex(static_cast<std::size_t>(study.sexCount) + 1);
  for (int i = 1; i <= n; ++i) {
    const double through = durationThrough(study, i, r.spanFirstStage, r.spanLastStage);
    if (through < 0) continue;
    span.add(unit * through);
    for (int k = 1; k <= study.sexCount; ++k) {
      if (hasSex(study, i, k)) spanBySex[static_cast<std::size_t>(k)].add(unit * through);
    }
  }
  span.storeInto(r.span);
  for (int k = 1; k <= study.sexCount; ++k) {
    spanBySex[static_cast<std::size_t>(k)].storeInto(r.spanBySex[static_cast<std::size_t>(k)]);
  }

  double sum = 0.0;
  double sumOfSquares = 0.0;
  int counted = 0;
  for (int k = 1; k <= study.sexCount; ++k) {
    StatisticSums sums;
    for (int i = 1; i <= n; ++i) {
      if (!hasSex(study, i, k)) continue;
      double total = 0.0;
      for (int j = 1; j <= m; ++j) {
        total += study.individual(i).stageConsumption[static_cast<std::size_t>(j)];
      }
      sums.add(total);
    }
    sums.storeInto(r.totalConsumptionBySex[static_cast<std::size_t>(k)]);
    sum += sums.sum();
    sumOfSquares += sums.sumOfSquares();
    counted += sums.count();
  }
  r.cohortConsumptionMean = sum / n;
  double variance = n > 1 ? (sumOfSquares - sum * sum / n) / (n - 1) : 0.0;
  if (variance < 0) variance = 0.0;
  r.cohortConsumptionSD = std::sqrt(variance);
  r.cohortConsumptionSE = r.cohortConsumptionSD / std::sqrt(static_cast<double>(n));
  return counted == n;
}

void computeStageDailyMeanConsumption(const Study& study, BasicRunResults& basic) {
  BasicRunResults& r = basic;
  for (int j = 1; j <= study.stageCount + 1; ++j) {
    double days = 0.0;
    double total = 0.0;
    for (int x = 0; x <= r.maxAgeIndex; ++x) {
      days += r.N(x, j);
      total += study.T.at(x, j);
    }
    if (days != 0) r.stageDailyMeanConsumption[static_cast<std::size_t>(j)] = total / days;
  }
}

void computeWeightingCoefficients(const Study& study, BasicRunResults& basic) {
  computeRatesFromStageMeans(study, basic);
  computeRatesFromMatrices(study, basic);
}

}  // namespace pellmar
