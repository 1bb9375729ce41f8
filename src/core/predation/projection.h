#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
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

// What the cohort's life table says about one time unit of a population's life, age by age
// (x = 0 .. maxAgeIndex, in time units) and stage column by stage column (j = 1 .. m + 1):
// the shares that stay in their column or step into a later one, the eggs laid and the prey
// eaten per individual, and the stable age-stage distribution when the cohort has a lambda.
struct ProjectionModel {
  double timeUnit = 1.0;
  int maxAgeIndex = 0;
  int stageCount = 0;  // m: columns 1 .. m + 1
  AgeStageMatrix stay;
  // step(x, j -> k) for the later column k = next(j): j + 1, or m + 1 for the males leaving
  // the last preadult column m - 1 (whose female step goes to m).
  AgeStageMatrix stepToNext;
  AgeStageMatrix stepToMale;         // only column m - 1
  AgeStageMatrix eggs;               // f(x, j)
  AgeStageMatrix consumption;        // c(x, j)
  std::optional<double> lambdaStep;  // lambda^t, the growth of one time unit
  AgeStageMatrix stable;             // a(x, j); empty without a lambda
};

ProjectionModel projectionModelOf(const Study& study, const BasicRunResults& basic,
                                  const FecundityLifeTable& lifeTable);

// A projection, step by step (day = step x time unit): the individuals in each stage column
// and the prey they ate during the step.
struct Projection {
  double timeUnit = 1.0;
  std::vector<std::vector<double>> population;  // [t][j - 1]
  std::vector<std::vector<double>> predation;   // [t][j - 1]: prey eaten during step t
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
Projection projectPopulation(const ProjectionModel& model, const ProjectionStart& start,
                             int lastStep, const std::string& title);

}  // namespace pellmar
