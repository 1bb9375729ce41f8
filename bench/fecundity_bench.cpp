// The cost a replicate's own fecundity adds to the replicate analysis, on one thread: 1000
// own-sample replicates of 400 individuals drawn from a generated 400-individual study with its
// generated eggs. Compared are the analysis of today's own-samples bootstrap (C0 and the stage
// means), the same with psi from the replicate's stable distribution, and that with the
// replicate's own l(x)m(x), R0, r, lambda and T in front, as a bootstrap with fecundity runs it.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/analysis/basic_run.h"
#include "core/analysis/drawn_cohort_analyser.h"
#include "core/data/fecundity_file.h"
#include "core/data/study_reader.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/population_growth.h"
#include "core/numeric/replicate_random.h"
#include "core/predation/fecundity_life_table.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/bootstrap_engine.h"
#include "study_generator.h"

namespace {

constexpr int kReplicates = 1000;
constexpr int kSampleSize = 400;
constexpr std::uint64_t kSeed = 1;
const pellmar::tools::StudyShape kShape{400, 7, 2026, 1.0};

struct Fixture {
  Fixture()
      : study(pellmar::readStudy(
            pellmar::InputFile{"study", pellmar::tools::generateStudy(kShape), ""}, 1.0, "study")),
        cohort(pellmar::buildCohortContributions(study)),
        eggs(pellmar::buildEggContributions(
            study,
            pellmar::parseFecundity(pellmar::tools::generateFecundity(kShape), "eggs", study))) {
    pellmar::sizeBootstrapTables(state, kReplicates, study.stageCount, study.sexCount);
    std::vector<double> lm(static_cast<std::size_t>(cohort.ageRows), 0.0);
    pellmar::ReplicateDraws everyone;
    for (int i = 1; i <= study.individualCount; ++i) everyone.emplace_back(i, 1);
    pellmar::netMaternityOf(eggs, everyone, study.individualCount, lm);
    cohortRate = *pellmar::intrinsicRateOfIncrease(lm, study.timeUnit);
  }
  pellmar::Study study;
  pellmar::CohortContributions cohort;
  pellmar::EggContributions eggs;
  pellmar::BootstrapResults state;
  double cohortRate = 0.0;
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

enum class Work { kConsumption, kPredation, kFecundity };

void runReplicates(benchmark::State& state, Work work) {
  Fixture& f = fixture();
  pellmar::DrawnCohortAnalyser analyser(f.cohort);
  std::vector<int> counts(static_cast<std::size_t>(f.study.individualCount) + 1, 0);
  std::vector<int> individuals(kSampleSize);
  std::vector<double> lm(static_cast<std::size_t>(f.cohort.ageRows), 0.0);
  pellmar::ReplicateDraws draws;
  pellmar::DrawnCohortEstimates estimates;
  // The bracket around the cohort's r that a bootstrap hands every replicate.
  const pellmar::RateBracket start = pellmar::bracketAround(f.cohortRate);
  double lambdaSum = 0.0;
  for (auto _ : state) {
    for (int b = 1; b <= kReplicates; ++b) {
      pellmar::ReplicateRandom random(kSeed, static_cast<std::uint64_t>(b));
      for (int& i : individuals) i = pellmar::drawIndividual(random, f.study.individualCount);
      pellmar::collectDraws(individuals, counts, draws);
      double lambda = work == Work::kPredation ? 1.15 : 0.0;
      if (work == Work::kFecundity) {
        pellmar::netMaternityOf(f.eggs, draws, kSampleSize, lm);
        const pellmar::PopulationGrowth growth =
            pellmar::populationGrowth(lm, f.study.timeUnit, start);
        lambda = growth.rates ? growth.rates->lambda : 0.0;
        lambdaSum += lambda;
      }
      analyser.analyse(draws, kSampleSize, lambda, estimates);
      benchmark::DoNotOptimize(estimates.c0);
    }
    benchmark::DoNotOptimize(lambdaSum);
  }
}

void BM_ReplicatesConsumptionOnly(benchmark::State& state) {
  runReplicates(state, Work::kConsumption);
}
BENCHMARK(BM_ReplicatesConsumptionOnly)->Unit(benchmark::kMillisecond);

void BM_ReplicatesWithPsi(benchmark::State& state) { runReplicates(state, Work::kPredation); }
BENCHMARK(BM_ReplicatesWithPsi)->Unit(benchmark::kMillisecond);

void BM_ReplicatesWithFecundity(benchmark::State& state) { runReplicates(state, Work::kFecundity); }
BENCHMARK(BM_ReplicatesWithFecundity)->Unit(benchmark::kMillisecond);

// The speed goal of a bootstrap with fecundity: B = 100,000 own-sample replicates of n = 400 on
// every core, as the command runs them, without and with every replicate's own life table (R0,
// r, lambda and T from its draws, then psi and FP at its lambda). The second may take at most
// 1.5 times the first.
constexpr int kGoalReplicates = 100000;

void runBootstrap(benchmark::State& state, bool withFecundity) {
  Fixture& f = fixture();
  const pellmar::OwnSampleFecundity fecundity{f.eggs, pellmar::bracketAround(f.cohortRate)};
  for (auto _ : state) {
    pellmar::BootstrapResults boot;
    boot.bootCount = kGoalReplicates;
    boot.bootSampleSize = kSampleSize;
    boot.seed = kSeed;
    pellmar::sizeBootstrapTables(boot, kGoalReplicates, f.study.stageCount, f.study.sexCount);
    pellmar::runOwnSampleReplicates(f.cohort, boot, pellmar::ProgressAndStop{},
                                    withFecundity ? &fecundity : nullptr);
    benchmark::DoNotOptimize(boot.bootC0.data());
  }
}

void BM_Bootstrap100000Without(benchmark::State& state) { runBootstrap(state, false); }
BENCHMARK(BM_Bootstrap100000Without)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_Bootstrap100000WithFecundity(benchmark::State& state) { runBootstrap(state, true); }
BENCHMARK(BM_Bootstrap100000WithFecundity)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// The whole bootstrap with fecundity as a run asks for it, at B = 100,000 and n = 400: the
// replicates with their own life tables, then their summaries, and every replicate's life
// figures and curves e(x, j) and v(x, j) with their bands.
void BM_OwnSamplesBootstrap100000WithFecundity(benchmark::State& state) {
  Fixture& f = fixture();
  const pellmar::BasicRunResults basic = pellmar::basicRun(f.study);
  const pellmar::FecundityData eggs =
      pellmar::parseFecundity(pellmar::tools::generateFecundity(kShape), "eggs", f.study);
  const pellmar::FecundityLifeTable table =
      pellmar::computeFecundityLifeTable(f.study, basic, eggs);
  const pellmar::StudyFecundity fecundity{eggs, table};
  for (auto _ : state) {
    const pellmar::BootstrapResults boot = pellmar::ownSamplesBootstrap(
        f.study, basic, pellmar::OwnSamplesOptions{kGoalReplicates, kSampleSize, kSeed, false},
        &fecundity, {});
    benchmark::DoNotOptimize(boot.bootC0.data());
  }
}
BENCHMARK(BM_OwnSamplesBootstrap100000WithFecundity)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
