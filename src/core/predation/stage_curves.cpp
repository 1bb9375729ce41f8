#include "core/predation/stage_curves.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>

#include "core/data/table_index.h"
#include "core/numeric/replicate_interval.h"

namespace pellmar {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

}  // namespace

CohortCurves buildCohortCurves(const CohortContributions& cohort, const EggContributions* eggs) {
  CohortCurves curves;
  curves.timeUnit = cohort.timeUnit;
  curves.femaleColumn = cohort.stageCount;
  const int columns = cohort.stageCount + 2;
  curves.cells.columns = columns;
  curves.walks.resize(at(cohort.individualCount) + 1);
  // The first and last occupied age of every column.
  std::vector<int> firstAge(at(columns), std::numeric_limits<int>::max());
  std::vector<int> lastAge(at(columns), -1);
  int oldest = 0;
  for (int i = 1; i <= cohort.individualCount; ++i) {
    for (const StageRun& run : cohort.individuals[at(i)].runs) {
      curves.walks[at(i)].ages += run.last - run.first + 1;
      firstAge[at(run.column)] = std::min(firstAge[at(run.column)], run.first);
      lastAge[at(run.column)] = std::max(lastAge[at(run.column)], run.last);
      oldest = std::max(oldest, run.last);
    }
  }
  curves.ages = oldest + 1;
  std::vector<int> offset(at(columns), 0);
  for (int j = 0; j < columns; ++j) {
    if (lastAge[at(j)] < 0) continue;
    offset[at(j)] = curves.gridSize - firstAge[at(j)];
    const int length = lastAge[at(j)] - firstAge[at(j)] + 2;
    curves.columnSpans.push_back({curves.gridSize, length});
    curves.gridSize += length;
  }
  const auto place = [&](int x, int column) { return offset[at(column)] + x; };
  std::vector<std::uint8_t> occupied(at(curves.ages * columns), 0);
  for (int i = 1; i <= cohort.individualCount; ++i) {
    CohortCurves::Walk& walk = curves.walks[at(i)];
    if (eggs != nullptr) {
      const EggContribution& laid = eggs->individuals[at(i)];
      // Eggs recorded past the ages it lived are not counted.
      const int laying = std::min(static_cast<int>(laid.eggs.size()), walk.ages - laid.firstAge);
      if (laying > 0) {
        walk.firstEggs = laid.firstAge;
        walk.eggs = std::span<const double>(laid.eggs.data(), at(laying));
      }
    }
    for (const StageRun& run : cohort.individuals[at(i)].runs) {
      walk.edges.push_back(place(run.first, run.column));
      walk.edges.push_back(place(run.last + 1, run.column));
      for (int x = run.first; x <= run.last; ++x) occupied[at(x * columns + run.column)] = 1;
      const int earlyLast = std::min(run.last, walk.firstEggs - 1);
      if (!walk.eggs.empty() && earlyLast >= run.first) {
        walk.earlyEdges.push_back(place(run.first, run.column));
        walk.earlyEdges.push_back(place(earlyLast + 1, run.column));
      }
    }
  }
  // The cells in order of age, then column.
  for (int x = 0; x < curves.ages; ++x) {
    for (int j = 0; j < columns; ++j) {
      if (occupied[at(x * columns + j)] == 0) continue;
      curves.cells.age.push_back(x);
      curves.cells.column.push_back(j);
      curves.cellInGrid.push_back(place(x, j));
    }
  }
  return curves;
}

namespace {

// Sums the differences of every column of `grid` down its ages.
void sumDownTheAges(std::span<const CohortCurves::ColumnSpan> columns, double* grid, int width) {
  for (const CohortCurves::ColumnSpan& column : columns) {
    double* values = grid + at(column.offset * width);
    for (std::size_t k = at(width); k < at(column.length * width); ++k) {
      values[k] += values[k - at(width)];
    }
  }
}

}  // namespace

StageCurveAnalyser::StageCurveAnalyser(const CohortCurves& cohort) : cohort_(cohort) {}

template <typename Value>
void StageCurveAnalyser::analyse(const ReplicateDraws& draws, const DrawnFecundity* fecundity,
                                 std::span<Value> expectancy, std::span<Value> reproductiveValue) {
  countAndAges_.assign(2 * at(cohort_.gridSize), 0.0);
  double* grid = countAndAges_.data();
  for (const auto& [i, times] : draws) {
    const CohortCurves::Walk& walk = cohort_.walks[at(i)];
    const auto count = static_cast<double>(times);
    const double ages = count * walk.ages;
    const std::vector<int>& edges = walk.edges;
    for (std::size_t e = 0; e < edges.size(); e += 2) {
      double* begin = grid + 2 * at(edges[e]);
      double* end = grid + 2 * at(edges[e + 1]);
      begin[0] += count;
      begin[1] += ages;
      end[0] -= count;
      end[1] -= ages;
    }
  }
  sumDownTheAges(cohort_.columnSpans, grid, 2);
  // The mean of (ages alive - x) over the individuals at (x, j) is their mean ages alive less x.
  const double t = cohort_.timeUnit;
  const std::size_t cells = cohort_.cellInGrid.size();
  for (std::size_t k = 0; k < cells; ++k) {
    const double* cell = grid + 2 * at(cohort_.cellInGrid[k]);
    expectancy[k] =
        static_cast<Value>(cell[0] > 0 ? t * (cell[1] / cell[0] - cohort_.cells.age[k]) : kNoValue);
  }
  if (reproductiveValue.empty()) return;
  if (fecundity != nullptr && fecundity->lambda > 0) {
    reproductiveValues(draws, *fecundity, reproductiveValue);
  } else {
    std::fill(reproductiveValue.begin(), reproductiveValue.end(), static_cast<Value>(kNoValue));
  }
}

namespace {

// The sum of values[k] x weights[k]: four sums side by side, so that no addition waits for the
// one before it.
double weightedSum(std::span<const double> values, const double* weights) {
  std::array<double, 4> sums{};
  std::size_t k = 0;
  for (; k + 4 <= values.size(); k += 4) {
    for (std::size_t lane = 0; lane < 4; ++lane) sums[lane] += values[k + lane] * weights[k + lane];
  }
  for (; k < values.size(); ++k) sums[0] += values[k] * weights[k];
  return (sums[0] + sums[1]) + (sums[2] + sums[3]);
}

}  // namespace

template <typename Value>
void StageCurveAnalyser::reproductiveValues(const ReplicateDraws& draws,
                                            const DrawnFecundity& fecundity,
                                            std::span<Value> values) {
  const double step = std::pow(fecundity.lambda, cohort_.timeUnit);
  const double perStep = 1.0 / step;
  const auto rows = at(cohort_.ages) + 1;
  early_.assign(at(cohort_.gridSize), 0.0);
  startingAt_.assign(rows + 1, 0.0);
  // step^-x for every age, multiplied up once for the replicate.
  discount_.resize(rows);
  double power = 1.0;
  for (double& d : discount_) {
    d = power;
    power *= perStep;
  }
  for (const auto& [i, times] : draws) {
    const CohortCurves::Walk& walk = cohort_.walks[at(i)];
    if (walk.eggs.empty()) continue;
    // Her eggs from her first eggs on, discounted to that age.
    const auto first = at(walk.firstEggs);
    const double fromFirst = times * weightedSum(walk.eggs, discount_.data());
    startingAt_[first] += fromFirst;
    // Before her first eggs, at every age x, the same eggs discounted by step^(first - x): a
    // share of step^x each, multiplied in when the grid is summed.
    const double share = fromFirst * discount_[first];
    if (!std::isfinite(share)) continue;
    const std::vector<int>& edges = walk.earlyEdges;
    for (std::size_t e = 0; e < edges.size(); e += 2) {
      early_[at(edges[e])] += share;
      early_[at(edges[e + 1])] -= share;
    }
  }
  sumDownTheAges(cohort_.columnSpans, early_.data(), 1);
  // From the last age back, the eggs from age x on of the females that have laid by x, each
  // later age discounted by one more step: the eggs laid at x, and those from x + 1 on less
  // the eggs of the females whose first eggs come at x + 1.
  laying_.assign(rows + 1, 0.0);
  const std::span<const double> lm = fecundity.netMaternity;
  for (std::size_t x = rows; x-- > 0;) {
    const double laid = x < lm.size() ? lm[x] * fecundity.sampleSize : 0.0;
    const double later = std::max(laying_[x + 1] - startingAt_[x + 1], 0.0);
    laying_[x] = laid + later * perStep;
  }
  const std::size_t cells = cohort_.cellInGrid.size();
  for (std::size_t k = 0; k < cells; ++k) {
    const auto cell = at(cohort_.cellInGrid[k]);
    const double n = countAndAges_[2 * cell];
    const auto age = at(cohort_.cells.age[k]);
    const double laterEggs = cohort_.cells.column[k] == cohort_.femaleColumn ? laying_[age] : 0.0;
    const double value = n > 0 ? (early_[cell] / discount_[age] + laterEggs) / n : kNoValue;
    values[k] = static_cast<Value>(std::isfinite(value) ? value : kNoValue);
  }
}

template void StageCurveAnalyser::analyse<float>(const ReplicateDraws&, const DrawnFecundity*,
                                                 std::span<float>, std::span<float>);
template void StageCurveAnalyser::analyse<double>(const ReplicateDraws&, const DrawnFecundity*,
                                                  std::span<double>, std::span<double>);

CurveBand curveBand(std::span<const float> replicateValues, std::size_t cells, int replicates,
                    double confidence) {
  CurveBand band;
  band.low.assign(cells, std::numeric_limits<float>::quiet_NaN());
  band.high.assign(cells, std::numeric_limits<float>::quiet_NaN());
  band.count.assign(cells, 0);
  // A few cells at a time, gathered in one pass down the replicates' rows.
  constexpr std::size_t kCellsAtOnce = 16;
  const std::size_t chunks = (cells + kCellsAtOnce - 1) / kCellsAtOnce;
  std::atomic<std::size_t> nextChunk = 0;
  const auto work = [&] {
    // Each cell's values side by side, one column of B per cell; a NaN is written and then
    // overwritten by the next value, which spares a branch on every value.
    const auto column = at(replicates) + 1;
    std::vector<float> values(kCellsAtOnce * column);
    std::array<std::size_t, kCellsAtOnce> kept{};
    for (std::size_t chunk = nextChunk++; chunk < chunks; chunk = nextChunk++) {
      const std::size_t first = chunk * kCellsAtOnce;
      const std::size_t count = std::min(kCellsAtOnce, cells - first);
      kept.fill(0);
      for (std::size_t b = 0; b < at(replicates); ++b) {
        const float* row = replicateValues.data() + b * cells + first;
        for (std::size_t c = 0; c < count; ++c) {
          values[c * column + kept[c]] = row[c];
          kept[c] += std::isnan(row[c]) ? 0U : 1U;
        }
      }
      for (std::size_t c = 0; c < count; ++c) {
        const std::size_t k = first + c;
        band.count[k] = static_cast<int>(kept[c]);
        if (kept[c] == 0) continue;
        const PercentileBounds bounds =
            percentileBounds(std::span<float>(values.data() + c * column, kept[c]),
                             (1 - confidence) / 2, (1 + confidence) / 2);
        band.low[k] = static_cast<float>(bounds.low);
        band.high[k] = static_cast<float>(bounds.high);
      }
    }
  };
  const unsigned cores = std::max(1U, std::min(std::thread::hardware_concurrency(), 16U));
  std::vector<std::jthread> helpers;
  for (unsigned t = 1; t < cores; ++t) helpers.emplace_back(work);
  work();
  return band;
}

StageCurves stageCurvesOf(const CohortContributions& cohort, const EggContributions* eggs,
                          double lambda) {
  const CohortCurves curves = buildCohortCurves(cohort, eggs);
  ReplicateDraws everyone;
  for (int i = 1; i <= cohort.individualCount; ++i) everyone.emplace_back(i, 1);
  StageCurves result;
  result.cells = curves.cells;
  const std::size_t cells = curves.cellInGrid.size();
  result.expectancy.resize(cells);
  if (eggs != nullptr && lambda > 0) result.reproductiveValue.resize(cells);
  StageCurveAnalyser analyser(curves);
  std::vector<double> lm(at(cohort.ageRows));
  if (eggs != nullptr) netMaternityOf(*eggs, everyone, cohort.individualCount, lm);
  const DrawnFecundity fecundity{lambda, lm, cohort.individualCount};
  analyser.analyse(everyone, eggs != nullptr ? &fecundity : nullptr,
                   std::span<double>(result.expectancy),
                   std::span<double>(result.reproductiveValue));
  return result;
}

}  // namespace pellmar
