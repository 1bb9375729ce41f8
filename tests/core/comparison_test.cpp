#include "core/resampling/comparison.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/user_error.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using test_support::analysedCohort;
using test_support::readFile;
using test_support::TemporaryFolder;

// The small cohort after a bootstrap of C0 with mean 22 and variance 4 (n = 4).
Session afterBootstrap(const std::string& base) {
  Session session = analysedCohort(base);
  session.bootstrap.bootCount = 3;
  session.bootstrap.bootSampleSize = 4;
  session.bootstrap.c0 = {22, 4, 2};
  return session;
}

std::string treatment2File(const std::string& folder, const std::string& contents) {
  const std::string path = folder + "_treatment2.txt";
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}

TEST(CompareTwoBootstraps, TheTValueIsNeverNegative) {
  TemporaryFolder folder;
  Session session = afterBootstrap(folder.base());
  std::string path = treatment2File(
      folder.base(), "\"Other moth\",line 2\nline 3\nn =,4\nK =,3\n1,20\n2,22\n3,24\n");
  EXPECT_EQ(compareTwoBootstraps(session, path),
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
  EXPECT_TRUE(session.comparison.done);
  EXPECT_EQ(session.comparison.treatment2Title, "Other moth");

  // Treatment 2 lower: t is still positive. The record after K is not read. The SE of the
  // difference is sqrt(4 / 4 + 4 / 4), so t = 10 / sqrt(2) = 7.071067811865475 in double. The
  // bootstrap variances are those of the means: SE = sqrt(4 + 4), z = 10 / sqrt(8) =
  // 3.5355339059327373 and P = erfc(z / sqrt(2)) = erfc(2.5) = 0.000406952017444959.
  session = afterBootstrap(folder.base());
  path = treatment2File(folder.base(), "T2\n2\n3\nn\n4\nK\n3\n1,10\n2,12\n3,14\n4,1000\n");
  EXPECT_EQ(compareTwoBootstraps(session, path),
            "The t-value = 7.07106781186547\n"
            "This t divides the bootstrap variances by n once more; the z and P below do not.\n"
            "Difference of the means (treatment 1 - treatment 2) = 10\n"
            "SE of the difference = 2.82842712474619\n"
            "z = 3.53553390593274, two-sided P = .00040695201744496\n"
            "The paired bootstrap test compares the two without assuming normality.");
  EXPECT_EQ(session.comparison.treatment2Mean, 12);
  EXPECT_NEAR(session.comparison.p, 4.06952017444959e-4, 1e-18);
}

TEST(CompareTwoBootstraps, RefusesFilesItCannotUseAndWritesNothing) {
  TemporaryFolder folder;
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
    Session session = afterBootstrap(folder.base());
    session.bootstrap.c0.variance = 0;
    session.bootstrap.c0.se = 0;
    const std::string path = treatment2File(folder.base(), c.contents);
    try {
      compareTwoBootstraps(session, path);
      ADD_FAILURE() << "accepted: " << c.contents;
    } catch (const UserError& error) {
      EXPECT_EQ(error.title(), "Compare two bootstraps");
      EXPECT_FALSE(error.fatal());
      EXPECT_NE(error.text().find(c.inMessage), std::string::npos) << error.text();
    }
    EXPECT_FALSE(session.comparison.done);
    EXPECT_FALSE(std::filesystem::exists(folder.base() + "_6-Compare2Bs-output.txt"));
  }

  Session session = afterBootstrap(folder.base());
  try {
    compareTwoBootstraps(session, folder.base() + "_no such file.txt");
    ADD_FAILURE() << "read a missing file";
  } catch (const UserError& error) {
    EXPECT_NE(error.text().find("cannot be read"), std::string::npos) << error.text();
  }
}

}  // namespace
}  // namespace pellmar
