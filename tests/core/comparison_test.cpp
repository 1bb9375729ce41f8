#include "core/resampling/comparison.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/resampling/bootstrap.h"
#include "core/user_error.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using test_support::readFile;
using test_support::TemporaryFolder;

// The small cohort after a bootstrap of C0 with mean 22 and variance 4 (n = 4).
BootstrapResults afterBootstrap() {
  BootstrapResults boot;
  boot.bootCount = 3;
  boot.bootSampleSize = 4;
  boot.c0 = {22, 4, 2};
  return boot;
}

// The comparison of the bootstrap with a second treatment's file, its message, and the file
// written into `base`.
std::string compared(const BootstrapResults& boot, const std::string& base,
                     const std::string& contents, ComparisonResults& comparison) {
  comparison = compareTwoBootstraps(boot, parseTreatment2(contents, "treatment2.txt"));
  const test_support::AnalysedStudy cohort = test_support::analysedCohort(base);
  test_support::writeFiles(base, [&](OutputFiles& files) {
    writeComparisonFile(cohort.study, boot, comparison, files);
  });
  return comparisonMessage(comparison);
}

TEST(CompareTwoBootstraps, TheTValueIsNeverNegative) {
  TemporaryFolder folder;
  ComparisonResults comparison;
  EXPECT_EQ(compared(afterBootstrap(), folder.base(),
                     "\"Other moth\",line 2\nline 3\nn =,4\nK =,3\n1,20\n2,22\n3,24\n", comparison),
            "The t-value = 0\n"
            "This t divides the bootstrap variances by n once more; the z and P below do not.\n"
            "Difference of the means (treatment 1 - treatment 2) = 0\n"
            "SE of the difference = 2.82842712474619\n"
            "z = 0, two-sided P = 1\n"
            "The paired bootstrap test compares the two without assuming normality.");
  EXPECT_EQ(readFile(folder.base() + "_6-Compare2Bs-output.txt"),
            "Treatment 1: Moth\r\n"
            "Treatment 2: Other moth\r\n" +
                std::string(60, '=') +
                "\r\n"
                "                Treatment 1              Treatment 2\r\n" +
                std::string(60, '-') +
                "\r\n"
                "Mean =         22                       22 \r\n"
                "Variance =     4                        4 \r\n"
                "SE =           2                        2 \r\n" +
                std::string(60, '-') +
                "\r\n"
                "t-value = 0 \r\n"
                " \r\n"
                "\r\n");
  EXPECT_EQ(comparison.treatment2Title, "Other moth");

  // Treatment 2 lower: t is still positive. The record after K is not read. The SE of the
  // difference is sqrt(4 / 4 + 4 / 4), so t = 10 / sqrt(2) = 7.071067811865475 in double. The
  // bootstrap variances are those of the means: SE = sqrt(4 + 4), z = 10 / sqrt(8) =
  // 3.5355339059327373 and P = erfc(z / sqrt(2)) = erfc(2.5) = 0.000406952017444959.
  EXPECT_EQ(compared(afterBootstrap(), folder.base(),
                     "T2\n2\n3\nn\n4\nK\n3\n1,10\n2,12\n3,14\n4,1000\n", comparison),
            "The t-value = 7.07106781186547\n"
            "This t divides the bootstrap variances by n once more; the z and P below do not.\n"
            "Difference of the means (treatment 1 - treatment 2) = 10\n"
            "SE of the difference = 2.82842712474619\n"
            "z = 3.53553390593274, two-sided P = .00040695201744496\n"
            "The paired bootstrap test compares the two without assuming normality.");
  EXPECT_EQ(comparison.treatment2Mean, 12);
  EXPECT_NEAR(comparison.p, 4.06952017444959e-4, 1e-18);
}

TEST(CompareTwoBootstraps, RefusesFilesItCannotUse) {
  const std::string heading = "T2\n2\n3\nn\n4\nK\n";
  const struct {
    std::string contents;
    std::string inMessage;
  } cases[] = {
      {heading + "1\n1,20\n", "K is 1"},
      {"T2\n2\n3\nn\n0\nK\n3\n1,20\n2,22\n3,24\n", "sample size n is 0"},
      {heading + "3\n1,20\n2,20\n3,20\n", "variance 0"},
      {heading + "3\n1,20\n0,22\n3,24\n", "record number 0 is not"},
      {heading + "3\n1,20\n4,22\n3,24\n", "record number 4 is not"},
      {heading + "3\n1,20\n3,22\n2,24\n", "record number 3 is out of order"},
      {heading + "3\n1,20\n2,22\n", "ends too early"},
      {heading + "3\n1,20\n2,abc\n3,24\n", "\"abc\" is not a number"},
  };
  for (const auto& c : cases) {
    BootstrapResults boot = afterBootstrap();
    boot.c0.variance = 0;
    boot.c0.se = 0;
    try {
      compareTwoBootstraps(boot, parseTreatment2(c.contents, "treatment2.txt"));
      ADD_FAILURE() << "accepted: " << c.contents;
    } catch (const UserError& error) {
      EXPECT_EQ(error.title(), "Compare two bootstraps");
      EXPECT_FALSE(error.fatal());
      EXPECT_NE(error.text().find(c.inMessage), std::string::npos) << error.text();
    }
  }
}

// A bootstrap's own C0 file serves as the second treatment: told apart from the treatment-2
// layout by its heading lines, its values are the replicates' C0 as written. Any other file is
// refused with both layouts named.
TEST(CompareTwoBootstraps, ReadsABootstrapsOwnC0File) {
  TemporaryFolder folder;
  test_support::BootstrapFixture fixture{
      test_support::analysedStudy(readFile(std::filesystem::path(EXAMPLES_DIR) / "lady_beetle.txt"),
                                  1.0, folder.base()),
      {},
      {},
      {}};
  fixture.boot = ownSamplesBootstrap(fixture.analysed.study, fixture.analysed.basic,
                                     OwnSamplesOptions{40, 60, 3, false}, nullptr, {});
  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeBootstrapFiles(fixture.report(), fixture.counters, files);
  });
  const std::string file = folder.base() + "_4_Bootstrap_C0_in column.txt";
  const Treatment2 second = parseTreatment2(readFile(file), file);
  EXPECT_EQ(second.sampleSize, 60);
  ASSERT_EQ(second.count, 40);
  EXPECT_EQ(second.title.find("Project: "), std::string::npos);
  for (int b = 1; b <= 40; ++b) {
    const auto bi = static_cast<std::size_t>(b);
    EXPECT_NEAR(second.values[bi], fixture.boot.bootC0[bi], 0.01) << b;
  }
  try {
    parseTreatment2("Title\nnot a count\n", "other.txt");
    FAIL() << "a file of neither layout";
  } catch (const UserError& error) {
    EXPECT_NE(error.text().find("_4_Bootstrap_C0_in column.txt"), std::string::npos)
        << error.text();
  }
}

}  // namespace
}  // namespace pellmar
