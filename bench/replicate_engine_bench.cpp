// The bootstrap engine against the literal replicate analysis kept in the tests, on the same
// 1000 own-sample replicates of 400 individuals drawn from a generated 400-individual study.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/data/study_reader.h"
#include "core/numeric/replicate_random.h"
#include "core/replicate_reference.h"
#include "core/resampling/bootstrap_engine.h"
#include "study_generator.h"

namespace {

constexpr int kReplicates = 1000;
constexpr int kSampleSize = 400;
constexpr std::uint64_t kSeed = 1;

const pellmar::Study& study() {
  static const pellmar::Study data = pellmar::readStudy(
      pellmar::InputFile{
          "study", pellmar::tools::generateStudy(pellmar::tools::StudyShape{400, 7, 2026, 1.0}),
          ""},
      1.0, "study");
  return data;
}

void BM_Engine1000Replicates(benchmark::State& state) {
  const pellmar::CohortContributions cohort = pellmar::buildCohortContributions(study());
  for (auto _ : state) {
    pellmar::BootstrapResults boot;
    boot.bootCount = kReplicates;
    boot.bootSampleSize = kSampleSize;
    boot.seed = kSeed;
    pellmar::sizeBootstrapTables(boot, kReplicates, study().stageCount, study().sexCount);
    pellmar::runOwnSampleReplicates(cohort, boot, pellmar::ProgressAndStop{});
    benchmark::DoNotOptimize(boot.bootC0.data());
  }
}
BENCHMARK(BM_Engine1000Replicates)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LiteralReference1000Replicates(benchmark::State& state) {
  for (auto _ : state) {
    double sum = 0.0;
    for (int b = 1; b <= kReplicates; ++b) {
      pellmar::ReplicateRandom random(kSeed, static_cast<std::uint64_t>(b));
      std::vector<int> drawn(kSampleSize);
      for (int& i : drawn) i = pellmar::drawIndividual(random, study().individualCount);
      sum += pellmar::reference::analyseReplicate(study(), drawn, 0.0).c0;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_LiteralReference1000Replicates)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
