#include "core/resampling/bootstrap_engine.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/analysis/drawn_cohort_analyser.h"
#include "core/data/table_index.h"
#include "core/numeric/replicate_random.h"
#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

constexpr int kBatch = 1024;

void throwIfStopped(const ProgressAndStop& work) {
  if (work.stop.stop_requested()) {
    throw UserError("Bootstrap", "The bootstrap was stopped before it ended; no file was written.",
                    ErrorKind::kCommandFailed);
  }
}

// Per-thread working tables.
struct Worker {
  Worker(const CohortContributions& cohort, const ReplicateFigures* figures)
      : analyser(cohort),
        counts(at(cohort.individualCount) + 1, 0),
        netMaternity(at(cohort.ageRows), 0.0) {
    if (figures != nullptr) curves.emplace(figures->curves);
  }
  DrawnCohortAnalyser analyser;
  DrawnCohortEstimates estimates;
  std::vector<int> counts;
  std::vector<int> individuals;
  ReplicateDraws draws;
  std::vector<double> netMaternity;  // l(x)m(x) of the replicate
  // The life figures and curves of the replicate, when they are asked for.
  std::optional<StageCurveAnalyser> curves;
  LifeFigureValues lifeFigures;
  std::vector<double> alive;
};

// Puts replicate b's life figures and curve values into their slots.
void storeFigures(Worker& worker, const ReplicateFigures& figures, const EggContributions* eggs,
                  int b, double lambda, int sampleSize, BootstrapResults& state) {
  lifeFiguresOf(
      figures.figures, worker.draws,
      eggs != nullptr ? std::span<const double>(worker.netMaternity) : std::span<const double>(),
      sampleSize, worker.alive, worker.lifeFigures);
  for (int f = 0; f < kLifeFigureCount; ++f) {
    if (!worker.lifeFigures.valid[at(f)]) continue;
    state.bootLifeFigures[at(f)][at(b)] = worker.lifeFigures.value[at(f)];
    state.bootLifeFigureValid[at(f)][at(b)] = 1;
  }
  if (figures.expectancy.empty()) return;
  const std::size_t cells = figures.curves.cellInGrid.size();
  const std::size_t row = at(b - 1) * cells;
  const DrawnFecundity fecundity{lambda, worker.netMaternity, sampleSize};
  worker.curves->analyse(
      worker.draws, eggs != nullptr ? &fecundity : nullptr, figures.expectancy.subspan(row, cells),
      figures.reproductiveValue.empty() ? std::span<float>()
                                        : figures.reproductiveValue.subspan(row, cells));
}

// Puts the estimates of replicate b into its slots; FP = psi x lambda^t.
void storeEstimates(const DrawnCohortEstimates& e, int b, double lambda,
                    const CohortContributions& cohort, BootstrapResults& state) {
  const auto bi = at(b);
  const int m = cohort.stageCount;
  state.bootC0[bi] = e.c0;
  for (int j = 1; j <= m; ++j) {
    const auto ji = at(j);
    if (e.stageValid[ji]) {
      state.bootStageDuration[ji][bi] = e.stageDuration[ji];
      state.bootStageConsumption[ji][bi] = e.stageConsumption[ji];
      state.bootStageValid[ji][bi] = 1;
    }
    if (e.cumulativeValid[ji]) {
      state.bootCumDuration[ji][bi] = e.cumulativeDuration[ji];
      state.bootCumValid[ji][bi] = 1;
    }
    for (int k = 1; k <= cohort.sexCount; ++k) {
      if (!e.consumptionBySexValid[at(k)][ji]) continue;
      state.bootStageConsumptionBySex[at(k)][ji][bi] = e.consumptionBySex[at(k)][ji];
      state.bootStageBySexValid[at(k)][ji][bi] = 1;
    }
  }
  for (int j = 1; j <= m + 1; ++j) {
    const auto ji = at(j);
    if (!e.dailyMeanValid[ji]) continue;
    state.bootStageDailyMean[ji][bi] = e.dailyMean[ji];
    state.bootDailyMeanValid[ji][bi] = 1;
  }
  if (e.psiValid) {
    state.bootPsi[bi] = e.psi;
    state.bootFP[bi] = e.psi * std::pow(lambda, cohort.timeUnit);
    state.bootPsiValid[bi] = 1;
  }
}

bool anyLaidEggs(const EggContributions& eggs, const std::vector<int>& individuals) {
  return std::any_of(individuals.begin(), individuals.end(),
                     [&](int i) { return !eggs.individuals[at(i)].eggs.empty(); });
}

// The refusal of a bootstrap whose replicate b found no eggs.
UserError tooFewLayingFemales(const EggContributions& eggs, int b, int sampleSize) {
  const auto laying = std::count_if(eggs.individuals.begin(), eggs.individuals.end(),
                                    [](const EggContribution& c) { return !c.eggs.empty(); });
  return {"Bootstrap",
          "In " + formatInteger(kMaxDrawsForEggs) + " draws, replicate " + formatInteger(b) +
              " never drew a female that laid eggs: too few laying females (" +
              formatInteger(static_cast<int>(laying)) + " of " +
              formatInteger(static_cast<int>(eggs.individuals.size()) - 1) +
              " individuals) for every replicate of " + formatInteger(sampleSize) +
              " to have an R0. No file was written.",
          ErrorKind::kCommandFailed};
}

// Runs `task(worker, t)` once per worker, each on a thread of its own; the calling thread is
// thread 0 and reports progress.
template <typename Task>
void onEveryThread(std::vector<Worker>& workers, Task task) {
  std::vector<std::jthread> others;
  for (std::size_t t = 1; t < workers.size(); ++t) {
    others.emplace_back([&, t] { task(workers[t], static_cast<int>(t)); });
  }
  task(workers[0], 0);
}

}  // namespace

int replicateThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 16U));
}

void sizeBootstrapTables(BootstrapResults& state, int replicates, int stageCount, int sexCount) {
  const auto slots = at(replicates) + 1;
  const auto stages = at(stageCount) + 2;
  for (std::vector<double>* table :
       {&state.bootC0, &state.bootQp, &state.bootPsi, &state.bootFP, &state.bootR0,
        &state.bootLambda, &state.bootR, &state.bootT}) {
    table->assign(slots, 0.0);
  }
  for (auto* table : {&state.bootStageDuration, &state.bootCumDuration, &state.bootStageConsumption,
                      &state.bootStageDailyMean}) {
    table->assign(stages, std::vector<double>(slots, 0.0));
  }
  state.bootStageConsumptionBySex.assign(
      at(sexCount) + 1, std::vector<std::vector<double>>(stages, std::vector<double>(slots, 0.0)));
  const ReplicateValidity none(slots, 0);
  for (auto* table : {&state.bootStageValid, &state.bootCumValid, &state.bootDailyMeanValid}) {
    table->assign(stages, none);
  }
  state.bootStageBySexValid.assign(at(sexCount) + 1, std::vector<ReplicateValidity>(stages, none));
  state.bootPsiValid = none;
  for (int f = 0; f < kLifeFigureCount; ++f) {
    state.bootLifeFigures[at(f)].assign(slots, 0.0);
    state.bootLifeFigureValid[at(f)] = none;
  }
}

int drawOwnSample(std::uint64_t seed, int b, int cohortSize, const EggContributions* eggs,
                  std::vector<int>& individuals) {
  ReplicateRandom random(seed, static_cast<std::uint64_t>(b));
  for (int tries = 1; tries <= kMaxDrawsForEggs; ++tries) {
    for (int& i : individuals) i = drawIndividual(random, cohortSize);
    if (eggs == nullptr || anyLaidEggs(*eggs, individuals)) return tries;
  }
  return 0;
}

void runOwnSampleReplicates(const CohortContributions& cohort, BootstrapResults& state,
                            const ProgressAndStop& work, const OwnSampleFecundity* fecundity,
                            const ReplicateFigures* figures) {
  const int replicates = state.bootCount;
  const int sampleSize = state.bootSampleSize;
  const EggContributions* eggs = fecundity != nullptr ? &fecundity->eggs : nullptr;
  const EggContributions* redrawUntilEggs = state.redrawBarren ? eggs : nullptr;
  std::vector<Worker> workers;
  workers.reserve(at(replicateThreadCount()));
  for (int t = 0; t < replicateThreadCount(); ++t) workers.emplace_back(cohort, figures);
  std::atomic<int> nextBatch{0};
  std::atomic<long> done{0};
  std::atomic<bool> stopped{false};
  std::atomic<int> barren{0};
  std::mutex failureMutex;
  int failedReplicate = 0;  // the first replicate without eggs found, 0 for none
  const int batches = (replicates + kBatch - 1) / kBatch;

  // One replicate: its draws, its own life table when there are eggs, then its analysis.
  const auto replicate = [&](Worker& worker, int b) {
    worker.individuals.resize(at(sampleSize));
    const int draws =
        drawOwnSample(state.seed, b, cohort.individualCount, redrawUntilEggs, worker.individuals);
    if (draws == 0) {
      const std::scoped_lock lock(failureMutex);
      if (failedReplicate == 0 || b < failedReplicate) failedReplicate = b;
      stopped = true;
      return;
    }
    if (draws > 1) ++barren;
    collectDraws(worker.individuals, worker.counts, worker.draws);
    double lambda = 0.0;
    if (eggs != nullptr) {
      netMaternityOf(*eggs, worker.draws, sampleSize, worker.netMaternity);
      const PopulationGrowth growth =
          populationGrowth(worker.netMaternity, cohort.timeUnit, fecundity->start);
      const auto bi = at(b);
      state.bootR0[bi] = growth.R0;
      if (growth.rates) {
        lambda = growth.rates->lambda;
        state.bootR[bi] = growth.rates->r;
        state.bootLambda[bi] = lambda;
        state.bootT[bi] = growth.rates->T;
      } else if (redrawUntilEggs == nullptr) {
        ++barren;
      }
    }
    worker.analyser.analyse(worker.draws, sampleSize, lambda, worker.estimates);
    storeEstimates(worker.estimates, b, lambda, cohort, state);
    if (figures != nullptr) storeFigures(worker, *figures, eggs, b, lambda, sampleSize, state);
  };

  onEveryThread(workers, [&](Worker& worker, int thread) {
    for (int batch = nextBatch++; batch < batches && !stopped; batch = nextBatch++) {
      const int first = batch * kBatch + 1;
      const int last = std::min(replicates, first + kBatch - 1);
      for (int b = first; b <= last && !stopped; ++b) replicate(worker, b);
      done += last - first + 1;
      if (thread == 0) {
        if (work.stop.stop_requested()) stopped = true;
        if (work.progress) work.progress(done, replicates);
      }
    }
  });
  if (failedReplicate != 0) throw tooFewLayingFemales(*eggs, failedReplicate, sampleSize);
  throwIfStopped(work);
  state.barrenReplicates = barren;
  if (work.progress) work.progress(replicates, replicates);
}

void runSameSampleReplicates(const CohortContributions& cohort, BootstrapResults& state,
                             SamplesFileReader& samples, const ProgressAndStop& work,
                             const ReplicateFigures* figures) {
  const int replicates = state.bootCount;
  const int sampleSize = samples.sampleSize();
  std::vector<Worker> workers;
  workers.reserve(at(replicateThreadCount()));
  for (int t = 0; t < replicateThreadCount(); ++t) workers.emplace_back(cohort, figures);
  const auto threads = static_cast<int>(workers.size());

  // Two buffers of samples: one is analysed while the next batch is read into the other.
  std::vector<std::vector<int>> batch[2];
  const auto readBatch = [&](std::vector<std::vector<int>>& buffer, int first) {
    const int last = std::min(replicates, first + kBatch - 1);
    buffer.resize(at(std::max(last - first + 1, 0)));
    for (int b = first; b <= last; ++b) {
      samples.readReplicate(b, buffer[at(b - first)], state.bootR0[at(b)], state.bootLambda[at(b)]);
    }
  };
  readBatch(batch[0], 1);
  int current = 0;
  for (int first = 1; first <= replicates; first += kBatch) {
    throwIfStopped(work);
    const auto& samplesNow = batch[current];
    std::exception_ptr readFailure;
    {
      std::vector<std::jthread> analysts;
      analysts.reserve(at(threads));
      for (int t = 0; t < threads; ++t) {
        analysts.emplace_back([&, t] {
          Worker& worker = workers[at(t)];
          for (std::size_t k = at(t); k < samplesNow.size(); k += at(threads)) {
            const int b = first + static_cast<int>(k);
            collectDraws(samplesNow[k], worker.counts, worker.draws);
            const double lambda = state.bootLambda[at(b)];
            worker.analyser.analyse(worker.draws, sampleSize, lambda, worker.estimates);
            storeEstimates(worker.estimates, b, lambda, cohort, state);
            if (figures != nullptr)
              storeFigures(worker, *figures, nullptr, b, lambda, sampleSize, state);
          }
        });
      }
      try {
        if (first + kBatch <= replicates) readBatch(batch[1 - current], first + kBatch);
      } catch (...) {
        readFailure = std::current_exception();
      }
    }
    if (readFailure) std::rethrow_exception(readFailure);
    current = 1 - current;
    if (work.progress) work.progress(std::min(replicates, first + kBatch - 1), replicates);
  }
  state.lifeTable = samples.readClosingFigures();
}

}  // namespace pellmar
