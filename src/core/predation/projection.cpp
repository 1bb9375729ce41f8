#include "core/predation/projection.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <numeric>

#include "core/user_error.h"

namespace pellmar {
namespace {

// Values past this would soon overflow a double; the projection ends before them.
constexpr double kLargestValue = 1e300;
// A stage's share is stable once within this part of its stable share.
constexpr double kStableTolerance = 0.01;

}  // namespace

std::optional<ProjectionStart> parseProjectionStart(std::string_view text) {
  ProjectionStart start;
  std::string_view number;
  for (const auto& [prefix, kind] :
       {std::pair{std::string_view("eggs:"), ProjectionStart::Kind::kEggs},
        std::pair{std::string_view("stable:"), ProjectionStart::Kind::kStable}}) {
    if (text.starts_with(prefix)) {
      start.kind = kind;
      number = text.substr(prefix.size());
    }
  }
  if (number.empty()) return std::nullopt;
  double count = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(count) ||
      !(count > 0.0)) {
    return std::nullopt;
  }
  start.count = count;
  return start;
}

ProjectionModel projectionModelOf(const Study& study, const BasicRunResults& basic,
                                  const FecundityLifeTable& lifeTable) {
  ProjectionModel model;
  const int m = study.stageCount;
  const int last = basic.maxAgeIndex;
  model.timeUnit = study.timeUnit;
  model.maxAgeIndex = last;
  model.stageCount = m;
  for (AgeStageMatrix* table :
       {&model.stay, &model.stepToNext, &model.stepToMale, &model.eggs, &model.consumption}) {
    table->reset(last + 1, m + 2);
  }
  // The Basic Run's G and D are these shares, counted on its walk through the individuals'
  // stages; D of column m holds the males' step out of column m - 1.
  for (int x = 0; x <= last; ++x) {
    for (int j = 1; j <= m + 1; ++j) {
      model.stay(x, j) = basic.G.at(x, j);
      model.consumption(x, j) = basic.C.at(x, j);
    }
    for (int j = 1; j < m; ++j) model.stepToNext(x, j) = basic.D.at(x, j);
    if (m > 1) model.stepToMale(x, m - 1) = basic.D.at(x, m);
    const auto xi = static_cast<std::size_t>(x);
    if (xi < lifeTable.f.size()) model.eggs(x, m) = lifeTable.f[xi];
  }
  if (lifeTable.growth) {
    model.lambdaStep = std::pow(lifeTable.growth->lambda, study.timeUnit);
    model.stable = lifeTable.stableDistribution;
  }
  return model;
}

std::optional<int> projectionSteps(double days, double timeUnit) {
  const double steps = std::floor(days / timeUnit + 1e-9);
  if (!(steps <= kMaxProjectionSteps)) return std::nullopt;
  return static_cast<int>(steps);
}

Projection projectPopulation(const ProjectionModel& model, const ProjectionStart& start,
                             int lastStep, const std::string& title) {
  const int m = model.stageCount;
  const int columns = m + 1;
  const int ages = model.maxAgeIndex + 1;
  const auto cell = [columns](int x, int j) {
    return static_cast<std::size_t>(x) * static_cast<std::size_t>(columns) +
           static_cast<std::size_t>(j - 1);
  };
  std::vector<double> n(static_cast<std::size_t>(ages) * static_cast<std::size_t>(columns), 0.0);
  if (start.kind == ProjectionStart::Kind::kEggs) {
    n[cell(0, 1)] = start.count;
  } else {
    if (!model.lambdaStep) {
      throw UserError(title,
                      "A projection from the stable age-stage distribution (stable:N0) needs the "
                      "cohort's lambda, and no female laid eggs: start from eggs:N0.",
                      ErrorKind::kInvalidRequest);
    }
    for (int x = 0; x < ages; ++x) {
      for (int j = 1; j <= columns; ++j) n[cell(x, j)] = start.count * model.stable.at(x, j);
    }
  }

  Projection projection;
  projection.timeUnit = model.timeUnit;
  std::vector<double> next(n.size());
  double eatenSoFar = 0.0;  // the prey of the steps recorded so far
  for (int t = 0;; ++t) {
    std::vector<double> population(static_cast<std::size_t>(columns), 0.0);
    std::vector<double> predation(static_cast<std::size_t>(columns), 0.0);
    for (int x = 0; x < ages; ++x) {
      for (int j = 1; j <= columns; ++j) {
        population[static_cast<std::size_t>(j - 1)] += n[cell(x, j)];
        predation[static_cast<std::size_t>(j - 1)] += model.consumption(x, j) * n[cell(x, j)];
      }
    }
    for (const double prey : predation) eatenSoFar += prey;
    if (t == 0 && !(std::accumulate(population.begin(), population.end(), 0.0) < kLargestValue &&
                    eatenSoFar / model.timeUnit < kLargestValue)) {
      throw UserError(title,
                      "The projection would start from more than 1e300 individuals or prey, "
                      "more than its numbers can hold: start from fewer.",
                      ErrorKind::kInvalidRequest);
    }
    projection.population.push_back(std::move(population));
    projection.predation.push_back(std::move(predation));
    if (t == lastStep) break;

    std::fill(next.begin(), next.end(), 0.0);
    double births = 0.0;
    for (int x = 0; x < ages; ++x) {
      for (int j = 1; j <= columns; ++j) {
        const double here = n[cell(x, j)];
        if (here == 0.0) continue;
        births += model.eggs(x, j) * here;
        if (x + 1 == ages) continue;
        next[cell(x + 1, j)] += model.stay(x, j) * here;
        if (j < m) next[cell(x + 1, j + 1)] += model.stepToNext(x, j) * here;
        if (j == m - 1) next[cell(x + 1, m + 1)] += model.stepToMale(x, j) * here;
      }
    }
    next[cell(0, 1)] += births;
    double total = 0.0;
    double eaten = 0.0;
    for (int x = 0; x < ages; ++x) {
      for (int j = 1; j <= columns; ++j) {
        total += next[cell(x, j)];
        eaten += model.consumption(x, j) * next[cell(x, j)];
      }
    }
    // The cumulative predation, and with a time unit below a day the predation per day, are
    // the largest numbers the projection writes.
    if (!(total < kLargestValue) || !(eatenSoFar + eaten < kLargestValue) ||
        !(eaten / model.timeUnit < kLargestValue)) {
      projection.stepsAsked = lastStep;
      break;
    }
    n.swap(next);
  }

  const auto sumOf = [](const std::vector<double>& values) {
    double sum = 0.0;
    for (const double value : values) sum += value;
    return sum;
  };
  const int last = projection.lastStep();
  if (last >= 1) {
    const double before = sumOf(projection.population[static_cast<std::size_t>(last - 1)]);
    if (before > 0.0) {
      projection.finalGrowth =
          sumOf(projection.population[static_cast<std::size_t>(last)]) / before;
    }
  }
  if (model.lambdaStep) {
    std::vector<double> stableShare(static_cast<std::size_t>(columns), 0.0);
    for (int x = 0; x < ages; ++x) {
      for (int j = 1; j <= columns; ++j) {
        stableShare[static_cast<std::size_t>(j - 1)] += model.stable.at(x, j);
      }
    }
    const auto nearStable = [&](const std::vector<double>& population) {
      const double total = sumOf(population);
      if (!(total > 0.0)) return false;
      for (std::size_t j = 0; j < population.size(); ++j) {
        if (std::abs(population[j] / total - stableShare[j]) > kStableTolerance * stableShare[j]) {
          return false;
        }
      }
      return true;
    };
    std::optional<int> from;
    for (int t = last; t >= 0 && nearStable(projection.population[static_cast<std::size_t>(t)]);
         --t) {
      from = t;
    }
    if (from) projection.convergenceDay = *from * model.timeUnit;
  }
  return projection;
}

}  // namespace pellmar
