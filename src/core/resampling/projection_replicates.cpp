#include "core/resampling/projection_replicates.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <thread>

#include "core/analysis/cohort_contributions.h"
#include "core/analysis/drawn_cohort_analyser.h"
#include "core/data/table_index.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/value_tails.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

constexpr int kRowsPerBatch = 64;

// What stays the same for every replicate.
struct ReplicateSource {
  const Study& study;
  const CohortContributions& cohort;
  const EggContributions& eggs;
  const ProjectionBootstrap& bootstrap;
};

// One thread's working tables, kept from replicate to replicate.
struct ReplicateWorker {
  explicit ReplicateWorker(const CohortContributions& cohort)
      : analyser(cohort), counts(at(cohort.individualCount) + 1, 0) {}
  DrawnCohortAnalyser analyser;
  std::vector<int> counts;
  std::vector<int> individuals;
  ReplicateDraws draws;
  ProjectionLifeTable table;
  PopulationProjector projector;
  std::vector<double> cumulative;
  std::vector<double> values;
  std::vector<double> rows;  // a batch of replicates' values, replicate by replicate
};

// The values of a step in the order of the projection file, from the individuals and the prey
// of each column j = 1 .. columns; `cumulative` is carried on past the step.
template <typename Population, typename Predation>
void stepValuesOf(int columns, double total, double timeUnit, Population population,
                  Predation predation, std::span<double> cumulative, std::span<double> values) {
  const auto width = static_cast<std::size_t>(columns) + 1;  // the columns, then the total
  double eatenPerDay = 0.0;
  double eatenSoFar = 0.0;
  for (int j = 1; j <= columns; ++j) {
    const auto k = at(j - 1);
    const double perDay = predation(j) / timeUnit;
    cumulative[k] += predation(j);
    values[k] = population(j);
    values[width + k] = perDay;
    values[2 * width + k] = cumulative[k];
    eatenPerDay += perDay;
    eatenSoFar += cumulative[k];
  }
  values[width - 1] = total;
  values[2 * width - 1] = eatenPerDay;
  values[3 * width - 1] = eatenSoFar;
}

// Draws replicate b again and puts its life table into worker.table.
void buildReplicateTable(const ReplicateSource& source, int b, ReplicateWorker& worker) {
  const ProjectionBootstrap& bootstrap = source.bootstrap;
  const int n = bootstrap.sampleSize;
  worker.individuals.resize(at(n));
  drawOwnSample(bootstrap.seed, b, source.cohort.individualCount,
                bootstrap.redrawBarren ? &source.eggs : nullptr, worker.individuals);
  collectDraws(worker.individuals, worker.counts, worker.draws);
  DrawnCohortAnalyser& analyser = worker.analyser;
  analyser.netConsumptionRateOf(worker.draws, n);
  const int ages = analyser.maxAgeIndex() + 1;
  const auto size = static_cast<double>(n);
  ProjectionLifeTable& table = worker.table;
  table.timeUnit = source.study.timeUnit;
  fillProjectionColumns(
      table, ages, source.study.stageCount + 1,
      [&](int x, int j) { return analyser.count(x, j) / size; },
      [&](int x, int j) { return analyser.eaten(x, j) / size; });
  table.netMaternity.resize(at(ages));
  netMaternityOf(source.eggs, worker.draws, n, table.netMaternity);
  const double lambda = bootstrap.lambda[at(b)];
  table.lambdaStep = lambda > 0.0 ? std::optional(std::pow(lambda, table.timeUnit)) : std::nullopt;
}

void throwIfProjectionStopped(const ProgressAndStop& work) {
  if (work.stop.stop_requested()) {
    throw UserError("Projection",
                    "The projection was stopped before it ended; no file was written.",
                    ErrorKind::kCommandFailed);
  }
}

// The replicates with a lambda, sorted by (lambda, replicate), at the ranks (1 - P)/2, 1/2 and
// (1 + P)/2.
std::vector<std::pair<std::string, int>> lambdaRanks(const ProjectionBootstrap& bootstrap) {
  std::vector<int> ranked;
  for (int b = 1; b <= bootstrap.replicates; ++b) {
    if (bootstrap.lambda[at(b)] > 0.0) ranked.push_back(b);
  }
  if (ranked.empty()) return {};
  std::sort(ranked.begin(), ranked.end(), [&](int a, int b) {
    return std::pair(bootstrap.lambda[at(a)], a) < std::pair(bootstrap.lambda[at(b)], b);
  });
  const auto count = static_cast<double>(ranked.size());
  const double p = bootstrap.confidence;
  const int low = std::max(1, static_cast<int>(std::ceil(count * (1 - p) / 2 - 1e-9)));
  const int median = static_cast<int>(std::ceil(count / 2));
  const int high = std::min(static_cast<int>(ranked.size()),
                            static_cast<int>(std::ceil(count * (1 + p) / 2 - 1e-9)));
  return {{"low", ranked[at(low - 1)]},
          {"median", ranked[at(median - 1)]},
          {"high", ranked[at(high - 1)]}};
}

}  // namespace

void projectionStepValues(const Projection& projection, int t, std::span<double> cumulative,
                          std::span<double> values) {
  const auto ti = static_cast<std::size_t>(t);
  const std::vector<double>& population = projection.population[ti];
  const std::vector<double>& predation = projection.predation[ti];
  stepValuesOf(
      static_cast<int>(population.size()), projection.total[ti], projection.timeUnit,
      [&](int j) { return population[at(j - 1)]; }, [&](int j) { return predation[at(j - 1)]; },
      cumulative, values);
}

ProjectionReplicates projectReplicates(const Study& study, const FecundityData& fecundity,
                                       const ProjectionBootstrap& bootstrap,
                                       const ProjectionStart& start, const Projection& cohort,
                                       const ProgressAndStop& work) {
  const CohortContributions contributions = buildCohortContributions(study);
  const EggContributions eggs = buildEggContributions(study, fecundity);
  const ReplicateSource source{study, contributions, eggs, bootstrap};
  const int columns = study.stageCount + 1;
  const int valuesPerStep = projectionValuesPerStep(columns);
  const auto perStep = at(valuesPerStep);
  const int lastStep = cohort.lastStep();

  std::vector<int> taking;
  for (int b = 1; b <= bootstrap.replicates; ++b) {
    if (start.kind == ProjectionStart::Kind::kEggs || bootstrap.lambda[at(b)] > 0.0) {
      taking.push_back(b);
    }
  }
  const auto rows = static_cast<int>(taking.size());
  ProjectionReplicates result;
  ProjectionBand& band = result.band;
  band.replicates = rows;
  band.valuesPerStep = valuesPerStep;
  band.low.assign(at(lastStep + 1) * perStep, std::numeric_limits<double>::quiet_NaN());
  band.high = band.low;

  const int threads = bootstrap.threads > 0 ? bootstrap.threads : replicateThreadCount();
  std::vector<ReplicateWorker> workers;
  workers.reserve(at(threads));
  for (int t = 0; t < threads; ++t) workers.emplace_back(contributions);

  // The steps whose tails fit the memory at once: all of them unless the confidence is low
  // (wide tails) or there are very many steps; the replicates are projected again for each
  // further block.
  const double pLow = (1 - bootstrap.confidence) / 2;
  const double pHigh = (1 + bootstrap.confidence) / 2;
  const std::size_t stepBytes =
      perStep * ValueTails::mostKept(at(std::max(rows, 1)), pLow, pHigh) * sizeof(double);
  const int blockSteps = static_cast<int>(
      std::clamp<std::size_t>(bootstrap.blockBytes / stepBytes, 1, at(lastStep + 1)));
  const int blocks = rows == 0 ? 0 : (lastStep + blockSteps) / blockSteps;
  const long total = static_cast<long>(blocks) * rows;
  long done = 0;
  for (int block = 0; block < blocks; ++block) {
    const int first = block * blockSteps;
    const int last = std::min(lastStep, first + blockSteps - 1);
    const std::size_t cells = at(last - first + 1) * perStep;
    std::vector<ValueTails> tails(cells, ValueTails(at(rows), pLow, pHigh));
    std::mutex tailsMutex;
    std::atomic<int> nextBatch{0};
    std::atomic<long> blockDone{0};
    std::atomic<bool> stopped{false};
    const int batches = (rows + kRowsPerBatch - 1) / kRowsPerBatch;

    // A batch of replicates is projected into the worker's rows, then added to the tails.
    const auto projectBatch = [&](ReplicateWorker& worker, int from, int to) {
      worker.rows.resize(at(to - from) * cells);
      double* out = worker.rows.data();
      for (int row = from; row < to; ++row) {
        buildReplicateTable(source, taking[at(row)], worker);
        const int reached = worker.projector.project(worker.table, start, last);
        worker.cumulative.assign(at(columns), 0.0);
        worker.values.resize(perStep);
        for (int t = 0; t <= last; ++t) {
          if (t <= reached) {
            const PopulationProjector& projector = worker.projector;
            stepValuesOf(
                columns, projector.total(t), study.timeUnit,
                [&](int j) { return projector.population(t, j); },
                [&](int j) { return projector.predation(t, j); }, worker.cumulative, worker.values);
          } else {
            std::fill(worker.values.begin(), worker.values.end(),
                      std::numeric_limits<double>::infinity());
          }
          if (t >= first) out = std::copy(worker.values.begin(), worker.values.end(), out);
        }
      }
      const std::scoped_lock lock(tailsMutex);
      for (std::size_t k = 0; k < worker.rows.size(); ++k) tails[k % cells].add(worker.rows[k]);
    };
    const auto task = [&](ReplicateWorker& worker, int thread) {
      for (int batch = nextBatch++; batch < batches && !stopped; batch = nextBatch++) {
        const int from = batch * kRowsPerBatch;
        const int to = std::min(rows, from + kRowsPerBatch);
        projectBatch(worker, from, to);
        blockDone += to - from;
        if (thread == 0) {
          if (work.stop.stop_requested()) stopped = true;
          if (work.progress) work.progress(done + blockDone, total);
        }
      }
    };
    {
      std::vector<std::jthread> others;
      for (int t = 1; t < threads; ++t) others.emplace_back([&, t] { task(workers[at(t)], t); });
      task(workers[0], 0);
    }
    throwIfProjectionStopped(work);
    done += rows;
    for (std::size_t k = 0; k < cells; ++k) {
      const PercentileBounds bounds = tails[k].bounds();
      const std::size_t cell = at(first) * perStep + k;
      const auto finite = [](double value) {
        return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
      };
      band.low[cell] = finite(bounds.low);
      band.high[cell] = finite(bounds.high);
    }
  }

  for (const auto& [rank, b] : lambdaRanks(bootstrap)) {
    buildReplicateTable(source, b, workers[0]);
    result.ranks.push_back(
        LambdaRankProjection{rank, b, bootstrap.lambda[at(b)],
                             projectPopulation(workers[0].table, start, lastStep, "Projection")});
  }
  if (work.progress) work.progress(total, total);
  return result;
}

}  // namespace pellmar
