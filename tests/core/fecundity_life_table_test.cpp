#include "core/predation/fecundity_life_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/analysis/basic_run.h"
#include "core/predation/life_table_report.h"
#include "core/predation/sasd_reader.h"
#include "core/predation/stable_distribution_file.h"
#include "read_file.h"
#include "replicate_reference.h"
#include "resampling_test_support.h"
#include "study_generator.h"

namespace pellmar {
namespace {

using test_support::analysedStudy;
using test_support::AnalysedStudy;
using test_support::block;
using test_support::linesOf;
using test_support::TemporaryFolder;

// The small cohort (females 1 and 2 adult from age index 4, female 1 for two time units) after
// a Basic Run writing into `base`. With female 1 laying 128 eggs at age index 5 and female 2 64
// at age index 4, l(4)m(4) = 64 / 4 and l(5)m(5) = 128 / 4, and 16 q^5 + 32 q^6 = 1 at
// q = exp(-r t) = 1/2.
AnalysedStudy smallCohort(double timeUnit, const std::string& base) {
  return analysedStudy(test_support::kSmallCohort, timeUnit, base);
}

FecundityLifeTable lifeTableOf(const AnalysedStudy& analysed, const std::string& eggs) {
  return computeFecundityLifeTable(analysed.study, analysed.basic,
                                   parseFecundity(eggs, "eggs.txt", analysed.study));
}

TEST(FecundityLifeTable, SmallCohortWorkedByHand) {
  TemporaryFolder folder;
  for (const double t : {1.0, 0.5}) {
    const AnalysedStudy analysed = smallCohort(t, folder.base());
    const FecundityLifeTable table = lifeTableOf(analysed, "1,0,128\n2,64\n");
    EXPECT_EQ(table.f, (std::vector<double>{0, 0, 0, 0, 32, 128}));
    EXPECT_EQ(table.lm, (std::vector<double>{0, 0, 0, 0, 16, 32}));
    // m(4) = S(4, female) f(4) / l(4) = (2/4 x 32) / .75; m(5) = (1/4 x 128) / .5.
    EXPECT_NEAR(table.m[4], 64.0 / 3, 1e-13);
    EXPECT_EQ(table.m[5], 64);
    EXPECT_NEAR(table.GRR, 64.0 / 3 + 64, 1e-13);
    EXPECT_EQ(table.R0, 48);
    EXPECT_EQ(table.F, 96);
    ASSERT_TRUE(table.growth);
    EXPECT_NEAR(table.growth->r, std::log(2.0) / t, 1e-15);
    EXPECT_NEAR(table.growth->T, std::log(48.0) / (std::log(2.0) / t), 1e-13);

    // Female 1 adult at 4, lays at 5, dies after 5; female 2 adult at 4, lays at 4, dies after 4.
    const auto& p = table.periods;
    EXPECT_EQ(p[kAPOP].count, 2);
    EXPECT_EQ(p[kAPOP].mean, 0.5 * t);
    EXPECT_NEAR(p[kAPOP].sd, std::sqrt(0.5) * t, 1e-15);
    EXPECT_EQ(p[kTPOP].mean, 4.5 * t);
    EXPECT_EQ(p[kOvipositionDays].mean, t);
    EXPECT_EQ(p[kOvipositionPeriod].mean, t);
    EXPECT_EQ(p[kPostOvipositionPeriod].mean, 0);
    ASSERT_EQ(table.females.size(), 2U);
    EXPECT_EQ(table.females[0].lifespan, 6);
    EXPECT_EQ(table.females[0].firstOviposition, 5);
    EXPECT_EQ(table.females[1].lastOviposition, 4);
  }
}

TEST(FecundityLifeTable, EggsOfManyFemalesAndTheirStableDistribution) {
  // The generated study of 400 individuals with its generated eggs: R0 = F x females / N, and
  // the stable distribution at the cohort's lambda gives the psi of the literal reference
  // analysis of the cohort.
  TemporaryFolder folder;
  const tools::StudyShape shape{400, 7, 31, 1.0};
  const AnalysedStudy analysed = analysedStudy(tools::generateStudy(shape), 0.5, folder.base());
  const FecundityLifeTable table = computeFecundityLifeTable(
      analysed.study, analysed.basic,
      parseFecundity(tools::generateFecundity(shape), "eggs.txt", analysed.study));
  EXPECT_GT(table.R0, 1);
  EXPECT_LE(std::fabs(table.R0 - table.F * table.femaleCount / table.individualCount),
            1e-12 * table.R0);
  ASSERT_TRUE(table.growth);

  std::vector<int> everyone;
  for (int i = 1; i <= table.individualCount; ++i) everyone.push_back(i);
  const double referencePsi =
      reference::analyseReplicate(analysed.study, everyone, table.growth->lambda).psi;
  double psi = 0.0;
  for (int x = 0; x <= table.maxAgeIndex; ++x) {
    for (int j = 1; j <= analysed.study.stageCount + 1; ++j) {
      psi += analysed.basic.C(x, j) * table.stableDistribution(x, j);
    }
  }
  EXPECT_NEAR(psi, referencePsi, 1e-12 * referencePsi);
}

// The rates computed from the life table are those that reading its distribution's file gives.
TEST(FecundityLifeTable, StableDistributionFileReadsBackAsTheValuesComputed) {
  TemporaryFolder folder;
  const AnalysedStudy analysed = analysedStudy(
      test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle.txt"), 1.0, folder.base());
  const FecundityLifeTable table = computeFecundityLifeTable(
      analysed.study, analysed.basic,
      parseFecundity(
          test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle_fecundity.txt"),
          "eggs.txt", analysed.study));
  ASSERT_TRUE(table.growth);
  const std::string text = stableDistributionFile(analysed.study, table).contents();
  const PredationRates read =
      readSasd(InputFile{"sasd.txt", text, ""}, analysed.study, analysed.basic);
  const PredationRates computed = predationRatesOf(analysed.study, analysed.basic, table);
  EXPECT_EQ(computed.stablePredationRate, read.stablePredationRate);
  EXPECT_EQ(computed.finitePredationRate, read.finitePredationRate);
  EXPECT_EQ(computed.periodStatistics.size(), read.periodStatistics.size());
  for (std::size_t c = 0; c < read.periodStatistics.size(); ++c) {
    EXPECT_EQ(computed.periodStatistics[c].mean, read.periodStatistics[c].mean) << c;
  }

  EXPECT_EQ(read.finiteRate, table.growth->lambda);
  EXPECT_EQ(read.sasdLayout, "In Column");
  double psi = 0.0;
  for (int x = 0; x <= table.maxAgeIndex; ++x) {
    for (int j = 1; j <= analysed.study.stageCount + 1; ++j) {
      ASSERT_EQ(read.stableDistribution(x, j), table.stableDistribution(x, j)) << x << ", " << j;
      psi += analysed.basic.C(x, j) * table.stableDistribution(x, j);
    }
  }
  EXPECT_EQ(read.stablePredationRate, psi);
  EXPECT_EQ(read.finitePredationRate, table.growth->lambda * psi);
  // Every female is listed, and those that laid take part in the period table with their ages.
  int laid = 0;
  for (const FemaleOviposition& o : table.females) {
    const FemaleRecord& record = read.females[static_cast<std::size_t>(o.individual)];
    EXPECT_EQ(record.sasdSex, "F");
    EXPECT_EQ(record.endAge, o.lifespan);
    EXPECT_EQ(record.inclusionValue, o.laid ? 1 : 0);
    EXPECT_EQ(record.tpop, o.firstOviposition);
    EXPECT_EQ(record.lastOvipositionAge, o.lastOviposition);
    if (o.laid) {
      EXPECT_EQ(record.postOvipositionPeriod, o.lifespan - o.lastOviposition - 1);
    }
    laid += o.laid;
  }
  EXPECT_EQ(read.femaleCount, laid);
  EXPECT_EQ(table.periods[kAPOP].count, laid);
  EXPECT_LT(laid, table.femaleCount);  // the example has females that laid nothing
}

// Eggs of about 1e-300 give a lambda near 0: the rates are computed from the values, with no
// file of numbers between, so nothing of them is lost to a text that does not read back.
TEST(FecundityLifeTable, TinyEggsGiveRatesWithoutAFaultOfTheirOwn) {
  const AnalysedStudy analysed =
      analysedStudy(test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle.txt"));
  std::string eggs =
      test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle_fecundity.txt");
  std::string tiny;
  std::istringstream lines(eggs);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] != '#') {
      std::istringstream fields(line);
      std::string field;
      std::getline(fields, field, ',');
      line = field;
      while (std::getline(fields, field, ',')) line += std::stod(field) > 0 ? ",1e-300" : ",0";
    }
    tiny += line + "\n";
  }
  const FecundityLifeTable table = computeFecundityLifeTable(
      analysed.study, analysed.basic, parseFecundity(tiny, "eggs.txt", analysed.study));
  ASSERT_TRUE(table.growth);
  EXPECT_GT(table.growth->lambda, 0);
  const PredationRates rates = predationRatesOf(analysed.study, analysed.basic, table);
  EXPECT_TRUE(std::isfinite(rates.stablePredationRate));
  EXPECT_TRUE(std::isfinite(rates.finitePredationRate));
}

TEST(FecundityLifeTable, ExampleFilesAreWhatTheGeneratorWrites) {
  const tools::StudyShape example;
  EXPECT_EQ(test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle.txt"),
            tools::generateStudy(example));
  EXPECT_EQ(test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle_fecundity.txt"),
            tools::generateFecundity(example));
}

TEST(LifeTableReport, AgeTableParametersAndFemalePeriods) {
  TemporaryFolder folder;
  const AnalysedStudy analysed = smallCohort(1.0, folder.base());
  const auto lines =
      linesOf(lifeTableReport(analysed.study, lifeTableOf(analysed, "1,0,128\n2,64\n")).contents());
  EXPECT_EQ(lines, block(R"(
    Two-sex life table with fecundity|
    Project: Moth|
    Name   : Ann|
    Date   : 2026-01-02|
 |
    Table 1. Age-specific survival rate l(x), fecundity f(x) and maternity m(x)|
    ====================================================|
     Age      l(x)      f(x)      m(x)      l(x)m(x)|
    ----------------------------------------------------|
     0        1         0         0         0 |
     1        1         0         0         0 |
     2        1         0         0         0 |
     3        .75       0         0         0 |
     4        .75       32        21.3333   16 |
     5        .5        128       64        32 |
    ----------------------------------------------------|
    f(x): mean eggs per female adult alive at age x.|
    m(x): mean eggs per individual alive at age x.|
    l(x)m(x): eggs laid at age x per individual of the cohort.|
 |
    Table 2. Population parameters|
    ========================================================================|
     R0      Net reproductive rate (offspring/individual)  48 |
     r       Intrinsic rate of increase (1/day)            .693147180559945 |
     lambda  Finite rate of increase (1/day)               2 |
     T       Mean generation time (days)                   5.58496250072116 |
     GRR     Gross reproductive rate (offspring)           85.3333333333333 |
     F       Fecundity (eggs/female)                       96 |
    ========================================================================|
    N = 4 individuals, of which 2 females; 2 females laid eggs.|
 |
    Table 3. Female periods (days) of the females that laid eggs|
    ====================================================================|
     Period                       n         Mean      SD        SE|
    --------------------------------------------------------------------|
     APOP                         2         .5        .71       .5 |
     TPOP                         2         4.5       .71       .5 |
     Oviposition days             2         1         0         0 |
     Oviposition period           2         1         0         0 |
     Post-oviposition period      2         0         0         0 |
    --------------------------------------------------------------------|
    APOP: adult preoviposition period; TPOP: total preoviposition period,|
    from birth; Oviposition days: days with eggs; Oviposition period: first to|
    last day with eggs; Post-oviposition period: from then to death.|)"));
}

TEST(LifeTableReport, NoEggsIsAFindingWithoutRates) {
  TemporaryFolder folder;
  const AnalysedStudy analysed = smallCohort(1.0, folder.base());
  const FecundityLifeTable table = lifeTableOf(analysed, "1,0,0\n2,0\n");
  EXPECT_EQ(table.R0, 0);
  EXPECT_EQ(table.F, 0);
  EXPECT_FALSE(table.growth);
  EXPECT_EQ(table.stableDistribution.rows(), 0);
  EXPECT_EQ(table.periods[kTPOP].count, 0);
  const auto lines = linesOf(lifeTableReport(analysed.study, table).contents());
  const int r = test_support::indexOfLine(
      lines, "     r       Intrinsic rate of increase (1/day)            -");
  ASSERT_GT(r, 0);
  EXPECT_EQ(test_support::slice(lines, r + 5, 4), block(R"(
    ========================================================================|
    N = 4 individuals, of which 2 females; 0 females laid eggs.|
    No female laid eggs: r, lambda and T are not defined, and there is no|
    stable age-stage distribution.|)"));
}

}  // namespace
}  // namespace pellmar
