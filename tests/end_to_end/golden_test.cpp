// Whole-run golden files: every folder under tests/data/golden holds a study ("study.txt"), the
// answer to the time-unit prompt ("time_unit.txt", 1 when absent), the further arguments of the
// run ("arguments.txt", one per line, naming input files of the folder) with those input files,
// and, in "expected/", every file the run writes, named by its suffix, but the run record
// "_run.json", whose time differs by nature. The test runs pellmar-cli's run on copies of the
// inputs and compares the files byte for byte; set
// PELLMAR_REGENERATE_GOLDEN=1 to rewrite the expected files from the current output (read every
// regenerated file before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "read_file.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;

const fs::path kGoldenDir = fs::path(TEST_DATA_DIR) / "golden";

// The first line where two texts differ, for the failure message.
std::string firstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream e(expected);
  std::istringstream a(actual);
  std::string el;
  std::string al;
  for (int line = 1;; ++line) {
    const bool moreE = static_cast<bool>(std::getline(e, el));
    const bool moreA = static_cast<bool>(std::getline(a, al));
    if (!moreE && !moreA) return "the texts differ only in their last bytes";
    if (el != al || moreE != moreA) {
      return "first difference at line " + std::to_string(line) + ":\n  expected: [" +
             (moreE ? el : "<end of file>") + "]\n  actual:   [" + (moreA ? al : "<end of file>") +
             "]";
    }
  }
}

std::vector<std::string> goldenCases() {
  std::vector<std::string> cases;
  for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
    if (entry.is_directory()) cases.push_back(entry.path().filename().string());
  }
  std::sort(cases.begin(), cases.end());
  return cases;
}

class GoldenRun : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenRun, WritesExactlyTheExpectedFiles) {
  const fs::path caseDir = kGoldenDir / GetParam();
  const fs::path work = fs::temp_directory_path() / ("pellmar_golden_" + GetParam());
  fs::remove_all(work);
  fs::create_directories(work);
  std::set<std::string> inputs;
  for (const auto& entry : fs::directory_iterator(caseDir)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory() || name == "time_unit.txt" || name == "arguments.txt") continue;
    fs::copy_file(entry.path(), work / name);
    inputs.insert(name);
  }

  std::vector<std::string> arguments{"run", (work / "study.txt").string()};
  if (fs::exists(caseDir / "time_unit.txt")) {
    arguments.emplace_back("--time-unit");
    std::istringstream(readFile(caseDir / "time_unit.txt")) >> arguments.emplace_back();
  }
  if (fs::exists(caseDir / "arguments.txt")) {
    std::istringstream lines(readFile(caseDir / "arguments.txt"));
    for (std::string argument; lines >> argument;) {
      arguments.push_back(inputs.count(argument) != 0 ? (work / argument).string() : argument);
    }
  }
  const auto options = parseCliOptions(arguments);
  ASSERT_TRUE(options) << "bad arguments.txt";
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(runCli(*options, out, err), 0) << err.str();

  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(work)) {
    const std::string name = entry.path().filename().string();
    if (inputs.count(name) == 0) written.insert(name.substr(std::string("study").size()));
  }
  ASSERT_EQ(written.erase("_run.json"), 1U) << "no run record";

  const fs::path expectedDir = caseDir / "expected";
  if (std::getenv("PELLMAR_REGENERATE_GOLDEN") != nullptr) {
    fs::remove_all(expectedDir);
    fs::create_directories(expectedDir);
    for (const std::string& suffix : written) {
      fs::copy_file(work / ("study" + suffix), expectedDir / suffix);
    }
  }

  std::set<std::string> expected;
  for (const auto& entry : fs::directory_iterator(expectedDir)) {
    expected.insert(entry.path().filename().string());
  }
  EXPECT_EQ(written, expected);
  for (const std::string& suffix : expected) {
    if (written.count(suffix) == 0) continue;
    const std::string want = readFile(expectedDir / suffix);
    const std::string got = readFile(work / ("study" + suffix));
    EXPECT_TRUE(want == got) << suffix << ": " << firstDifference(want, got);
  }
  fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Studies, GoldenRun, ::testing::ValuesIn(goldenCases()),
                         [](const auto& test) { return test.param; });

}  // namespace
}  // namespace pellmar
