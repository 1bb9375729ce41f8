// Basic Run on a generated study at the size of a large real one: 400 individuals, 10 stages,
// lives of about 150 days. Measures the whole run as pellmar-cli performs it (reading, analysis,
// report and every output file); bench/time_cli_run.sh times the same run as a process.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_runner.h"
#include "study_generator.h"

namespace {

namespace fs = std::filesystem;

void BM_BasicRun400Individuals10Stages(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "pellmar_bench_basic_run";
  fs::create_directories(folder);
  const fs::path data = folder / "large.txt";
  pellmar::tools::StudyShape shape;
  shape.individuals = 400;
  shape.stages = 10;
  shape.adultLifeScale = 2.0;
  std::ofstream(data, std::ios::binary) << pellmar::tools::generateStudy(shape);

  pellmar::CliOptions options;
  options.action = pellmar::CliOptions::Action::kRun;
  options.dataFile = data.string();
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    if (pellmar::runCli(options, out, err) != 0) state.SkipWithError("the run failed");
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_BasicRun400Individuals10Stages)->Unit(benchmark::kMillisecond);

}  // namespace
