#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/predation/fecundity_life_table.h"

namespace pellmar {

// Where a projection starts: N0 newborns in the first stage at age 0 ("eggs:N0"), or N0 spread
// over the stable age-stage distribution ("stable:N0").
struct ProjectionStart {
  enum class Kind { kEggs, kStable };
  Kind kind = Kind::kEggs;
  double count = 10.0;
};

// "eggs:N0" or "stable:N0" with N0 a number above 0; none for any other text.
std::optional<ProjectionStart> parseProjectionStart(std::string_view text);

// The most days a projection may run.
inline constexpr double kMaxProjectionDays = 3650.0;

// What a projection needs of a cohort's life table, for ages x = 0 .. ages - 1 (in time units)
// and stage columns j = 1 .. columns (m + 1). A newborn of the projected population walks
// through the stages as the cohort's individuals did: each time unit it stays in its column,
// steps into the next or dies in the shares the cohort's walk counted. So the newborns b(u) of
// step u are found at (x, j) in step u + x in the share s(x, j) of the cohort, and
//   n(x, j, t) = b(t - x) s(x, j),   b(t + 1) = sum over x of l(x)m(x) b(t - x),
// the stage-by-stage projection in far fewer operations: a step costs the occupied cells, not
// every age and column.
struct ProjectionLifeTable {
  double timeUnit = 1.0;
  int ages = 0;     // maxAgeIndex + 1
  int columns = 0;  // m + 1
  // A column's occupied ages firstAge .. firstAge + survival.size() - 1, with s(x, j) and the
  // prey eaten there per newborn, s(x, j) c(x, j).
  struct Column {
    int firstAge = 0;
    std::vector<double> survival;
    std::vector<double> eaten;
  };
  std::vector<Column> byColumn;      // [j - 1]
  std::vector<double> netMaternity;  // l(x)m(x), [x]
  std::optional<double> lambdaStep;  // lambda^t, the growth of one time unit
};

// The projection table of the cohort from its Basic Run (S and C) and its life table (l(x)m(x)
// and lambda).
ProjectionLifeTable projectionLifeTableOf(const BasicRunResults& basic,
                                          const FecundityLifeTable& lifeTable);

// Fills the columns of `table` for ages 0 .. ages - 1 from survival(x, j) and eaten(x, j), each
// column over the ages from its first to its last survival above 0. Keeps the columns'
// storage, so that a replicate reuses it.
template <typename Survival, typename Eaten>
void fillProjectionColumns(ProjectionLifeTable& table, int ages, int columns, Survival survival,
                           Eaten eaten) {
  table.ages = ages;
  table.columns = columns;
  table.byColumn.resize(static_cast<std::size_t>(columns));
  for (int j = 1; j <= columns; ++j) {
    ProjectionLifeTable::Column& column = table.byColumn[static_cast<std::size_t>(j - 1)];
    int first = 0;
    while (first < ages && !(survival(first, j) > 0.0)) ++first;
    int last = ages - 1;
    while (last >= first && !(survival(last, j) > 0.0)) --last;
    column.firstAge = first;
    column.survival.clear();
    column.eaten.clear();
    for (int x = first; x <= last; ++x) {
      column.survival.push_back(survival(x, j));
      column.eaten.push_back(eaten(x, j));
    }
  }
}

// The share of the stable age-stage distribution in each column, j = 1 .. columns at [j - 1];
// the table must have a lambda.
std::vector<double> stableStageShares(const ProjectionLifeTable& table);

// Projects a population step by step; its tables are kept from one projection to the next, so
// that the replicates of a bootstrap allocate nothing.
class PopulationProjector {
 public:
  // Projects `table` from `start` over steps 0 .. lastStep, or up to the step before one whose
  // population, predation per day or cumulative predation would pass 1e300. Returns the last
  // step projected, or -1 when the start itself passes that. A start "stable:" needs the
  // table's lambda; its step 0 then holds N0 in total, exactly.
  int project(const ProjectionLifeTable& table, const ProjectionStart& start, int lastStep);

  // Of the last projection, at step t and column j = 1 .. columns: the individuals, and the prey
  // they ate during the step; and the total of the individuals at step t.
  [[nodiscard]] double population(int t, int j) const { return population_[cell(t, j)]; }
  [[nodiscard]] double predation(int t, int j) const { return predation_[cell(t, j)]; }
  [[nodiscard]] double total(int t) const { return total_[static_cast<std::size_t>(t)]; }

 private:
  // Column by column, so that a column's steps are worked out side by side.
  [[nodiscard]] std::size_t cell(int t, int j) const {
    return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(steps_) +
           static_cast<std::size_t>(t);
  }

  int steps_ = 0;
  std::vector<double> births_;  // b(u) at [u + ages - 1], u = 1 - ages .. lastStep
  std::vector<double> population_;
  std::vector<double> predation_;
  std::vector<double> total_;
};

// A projection, step by step (day = step x time unit): the individuals in each stage column
// and the prey they ate during the step.
struct Projection {
  double timeUnit = 1.0;
  std::vector<std::vector<double>> population;  // [t][j - 1]
  std::vector<std::vector<double>> predation;   // [t][j - 1]: prey eaten during step t
  std::vector<double> total;                    // [t]: N(t), every column's individuals
  // The steps asked for when the projection ended early, its values about to pass 1e300.
  std::optional<int> stepsAsked;
  // The first day from which every stage's share stays within 1 % of its stable share; none
  // when that never happens within the horizon or the cohort has no lambda.
  std::optional<double> convergenceDay;
  // N(t + 1) / N(t) at the last step; none when N(t) is 0.
  std::optional<double> finalGrowth;

  [[nodiscard]] int lastStep() const { return static_cast<int>(population.size()) - 1; }
};

// The most steps a projection may take: a time unit of a few minutes over ten years would give
// millions.
inline constexpr int kMaxProjectionSteps = 100000;

// The last step of a projection over `days`, floor(days / t + 1e-9); none when it would pass
// kMaxProjectionSteps.
std::optional<int> projectionSteps(double days, double timeUnit);

// Projects `start` over steps 0 .. lastStep. A start "stable:" needs the cohort's lambda: a
// UserError titled `title` says so when it has none.
Projection projectPopulation(const ProjectionLifeTable& table, const ProjectionStart& start,
                             int lastStep, const std::string& title);

}  // namespace pellmar
