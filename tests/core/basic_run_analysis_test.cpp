#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/analysis/age_stage_walk.h"
#include "core/analysis/basic_run.h"
#include "core/data/stage_label.h"
#include "core/data/study_reader.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

// Reads a study and runs its Basic Run.
test_support::AnalysedStudy analyse(const std::string& contents, double timeUnit = 1.0) {
  return test_support::analysedStudy(contents, timeUnit);
}

// Egg, larva, adult: a female, a male and a larva that died after 2 days.
const char* kThreeStages =
    "P\nU\nD\n3\n3,3\nF,Egg,Larva,Female\nM,Egg,Larva,Male\nN,Egg,Larva,Unknown\nEgg,Larva\n"
    "1,F,1,2,2,-1,4,6,-1,10,12,-1\n"
    "2,M,1,1,3,-1,5,-1,8,8,8,-1\n"
    "3,N,1,-2,-1,3,3,-1\n";

TEST(BasicRunAnalysis, MatricesOfAHandWorkedCohort) {
  const test_support::AnalysedStudy analysed = analyse(kThreeStages);
  const BasicRunResults& r = analysed.basic;
  ASSERT_EQ(r.maxAgeIndex, 4);
  const int expectedN[5][5] = {
      {0, 3, 0, 0, 0}, {0, 0, 3, 0, 0}, {0, 0, 2, 0, 1}, {0, 0, 0, 1, 1}, {0, 0, 0, 1, 1}};
  for (int x = 0; x <= 4; ++x) {
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(r.N(x, j), expectedN[x][j]) << x << "," << j;
  }
  EXPECT_DOUBLE_EQ(r.D(0, 1), 1.0);
  EXPECT_DOUBLE_EQ(r.G(1, 2), 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(r.D(1, 3), 1.0 / 3.0);  // the male's step into column m + 1
  EXPECT_DOUBLE_EQ(r.D(2, 2), 1.0 / 2.0);  // the female's step into column m
  EXPECT_DOUBLE_EQ(r.G(3, 3), 1.0);
  EXPECT_DOUBLE_EQ(r.C(2, 2), 4.5);
  EXPECT_DOUBLE_EQ(r.C(4, 3), 12.0);
  EXPECT_EQ(r.stageAgeRange[4][1], 2);
  EXPECT_EQ(r.stageAgeRange[4][2], 4);
  EXPECT_DOUBLE_EQ(r.s[2], 5.0 / 3.0);
}

TEST(BasicRunAnalysis, CurvesAndNetConsumptionRate) {
  const test_support::AnalysedStudy analysed = analyse(kThreeStages);
  const BasicRunResults& r = analysed.basic;
  const double l[] = {1, 1, 1, 2.0 / 3, 2.0 / 3};
  const double q[] = {0, 4, 17.0 / 3, 6, 20.0 / 3};
  for (std::size_t x = 0; x <= 4; ++x) {
    EXPECT_DOUBLE_EQ(r.l[x], l[x]);
    EXPECT_DOUBLE_EQ(r.q[x], q[x]);
  }
  EXPECT_DOUBLE_EQ(r.k[3], 9.0);
  EXPECT_DOUBLE_EQ(r.C0ByAge, 67.0 / 3);
  EXPECT_DOUBLE_EQ(r.C0ByCell, 67.0 / 3);
  EXPECT_DOUBLE_EQ(r.cumulativeQ[4], 67.0 / 3);
  EXPECT_DOUBLE_EQ(r.z[2], 7.0);
  EXPECT_DOUBLE_EQ(r.z[4], 8.0);
  EXPECT_DOUBLE_EQ(r.cohortConsumption, 67.0);
  EXPECT_DOUBLE_EQ(r.ageTotalConsumption[2], 17.0);
  EXPECT_DOUBLE_EQ(r.zsDailyMean[2], 4.2);
  EXPECT_DOUBLE_EQ(r.zsDailyMean[3], 11.0);
  // The tables label the stages with four characters of the first stage-name line and the
  // adults by sex; the study keeps its names as read.
  EXPECT_EQ(stageLabel(analysed.study, 2), "Larv");
  EXPECT_EQ(stageLabel(analysed.study, 3), "Fema");
  EXPECT_EQ(stageLabel(analysed.study, 4), "Male");
  EXPECT_EQ(analysed.study.name(1, 2), "Larva");
}

TEST(BasicRunAnalysis, StageStatistics) {
  const test_support::AnalysedStudy analysed = analyse(kThreeStages, 0.5);
  const BasicRunResults& r = analysed.basic;
  // The larva that died counts in stage 1 only.
  EXPECT_EQ(r.stageDuration[1].count, 3);
  EXPECT_EQ(r.stageDuration[2].count, 2);
  EXPECT_DOUBLE_EQ(r.stageDuration[2].mean, 0.75);
  EXPECT_DOUBLE_EQ(r.stageDuration[2].sd, std::sqrt(0.125));
  EXPECT_EQ(r.cumDuration[3].count, 2);
  EXPECT_DOUBLE_EQ(r.cumDuration[3].mean, 2.5);
  EXPECT_DOUBLE_EQ(r.stageConsumption[2].mean, 7.5);
  EXPECT_DOUBLE_EQ(r.stageConsumption[2].min, 5);
  EXPECT_DOUBLE_EQ(r.stageConsumption[2].max, 10);
  // By sex: one female, so no SD; the N sex stops at its first empty stage (the larva).
  EXPECT_EQ(r.stageDurationBySex[1][3].count, 1);
  EXPECT_EQ(r.stageDurationBySex[3][1].count, 1);
  EXPECT_EQ(r.stageDurationBySex[3][2].count, 0);
  // With m = 3 the pre-adult time runs to the end of stage 2; the N larva has none.
  EXPECT_DOUBLE_EQ(r.preadultDuration[1], 1.5);
  EXPECT_DOUBLE_EQ(r.preadultDuration[2], 1.0);
  EXPECT_DOUBLE_EQ(r.preadultDuration[3], 0.0);
  // The span Egg .. Larva.
  EXPECT_EQ(r.spanFirstStage, 1);
  EXPECT_EQ(r.spanLastStage, 2);
  EXPECT_EQ(r.span.count, 2);
  EXPECT_DOUBLE_EQ(r.totalConsumptionBySex[1].mean, 32);
  EXPECT_DOUBLE_EQ(r.totalConsumptionBySex[3].mean, 6);
  EXPECT_DOUBLE_EQ(r.cohortConsumptionMean, 67.0 / 3);
}

TEST(BasicRunAnalysis, SingleFemaleOfTwoStages) {
  const test_support::AnalysedStudy analysed =
      analyse("P\nU\nD\n1\n1,2\nF,Egg,Female\nEgg,Egg\n1,F,2,3,-1,5,5,5,-1\n");
  const BasicRunResults& r = analysed.basic;
  ASSERT_EQ(r.maxAgeIndex, 4);
  EXPECT_EQ(r.N(0, 1), 1);
  EXPECT_EQ(r.N(1, 1), 1);
  EXPECT_EQ(r.N(2, 2), 1);
  EXPECT_EQ(r.N(4, 2), 1);
  EXPECT_DOUBLE_EQ(r.D(1, 1), 1);
  EXPECT_DOUBLE_EQ(r.G(0, 1), 1);
  EXPECT_DOUBLE_EQ(r.G(2, 2), 1);
  EXPECT_DOUBLE_EQ(r.G(3, 2), 1);
  for (std::size_t x = 0; x <= 4; ++x) EXPECT_DOUBLE_EQ(r.l[x], 1);
  EXPECT_DOUBLE_EQ(r.C0ByAge, 15);
}

TEST(BasicRunAnalysis, DeathsAndUnoccupiedColumns) {
  // An N that died after 2 time units of stage 2, an N dead in its first time unit, and a
  // female; nobody becomes a male, so column m + 1 is never occupied.
  const test_support::AnalysedStudy analysed = analyse(
      "P\nU\nD\n3\n3,4\nF,Egg,Larva,Pupa,Female\nM,Egg,Larva,Pupa,Male\nN,Egg,Larva,Pupa,X\n"
      "Larva,Pupa\n"
      "1,N,3,-2,-1,1,1,-1\n2,N,-1,-1\n3,F,2,2,2,2,-1,1,1,-1,-1,3,3,-1\n");
  const BasicRunResults& r = analysed.basic;
  ASSERT_EQ(r.maxAgeIndex, 7);
  EXPECT_EQ(r.N(0, 1), 3);
  EXPECT_EQ(r.N(1, 1), 2);  // the one dead at age 0 is gone
  EXPECT_EQ(r.N(2, 1), 1);  // the female has moved on to the larva
  EXPECT_EQ(r.N(3, 2), 2);
  EXPECT_EQ(r.N(4, 2), 1);  // the N larva's second and last day
  EXPECT_EQ(r.N(5, 2), 0);
  EXPECT_EQ(r.stageAgeRange[5][1], 0);
  EXPECT_EQ(r.stageAgeRange[5][2], -1);
  EXPECT_EQ(r.s[5], 0);
  EXPECT_EQ(r.stageDailyMeanConsumption[5], 0);
}

// Stage durations by hand: the larva lasted 2 and 1 time units in the two individuals that
// passed it, so its mean is 1.5, its SD sqrt(((4 + 1) - 3^2 / 2) / 1) = sqrt(0.5) and its SE
// sqrt(0.5) / sqrt(2) = 0.5; the adults lived 2 and 3. In days at a time unit of half a day,
// everything halves.
TEST(BasicRunAnalysis, StageDurationStatisticsByHand) {
  for (const double t : {1.0, 0.5}) {
    const BasicRunResults r = analyse(kThreeStages, t).basic;
    EXPECT_EQ(r.stageDuration[2].count, 2) << t;
    EXPECT_DOUBLE_EQ(r.stageDuration[2].mean, 1.5 * t) << t;
    EXPECT_DOUBLE_EQ(r.stageDuration[2].sd, std::sqrt(0.5) * t) << t;
    EXPECT_DOUBLE_EQ(r.stageDuration[2].se, 0.5 * t) << t;
    EXPECT_DOUBLE_EQ(r.stageDuration[3].mean, 2.5 * t) << t;
    EXPECT_DOUBLE_EQ(r.stageDuration[3].se, 0.5 * t) << t;
  }
}

}  // namespace
}  // namespace pellmar
