// The speed goal of an experiment: 4 treatments of 400 individuals with their eggs at
// B = 100,000 take at most 1.1 times the 4 runs of one treatment each. Both write every file
// into a temporary folder, as pellmar-cli does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "study_generator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTreatments = 4;
const std::string kReplicates = "100000";

struct Treatments {
  Treatments() : folder(fs::temp_directory_path() / "pellmar_experiment_bench") {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string project = R"({"pellmar_project": 1, "treatments": [)";
    for (int k = 1; k <= kTreatments; ++k) {
      const pellmar::tools::StudyShape shape{400, 7, static_cast<std::uint32_t>(2025 + k),
                                             0.8 + 0.1 * k};
      const std::string name = "t" + std::to_string(k);
      std::ofstream(folder / (name + ".txt"), std::ios::binary)
          << pellmar::tools::generateStudy(shape);
      std::ofstream(folder / (name + "_fecundity.txt"), std::ios::binary)
          << pellmar::tools::generateFecundity(shape);
      project += std::string(k > 1 ? "," : "") + R"({"name": ")" + name + R"(", "data": ")" + name +
                 R"(.txt", "fecundity": ")" + name + R"(_fecundity.txt"})";
    }
    std::ofstream(folder / "four.pellmar", std::ios::binary) << project << "]}";
  }
  ~Treatments() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  [[nodiscard]] std::string file(const std::string& name) const { return (folder / name).string(); }
  fs::path folder;
};

Treatments& treatments() {
  static Treatments t;
  return t;
}

void runCommandLine(benchmark::State& state, const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  if (pellmar::runCli(*pellmar::parseCliOptions(arguments), out, err) != 0) {
    state.SkipWithError(err.str().c_str());
  }
}

void BM_ExperimentOf4Treatments(benchmark::State& state) {
  const Treatments& t = treatments();
  for (auto _ : state) {
    runCommandLine(state, {"experiment", t.file("four.pellmar"), "--bootstrap", kReplicates,
                           "--seed", "1", "--quiet"});
  }
}
BENCHMARK(BM_ExperimentOf4Treatments)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_FourSingleRuns(benchmark::State& state) {
  const Treatments& t = treatments();
  for (auto _ : state) {
    for (int k = 1; k <= kTreatments; ++k) {
      const std::string name = "t" + std::to_string(k);
      const fs::path folder = t.folder / "single" / name;
      fs::create_directories(folder);
      runCommandLine(state, {"run", t.file(name + ".txt"), "--fecundity",
                             t.file(name + "_fecundity.txt"), "--bootstrap", kReplicates, "--seed",
                             std::to_string(k), "--output-dir", folder.string(), "--quiet"});
    }
  }
}
BENCHMARK(BM_FourSingleRuns)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
