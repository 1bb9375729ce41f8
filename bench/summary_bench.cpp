// What the results summary adds to a large bootstrap: the bootstrap command of B = 100,000
// own-sample replicates of 400 individuals (replicates, report, result files and the summary)
// against the summary alone on its results. The summary's share is the second figure over the
// first.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "app/analysis.h"
#include "study_generator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kReplicates = 100000;

pellmar::BootstrapRequest ownSamples() {
  pellmar::BootstrapRequest request;
  request.replicates = kReplicates;
  request.sampleSize = 400;
  request.seed = 1;
  return request;
}

// An analysis after the Basic Run of a generated study of 400 individuals and 7 stages; its
// files are saved into a scratch folder and never put in place.
struct AnalysedStudy {
  AnalysedStudy() : folder(fs::temp_directory_path() / "pellmar_bench_summary") {
    fs::create_directories(folder);
    const fs::path data = folder / "large.txt";
    std::ofstream(data, std::ios::binary)
        << pellmar::tools::generateStudy(pellmar::tools::StudyShape{400, 7, 2026, 1.0});
    analysis.emplace(pellmar::Analysis::open(pellmar::OpenRequest{data.string(), 1},
                                             (folder / "large").string(), reader));
    pellmar::OutputFiles files((folder / "large").string());
    analysis->basicRun(files);
  }
  ~AnalysedStudy() { fs::remove_all(folder); }
  AnalysedStudy(const AnalysedStudy&) = delete;
  AnalysedStudy& operator=(const AnalysedStudy&) = delete;

  void bootstrap() {
    pellmar::OutputFiles files((folder / "large").string());
    analysis->bootstrap(ownSamples(), reader, files);
  }

  fs::path folder;
  pellmar::InputFileReader reader;
  std::optional<pellmar::Analysis> analysis;
};

void BM_BootstrapCommand100000Replicates(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto study = std::make_unique<AnalysedStudy>();
    state.ResumeTiming();
    study->bootstrap();
    state.PauseTiming();
    study.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BootstrapCommand100000Replicates)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SummaryOf100000Replicates(benchmark::State& state) {
  AnalysedStudy study;
  study.bootstrap();
  for (auto _ : state) {
    const auto rows = study.analysis->summary();
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_SummaryOf100000Replicates)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
