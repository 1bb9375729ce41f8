#include "core/resampling/jackknife_report.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/resampling/jackknife.h"
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

// The small cohort with its basic report written (the page and table numbers run on from it)
// and jackknife pseudo-values of C0.
struct JackknifeFixture {
  test_support::AnalysedStudy analysed;
  JackknifeResults jackknife;
  ReportCounters counters;

  [[nodiscard]] JackknifeReport report() const {
    return {analysed.study, analysed.basic, jackknife};
  }
};

JackknifeFixture withPseudoValues(const std::string& base, const std::vector<double>& values) {
  JackknifeFixture fixture{analysedCohort(base), {}, {}};
  ReportWriter basicReport;
  ReportPages pages{basicReport, fixture.counters};
  writeBasicReport(fixture.analysed.study, fixture.analysed.basic, pages);
  fixture.jackknife.fullCount = static_cast<int>(values.size());
  fixture.jackknife.jackknifePseudoC0 = replicates(values);
  return fixture;
}

TEST(JackknifeSummary, CohortOfTwoDividesByOne) {
  TemporaryFolder folder;
  JackknifeFixture fixture = withPseudoValues(folder.base(), {30, 14});
  ReportWriter out;
  ReportPages pages{out, fixture.counters};
  summarizeJackknife(fixture.jackknife);
  writeJackknifeTable(fixture.report(), pages);
  EXPECT_DOUBLE_EQ(fixture.jackknife.jackSE, 8);
  EXPECT_EQ(fixture.jackknife.classes.freq[20], 1);
  // The page and table numbers run on from the basic report; the variance divides by N - 1 = 1:
  // (30 - 22)^2 + (14 - 22)^2.
  const auto lines = linesOf(out.contents());
  ASSERT_EQ(lines.size(), 21U);
  EXPECT_EQ(lines[0], "\x08" + std::string(68, ' ') + "Page 16 ");
  EXPECT_EQ(slice(lines, 6, 15), block(R"(
    Table 16. Table of Jackknife pseudo-values|
    ==========================================|
    Omitted no.    Pseudo-net predation rate|
    ------------------------------------------|
     1                        30 |
     2                        14 |
    ------------------------------------------|
    Mean                      22 |
    Variance                  128 |
    S.D.                      11.31 |
    S.E.                      8 |
    ------------------------------------------|
    Original                  22 |
    ------------------------------------------|
    Original are the parameters calculated using all individuals.|)"));

  test_support::writeFiles(
      folder.base(), [&](OutputFiles& files) { writePseudoValueFile(fixture.report(), files); });
  EXPECT_EQ(readFile(folder.base() + "_5_Pseudo_Consumption_Rate_For_t-test.txt"),
            "\"Moth\"\r\n\"2026-01-02\"\r\n\"Ann\"\r\n1,30\r\n2,14\r\n");
}

TEST(JackknifeSummary, SmallestPseudoValueZeroBuildsTwentyTwoClassesAndLeavesZerosOut) {
  TemporaryFolder folder;
  JackknifeFixture fixture = withPseudoValues(folder.base(), {0, 10, 0, 20, 5});
  ReportWriter out;
  ReportPages pages{out, fixture.counters};
  summarizeJackknife(fixture.jackknife);
  writeJackknifeTable(fixture.report(), pages);
  const FrequencyClasses& classes = fixture.jackknife.classes;
  EXPECT_EQ(classes.classWidth, 1);
  EXPECT_EQ(classes.classBegin[21], 21);
  EXPECT_EQ(classes.classBegin[22], 0);  // not built
  const std::array<int, 23> expected = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0,
                                        0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
  EXPECT_EQ(classes.freq, expected);
}

TEST(JackknifeSummary, NegativeClassBeginsAreWrittenAsZeroAndHugeVariancesAsWholeNumbers) {
  TemporaryFolder folder;
  JackknifeFixture fixture = withPseudoValues(folder.base(), {-2000, 1, 3000});
  ReportWriter out;
  ReportPages pages{out, fixture.counters};
  summarizeJackknife(fixture.jackknife);
  writeJackknifeTable(fixture.report(), pages);
  EXPECT_EQ(linesOf(out.contents())[15], "    Variance                  6333000 ");
  EXPECT_EQ(fixture.jackknife.classes.freq[0], 1);  // every value counts when the minimum is not 0

  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeJackknifeFrequencyFile(fixture.report(), files);
  });
  const auto lines = linesOf(readFile(folder.base() + "_9_Fig_Jackknife-Co frequency.txt"));
  ASSERT_EQ(lines.size(), 30U);
  EXPECT_EQ(slice(lines, 0, 12),
            (std::vector<std::string>{"\"Project: Moth\"", "\"User: Ann\"", "\"Date: 2026-01-02\"",
                                      "\"Total individual =2\"", "\"Net reproductive rate (Co)\"",
                                      "\"Max of pseudo-Co =\",3000,\".  Min of pseudo-Co =\",-2000",
                                      "\"Sum of frequency of Co =\",3",
                                      "\"Class begin\",\"Class center\",\"Frequency\"", "0,-1875,1",
                                      "0,-1625,0", "0,-1375,0", "0,-1125,0"}));
  EXPECT_EQ(slice(lines, 16, 3), (std::vector<std::string>{"0,125,1", "250,375,0", "500,625,0"}));
  // Only the file shows them as 0: the classes the chart reads are left as they are.
  EXPECT_EQ(fixture.jackknife.classes.classBegin[3], -1250);
}

}  // namespace
}  // namespace pellmar
