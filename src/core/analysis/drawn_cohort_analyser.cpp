#include "core/analysis/drawn_cohort_analyser.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/data/table_index.h"
#include "core/numeric/stable_predation_rate.h"

namespace pellmar {

DrawnCohortAnalyser::DrawnCohortAnalyser(const CohortContributions& cohort)
    : cohort_(cohort), columns_(cohort.stageCount + 2) {
  const std::size_t size = cell(cohort.ageRows + 1, 0);
  N_.assign(size, 0);
  stays_.assign(size, 0);
  steps_.assign(size, 0);
  T_.assign(size, 0.0);
  Z_.assign(size, 0.0);
  edges_.resize(cohort.individuals.size());
  for (std::size_t i = 1; i < cohort.individuals.size(); ++i) {
    WalkEdges& edges = edges_[i];
    for (const StageRun& run : cohort.individuals[i].runs) {
      edges.count.push_back(static_cast<int>(cell(run.first, run.column)));
      edges.count.push_back(static_cast<int>(cell(run.last + 1, run.column)));
      if (run.last > run.first) {
        edges.stays.push_back(static_cast<int>(cell(run.first, run.column)));
        edges.stays.push_back(static_cast<int>(cell(run.last, run.column)));
      }
      if (run.exitColumn != 0) {
        edges.steps.push_back(static_cast<int>(cell(run.last, run.exitColumn)));
      }
      edges.lastAge = std::max(edges.lastAge, run.last);
    }
  }
}

void DrawnCohortAnalyser::addWalk(const WalkEdges& edges, int count, bool transitions) {
  int* N = N_.data();
  for (std::size_t k = 0; k < edges.count.size(); k += 2) {
    N[edges.count[k]] += count;
    N[edges.count[k + 1]] -= count;
  }
  if (!transitions) return;
  int* stays = stays_.data();
  for (std::size_t k = 0; k < edges.stays.size(); k += 2) {
    stays[edges.stays[k]] += count;
    stays[edges.stays[k + 1]] -= count;
  }
  for (const int step : edges.steps) steps_[at(step)] += count;
}

void DrawnCohortAnalyser::addCutWalk(const IndividualContribution& individual, int count,
                                     bool transitions) {
  const int last = maxAgeIndex_;
  for (const StageRun& run : individual.runs) {
    if (run.first > last) break;
    const int end = std::min(run.last, last);
    N_[cell(run.first, run.column)] += count;
    N_[cell(end + 1, run.column)] -= count;
    if (!transitions) continue;
    if (end > run.first) {
      stays_[cell(run.first, run.column)] += count;
      stays_[cell(end, run.column)] -= count;
    }
    if (run.exitColumn != 0 && run.last + 1 <= last)
      steps_[cell(run.last, run.exitColumn)] += count;
  }
}

void DrawnCohortAnalyser::buildMatrices(const ReplicateDraws& draws, bool transitions) {
  const int last = maxAgeIndex_;
  const std::size_t used = cell(last + 2, 0);
  std::fill_n(N_.begin(), used, 0);
  std::fill_n(T_.begin(), used, 0.0);
  if (transitions) {
    std::fill_n(stays_.begin(), used, 0);
    std::fill_n(steps_.begin(), used, 0);
  }

  // N and the stays are gathered as differences along the ages and summed up afterwards. A walk
  // that ends before the replicate's last age is added whole; a longer one is cut there.
  for (const auto& [i, count] : draws) {
    const IndividualContribution& individual = cohort_.individuals[at(i)];
    if (edges_[at(i)].lastAge < last) {
      addWalk(edges_[at(i)], count, transitions);
    } else {
      addCutWalk(individual, count, transitions);
    }
    const int cells = last >= 0 ? individual.cellsThroughAge[at(last)] : 0;
    const int* position = individual.cellPosition.data();
    const double* value = individual.cellValue.data();
    double* T = T_.data();
    for (int k = 0; k < cells; ++k) T[position[k]] += count * value[k];
  }
  for (int x = 1; x <= last; ++x) {
    for (int j = 1; j < columns_; ++j) N_[cell(x, j)] += N_[cell(x - 1, j)];
  }
  if (!transitions) return;
  for (int x = 1; x <= last; ++x) {
    for (int j = 1; j < columns_; ++j) stays_[cell(x, j)] += stays_[cell(x - 1, j)];
  }
}

double DrawnCohortAnalyser::netConsumptionRate(int sampleSize) const {
  // Summed in the order of the age-specific curves: q(x) over the columns, then over the ages.
  double c0 = 0.0;
  for (int x = 0; x <= maxAgeIndex_; ++x) {
    double q = 0.0;
    for (int j = 1; j < columns_; ++j) {
      const int n = N_[cell(x, j)];
      if (n == 0) continue;
      const double c = T_[cell(x, j)] / n;
      const double s = static_cast<double>(n) / sampleSize;
      q += c * s;
    }
    c0 += q;
  }
  return c0;
}

void DrawnCohortAnalyser::stageMeans(const ReplicateDraws& draws,
                                     DrawnCohortEstimates& estimates) const {
  const int m = cohort_.stageCount;
  // Every drawn individual adds its row of stage sums, as many times as it was drawn. The sums
  // gather in a local table, which the compiler knows no row overlaps, so the loop vectorises.
  std::array<double, kMaxStageSums> local{};
  const std::size_t common =
      static_cast<std::size_t>(kFirstSexKind) * (static_cast<std::size_t>(m) + 1);
  const std::size_t sexBlock = 2 * (static_cast<std::size_t>(m) + 1);
  for (const auto& [i, count] : draws) {
    const IndividualContribution& individual = cohort_.individuals[at(i)];
    const auto times = static_cast<double>(count);
    const double* row = individual.stageSums.data();
    for (std::size_t k = 0; k < common; ++k) local[k] += times * row[k];
    for (int line = 1; line <= cohort_.sexCount; ++line) {
      if ((individual.sexLines & (1U << static_cast<unsigned>(line))) == 0) continue;
      double* block = local.data() + common + sexBlock * static_cast<std::size_t>(line - 1);
      const double* sexRow = individual.sexStageSums.data();
      for (std::size_t k = 0; k < sexBlock; ++k) block[k] += times * sexRow[k];
    }
  }
  const double* sums = local.data();
  const auto sum = [&](int kind, int j) { return sums[stageSumIndex(kind, j, m)]; };
  for (int j = 1; j <= m; ++j) {
    const double count = sum(kDurationCount, j);
    if (count == 0) continue;
    estimates.stageDuration[at(j)] = sum(kDurationSum, j) / count;
    estimates.stageConsumption[at(j)] = sum(kConsumptionSum, j) / count;
    estimates.stageValid[at(j)] = true;
  }
  for (int j = 2; j <= m; ++j) {
    const double count = sum(kCumulativeCount, j);
    if (count == 0) continue;
    estimates.cumulativeDuration[at(j)] = sum(kCumulativeSum, j) / count;
    estimates.cumulativeValid[at(j)] = true;
  }
  for (int k = 1; k <= cohort_.sexCount; ++k) {
    const int kind = kFirstSexKind + 2 * (k - 1);
    for (int j = 1; j <= m; ++j) {
      const double count = sum(kind + 1, j);
      // A sex's stages end at the first stage that none of its individuals passed through.
      if (count == 0) break;
      estimates.consumptionBySex[at(k)][at(j)] = sum(kind, j) / count;
      estimates.consumptionBySexValid[at(k)][at(j)] = true;
    }
  }
}

void DrawnCohortAnalyser::stageDailyMeans(DrawnCohortEstimates& estimates) const {
  for (int j = 1; j < columns_; ++j) {
    double days = 0.0;
    double total = 0.0;
    for (int x = 0; x <= maxAgeIndex_; ++x) {
      days += N_[cell(x, j)];
      total += T_[cell(x, j)];
    }
    if (days == 0) continue;
    estimates.dailyMean[at(j)] = total / days;
    estimates.dailyMeanValid[at(j)] = true;
  }
}

// Fills Z with the unnormalised distribution at `lambda` and returns its sum.
namespace {

// Far above any share of a stable distribution, far below the largest double.
constexpr double kLargestUnscaled = 1e250;

}  // namespace

double DrawnCohortAnalyser::stableDistribution(double lambda) {
  const int m = cohort_.stageCount;
  const int last = maxAgeIndex_;
  // Every stage of the replicate's distribution is divided by the replicate's own lambda.
  const double growth = std::pow(lambda, cohort_.timeUnit);
  const auto ratio = [&](const std::vector<int>& counts, int x, int j, int source) {
    const int n = N_[cell(x, source)];
    return n != 0 ? static_cast<double>(counts[cell(x, j)]) / n : 0.0;
  };
  std::fill_n(Z_.begin(), cell(last + 1, 0), 0.0);
  Z_[cell(0, 1)] = 1.0;
  for (int x = 1; x <= last; ++x) {
    Z_[cell(x, 1)] = ratio(stays_, x - 1, 1, 1) * Z_[cell(x - 1, 1)] / growth;
    for (int j = 2; j <= m; ++j) {
      Z_[cell(x, j)] = (ratio(stays_, x - 1, j, j) * Z_[cell(x - 1, j)] +
                        ratio(steps_, x - 1, j - 1, j - 1) * Z_[cell(x - 1, j - 1)]) /
                       growth;
    }
    Z_[cell(x, m + 1)] = (ratio(stays_, x - 1, m + 1, m + 1) * Z_[cell(x - 1, m + 1)] +
                          ratio(steps_, x - 1, m, m - 1) * Z_[cell(x - 1, m - 1)]) /
                         growth;
    // A population that shrinks fast (a lambda far below 1) multiplies the later ages by
    // 1/lambda each time unit beyond what a double holds. Only the shares count: every age so
    // far is scaled down together, and an age whose share is below what a double holds gets 0.
    double largest = 0.0;
    for (int j = 1; j < columns_; ++j) largest = std::max(largest, Z_[cell(x, j)]);
    if (largest > kLargestUnscaled) {
      for (int y = 0; y <= x; ++y) {
        for (int j = 1; j < columns_; ++j) Z_[cell(y, j)] /= largest;
      }
    }
  }
  double total = 0.0;
  for (int x = 0; x <= last; ++x) {
    for (int j = 1; j < columns_; ++j) total += Z_[cell(x, j)];
  }
  return total;
}

double DrawnCohortAnalyser::stablePredationRate(double lambda) {
  const double total = stableDistribution(lambda);
  return pellmar::stablePredationRate(
      maxAgeIndex_, columns_ - 1,
      [&](int x, int j) {
        const int n = N_[cell(x, j)];
        return n != 0 ? T_[cell(x, j)] / n : 0.0;
      },
      [&](int x, int j) { return Z_[cell(x, j)] / total; });
}

double DrawnCohortAnalyser::netConsumptionRateOf(const ReplicateDraws& draws, int sampleSize,
                                                 bool transitions) {
  // The replicate's own last age index: from the longest cumulative duration drawn.
  int cumulative = 0;
  for (const auto& [i, count] : draws) {
    cumulative = std::max(cumulative, cohort_.individuals[at(i)].cumulativeAge);
  }
  maxAgeIndex_ = std::max(std::min(cumulative - 1, cohort_.ageRows - 2), -1);
  buildMatrices(draws, transitions);
  return netConsumptionRate(sampleSize);
}

void DrawnCohortAnalyser::stableDistributionOf(const ReplicateDraws& draws, int sampleSize,
                                               double lambda, AgeStageMatrix& a) {
  netConsumptionRateOf(draws, sampleSize, true);
  const double total = stableDistribution(lambda);
  a.reset(maxAgeIndex_ + 1, columns_);
  for (int x = 0; x <= maxAgeIndex_; ++x) {
    for (int j = 1; j < columns_; ++j) a(x, j) = Z_[cell(x, j)] / total;
  }
}

void DrawnCohortAnalyser::analyse(const ReplicateDraws& draws, int sampleSize, double lambda,
                                  DrawnCohortEstimates& estimates) {
  estimates = DrawnCohortEstimates{};
  estimates.c0 = netConsumptionRateOf(draws, sampleSize, lambda > 0);
  stageMeans(draws, estimates);
  stageDailyMeans(estimates);
  if (lambda > 0) {
    estimates.psi = stablePredationRate(lambda);
    estimates.psiValid = true;
  }
}

}  // namespace pellmar
