#include "core/resampling/bootstrap_summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "resampling_test_support.h"

namespace pellmar {
namespace {

using testing::analysedCohort;
using testing::block;
using testing::linesOf;
using testing::replicates;
using testing::slice;
using testing::TemporaryFolder;

int frequencySum(const FrequencyClasses& classes) {
  int sum = 0;
  for (const int f : classes.freq) sum += f;
  return sum;
}

TEST(Boot01, OneReplicateHasVarianceZeroAndAFullReport) {
  TemporaryFolder folder;
  Session session = analysedCohort(folder.base());
  session.counters = {2, 3};
  BootstrapState& boot = session.bootstrap;
  boot.bootCount = 1;
  boot.bootC0 = replicates({21.98765});
  ReportWriter out;
  Boot01(session, out);
  EXPECT_EQ(boot.c0.mean, 21.98765);
  EXPECT_EQ(boot.c0.variance, 0);
  EXPECT_EQ(boot.c0.se, 0);
  EXPECT_EQ(session.counters.pageCounter, 3);
  EXPECT_EQ(session.counters.tableCounter, 4);
  // The control character takes column 1 of the page line.
  const auto lines = linesOf(out.contents());
  ASSERT_EQ(lines.size(), 23U);
  EXPECT_EQ(lines[0], "\x08" + std::string(68, ' ') + "Page 3 ");
  EXPECT_EQ(slice(lines, 1, 22), block(R"(
    Moth|
    Ann|
    2026-01-02|
    Analyzed on : 2026-01-02|
 |
    Table 4. Table of bootstrap samples|
    =====================================|
    Bootstrap no.    Net consumption rate|
    -------------------------------------|
     1                    21.9876 |
    -------------------------------------|
    Mean                  21.9876 |
    Variance              0 |
    S.E.                  0 |
    -------------------------------------|
    Original              22 |
    -------------------------------------|
    Original is the parameter calculated using all individuals.|
    ===================================================================|
    If you don't use the same bootstrap samples of life table analysis,|
    you cannot estimate the standard errors of Qp.|
    ===================================================================|)"));
}

TEST(Boot01, FrequencyClassesCountTheMaximumInClassTwentyAndLeaveOutZero) {
  TemporaryFolder folder;
  Session session = analysedCohort(folder.base());
  BootstrapState& boot = session.bootstrap;
  boot.bootCount = 6;
  boot.bootC0 = replicates({0, 20, 10, 1, 0.5, 19.999});
  ReportWriter out;
  Boot01(session, out);
  const FrequencyClasses& classes = boot.c0Classes;
  EXPECT_EQ(classes.minValue, 0);  // the zero replicate sets the minimum
  EXPECT_EQ(classes.maxValue, 20);
  EXPECT_EQ(classes.classWidth, 1);
  EXPECT_EQ(classes.classBegin[23], 23);
  EXPECT_EQ(classes.classCenter[0], 0.5);
  const std::array<int, 23> expected = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0,
                                        0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0};
  EXPECT_EQ(classes.freq, expected);
  // The zero replicate still enters the mean and variance.
  EXPECT_DOUBLE_EQ(boot.c0.mean, 51.499 / 6);
  EXPECT_EQ(linesOf(out.contents())[10], "     1                    0 ");
}

TEST(Boot01, EqualReplicatesGiveClassWidthZeroAndNoFrequencies) {
  TemporaryFolder folder;
  Session session = analysedCohort(folder.base());
  BootstrapState& boot = session.bootstrap;
  boot.bootCount = 5;
  // The sums of 1.1 five times leave 2E-16 of rounding; equal values have no spread at all.
  boot.bootC0 = replicates({1.1, 1.1, 1.1, 1.1, 1.1});
  ReportWriter out;
  Boot01(session, out);
  EXPECT_DOUBLE_EQ(boot.c0.mean, 1.1);
  EXPECT_EQ(boot.c0.variance, 0);
  EXPECT_EQ(boot.c0.se, 0);
  EXPECT_EQ(boot.c0Classes.classWidth, 0);
  EXPECT_EQ(frequencySum(boot.c0Classes), 0);
}

TEST(Boot01Same, SummarisesTheSixParametersAndEveryStage) {
  TemporaryFolder folder;
  Session session = analysedCohort(folder.base());
  session.predation.stablePredationRate = 0.5;
  session.predation.finitePredationRate = 0.55;
  BootstrapState& boot = session.bootstrap;
  boot.sameSamples = true;
  boot.bootCount = 3;
  boot.bootC0 = replicates({20, 22, 24});
  boot.bootR0 = replicates({10, 11, 8});
  boot.bootPsi = replicates({100, 300, 500});
  boot.bootFP = replicates({1.1, 2.2, 3.3});
  boot.bootLambda = replicates({1.1, 1.2, 1.3});
  boot.lifeTable = {9.87654, 12345.6789, 1.23456, 8, 1.2, 0.001234567, 0.0351364, 1.1234567};
  const int m = session.study.stageCount;
  boot.bootStageConsumption.assign(m + 1, replicates({0, 0, 0}));
  boot.bootStageConsumption[2] = replicates({8, 9, 13});
  boot.bootStageConsumptionBySex.assign(4, std::vector<std::vector<double>>(m + 1));
  boot.bootStageConsumptionBySex[2][4] = replicates({24, 24, 24});
  ReportWriter out;
  Boot01Same(session, out);

  EXPECT_EQ(boot.bootQp, replicates({2, 2, 3}));
  EXPECT_DOUBLE_EQ(boot.qp.mean, 7.0 / 3);
  EXPECT_NEAR(boot.qp.variance, 1.0 / 3, 1e-12);
  EXPECT_DOUBLE_EQ(boot.psi.variance, 40000);
  EXPECT_DOUBLE_EQ(boot.psi.se, 200);
  ASSERT_EQ(boot.stageConsumption.size(), static_cast<std::size_t>(m + 1));
  EXPECT_EQ(boot.stageConsumption[2].mean, 10);
  EXPECT_EQ(boot.stageConsumption[2].variance, 7);
  ASSERT_EQ(boot.stageConsumptionBySex.size(), 3U);
  EXPECT_EQ(boot.stageConsumptionBySex[2][4].mean, 24);
  EXPECT_EQ(boot.stageConsumptionBySex[2][4].se, 0);
  EXPECT_EQ(boot.stageConsumptionBySex[1][4].mean, 0);
  EXPECT_EQ(boot.c0Classes.classWidth, 0.2);

  // Lambda has 6 decimals; variances above 10000 have 2 (R0: 3 below), lambda's 6 up to 100.
  const auto lines = linesOf(out.contents());
  EXPECT_EQ(slice(lines, 6, 18), block(R"(
    Table 16. Table of bootstrap samples|
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
                 Co          Ro        Qp         Psi       FP (FC)     lambda|
    ---------------------------------------------------------------------------|
    Original parameters are calculated using all individuals.|
    Co: Net predation rate; Ro: Net reproductive rate.|)"));
  EXPECT_EQ(lines.back(), "    Psi: Stable predation rate; lambda: Finate rate.");
}

}  // namespace
}  // namespace pellmar
