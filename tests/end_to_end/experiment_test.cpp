// pellmar-cli experiment as a user runs it: each treatment is the run `run` with its seed would
// be, the pair of two treatments is the pair `compare` tests, a bad project file is refused by
// the key at fault before anything is written, and the results folder is replaced whole or not
// at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/project_file.h"
#include "read_file.h"
#include "support/command_line_run.h"
#include "support/example_folder.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::ExampleFolder;
using test_support::readFile;
using test_support::runCommandLine;

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The example and a copy of it, each with its eggs, as two treatments of a project.
class TwoTreatments {
 public:
  TwoTreatments() {
    fs::copy_file(folder.path("lady_beetle.txt"), folder.path("copy.txt"));
    fs::copy_file(folder.path("lady_beetle_fecundity.txt"), folder.path("copy_fecundity.txt"));
  }
  // A project file of the two with `extra` keys after the treatments.
  [[nodiscard]] std::string project(const std::string& extra = "",
                                    const std::string& secondName = "copy") const {
    const std::string file = folder.path("beetles.pellmar");
    writeText(file, R"({"pellmar_project": 1, "treatments": [
      {"name": "lady", "data": "lady_beetle.txt", "fecundity": "lady_beetle_fecundity.txt"},
      {"name": ")" + secondName +
                        R"(", "data": "copy.txt", "fecundity": "copy_fecundity.txt"}])" + extra +
                        "}");
    return file;
  }
  [[nodiscard]] fs::path results() const { return folder.folder() / "beetles_results"; }

  ExampleFolder folder{"_experiment"};
};

// The lines of a CSV file, each split at its commas (no cell here holds one).
std::vector<std::vector<std::string>> csvLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::istringstream split(line + ",");
    for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
    lines.push_back(cells);
  }
  return lines;
}

std::vector<std::string> sortedFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Experiment, TwoTreatmentsAreTheirRunsAndTheirPairIsCompares) {
  const TwoTreatments two;
  const auto experiment =
      runCommandLine({"experiment", two.project(), "--bootstrap", "40", "--seed", "5"});
  ASSERT_EQ(experiment.status, 0) << experiment.err;
  EXPECT_NE(experiment.out.find("C0 (prey per individual)"), std::string::npos);
  EXPECT_NE(experiment.out.find("seeds 5 to 6"), std::string::npos);

  // Each treatment's folder holds what run writes with its seed, the run record aside.
  const fs::path runs = two.folder.folder() / "runs";
  const std::vector<std::pair<std::string, std::vector<std::string>>> treatments = {
      {"lady", {"lady_beetle.txt", "lady_beetle_fecundity.txt", "5"}},
      {"copy", {"copy.txt", "copy_fecundity.txt", "6"}}};
  for (const auto& [name, files] : treatments) {
    const std::string alone = (runs / name).string();
    fs::create_directories(alone);
    ASSERT_EQ(
        runCommandLine({"run", two.folder.path(files[0]), "--fecundity", two.folder.path(files[1]),
                        "--bootstrap", "40", "--seed", files[2], "--output-dir", alone})
            .status,
        0);
    std::vector<std::string> ours = sortedFiles(two.results() / name);
    std::vector<std::string> theirs = sortedFiles(alone);
    ASSERT_EQ(ours, theirs) << name;
    for (const std::string& file : ours) {
      if (file.ends_with("_run.json")) continue;
      EXPECT_EQ(readFile(two.results() / name / file), readFile(fs::path(alone) / file)) << file;
    }
  }

  // Every row of compare's paired test is the pair's row of pairwise.csv.
  fs::create_directories(runs / "compare");
  ASSERT_EQ(
      runCommandLine({"compare", two.folder.path("lady_beetle.txt"), two.folder.path("copy.txt"),
                      "--fecundity-first", two.folder.path("lady_beetle_fecundity.txt"),
                      "--fecundity-second", two.folder.path("copy_fecundity.txt"), "--bootstrap",
                      "40", "--seed", "5", "--output-dir", (runs / "compare").string()})
          .status,
      0);
  const auto paired = csvLines(readFile(runs / "compare" / "lady_beetle_vs_copy_paired_test.csv"));
  const auto pairwise = csvLines(readFile(two.results() / "pairwise.csv"));
  ASSERT_EQ(paired.size(), pairwise.size());
  for (std::size_t k = 1; k < paired.size(); ++k) {
    const auto& theirs = paired[k];  // quantity,stage,sex,estimates,difference,se,ci,p,replicates
    const auto& ours = pairwise[k];  // ... unit,first,second, ..., p,p_adjusted,replicates
    ASSERT_EQ(theirs.size() + 4, ours.size());
    EXPECT_EQ(std::vector(theirs.begin(), theirs.begin() + 3),
              std::vector(ours.begin(), ours.begin() + 3));
    EXPECT_EQ(ours[4] + ours[5], "ladycopy");
    EXPECT_EQ(std::vector(theirs.begin() + 3, theirs.begin() + 10),
              std::vector(ours.begin() + 6, ours.begin() + 13));
    EXPECT_EQ(theirs[10], ours[14]);
    // A family of one pair keeps its p.
    EXPECT_EQ(ours[13], ours[12]);
  }

  // Letters, the paper's table with its byte-order mark, and the record of the experiment.
  const std::string table = readFile(two.results() / "table.csv");
  EXPECT_TRUE(table.starts_with("\xEF\xBB\xBFquantity,stage,sex,unit,lady,copy"));
  EXPECT_NE(table.find(" \xC2\xB1 "), std::string::npos);
  const auto letters = csvLines(readFile(two.results() / "letters.csv"));
  EXPECT_EQ(letters[0].back(), "letters");
  EXPECT_EQ(letters[1][4], "lady");
  const std::string record = readFile(two.results() / "run.json");
  EXPECT_NE(record.find("\"seeds\""), std::string::npos);
  EXPECT_NE(record.find("lady_beetle_fecundity.txt"), std::string::npos);
}

TEST(Experiment, ABadProjectIsRefusedByItsKeyAndNothingIsWritten) {
  const TwoTreatments two;
  const std::vector<std::pair<std::string, std::string>> faults = {
      {R"(, "bootstrp": {})", "bootstrp is not a key"},
      {R"(, "bootstrap": {"replicates": 0})", "bootstrap.replicates must be"},
      {R"(, "bootstrap": {"seed": -1})", "bootstrap.seed must be"},
      {R"(, "comparisons": {"adjust": "tukey"})", "comparisons.adjust must be"},
      {R"(, "comparisons": {"alpha": 1})", "comparisons.alpha must lie"},
      {R"(, "time_unit": 0)", "time_unit must be"},
      {R"(, "projection": {})", "projection.days is missing"},
      {R"(, "projection": {"days": 3651})", "projection.days must be a number of days"},
      {R"(, "projection": {"days": 9, "initial": "adults:4"})", "projection.initial must be"},
      {R"(, "projection": {"days": 9, "start": "eggs:4"})", "projection.start is not a key"},
  };
  for (const auto& [extra, cause] : faults) {
    const auto run = runCommandLine({"experiment", two.project(extra), "--bootstrap", "5"});
    EXPECT_EQ(run.status, 1) << extra;
    EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
  }
  const std::vector<std::pair<std::string, std::string>> names = {
      {"LADY", "treatments[2].name \"LADY\" names another treatment too"},
      {"", "treatments[2].name is empty"},
      {"a/b", "treatments[2].name \"a/b\" holds one of"},
      {"con.txt", "is the name of a device on Windows"},
      {"late.", "ends in a dot or a space"},
  };
  for (const auto& [name, cause] : names) {
    const auto run = runCommandLine({"experiment", two.project("", name), "--bootstrap", "5"});
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
  }
  // A missing file and mixed kinds of treatment.
  fs::remove(two.folder.path("copy_fecundity.txt"));
  auto run = runCommandLine({"experiment", two.project(), "--bootstrap", "5"});
  EXPECT_NE(run.err.find("treatments[2].fecundity names"), std::string::npos) << run.err;
  writeText(two.folder.path("mixed.pellmar"), R"({"pellmar_project": 1, "treatments": [
      {"name": "a", "data": "lady_beetle.txt", "fecundity": "lady_beetle_fecundity.txt"},
      {"name": "b", "data": "copy.txt"}]})");
  run = runCommandLine({"experiment", two.folder.path("mixed.pellmar"), "--bootstrap", "5"});
  EXPECT_NE(run.err.find("treatments[2] is of another kind"), std::string::npos) << run.err;
  writeText(two.folder.path("plain.pellmar"), R"({"pellmar_project": 1, "treatments": [
      {"name": "a", "data": "lady_beetle.txt"}, {"name": "b", "data": "copy.txt"}],
      "projection": {"days": 30}})");
  run = runCommandLine({"experiment", two.folder.path("plain.pellmar"), "--bootstrap", "5"});
  EXPECT_NE(run.err.find("projection needs a fecundity file in every treatment"), std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(two.results()));
  EXPECT_FALSE(fs::exists(two.folder.folder() / "mixed_results"));
  EXPECT_FALSE(fs::exists(two.folder.folder() / "plain_results"));
}

// A project's projection: each treatment's folder holds what run writes with the projection,
// and projection.csv holds every treatment's projection file, its rows after their treatment.
TEST(Experiment, EveryTreatmentIsProjectedIntoOneLongFile) {
  const TwoTreatments two;
  const std::string project = two.project(R"(, "projection": {"days": 6, "initial": "stable:50"})");
  const auto experiment =
      runCommandLine({"experiment", project, "--bootstrap", "30", "--seed", "5"});
  ASSERT_EQ(experiment.status, 0) << experiment.err;
  const std::vector<std::string> heading = {"treatment", "day",    "series", "stage",
                                            "value",     "ci_low", "ci_high"};
  const auto combined = csvLines(readFile(two.results() / "projection.csv"));
  ASSERT_FALSE(combined.empty());
  EXPECT_EQ(combined[0], heading);
  std::size_t row = 1;
  const fs::path runs = two.folder.folder() / "runs";
  for (const auto& [name, data, eggs, seed] :
       {std::tuple{"lady", "lady_beetle.txt", "lady_beetle_fecundity.txt", "5"},
        std::tuple{"copy", "copy.txt", "copy_fecundity.txt", "6"}}) {
    const std::string alone = (runs / name).string();
    fs::create_directories(alone);
    ASSERT_EQ(runCommandLine({"run", two.folder.path(data), "--fecundity", two.folder.path(eggs),
                              "--bootstrap", "30", "--seed", seed, "--projection-days", "6",
                              "--initial", "stable:50", "--output-dir", alone})
                  .status,
              0);
    ASSERT_EQ(sortedFiles(two.results() / name), sortedFiles(alone));
    const std::string stem = fs::path(data).stem().string();
    for (const std::string suffix : {"_projection.csv", "_projection_lambda_ranks.csv"}) {
      EXPECT_EQ(readFile(two.results() / name / (stem + suffix)),
                readFile(fs::path(alone) / (stem + suffix)))
          << name << suffix;
    }
    const auto own = csvLines(readFile(fs::path(alone) / (stem + "_projection.csv")));
    for (std::size_t k = 1; k < own.size(); ++k, ++row) {
      ASSERT_LT(row, combined.size());
      std::vector<std::string> expected{name};
      expected.insert(expected.end(), own[k].begin(), own[k].end());
      EXPECT_EQ(combined[row], expected);
    }
  }
  EXPECT_EQ(row, combined.size());
  const std::string record = readFile(two.results() / "lady" / "lady_beetle_run.json");
  EXPECT_NE(record.find("\"--projection-days\""), std::string::npos);

  // Saved again, as the desktop saves a project, the projection stays.
  const Project read = readProject(project);
  ASSERT_TRUE(read.projection);
  EXPECT_EQ(read.projection->days, 6.0);
  EXPECT_EQ(read.projection->start.kind, ProjectionStart::Kind::kStable);
  saveProject(read);
  const Project again = readProject(project);
  ASSERT_TRUE(again.projection);
  EXPECT_EQ(again.projection->initial, "stable:50");
  EXPECT_EQ(again.projection->start.count, 50.0);
}

TEST(Experiment, TheResultsFolderIsReplacedWholeOrNotAtAll) {
  const TwoTreatments two;
  const std::string project = two.project();
  ASSERT_EQ(runCommandLine({"experiment", project, "--bootstrap", "5", "--seed", "1"}).status, 0);
  writeText(two.results() / "notes.txt", "mine");
  const std::string firstSummary = readFile(two.results() / "summary.csv");

  // A treatment that fails after the first one ran leaves the old folder as it was.
  writeText(two.folder.path("copy.txt"), "not a study\n");
  auto run = runCommandLine({"experiment", project, "--bootstrap", "5", "--seed", "2"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(readFile(two.results() / "notes.txt"), "mine");
  EXPECT_EQ(readFile(two.results() / "summary.csv"), firstSummary);
  fs::remove(two.folder.path("copy.txt"));
  fs::copy_file(two.folder.path("lady_beetle.txt"), two.folder.path("copy.txt"));

  // A run stopped between its two renames left only the backup: the next one puts it back first
  // and then replaces it whole.
  fs::rename(two.results(), two.folder.folder() / "beetles_results.pellmar-backup");
  run = runCommandLine({"experiment", project, "--bootstrap", "5", "--seed", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(two.results() / "notes.txt"));
  EXPECT_NE(readFile(two.results() / "summary.csv"), firstSummary);
  for (const auto& entry : fs::directory_iterator(two.folder.folder())) {
    EXPECT_EQ(entry.path().filename().string().find("beetles_results."), std::string::npos)
        << entry.path();
  }

  // new-project writes the project of data files, and never over one.
  const std::string made = two.folder.path("made.pellmar");
  ASSERT_EQ(runCommandLine({"new-project", made, two.folder.path("lady_beetle.txt"),
                            two.folder.path("copy.txt")})
                .status,
            0);
  const std::string text = readFile(made);
  EXPECT_NE(text.find("\"fecundity\": \"copy_fecundity.txt\""), std::string::npos) << text;
  EXPECT_EQ(runCommandLine({"new-project", made, two.folder.path("lady_beetle.txt"),
                            two.folder.path("copy.txt")})
                .status,
            2);
  EXPECT_EQ(readFile(made), text);
  EXPECT_EQ(runCommandLine({"experiment", made, "--bootstrap", "5", "--seed", "3"}).status, 0);
}

}  // namespace
}  // namespace pellmar
