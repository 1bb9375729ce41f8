#include "core/predation/sasd_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/predation/finite_predation_rate_file.h"
#include "core/predation/sasd_reader.h"
#include "resampling_test_support.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

using test_support::analysedCohort;
using test_support::block;
using test_support::linesOf;
using test_support::readFile;
using test_support::slice;
using test_support::TemporaryFolder;

// The small cohort with a distribution read. Ages 0 .. 5; the columns Egg, Larv, Pupa, Fema
// and Male hold ages 0, 1..2, 2..3, 4..5 and 3..5.
struct CohortWithDistribution {
  test_support::AnalysedStudy analysed;
  PredationRates predation;
};

CohortWithDistribution cohortWithDistribution(const std::string& base) {
  CohortWithDistribution fixture{analysedCohort(base), {}};
  PredationRates& predation = fixture.predation;
  predation.finiteRate = 1.5;
  predation.timeUnitRate = 1.5;
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
  return fixture;
}

TEST(SasdTables, DistributionAndProductTables) {
  TemporaryFolder folder;
  CohortWithDistribution fixture = cohortWithDistribution(folder.base());
  ReportWriter out;
  ReportCounters counters{4, 9};
  ReportPages pages{out, counters};
  BasicRunResults& r = fixture.analysed.basic;
  r.C(0, 1) = 5;  // age 0 enters the printed psi
  r.C(4, 5) = 3086.79;
  r.C(5, 5) = 1200147.6;
  writeStableDistributionTable(fixture.analysed.study, r, fixture.predation, pages);
  writeStablePredationTable(fixture.analysed.study, r, fixture.predation, pages);
  // Names as the Basic Run leaves them, from column 8j + 5; a value that rounds to 0 prints
  // "0" where "-" stands.
  const auto lines = linesOf(out.contents());
  ASSERT_EQ(lines.size(), 32U);
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
  // Products: 4 decimals below 1, 2 below 100, whole below 10000, unchanged from there on.
  // psi = 1.5 + .85 + .12345678 x 14 / 3 + .4 + .84 + 123.4716 + .24 + 12001.476.
  EXPECT_EQ(lines[16], "    Table 11. Product of SASD*Cxj (Total population = 1)");
  EXPECT_EQ(slice(lines, 20, 12), block(R"(
     0       1.5     -       -       -       - |
     1       -       .85     -       -       - |
     2       -       .5761   0       -       - |
     3       -       -       0       -       .4  |
     4       -       -       -       .84     123  |
     5       -       -       -       .24     12001.476  |
    -------------------------------------------------|
 |
    Stable predation rate (psi): 12129.35373164 |
    psi: Total consumption of a population at SASD (population size = 1)|
    Finite predation rate (omega)= 18194.03059746 |
 |)"));
  EXPECT_EQ(fixture.predation.stablePredationRate, 7);
}

TEST(FinitePredationRateFile, ListsIncludedFemalesWithTheirStatistics) {
  TemporaryFolder folder;
  CohortWithDistribution fixture = cohortWithDistribution(folder.base());
  PredationRates& predation = fixture.predation;
  predation.stablePredationRate = 0.25;
  predation.finitePredationRate = 0.375;
  predation.femaleCount = 1;
  predation.females.assign(5, FemaleRecord{});
  // Female 1 takes part; female 2 has inclusion value 0; individual 3 is a male in the data.
  predation.females[1] = {1, "F", 6, 1, 3, 4, 1, 2, 10, 22, 0};
  predation.females[2] = {2, "F", 5, 0, 3, 4, 0, 2, 10, 11, 0};
  predation.females[3] = {3, "F", 5, 1, 3, 4, 0, 2, 5, 8, 0};
  predation.periodStatistics.assign(6, Statistic{1, 0, 0, 0});
  predation.periodStatistics[1].mean = 10.125;  // halves go to the even neighbour
  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeFinitePredationRateFile(fixture.analysed.study, predation, files);
  });
  const std::string path = folder.base() + "_0_Output_Finite_Predation_Rate_omega.txt";
  const auto lines = linesOf(readFile(path));
  ASSERT_EQ(lines.size(), 27U);
  EXPECT_EQ(slice(lines, 3, 5), (std::vector<std::string>{"Finite rate = 1.5 ", "Psi = .25 ",
                                                          "Finite Predation Rate = .375 ",
                                                          "Intrinsic Predation Rate =", ""}));
  EXPECT_EQ(slice(lines, 9, 7), block(R"(
Ind.     TPOP      TPOPCon        OviP      OviCon    PostP     PostCon|
--------------------------------------------------------------------------------|
 1        3         10             2         22        1         0 |
--------------------------------------------------------------------------------|
n         1         1              1         1         1         1 |
--------------------------------------------------------------------------------|
Mean      0         10.12          0         0         0         0 |)"));
  EXPECT_EQ(finitePredationRateMessage(predation, 1), "Psi =.25.  Finite predation rate =.375");
  EXPECT_EQ(finitePredationRateMessage(predation, 0.5),
            "Psi =.25.  Finite predation rate =.375\n"
            "(prey per individual per time unit of .5 days)");

  predation.intrinsicRateDefined = true;
  predation.intrinsicPredationRate = -0.5;
  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeFinitePredationRateFile(fixture.analysed.study, predation, files);
  });
  EXPECT_EQ(linesOf(readFile(path))[6], "Intrinsic Predation Rate =-.5 ");
}

// psi and FP are rates of a population that grows or shrinks by lambda each time unit: a lambda
// of 0 or below is refused, naming the file and the line.
TEST(SasdReader, ALambdaThatIsNotAboveZeroIsRefused) {
  const std::filesystem::path examples(EXAMPLES_DIR);
  const test_support::AnalysedStudy study =
      test_support::analysedStudy(readFile(examples / "lady_beetle.txt"));
  const std::string sasd = readFile(examples / "lady_beetle_10_SASD.txt");
  for (const std::string lambda : {"0", "-1.2"}) {
    std::string changed = sasd;
    changed.replace(changed.find("1.1419420381654068"), 18, lambda);
    const UserError error = test_support::errorFrom([&] {
      readSasd(InputFile{"s.txt", changed, ""}, study.study, study.basic);
    });
    EXPECT_EQ(error.title(), "Read SASD");
    EXPECT_EQ(error.text(),
              "The file s.txt, line 6, the heading: the finite rate of increase "
              "(lambda) is " +
                  lambda + "; it must be a number above 0.");
  }
}

}  // namespace
}  // namespace pellmar
