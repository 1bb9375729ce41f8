#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/resampling/bootstrap_files.h"
#include "core/resampling/bootstrap_frequency.h"
#include "core/resampling/bootstrap_summary.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using test_support::analysedCohort;
using test_support::block;
using test_support::linesOf;
using test_support::readFile;
using test_support::replicates;
using test_support::slice;
using test_support::TemporaryFolder;

using test_support::BootstrapFixture;
using test_support::writeFiles;

// The small cohort after an own-samples bootstrap of B replicates of n = 4 whose C0 are
// 1, 2, ..., B.
BootstrapFixture bootstrapped(const std::string& base, int count) {
  BootstrapFixture fixture{analysedCohort(base), {}, {}, {}};
  BootstrapResults& boot = fixture.boot;
  boot.bootCount = count;
  boot.bootSampleSize = 4;
  boot.bootC0.assign(1, 0.0);
  for (int b = 1; b <= count; ++b) boot.bootC0.push_back(b);
  return fixture;
}

TEST(OwnSamplesSummary, FrequencyClassesAtTheEdges) {
  TemporaryFolder folder;
  BootstrapResults boot;
  boot.bootCount = 6;
  boot.bootC0 = replicates({0, 20, 10, 1, 0.5, 19.999});
  summarizeBootstrap(boot, 4, 0.0);
  // The zero replicate sets the minimum and enters the mean, but is not counted; the maximum
  // lands in class 20.
  const FrequencyClasses& classes = boot.c0Classes;
  EXPECT_EQ(classes.minValue, 0);
  EXPECT_EQ(classes.classWidth, 1);
  const std::array<int, 23> expected = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0,
                                        0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0};
  EXPECT_EQ(classes.freq, expected);
  EXPECT_DOUBLE_EQ(boot.c0.mean, 51.499 / 6);

  // Equal values: width 0 and nothing counted. The sums of 1.1 five times would leave 2E-16
  // of variance; equal values have none.
  boot.bootCount = 5;
  boot.bootC0 = replicates({1.1, 1.1, 1.1, 1.1, 1.1});
  summarizeBootstrap(boot, 4, 0.0);
  EXPECT_EQ(boot.c0.variance, 0);
  EXPECT_EQ(boot.c0Classes.classWidth, 0);
  EXPECT_EQ(boot.c0Classes.freq, (std::array<int, 23>{}));
}

TEST(SameSamplesSummary, SummarisesTheSixParametersAndEveryStage) {
  TemporaryFolder folder;
  BootstrapFixture fixture{analysedCohort(folder.base()), PredationRates{}, {}, {}};
  fixture.predation->stablePredationRate = 0.5;
  fixture.predation->finitePredationRate = 0.55;
  BootstrapResults& boot = fixture.boot;
  boot.sameSamples = true;
  boot.bootCount = 3;
  boot.bootC0 = replicates({20, 22, 24});
  boot.bootR0 = replicates({10, 11, 8});
  boot.bootPsi = replicates({100, 300, 500});
  boot.bootFP = replicates({1.1, 2.2, 3.3});
  boot.bootPsiValid = {0, 1, 1, 1};
  boot.bootLambda = replicates({1.1, 1.2, 1.3});
  boot.lifeTable = {9.87654, 12345.6789, 1.23456, 8, 1.2, 0.001234567, 0.0351364, 1.1234567};
  boot.bootStageConsumption.assign(5, replicates({0, 0, 0}));
  boot.bootStageConsumption[2] = replicates({8, 9, 13});
  boot.bootStageConsumptionBySex.assign(4, std::vector<std::vector<double>>(5));
  boot.bootStageConsumptionBySex[2][4] = replicates({24, 24, 24});
  summarizeBootstrap(boot, fixture.analysed.study.stageCount, fixture.analysed.basic.C0ByCell);
  ReportWriter out;
  ReportPages pages{out, fixture.counters};
  writeBootstrapTable(fixture.report(), pages);
  // The table only reads the summaries: written again, it is the same.
  ReportWriter again;
  ReportPages pagesAgain{again, fixture.counters};
  fixture.counters.pageCounter -= 1;
  fixture.counters.tableCounter -= 1;
  writeBootstrapTable(fixture.report(), pagesAgain);
  EXPECT_EQ(again.contents(), out.contents());

  EXPECT_EQ(boot.bootQp, replicates({2, 2, 3}));
  EXPECT_EQ(boot.stageConsumption[2].variance, 7);
  EXPECT_EQ(boot.stageConsumptionBySex[2][4].mean, 24);
  EXPECT_EQ(boot.stageConsumptionBySex[1][4].mean, 0);
  // Lambda has 6 decimals; variances above 10000 have 2 (R0: 3 below), lambda's 6 up to 100.
  const auto lines = linesOf(out.contents());
  EXPECT_EQ(slice(lines, 6, 15), block(R"(
    Table 1. Table of bootstrap samples|
    ===========================================================================|
                 Co          Ro        Qp         Psi       FP (FC)     lambda|
    ---------------------------------------------------------------------------|
    Original   22          8         2.75         .5        .55       1.123457 |
    ---------------------------------------------------------------------------|
    Mean       22          9.8765    2.3333       300       2.2       1.2 |
    Variance   4           12345.68  .3333        40000     1.21      .001235 |
    S.E.       2           1.2346    .5774        200       1.1       .035136 |
    ---------------------------------------------------------------------------|
     1         20          10        2            100       1.1       1.1 |
     2         22          11        2            300       2.2       1.2 |
     3         24          8         3            500       3.3       1.3 |
    ---------------------------------------------------------------------------|
                 Co          Ro        Qp         Psi       FP (FC)     lambda|)"));
  EXPECT_EQ(lines.back(), "    Psi: Stable predation rate; lambda: Finate rate.");
}

TEST(BootstrapFrequency, FileAndChartOfTheClasses) {
  TemporaryFolder folder;
  BootstrapFixture fixture = bootstrapped(folder.base(), 21);
  fixture.boot.bootC0[1] = 0;  // not counted, but the minimum
  fixture.boot.bootSampleSize = 120;
  summarizeBootstrap(fixture.boot, fixture.analysed.study.stageCount,
                     fixture.analysed.basic.C0ByCell);
  writeFiles(folder.base(),
             [&](OutputFiles& files) { writeBootstrapFrequencyFile(fixture.report(), files); });
  const auto lines = linesOf(readFile(folder.base() + "_9_Bootstrap-Co frequency.txt"));
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
}

TEST(BootstrapFrequency, NormalDensityCurvesSkipThoseWithoutSpread) {
  TemporaryFolder folder;
  BootstrapFixture fixture = bootstrapped(folder.base(), 3);
  BootstrapResults& boot = fixture.boot;
  boot.c0 = {21, 4, 2};
  boot.stageConsumption.assign(5, ReplicateSummary{});
  boot.stageConsumption[1] = {0, 1, 1};  // the egg eats nothing: skipped
  boot.stageConsumption[2] = {8, 1, 1};
  boot.stageConsumption[4] = {19, 1, 1};
  boot.stageConsumptionBySex.assign(3, std::vector<ReplicateSummary>(5));
  boot.stageConsumptionBySex[2][4] = {24, 0.25, 0.5};
  boot.lifeTable.R0 = 4;
  boot.Qp = 22.0 / 4;
  boot.qp = {5, 0.04, 0.2};
  EXPECT_EQ(
      writeFiles(folder.base(),
                 [&](OutputFiles& files) { writeNormalDensityCurves(fixture.report(), files); }),
      (std::vector<std::string>{
          "_22_Bootstrap-2-Larva-Normal density.txt", "_22_Bootstrap-4-Adult-Normal density.txt",
          "_22_Bootstrap-4-Male Adult-Normal density.txt", "_22_Bootstrap-C0-Normal density.txt",
          "_22_Bootstrap-Qp-Normal density.txt"}));

  // Centred on the cohort's C0, 3.5 standard errors either side in 200 steps.
  const auto lines = linesOf(readFile(folder.base() + "_22_Bootstrap-C0-Normal density.txt"));
  ASSERT_EQ(lines.size(), 209U);
  EXPECT_EQ(lines[4], "\"Mean of C0:\",22,\"SE:\",2");
  EXPECT_EQ(lines[8], "0,15,.000436341531803881");
  EXPECT_EQ(lines[108], "100,22,.199471224443802");
  EXPECT_EQ(lines[208], "200,29,.000436341531803881");
  EXPECT_EQ(linesOf(readFile(folder.base() + "_22_Bootstrap-Qp-Normal density.txt"))[4],
            "\"Mean of Qp:\",5.5,\"SE:\",.2");
}

}  // namespace
}  // namespace pellmar
