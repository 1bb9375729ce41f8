#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "core/analysis/cohort_contributions.h"
#include "core/data/study.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/replicate_draws.h"

namespace pellmar {

// The cells (x, j) a cohort occupies, N(x, j) > 0, by age and then stage column: the cells of
// the curves e(x, j) and v(x, j). A cohort drawn from it occupies some of them, never another.
struct CurveCells {
  int columns = 0;          // m + 2
  std::vector<int> age;     // [k]
  std::vector<int> column;  // [k]
};

// What the curves need of the cohort, worked out once. A replicate adds each individual to a run
// of ages in one column at once, as a difference at the run's first age and one past its last,
// summed down the ages at the end, so that it costs its individuals' runs, not their lives. Its
// grid holds, column by column, only the ages from the column's first occupied one to one past
// its last: a few of all ages x columns.
struct CohortCurves {
  double timeUnit = 1.0;
  int femaleColumn = 0;  // m: the column in which eggs are laid
  int ages = 0;          // ages 0 .. ages - 1 hold every cell, and one more the ends of runs
  CurveCells cells;
  struct ColumnSpan {
    int offset = 0;  // where the column's first occupied age lies in the grid
    int length = 0;
  };
  std::vector<ColumnSpan> columnSpans;  // of the columns that have cells
  int gridSize = 0;
  std::vector<int> cellInGrid;  // [k]
  struct Walk {
    std::vector<int> edges;  // begin, end, begin, end, ... of its runs, as places in the grid
    int ages = 0;            // the ages at which it is counted
    // With eggs: the edges of its runs cut before the age of its first eggs, and the eggs it
    // laid while counted.
    std::vector<int> earlyEdges;
    int firstEggs = 0;
    std::span<const double> eggs;
  };
  std::vector<Walk> walks;  // [i]
};

// The curves of `cohort`; with `eggs`, which must outlive them, v(x, j) too.
CohortCurves buildCohortCurves(const CohortContributions& cohort,
                               const EggContributions* eggs = nullptr);

// The age-stage life expectancy and reproductive value of a cohort made of draws, cell by cell:
// - e(x, j), in days: for each individual counted at (x, j), the number of ages from x on at
//   which it is counted, times t; their mean;
// - v(x, j): for each individual counted at (x, j), its eggs at ages i >= x discounted by
//   lambda_step^-(i - x), lambda_step = lambda^t; their mean.
// A cell nobody drawn occupies has neither (NaN); v needs a lambda above 0 and curves built
// with eggs.
// What v(x, j) of a drawn cohort needs beside its draws: its lambda, and its net maternity l(x)m(x)
// for `sampleSize` individuals, which its own life table has worked out already.
struct DrawnFecundity {
  double lambda = 0.0;
  std::span<const double> netMaternity;
  int sampleSize = 0;
};

class StageCurveAnalyser {
 public:
  explicit StageCurveAnalyser(const CohortCurves& cohort);

  // Writes e(x, j) of the cells into `expectancy` and, when `reproductiveValue` is not empty,
  // v(x, j) into it (all NaN without `fecundity` or a lambda above 0). Doubles for the cohort's
  // own curves, floats for the replicates' tables.
  template <typename Value>
  void analyse(const ReplicateDraws& draws, const DrawnFecundity* fecundity,
               std::span<Value> expectancy, std::span<Value> reproductiveValue);

 private:
  template <typename Value>
  void reproductiveValues(const ReplicateDraws& draws, const DrawnFecundity& fecundity,
                          std::span<Value> values);

  const CohortCurves& cohort_;
  // Two numbers per grid cell: N(x, j), and the ages alive of the individuals at (x, j).
  std::vector<double> countAndAges_;
  std::vector<double> early_;       // discounted eggs of the ages before each one's first eggs
  std::vector<double> startingAt_;  // [x]: the eggs of the females first laying at x, discounted
  std::vector<double> laying_;      // [x]: eggs from age x on of the females laying by then
  std::vector<double> discount_;    // step^-x
};

// The pointwise percentile interval of one curve over the replicates that have each cell. The
// replicates' values are kept as floats while the bootstrap runs, so the band has the precision
// of a float, about 7 significant digits.
struct CurveBand {
  std::vector<float> low;   // [k]
  std::vector<float> high;  // [k]
  std::vector<int> count;   // [k]: replicates with the cell
};

// The band of `replicateValues`, replicates x cells stored replicate by replicate (NaN: the
// replicate has no value there), at `confidence`: type-7 quantiles (1 - P)/2 and (1 + P)/2.
// The cells are shared out among the cores.
CurveBand curveBand(std::span<const float> replicateValues, std::size_t cells, int replicates,
                    double confidence);

// The curves of the whole cohort, for the files "<base>_exj.csv" and "<base>_vxj.csv".
struct StageCurves {
  CurveCells cells;
  std::vector<double> expectancy;
  std::vector<double> reproductiveValue;  // empty without eggs and a lambda
};

StageCurves stageCurvesOf(const CohortContributions& cohort, const EggContributions* eggs,
                          double lambda);

}  // namespace pellmar
