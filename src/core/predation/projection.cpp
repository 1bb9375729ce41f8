#include "core/predation/projection.h"

#include <algorithm>
#include <array>
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

std::size_t index(int value) { return static_cast<std::size_t>(value); }

// The stable distribution's newborn equivalents of each age y = 0 .. ages - 1: a(y, j) =
// weight(y) s(y, j), with weight(y) proportional to lambda_step^-(y + 1) and the a summing to 1.
// The powers are taken through logarithms scaled to their largest, so that a lambda far from 1
// over many ages overflows nothing.
std::vector<double> stableAgeWeights(const ProjectionLifeTable& table) {
  const double logStep = std::log(*table.lambdaStep);
  const int ages = table.ages;
  const double largest = std::max(-logStep, -ages * logStep);
  std::vector<double> weight(index(ages));
  for (int y = 0; y < ages; ++y) weight[index(y)] = std::exp(-(y + 1) * logStep - largest);
  double total = 0.0;
  for (const ProjectionLifeTable::Column& column : table.byColumn) {
    for (std::size_t k = 0; k < column.survival.size(); ++k) {
      total += weight[index(column.firstAge) + k] * column.survival[k];
    }
  }
  for (double& w : weight) w /= total;
  return weight;
}

double sumOf(std::span<const double> values) {
  return std::accumulate(values.begin(), values.end(), 0.0);
}

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

ProjectionLifeTable projectionLifeTableOf(const BasicRunResults& basic,
                                          const FecundityLifeTable& lifeTable) {
  ProjectionLifeTable table;
  table.timeUnit = lifeTable.timeUnit;
  const int ages = basic.maxAgeIndex + 1;
  fillProjectionColumns(
      table, ages, basic.S.columns() - 1, [&](int x, int j) { return basic.S.at(x, j); },
      [&](int x, int j) { return basic.S.at(x, j) * basic.C.at(x, j); });
  table.netMaternity.assign(index(ages), 0.0);
  for (int x = 0; x < ages && index(x) < lifeTable.lm.size(); ++x) {
    table.netMaternity[index(x)] = lifeTable.lm[index(x)];
  }
  if (lifeTable.growth) table.lambdaStep = std::pow(lifeTable.growth->lambda, table.timeUnit);
  return table;
}

std::vector<double> stableStageShares(const ProjectionLifeTable& table) {
  const std::vector<double> weight = stableAgeWeights(table);
  std::vector<double> shares;
  for (const ProjectionLifeTable::Column& column : table.byColumn) {
    double share = 0.0;
    for (std::size_t k = 0; k < column.survival.size(); ++k) {
      share += weight[index(column.firstAge) + k] * column.survival[k];
    }
    shares.push_back(share);
  }
  return shares;
}

int PopulationProjector::project(const ProjectionLifeTable& table, const ProjectionStart& start,
                                 int lastStep) {
  const int oldest = std::max(table.ages - 1, 0);
  steps_ = lastStep + 1;
  births_.assign(index(oldest + lastStep + 2), 0.0);
  double* births = births_.data() + oldest;  // births[u] is b(u), u = -oldest .. lastStep + 1
  if (start.kind == ProjectionStart::Kind::kEggs) {
    births[0] = start.count;
  } else {
    const std::vector<double> weight = stableAgeWeights(table);
    for (int y = 0; y <= oldest && index(y) < weight.size(); ++y) {
      births[-y] = start.count * weight[index(y)];
    }
  }
  // The newborns of each step, from the ages at which l(x)m(x) is above 0, in four partial sums
  // that the processor adds side by side.
  int firstLaying = 0;
  int lastLaying = -1;
  for (int x = 0; x < static_cast<int>(table.netMaternity.size()) && x <= oldest; ++x) {
    if (table.netMaternity[index(x)] == 0.0) continue;
    if (lastLaying < 0) firstLaying = x;
    lastLaying = x;
  }
  const double* lm = table.netMaternity.data();
  for (int t = 0; t < lastStep; ++t) {
    std::array<double, 4> partial{};
    int x = firstLaying;
    for (; x + 3 <= lastLaying; x += 4) {
      for (int k = 0; k < 4; ++k) partial[index(k)] += lm[x + k] * births[t - x - k];
    }
    for (; x <= lastLaying; ++x) partial[0] += lm[x] * births[t - x];
    births[t + 1] = (partial[0] + partial[1]) + (partial[2] + partial[3]);
  }

  // Every column's individuals and prey at every step, n(x, j, t) = b(t - x) s(x, j), summed
  // over the ages one age at a time for all the steps at once.
  const int columns = table.columns;
  population_.assign(index(columns) * index(steps_), 0.0);
  predation_.assign(index(columns) * index(steps_), 0.0);
  for (int j = 1; j <= columns; ++j) {
    const ProjectionLifeTable::Column& column = table.byColumn[index(j - 1)];
    double* alive = population_.data() + cell(0, j);
    double* prey = predation_.data() + cell(0, j);
    for (std::size_t k = 0; k < column.survival.size(); ++k) {
      const double survival = column.survival[k];
      const double eaten = column.eaten[k];
      const double* born = births - column.firstAge - static_cast<std::ptrdiff_t>(k);
      for (int t = 0; t < steps_; ++t) {
        alive[t] += survival * born[t];
        prey[t] += eaten * born[t];
      }
    }
  }

  total_.assign(index(steps_), 0.0);
  double eatenSoFar = 0.0;
  for (int t = 0; t < steps_; ++t) {
    double total = 0.0;
    double eaten = 0.0;
    for (int j = 1; j <= columns; ++j) {
      total += population_[cell(t, j)];
      eaten += predation_[cell(t, j)];
    }
    // The stable distribution holds N0 by its making; the sum of its parts may round away.
    if (t == 0 && start.kind == ProjectionStart::Kind::kStable) total = start.count;
    total_[index(t)] = total;
    eatenSoFar += eaten;
    // The cumulative predation, and with a time unit below a day the predation per day, are
    // the largest numbers the projection writes.
    if (!(total < kLargestValue) || !(eatenSoFar < kLargestValue) ||
        !(eaten / table.timeUnit < kLargestValue)) {
      return t - 1;
    }
  }
  return lastStep;
}

std::optional<int> projectionSteps(double days, double timeUnit) {
  const double steps = std::floor(days / timeUnit + 1e-9);
  if (!(steps <= kMaxProjectionSteps)) return std::nullopt;
  return static_cast<int>(steps);
}

Projection projectPopulation(const ProjectionLifeTable& table, const ProjectionStart& start,
                             int lastStep, const std::string& title) {
  if (start.kind == ProjectionStart::Kind::kStable && !table.lambdaStep) {
    throw UserError(title,
                    "A projection from the stable age-stage distribution (stable:N0) needs the "
                    "cohort's lambda, and no female laid eggs: start from eggs:N0.",
                    ErrorKind::kInvalidRequest);
  }
  PopulationProjector projector;
  const int last = projector.project(table, start, lastStep);
  if (last < 0) {
    throw UserError(title,
                    "The projection would start from more than 1e300 individuals or prey, "
                    "more than its numbers can hold: start from fewer.",
                    ErrorKind::kInvalidRequest);
  }
  Projection projection;
  projection.timeUnit = table.timeUnit;
  if (last < lastStep) projection.stepsAsked = lastStep;
  for (int t = 0; t <= last; ++t) {
    std::vector<double>& population = projection.population.emplace_back();
    std::vector<double>& predation = projection.predation.emplace_back();
    for (int j = 1; j <= table.columns; ++j) {
      population.push_back(projector.population(t, j));
      predation.push_back(projector.predation(t, j));
    }
    projection.total.push_back(projector.total(t));
  }

  if (last >= 1) {
    const double before = projection.total[index(last - 1)];
    if (before > 0.0) projection.finalGrowth = projection.total[index(last)] / before;
  }
  if (table.lambdaStep) {
    const std::vector<double> stableShare = stableStageShares(table);
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
    for (int t = last; t >= 0 && nearStable(projection.population[index(t)]); --t) from = t;
    if (from) projection.convergenceDay = *from * table.timeUnit;
  }
  return projection;
}

}  // namespace pellmar
