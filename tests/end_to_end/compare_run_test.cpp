// pellmar-cli compare as a user runs it: each study is the run of its own that `run` with its seed
// would be, a study paired with a copy of itself differs by chance alone, the life tables of two
// studies with eggs are paired too, and a compare refused on its second study touches neither.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/platform/platform.h"
#include "read_file.h"
#include "support/command_line_run.h"
#include "support/example_folder.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::ExampleFolder;
using test_support::readFile;
using test_support::runCommandLine;

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

// The cells of the line of `csv` that starts with `quantity` and a comma.
std::vector<std::string> cellsOf(const std::string& csv, const std::string& quantity) {
  const std::size_t at = csv.find("\r\n" + quantity + ",");
  if (at == std::string::npos) return {};
  const std::string line = csv.substr(at + 2, csv.find("\r\n", at + 2) - at - 2);
  std::vector<std::string> cells;
  std::istringstream split(line);
  for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
  return cells;
}

TEST(CompareRun, EachStudyIsItsOwnRunAndACopyDiffersByChanceAlone) {
  ExampleFolder compared("_compared");
  ExampleFolder alone("_alone");
  fs::copy_file(compared.path("lady_beetle.txt"), compared.path("copy.txt"));
  fs::copy_file(alone.path("lady_beetle.txt"), alone.path("copy.txt"));

  const auto run =
      runCommandLine({"compare", compared.path("lady_beetle.txt"), compared.path("copy.txt"),
                      "--bootstrap", "30", "--seed", "18446744073709551615"});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(runCommandLine({"run", alone.path("lady_beetle.txt"), "--bootstrap", "30", "--seed",
                            "18446744073709551615"})
                .status,
            0);
  ASSERT_EQ(
      runCommandLine({"run", alone.path("copy.txt"), "--bootstrap", "30", "--seed", "0"}).status,
      0);
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
  const std::vector<std::string> c0 = cellsOf(test, "C0");
  ASSERT_EQ(c0.size(), 11U);
  EXPECT_EQ(c0[3], c0[4]);  // the same cohort, the same estimate
  EXPECT_EQ(c0[5], "0");
  EXPECT_LT(std::stod(c0[7]), 0);
  EXPECT_GT(std::stod(c0[8]), 0);
  EXPECT_EQ(c0[10], "30");
  const std::string pairs = readFile(compared.folder() / "lady_beetle_vs_copy_paired_C0.csv");
  EXPECT_EQ(std::count(pairs.begin(), pairs.end(), '\n'), 31);

  EXPECT_EQ(run.out.rfind("Bootstrap seeds: 18446744073709551615 (first study), 0 (second study)\n"
                          "Paired bootstrap test of C0 (first - second): difference 0, 95% "
                          "percentile interval [",
                          0),
            0U)
      << run.out;
  EXPECT_NE(run.out.find(compared.path("lady_beetle_vs_copy_paired_C0.csv") + "\n"),
            std::string::npos);
  EXPECT_NE(run.out.find(compared.path("copy_summary.csv") + "\n"), std::string::npos);
  EXPECT_EQ(run.out.find("Left out"), std::string::npos);
}

// The paired test of two studies with eggs pairs each replicate's own life table too.
TEST(CompareRun, StudiesWithEggsPairTheirReplicatesLifeTables) {
  ExampleFolder folder;
  fs::copy_file(folder.path("lady_beetle.txt"), folder.path("second.txt"));
  const auto run = runCommandLine({"compare", folder.path("lady_beetle.txt"),
                                   folder.path("second.txt"), "--bootstrap", "20", "--seed", "8",
                                   "--fecundity-first", folder.path("lady_beetle_fecundity.txt"),
                                   "--fecundity-second", folder.path("lady_beetle_fecundity.txt")});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string test = readFile(folder.folder() / "lady_beetle_vs_second_paired_test.csv");
  for (const char* quantity : {"R0", "r", "lambda", "T", "Qp", "psi", "omega"}) {
    EXPECT_EQ(cellsOf(test, quantity).size(), 11U) << quantity;
  }
  EXPECT_TRUE(fs::exists(folder.folder() / "second_Life_table.txt"));
}

// The folder's files with their contents.
std::vector<std::pair<std::string, std::string>> contentsOf(const fs::path& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::string& name : filesOf(folder, "")) {
    files.emplace_back(name, fs::is_regular_file(folder / name) ? readFile(folder / name) : "");
  }
  return files;
}

// Both studies' locks are taken and every input of both read before the first file of either
// is written: a compare refused on its second study leaves the first study's results alone.
TEST(CompareRun, ACompareRefusedOnItsSecondStudyWritesNothing) {
  ExampleFolder folder;
  const auto in = [&](const std::string& name) { return folder.path(name); };
  ASSERT_EQ(runCommandLine({"run", in("lady_beetle.txt"), "--fecundity",
                            in("lady_beetle_fecundity.txt"), "--bootstrap", "10", "--seed", "1"})
                .status,
            0);
  fs::copy_file(in("lady_beetle.txt"), in("second.txt"));
  std::string faultyData = readFile(folder.folder() / "lady_beetle.txt");
  faultyData.replace(faultyData.find("\n1,N,"), 5, "\n1,X,");
  std::ofstream(in("faulty.txt"), std::ios::binary) << faultyData;
  std::ofstream(in("faulty_eggs.txt"), std::ios::binary) << "2,F,1,2\n";
  const auto before = contentsOf(folder.folder());

  const auto compare = [&](const std::string& second, const std::string& secondEggs) {
    return runCommandLine({"compare", in("lady_beetle.txt"), in(second), "--bootstrap", "5",
                           "--fecundity-first", in("lady_beetle_fecundity.txt"),
                           "--fecundity-second", in(secondEggs)});
  };
  {
    platform::FileLock other;
    std::error_code error;
    ASSERT_TRUE(other.tryLock(folder.folder() / "second.pellmar-lock", error));
    const auto locked = compare("second.txt", "lady_beetle_fecundity.txt");
    EXPECT_EQ(locked.status, 1);
    EXPECT_NE(locked.err.find("Another Pellmar run is writing the results of second.txt"),
              std::string::npos)
        << locked.err;
  }
  const auto faulty = compare("faulty.txt", "lady_beetle_fecundity.txt");
  EXPECT_EQ(faulty.status, 1);
  EXPECT_EQ(faulty.err.rfind("Error in data file\n", 0), 0U) << faulty.err;
  const auto badEggs = compare("second.txt", "faulty_eggs.txt");
  EXPECT_EQ(badEggs.status, 1);
  EXPECT_NE(badEggs.err.find(in("faulty_eggs.txt")), std::string::npos) << badEggs.err;
  const auto missing = compare("missing.txt", "lady_beetle_fecundity.txt");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(contentsOf(folder.folder()), before);
}

}  // namespace
}  // namespace pellmar
