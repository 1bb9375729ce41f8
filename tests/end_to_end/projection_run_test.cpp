// pellmar-cli run --projection-days as a user runs it: the projection file's rows and units, the
// summary's projection rows, a time unit of half a day, and a start the study cannot give.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "read_file.h"
#include "support/command_line_run.h"
#include "support/example_folder.h"

namespace pellmar {
namespace {

using test_support::ExampleFolder;
using test_support::readFile;
using test_support::runCommandLine;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    result.push_back(line);
  }
  return result;
}

// The lady beetle has eight stage columns: six preadult stages (egg, four larval instars, pupa),
// female and male adults.
constexpr std::size_t kColumns = 8;

TEST(ProjectionRun, WritesEveryStepSeriesAndStageWithTheSummaryRows) {
  const ExampleFolder folder;
  const auto run = runCommandLine({"run", folder.path("lady_beetle.txt"), "--fecundity",
                                   folder.path("lady_beetle_fecundity.txt"), "--projection-days",
                                   "30.0", "--initial", "eggs:10"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("lady_beetle_projection.csv"), std::string::npos);
  const std::vector<std::string> rows = lines(readFile(folder.path("lady_beetle_projection.csv")));
  ASSERT_EQ(rows.size(), 1 + 31 * 3 * (kColumns + 1));
  EXPECT_EQ(rows[0], "day,series,stage,value,ci_low,ci_high");
  EXPECT_EQ(rows[1], "0,population,Egg,10,,");
  EXPECT_EQ(rows[kColumns], "0,population,male adult,0,,");
  EXPECT_EQ(rows[kColumns + 1], "0,population,total,10,,");
  EXPECT_EQ(rows[kColumns + 2].substr(0, 16), "0,predation,Egg,");
  EXPECT_EQ(rows[3 * (kColumns + 1)], "0,cumulative_predation,total,0,,");
  EXPECT_EQ(rows.back().substr(0, 30), "30,cumulative_predation,total,");

  const std::string summary = readFile(folder.path("lady_beetle_summary.csv"));
  EXPECT_NE(summary.find("\nprojection_convergence_day,,all,day,"), std::string::npos);
  EXPECT_NE(summary.find("\nprojection_final_growth,,all,per time unit,"), std::string::npos);
}

// With a bootstrap the projection has its band, the same from the same seed, and the life tables
// at the lambda ranks; the run says how many replicates the band has.
TEST(ProjectionRun, BootstrapGivesTheBandAndTheRankedLifeTables) {
  const ExampleFolder folder;
  const std::vector<std::string> arguments = {"run",
                                              folder.path("lady_beetle.txt"),
                                              "--fecundity",
                                              folder.path("lady_beetle_fecundity.txt"),
                                              "--bootstrap",
                                              "200",
                                              "--seed",
                                              "3",
                                              "--projection-days",
                                              "20",
                                              "--initial",
                                              "stable:100"};
  const auto run = runCommandLine(arguments);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("bootstrap percentile band of 200 replicates."), std::string::npos)
      << run.out;
  const std::string projection = readFile(folder.path("lady_beetle_projection.csv"));
  const std::vector<std::string> rows = lines(projection);
  ASSERT_EQ(rows.size(), 1 + 21 * 3 * (kColumns + 1));
  EXPECT_EQ(rows[kColumns + 1], "0,population,total,100,100,100");
  for (std::size_t k = 1; k < rows.size(); ++k) {
    EXPECT_EQ(rows[k].find(",,"), std::string::npos) << "every band is filled: " << rows[k];
  }
  const std::vector<std::string> ranks =
      lines(readFile(folder.path("lady_beetle_projection_lambda_ranks.csv")));
  ASSERT_EQ(ranks.size(), 1 + 3 * 21 * 3 * (kColumns + 1));
  EXPECT_EQ(ranks[0], "day,rank,lambda,series,stage,value");
  EXPECT_EQ(ranks[1].substr(0, 6), "0,low,");
  EXPECT_EQ(ranks.back().substr(0, 10), "20,high,1.");

  ASSERT_EQ(runCommandLine(arguments).status, 0);
  EXPECT_EQ(readFile(folder.path("lady_beetle_projection.csv")), projection);
}

TEST(ProjectionRun, HalfDayStepsAndPredationPerDay) {
  const ExampleFolder folder;
  const auto run =
      runCommandLine({"run", folder.path("lady_beetle.txt"), "--time-unit", "0.5", "--fecundity",
                      folder.path("lady_beetle_fecundity.txt"), "--projection-days", "2.5"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> rows = lines(readFile(folder.path("lady_beetle_projection.csv")));
  ASSERT_EQ(rows.size(), 1 + 6 * 3 * (kColumns + 1));
  const std::size_t step = 3 * (kColumns + 1);
  EXPECT_EQ(rows[1 + step].substr(0, 18), "0.5,population,Egg");
  EXPECT_EQ(rows[1 + 5 * step].substr(0, 18), "2.5,population,Egg");
  // The eggs of the default start, ten, eat nothing as eggs; a step's prey divided by half a day
  // is twice the prey of the step.
  EXPECT_EQ(rows[1], "0,population,Egg,10,,");
}

TEST(ProjectionRun, AStableStartWithoutEggsIsRefusedAndNothingIsWritten) {
  const ExampleFolder folder;
  // Every female's line of eggs set to zeros.
  std::ostringstream none;
  for (const std::string& line : lines(readFile(folder.path("lady_beetle_fecundity.txt")))) {
    if (line.empty() || line[0] == '#') {
      none << line << '\n';
      continue;
    }
    const std::size_t comma = line.find(',');
    none << line.substr(0, comma);
    for (std::size_t at = comma; at != std::string::npos; at = line.find(',', at + 1)) {
      none << ",0";
    }
    none << '\n';
  }
  std::ofstream(folder.path("none.txt"), std::ios::binary) << none.str();
  const auto run =
      runCommandLine({"run", folder.path("lady_beetle.txt"), "--fecundity", folder.path("none.txt"),
                      "--projection-days", "30", "--initial", "stable:100"});
  EXPECT_EQ(run.status, 2) << "a request the study cannot meet";
  EXPECT_NE(run.err.find("stable:N0"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder.path("lady_beetle_projection.csv")));
  EXPECT_FALSE(std::filesystem::exists(folder.path("lady_beetle_summary.csv")));
}

}  // namespace
}  // namespace pellmar
