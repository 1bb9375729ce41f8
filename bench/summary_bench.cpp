// What the results summary adds to a large bootstrap: the bootstrap command of B = 100,000
// own-sample replicates of 400 individuals (replicates, report, result files and the summary)
// against the summary alone on its results. The summary's share is the second figure over the
// first.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "app/program.h"
#include "app/system_clock.h"
#include "study_generator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kReplicates = 100000;

// A program that has run the Basic Run on a generated study of 400 individuals and 7 stages.
struct AnalysedStudy {
  AnalysedStudy() : folder(fs::temp_directory_path() / "pellmar_bench_summary") {
    fs::create_directories(folder);
    const fs::path data = folder / "large.txt";
    std::ofstream(data, std::ios::binary)
        << pellmar::tools::generateStudy(pellmar::tools::StudyShape{400, 7, 2026, 1.0});
    program.run(pellmar::OpenRequest{data.string(), 1});
    program.run(pellmar::BasicRunRequest{});
  }
  ~AnalysedStudy() { fs::remove_all(folder); }
  AnalysedStudy(const AnalysedStudy&) = delete;
  AnalysedStudy& operator=(const AnalysedStudy&) = delete;

  fs::path folder;
  pellmar::Program program{pellmar::readSystemClock};
};

pellmar::BootstrapRequest ownSamples() {
  pellmar::BootstrapRequest request;
  request.replicates = kReplicates;
  request.sampleSize = 400;
  request.seed = 1;
  return request;
}

void BM_BootstrapCommand100000Replicates(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto study = std::make_unique<AnalysedStudy>();
    state.ResumeTiming();
    study->program.run(ownSamples());
    state.PauseTiming();
    study.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BootstrapCommand100000Replicates)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SummaryOf100000Replicates(benchmark::State& state) {
  AnalysedStudy study;
  study.program.run(ownSamples());
  for (auto _ : state) {
    const auto rows = study.program.summary();
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_SummaryOf100000Replicates)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
