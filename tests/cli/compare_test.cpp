// pellmar-cli compare: its usage, the first study's files as `run` writes them, and the paired
// test of a study against a copy of itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "read_file.h"
#include "support/example_folder.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::ExampleFolder;
using test_support::readFile;

TEST(CompareOptions, UsageErrorsComeBeforeAnyFileIsTouched) {
  const auto compare = parseCliOptions({"compare", "a.txt", "b.txt", "--bootstrap=20",
                                        "--sasd-first", "sa", "--sasd-second", "sb", "--seed", "3",
                                        "--sample-size", "50", "--confidence", "0.9"});
  ASSERT_TRUE(compare);
  EXPECT_EQ(compare->action, CliOptions::Action::kCompare);
  EXPECT_EQ(compare->dataFile, "a.txt");
  EXPECT_EQ(compare->secondDataFile, "b.txt");
  EXPECT_EQ(compare->sasdFile, "sa");
  EXPECT_EQ(compare->secondSasdFile, "sb");
  EXPECT_EQ(compare->sampleSize, 50);
  // A copy under another base name writes its own files.
  EXPECT_TRUE(parseCliOptions({"compare", "a.txt", "copy of a.txt", "--bootstrap", "5"}));

  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } bad[] = {
      {{"compare", "a.txt", "--bootstrap", "5"}, "compare needs two data files, FIRST and SECOND"},
      {{"compare", "a.txt", "b.txt", "c.txt"}, "compare takes two data files, not also \"c.txt\""},
      {{"compare", "a.txt", "b.txt"}, "compare needs --bootstrap"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd-first", "s"},
       "--sasd-first needs --sasd-second"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd-second", "s"},
       "--sasd-second needs --sasd-first"},
      // Both studies have the same kind of stable distribution: a SASD file or the fecundity.
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--fecundity-first", "f"},
       "--fecundity-first needs --fecundity-second"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--fecundity-second", "f"},
       "--fecundity-second needs --fecundity-first"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd-first", "s", "--sasd-second", "t",
        "--fecundity-first", "f", "--fecundity-second", "g"},
       "--sasd-first and --fecundity-first cannot be used together"},
      {{"run", "a.txt", "--fecundity-second", "f"},
       "--fecundity-second is an option of compare, not of run"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--sasd", "s"},
       "--sasd is an option of run, not of compare"},
      {{"compare", "a.txt", "b.txt", "--bootstrap", "5", "--jackknife"},
       "--jackknife is an option of run, not of compare"},
      {{"run", "a.txt", "--sasd-first", "s"}, "--sasd-first is an option of compare, not of run"},
      {{"check", "a.txt", "--bootstrap", "5"},
       "--bootstrap is an option of run and compare, not of check"},
      {{"compare", "a.txt", "a.txt", "--bootstrap", "5"},
       "\"a.txt\" and \"a.txt\" would write their results under one name, \"a\", one over the "
       "other; compare a copy under another name"},
      {{"compare", "x.txt", "./x.dat", "--bootstrap", "5"},
       "\"x.txt\" and \"./x.dat\" would write their results under one name, \"./x\", one over "
       "the other; compare a copy under another name"},
  };
  for (const auto& usage : bad) {
    const ParsedCommandLine parsed = parseCommandLine(usage.arguments);
    EXPECT_FALSE(parsed.options) << usage.error;
    EXPECT_EQ(parsed.usageError, usage.error);
  }
}

// The files of a folder whose names begin with `prefix`, sorted.
std::vector<std::string> filesOf(const fs::path& folder, const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int runCommandLine(const std::vector<std::string>& arguments, std::string& out) {
  std::ostringstream printed;
  std::ostringstream err;
  const auto options = parseCliOptions(arguments);
  EXPECT_TRUE(options);
  const int status = runCli(*options, printed, err);
  EXPECT_EQ(status, 0) << err.str();
  out = printed.str();
  return status;
}

// Each study is the run of its own that `run` with its seed would be; a study paired with a copy
// of itself differs by chance alone.
TEST(CompareRun, EachStudyIsItsOwnRunAndACopyDiffersByChanceAlone) {
  ExampleFolder compared("_compared");
  ExampleFolder alone("_alone");
  fs::copy_file(compared.path("lady_beetle.txt"), compared.path("copy.txt"));
  fs::copy_file(alone.path("lady_beetle.txt"), alone.path("copy.txt"));
  // A second study that cannot be read is found before the first study is touched.
  const std::vector<std::string> inputs = filesOf(compared.folder(), "");
  std::ostringstream refusedOut;
  std::ostringstream refusedErr;
  EXPECT_EQ(runCli(*parseCliOptions({"compare", compared.path("lady_beetle.txt"),
                                     compared.path("missing.txt"), "--bootstrap", "5"}),
                   refusedOut, refusedErr),
            1);
  EXPECT_EQ(refusedErr.str(), "Paired bootstrap test\nThe file " + compared.path("missing.txt") +
                                  " cannot be read.\n");
  EXPECT_EQ(filesOf(compared.folder(), ""), inputs);

  std::string out;
  runCommandLine({"compare", compared.path("lady_beetle.txt"), compared.path("copy.txt"),
                  "--bootstrap", "30", "--seed", "18446744073709551615"},
                 out);
  std::string ignored;
  runCommandLine(
      {"run", alone.path("lady_beetle.txt"), "--bootstrap", "30", "--seed", "18446744073709551615"},
      ignored);
  runCommandLine({"run", alone.path("copy.txt"), "--bootstrap", "30", "--seed", "0"}, ignored);

  for (const char* study : {"lady_beetle_", "copy_"}) {
    std::vector<std::string> ours = filesOf(compared.folder(), study);
    std::erase_if(ours, [](const std::string& name) {
      return name.find("_paired_") != std::string::npos || name.ends_with("_run.json");
    });
    std::vector<std::string> theirs = filesOf(alone.folder(), study);
    std::erase_if(theirs, [](const std::string& name) { return name.ends_with("_run.json"); });
    ASSERT_EQ(ours, theirs);
    for (const std::string& name : ours) {
      EXPECT_EQ(readFile(compared.folder() / name), readFile(alone.folder() / name)) << name;
    }
  }

  const std::string test = readFile(compared.folder() / "lady_beetle_vs_copy_paired_test.csv");
  const std::string c0Line = test.substr(test.find("\r\nC0,") + 2);
  std::vector<std::string> cells;
  std::istringstream line(c0Line.substr(0, c0Line.find("\r\n")));
  for (std::string cell; std::getline(line, cell, ',');) cells.push_back(cell);
  ASSERT_EQ(cells.size(), 11U) << c0Line;
  EXPECT_EQ(cells[3], cells[4]);  // the same cohort, the same estimate
  EXPECT_EQ(cells[5], "0");
  EXPECT_LT(std::stod(cells[7]), 0);
  EXPECT_GT(std::stod(cells[8]), 0);
  EXPECT_EQ(cells[10], "30");
  const std::string c0 = readFile(compared.folder() / "lady_beetle_vs_copy_paired_C0.csv");
  EXPECT_EQ(std::count(c0.begin(), c0.end(), '\n'), 31);

  EXPECT_EQ(out.rfind("Bootstrap seeds: 18446744073709551615 (first study), 0 (second study)\n"
                      "Paired bootstrap test of C0 (first - second): difference 0, 95% "
                      "percentile interval [",
                      0),
            0U)
      << out;
  EXPECT_NE(out.find(compared.path("lady_beetle_vs_copy_paired_C0.csv") + "\n"), std::string::npos);
  EXPECT_NE(out.find(compared.path("copy_summary.csv") + "\n"), std::string::npos);
  EXPECT_EQ(out.find("Left out"), std::string::npos);
}

}  // namespace
}  // namespace pellmar
