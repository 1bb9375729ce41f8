// The speed and memory goal of a projection's band: a 90-day projection from eggs of a generated
// 400-individual study with its eggs, every one of B = 100,000 own-sample replicates of n = 400
// projected with its own life table, the band and the ranked life tables found. It may take at
// most 3 times BM_OwnSamplesBootstrap100000WithFecundity, the bootstrap it comes after, and at
// most 500 MiB (measured on the whole run by time_resampling_runs.sh).
#include <benchmark/benchmark.h>

#include "core/analysis/basic_run.h"
#include "core/data/fecundity_file.h"
#include "core/data/study_reader.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/projection.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/projection_replicates.h"
#include "study_generator.h"

namespace {

constexpr int kReplicates = 100000;
constexpr int kSampleSize = 400;
constexpr int kDays = 90;
const pellmar::tools::StudyShape kShape{400, 7, 2026, 1.0};

void BM_ProjectionBand100000Replicates90Days(benchmark::State& state) {
  const pellmar::Study study = pellmar::readStudy(
      pellmar::InputFile{"study", pellmar::tools::generateStudy(kShape), ""}, 1.0, "study");
  const pellmar::BasicRunResults basic = pellmar::basicRun(study);
  const pellmar::FecundityData eggs =
      pellmar::parseFecundity(pellmar::tools::generateFecundity(kShape), "eggs", study);
  const pellmar::FecundityLifeTable table = pellmar::computeFecundityLifeTable(study, basic, eggs);
  const pellmar::StudyFecundity fecundity{eggs, table};
  const pellmar::BootstrapResults boot = pellmar::ownSamplesBootstrap(
      study, basic, pellmar::OwnSamplesOptions{kReplicates, kSampleSize, 1, false}, &fecundity, {});
  const pellmar::ProjectionStart start{pellmar::ProjectionStart::Kind::kEggs, 10.0};
  const pellmar::Projection cohort = pellmar::projectPopulation(
      pellmar::projectionLifeTableOf(basic, table), start, kDays, "Projection");
  const pellmar::ProjectionBootstrap source{boot.seed,         boot.bootCount,  boot.bootSampleSize,
                                            boot.redrawBarren, boot.bootLambda, 0.95};
  for (auto _ : state) {
    const pellmar::ProjectionReplicates replicates =
        pellmar::projectReplicates(study, eggs, source, start, cohort, {});
    benchmark::DoNotOptimize(replicates.band.low.data());
  }
}
BENCHMARK(BM_ProjectionBand100000Replicates90Days)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
