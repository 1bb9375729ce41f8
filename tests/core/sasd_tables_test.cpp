#include "core/predation/sasd_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "core/predation/finite_predation_rate_file.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using testing::analysedCohort;
using testing::block;
using testing::linesOf;
using testing::readWholeFile;
using testing::slice;
using testing::TemporaryFolder;

// The small cohort with a distribution read: ages 0 .. 5, columns Egg 0..0, Larv 1..2,
// Pupa 2..3, Fema 4..5, Male 3..5.
Session cohortWithDistribution(const std::string& base) {
  Session session = analysedCohort(base);
  PredationState& predation = session.predation;
  predation.sasdDone = true;
  predation.finiteRate = 1.5;
  predation.stablePredationRate = 7;
  AgeStageMatrix& a = predation.stableDistribution;
  a.reset(6, 6);
  a(0, 1) = 0.3;
  a(1, 1) = 0.5;  // outside the egg's ages: printed as "-"
  a(1, 2) = 0.2;
  a(2, 2) = 0.12345678;
  a(2, 3) = 0.00004;  // rounds to 0
  a(3, 5) = 0.05;
  a(4, 4) = 0.08;
  a(4, 5) = 0.04;
  a(5, 4) = 0.02;
  a(5, 5) = 0.01;
  return session;
}

TEST(SasdTables, DistributionTableRoundsAndMarksAgesOutsideEachStage) {
  TemporaryFolder folder;
  Session session = cohortWithDistribution(folder.base());
  session.predation.sasdDone = false;
  ReportWriter out;
  PrintSASD(session, out);
  EXPECT_EQ(out.contents(), "");

  session.predation.sasdDone = true;
  session.counters = {4, 9};
  PrintSASD(session, out);
  EXPECT_EQ(session.counters.pageCounter, 5);
  EXPECT_EQ(session.counters.tableCounter, 10);
  // Names as the Basic Run leaves them, starting at column 8j + 5; a value that rounds to 0
  // prints "0" where "-" stands.
  const auto lines = linesOf(out.contents());
  ASSERT_EQ(lines.size(), 14U);
  EXPECT_EQ(lines[0], "\x08");
  EXPECT_EQ(slice(lines, 1, 13), block(R"(
                                                                     Page 5 |
    Table 10. Stable age-stage distribution (Total population = 1)|
    -------------------------------------------------|
     Age    Egg     Larv    Pupa    Fema    Male |
    -------------------------------------------------|
     0       .3      -       -       -       - |
     1       -       .2      -       -       - |
     2       -       .1235   0       -       - |
     3       -       -       0       -       .05  |
     4       -       -       -       .08     .04  |
     5       -       -       -       .02     .01  |
    -------------------------------------------------|
 |)"));
}

TEST(SasdTables, ProductTableIncludesAgeZeroAndKeepsTheCommandsPsi) {
  TemporaryFolder folder;
  Session session = cohortWithDistribution(folder.base());
  BasicRunResults& r = session.basic;
  r.C(0, 1) = 5;  // age 0 enters the printed psi
  r.C(4, 5) = 3086.79;
  r.C(5, 5) = 1200147.6;
  ReportWriter out;
  PrintProductOfSASDandCxj(session, out);
  const auto lines = linesOf(out.contents());
  ASSERT_EQ(lines.size(), 18U);
  EXPECT_EQ(lines[2], "    Table 16. Product of SASD*Cxj (Total population = 1)");
  // 4 decimals below 1, 2 below 100, whole below 10000, unchanged from there on.
  EXPECT_EQ(slice(lines, 6, 6), block(R"(
     0       1.5     -       -       -       - |
     1       -       .85     -       -       - |
     2       -       .5761   0       -       - |
     3       -       -       0       -       .4  |
     4       -       -       -       .84     123  |
     5       -       -       -       .24     12001.476  |)"));
  // 1.5 + .85 + .12345678 x 14 / 3 + .4 + .84 + 123.4716 + .24 + 12001.476
  EXPECT_EQ(slice(lines, 14, 4), block(R"(
    Stable predation rate (psi): 12129.35373164 |
    psi: Total consumption of a population at SASD (population size = 1)|
    Finite predation rate (omega)= 18194.03059746 |
 |)"));
  EXPECT_EQ(session.predation.stablePredationRate, 7);
}

TEST(FinitePredationRateFile, ListsIncludedFemalesWithTheirStatistics) {
  TemporaryFolder folder;
  Session session = cohortWithDistribution(folder.base());
  PredationState& predation = session.predation;
  predation.stablePredationRate = 0.25;
  predation.finitePredationRate = 0.375;
  predation.intrinsicRateDefined = false;
  predation.femaleCount = 1;
  predation.females.assign(5, FemaleRecord{});
  // Female 1 takes part; female 2 has inclusion value 0; the male's record is not listed.
  predation.females[1] = {1, "F", 6, 1, 3, 4, 1, 2, 10, 22, 0};
  predation.females[2] = {2, "F", 5, 0, 3, 4, 0, 2, 10, 11, 0};
  predation.females[3] = {3, "F", 5, 1, 3, 4, 0, 2, 5, 8, 0};
  predation.periodStatistics.assign(6, Statistic{});
  predation.periodStatistics[0] = {1, 3, 0, 0};
  predation.periodStatistics[1] = {1, 10.125, 0, 0};  // halves go to the even neighbour
  predation.periodStatistics[3] = {1, 22.125, 0, 0};
  writeFinitePredationRateFile(session);
  const std::string dashes(80, '-');
  EXPECT_EQ(linesOf(readWholeFile(folder.base() + "_0_Output_Finite_Predation_Rate_omega.txt")),
            (std::vector<std::string>{
                "\"Moth\"",
                "\"2026-01-02\"",
                "\"Ann\"",
                "Finite rate = 1.5 ",
                "Psi = .25 ",
                "Finite Predation Rate = .375 ",
                "Intrinsic Predation Rate =",
                "",
                std::string(80, '='),
                "Ind.     TPOP      TPOPCon        OviP      OviCon    PostP     PostCon",
                dashes,
                " 1        3         10             2         22        1         0 ",
                dashes,
                "n         1         1              1         1         1         1 ",
                dashes,
                "Mean      3         10.12          0         22.12     0         0 ",
                dashes,
                "SD        0         0              0         0         0         0 ",
                dashes,
                "SE        0         0              0         0         0         0 ",
                dashes,
                "TPOP: total preoviposition period.",
                "TPOPCon: Total consumption during TPOP.",
                "OviP: Oviposition period.",
                "OviCon: Total consumption during oviposition period.",
                "PostP: Post oviposition period.",
                "PostCon: Total consumption during post oviposition period."}));
  EXPECT_EQ(finitePredationRateMessage(predation), "Psi =.25.  Finite predation rate =.375");

  predation.intrinsicRateDefined = true;
  predation.intrinsicPredationRate = -0.5;
  writeFinitePredationRateFile(session);
  EXPECT_EQ(linesOf(readWholeFile(folder.base() + "_0_Output_Finite_Predation_Rate_omega.txt"))[6],
            "Intrinsic Predation Rate =-.5 ");
}

}  // namespace
}  // namespace pellmar
