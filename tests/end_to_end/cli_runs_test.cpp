// What whole pellmar-cli runs print: every folder under tests/data/cli_runs holds the command
// line of one run ("arguments.txt", one argument a line) and what it printed: "stdout.txt",
// "stderr.txt" and "exit_status.txt". Each run works in a folder of its own holding the example
// study with its fecundity, SASD and samples files and the files directly under
// tests/data/cli_runs; an argument naming one of them becomes its path there, and that folder's
// path reads "<folder>/" in the expected texts. PELLMAR_REGENERATE_GOLDEN=1 rewrites the expected
// texts (read every regenerated file before committing it).
#include <gtest/gtest.h>

#include <algorithm>
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

const fs::path kRunsDir = fs::path(TEST_DATA_DIR) / "cli_runs";

std::vector<std::string> runCases() {
  std::vector<std::string> cases;
  for (const auto& entry : fs::directory_iterator(kRunsDir)) {
    if (entry.is_directory()) cases.push_back(entry.path().filename().string());
  }
  std::sort(cases.begin(), cases.end());
  return cases;
}

// Every occurrence of `from` in `text` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

class CliRun : public ::testing::TestWithParam<std::string> {};

TEST_P(CliRun, PrintsWhatItPrintedBefore) {
  const fs::path caseDir = kRunsDir / GetParam();
  const fs::path work = fs::temp_directory_path() / ("pellmar_cli_run_" + GetParam());
  fs::remove_all(work);
  fs::create_directories(work);
  std::set<std::string> inputs;
  const auto copyIn = [&](const fs::path& file) {
    fs::copy_file(file, work / file.filename());
    inputs.insert(file.filename().string());
  };
  for (const char* name : {"lady_beetle.txt", "lady_beetle_fecundity.txt",
                           "lady_beetle_10_SASD.txt", "lady_beetle_11_Bootstrap_samples.txt"}) {
    copyIn(fs::path(EXAMPLES_DIR) / name);
  }
  for (const auto& entry : fs::directory_iterator(kRunsDir)) {
    if (entry.is_regular_file()) copyIn(entry.path());
  }

  std::vector<std::string> arguments;
  std::istringstream lines(readFile(caseDir / "arguments.txt"));
  for (std::string argument; std::getline(lines, argument);) {
    arguments.push_back(inputs.count(argument) != 0 ? (work / argument).string() : argument);
  }
  const auto options = parseCliOptions(arguments);
  ASSERT_TRUE(options) << "bad arguments.txt";
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCli(*options, out, err);

  const std::string folder = (work / "").string();
  const std::string printedOut = replaced(out.str(), folder, "<folder>/");
  const std::string printedErr = replaced(err.str(), folder, "<folder>/");
  const std::string printedStatus = std::to_string(status) + "\n";
  if (std::getenv("PELLMAR_REGENERATE_GOLDEN") != nullptr) {
    std::ofstream(caseDir / "stdout.txt", std::ios::binary) << printedOut;
    std::ofstream(caseDir / "stderr.txt", std::ios::binary) << printedErr;
    std::ofstream(caseDir / "exit_status.txt", std::ios::binary) << printedStatus;
  }
  EXPECT_EQ(printedOut, readFile(caseDir / "stdout.txt"));
  EXPECT_EQ(printedErr, readFile(caseDir / "stderr.txt"));
  EXPECT_EQ(printedStatus, readFile(caseDir / "exit_status.txt"));
  fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Runs, CliRun, ::testing::ValuesIn(runCases()),
                         [](const auto& test) { return test.param; });

}  // namespace
}  // namespace pellmar
