#include "core/resampling/bootstrap_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/resampling/bootstrap_frequency.h"
#include "core/resampling/bootstrap_summary.h"
#include "core/resampling/frequency_chart.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using testing::analysedCohort;
using testing::linesOf;
using testing::readWholeFile;
using testing::replicates;
using testing::slice;
using testing::TemporaryFolder;

// The small cohort after an own-samples bootstrap of B replicates of n = 4 whose C0 are
// 1, 2, ..., B; the stage names as read (the report's were cut to four characters).
Session bootstrapped(const std::string& base, int count) {
  Session session = analysedCohort(base);
  session.study.stageName[1] = {"", "Egg", "Larva", "Pupa", "Female", "Male"};
  BootstrapState& boot = session.bootstrap;
  boot.bootCount = count;
  boot.bootSampleSize = 4;
  boot.bootC0.assign(1, 0.0);
  for (int b = 1; b <= count; ++b) boot.bootC0.push_back(b);
  return session;
}

// The files written after the Basic Run's.
std::vector<std::string> newFiles(const Session& session, std::size_t before) {
  std::vector<std::string> names;
  for (std::size_t i = before; i < session.writtenFiles.size(); ++i) {
    names.push_back(session.writtenFiles[i].substr(session.study.outputBaseName.size()));
  }
  return names;
}

TEST(BootstrapFiles, InRowListsEndWithMinusOneAfterTheLastValue) {
  TemporaryFolder folder;
  Session session = bootstrapped(folder.base(), 7);
  WriteBootstrapNetConsumptionInRow(session);
  const std::string header =
      "\"Project: Moth\"\r\n\"Next line is the bootstrap sample size (n)\"\r\n4\r\n"
      "\"Next line is the effective bootstrap numbers (B)\"\r\n";
  EXPECT_EQ(readWholeFile(folder.base() + "_4_Bootstrap_C0-in Row.txt"),
            header + "7\r\n\"C0\",4,22\r\n 1 , 2 , 3 , 4 , 5 \r\n 6 , 7 ,-1\r\n");

  session = bootstrapped(folder.base(), 10);
  WriteBootstrapNetConsumptionInRow(session);
  EXPECT_EQ(readWholeFile(folder.base() + "_4_Bootstrap_C0-in Row.txt"),
            header + "10\r\n\"C0\",4,22\r\n 1 , 2 , 3 , 4 , 5 \r\n 6 , 7 , 8 , 9 , 10 \r\n-1\r\n");

  session.bootstrap.bootCount = 2;
  WriteBootstrapNetConsumptionInColumn(session);
  EXPECT_EQ(readWholeFile(folder.base() + "_4_Bootstrap_C0_in column.txt"),
            "\"Project: Moth\"\r\n\"Next line is the bootstrap sample size (n)\"\r\n4\r\n"
            "\"Next line is the effective bootstrap numbers (B) \"\r\n2\r\n\"C0\",4,22\r\n"
            "1\r\n2\r\n");
}

TEST(BootstrapFiles, EveryFileInOrderWithTheStageFamiliesThatExist) {
  TemporaryFolder folder;
  Session session = bootstrapped(folder.base(), 2);
  BasicRunResults& r = session.basic;
  r.stageDuration[1].count = 0;  // no W file for the egg
  BootstrapState& boot = session.bootstrap;
  boot.bootCumDuration.assign(6, replicates({0, 0}));
  boot.bootCumDuration[3] = replicates({3.5, 4});
  boot.bootStageConsumptionBySex.assign(4, std::vector<std::vector<double>>(6));
  boot.bootStageConsumptionBySex[2][4] = replicates({20, 30});
  boot.bootStageDailyMean.assign(6, std::vector<double>{});
  boot.bootStageDailyMean[5] = replicates({7.5, 8.5});
  const std::size_t before = session.writtenFiles.size();
  writeBootstrapResultFiles(session);

  // Eggs and pupae eat nothing, so they get no Y file; the individual of sex N finished only
  // the egg stage, so its sex gets none either.
  std::vector<std::string> expected = {
      "_4_Bootstrap_C0-in Row.txt",       "_4_Bootstrap_C0_in column.txt",
      "_4_Bootstrap_Psi_in column.txt",   "_4_Bootstrap_Psi-in Row.txt",
      "_4_Bootstrap_Omega_in column.txt", "_4_Bootstrap_Omega-in Row.txt",
      "_4_Bootstrap_Qp_in column.txt",    "_4_Bootstrap_Qp-in Row.txt"};
  for (const std::string layout : {"_in column.txt", "_in row.txt"}) {
    for (const std::string& name : {
             "_Effective Boots-W_Stage mean_2_Larva" + layout,
             "_Effective Boots-W_Stage mean_3_Pupa" + layout,
             "_Effective Boots-W_Stage mean_4_Adult" + layout,
             "_Effective Boots-Y_Mean consumption_2_Larva" + layout,
             "_Effective Boots-Y_Mean consumption_4_Adult" + layout,
             "_Effective Boots-Y_Mean consumption_F_2_Larva" + layout,
             "_Effective Boots-Y_Mean consumption_F_4_Adult" + layout,
             "_Effective Boots-Y_Mean consumption_M_2_Larva" + layout,
             "_Effective Boots-Y_Mean consumption_M_4_Adult" + layout,
             "_Effective Boots-X_Egg-to-Larva" + layout,
             "_Effective Boots-W_PreAdult" + layout,
             "_Effective Boots-X_Egg-to-Adult" + layout,
         }) {
      expected.push_back(name);
    }
  }
  for (int j = 1; j <= 5; ++j) {
    expected.push_back("_24_Bootstrap_Stage consume-" + std::to_string(j) + "-in Row.txt");
  }
  EXPECT_EQ(newFiles(session, before), expected);

  const std::string base = folder.base();
  // Own samples: the cohort's Qp and every replicate's are 0.
  EXPECT_EQ(slice(linesOf(readWholeFile(base + "_4_Bootstrap_Qp-in Row.txt")), 3, 4),
            (std::vector<std::string>{"\"Next line is the effective bootstrap numbers (B) \"", "2",
                                      "\"Qp\",4,0", " 0 , 0 ,-1"}));
  // X: the count of the W family's stage, the cohort's cumulative mean.
  EXPECT_EQ(readWholeFile(base + "_Effective Boots-W_PreAdult_in row.txt"),
            "\"Moth\"\r\n\"Next line is Bootstrap sample size (n)\"\r\n3\r\n"
            "\"Next line is effective bootstrap number (B)\"\r\n2\r\n"
            "\"PreAdult\",3,3.66666666666667\r\n 3.5 , 4 ,-1\r\n");
  // Y by sex: the label has no sex code; the count is that of the sex.
  EXPECT_EQ(slice(linesOf(readWholeFile(base + "_Effective Boots-Y_Mean consumption_M_4_Adult_"
                                               "in column.txt")),
                  2, 5),
            (std::vector<std::string>{"1", "\"Next line is effective bootstrap number (B)\"", "2",
                                      "\"Adult\",1,24", "20"}));
  EXPECT_EQ(slice(linesOf(readWholeFile(base + "_24_Bootstrap_Stage consume-5-in Row.txt")), 5, 2),
            (std::vector<std::string>{"\"Stage 5\",4,8", " 7.5 , 8.5 ,-1"}));
}

TEST(BootstrapFrequency, FileAndChartOfTheClasses) {
  TemporaryFolder folder;
  Session session = bootstrapped(folder.base(), 21);
  session.bootstrap.bootC0[1] = 0;  // not counted, but the minimum
  session.bootstrap.bootSampleSize = 120;
  ReportWriter report;
  Boot01(session, report);
  WriteBootstrapFrequency(session);
  const auto lines = linesOf(readWholeFile(folder.base() + "_9_Bootstrap-Co frequency.txt"));
  ASSERT_EQ(lines.size(), 33U);
  EXPECT_EQ(
      slice(lines, 0, 14),
      (std::vector<std::string>{
          "\"Project: Moth\"", "\"User: Ann\"", "\"Date: 2026-01-02\"", "\"Bootstrap number =21\"",
          "\"Bootstrap sample size =120\"", "\"Total number of effective bootstrap =21\"",
          "\"Net predation rate (Co)\"", "\"Max of boot-Co =\",21,\".  Min of boot-Co =\",0",
          "\"Sum of frequency of Co =\",20", "21", "\"Class begin\",\"Class center\",\"Frequency\"",
          "0,.525,0", "1.05,1.575,1", "2.1,2.625,1"}));
  EXPECT_EQ(lines[32], "22.05,22.575,0");

  const FrequencyChartData chart = bootstrapFrequencyChart(session);
  EXPECT_EQ(chart.title, "C0: Bootstrap number = 21.  Min =0. Mean=10.95. Max =21. SE =6.289");
  ASSERT_EQ(chart.labels.size(), 23U);
  EXPECT_EQ(chart.labels[0], "0");  // class 0 is empty
  EXPECT_EQ(chart.labels[1], "1.58");
  EXPECT_EQ(chart.values[1], 1);
  EXPECT_EQ(chart.labels[22], "23.62");  // 23.625: the half goes to the even neighbour
}

TEST(BootstrapFrequency, NormalDensityCurvesSkipThoseWithoutSpread) {
  TemporaryFolder folder;
  Session session = bootstrapped(folder.base(), 3);
  BootstrapState& boot = session.bootstrap;
  boot.c0 = {21, 4, 2};
  boot.stageConsumption.assign(5, ReplicateSummary{});
  boot.stageConsumption[1] = {0, 1, 1};  // the egg eats nothing: skipped
  boot.stageConsumption[2] = {8, 1, 1};
  boot.stageConsumption[4] = {19, 1, 1};
  boot.stageConsumptionBySex.assign(3, std::vector<ReplicateSummary>(5));
  boot.stageConsumptionBySex[2][4] = {24, 0.25, 0.5};
  boot.lifeTable.R0 = 4;
  boot.qp = {5, 0.04, 0.2};
  const std::size_t before = session.writtenFiles.size();
  WriteNormalDensityCurveBegin(session);
  EXPECT_EQ(
      newFiles(session, before),
      (std::vector<std::string>{
          "_22_Bootstrap-2-Larva-Normal density.txt", "_22_Bootstrap-4-Adult-Normal density.txt",
          "_22_Bootstrap-4-Male Adult-Normal density.txt", "_22_Bootstrap-C0-Normal density.txt",
          "_22_Bootstrap-Qp-Normal density.txt"}));

  // Centred on the cohort's C0, 3.5 standard errors either side in 200 steps.
  const auto lines = linesOf(readWholeFile(folder.base() + "_22_Bootstrap-C0-Normal density.txt"));
  ASSERT_EQ(lines.size(), 209U);
  EXPECT_EQ(slice(lines, 0, 8),
            (std::vector<std::string>{
                "\"Moth\"", "\"Ann\"", "\"2026-01-02\"", "\"Bootstrap number =\",3",
                "\"Mean of C0:\",22,\"SE:\",2", "\"Total number of effective bootstrap =\",3",
                "\"Bootstrap sample size =\",4", "\"i\",\"C0\",\"density\""}));
  EXPECT_EQ(lines[8], "0,15,.000436341531803881");
  EXPECT_EQ(lines[108], "100,22,.199471224443802");
  EXPECT_EQ(lines[208], "200,29,.000436341531803881");
  EXPECT_EQ(linesOf(readWholeFile(folder.base() + "_22_Bootstrap-Qp-Normal density.txt"))[4],
            "\"Mean of Qp:\",5.5,\"SE:\",.2");
}

}  // namespace
}  // namespace pellmar
