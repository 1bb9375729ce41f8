#include "core/analysis/figure_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/analysis/individual_values.h"
#include "report_test_support.h"

namespace pellmar {
namespace {

using testing::readWholeFile;
using testing::sessionFor;
using testing::TemporaryFolder;

// Time unit 0.5: a female (larva 1, 2; adult 3, 2, 4) and a male (larva 4; adult 5). The
// curves and C are set by hand; T is summed by the read: T(0, 1) = 5, T(1, 1) = 2,
// T(1, 3) = 5 (adult male), T(2..4, 2) = 3, 2, 4.
Session halfUnitSession(const std::string& base) {
  Session session = sessionFor(
      "Bug\nBo\nd\n2\n2,2\nF,Larva,Female\nM,Larva,Male\nLarva,Female\n"
      "1,F,2,3,1,2,-1,3,2,4,-1\n"
      "2,M,1,1,4,-1,5,-1\n",
      0.5, base);
  // The stage names as the report leaves them: cut to four characters, adults renamed.
  session.study.stageName[1] = {"", "Larv", "Fema", "Male"};
  BasicRunResults& r = session.basic;
  r.maxAgeIndex = 4;
  r.l = {1, 1, 0.5, 0.5, 0.5};
  r.q = {2.5, 3.5, 1.5, 1, 2};
  r.k = {2.5, 3.5, 3, 2, 4};
  r.cumulativeQ = {2.5, 6, 7.5, 8.5, 10.5};
  r.ageTotalConsumption = {5, 7, 3, 2, 4};
  r.C(0, 1) = 2.0 / 3.0;
  r.C(1, 1) = 1.9996;
  r.C(1, 3) = 5;
  r.C(2, 2) = 3;
  r.C(3, 2) = 2;
  r.C(4, 2) = 4.1234567;
  r.stageAgeRange[1] = {0, 0, 1};
  r.stageAgeRange[2] = {0, 2, 4};
  r.stageAgeRange[3] = {0, 1, 1};
  life10(session);
  return session;
}

TEST(FigureFiles, WrittenInOrderWithAgesInHalfUnits) {
  TemporaryFolder folder;
  Session session = halfUnitSession(folder.base());
  life07(session);
  const std::string base = folder.base();
  EXPECT_EQ(session.writtenFiles,
            (std::vector<std::string>{base + "_2_Fig_Age_lx_Kx_qx.txt", base + "_1_Fig_Cxj.txt",
                                      base + "_17_Cxj_For_Predation_Prog.txt",
                                      base + "_Age_Total_Consumption.txt",
                                      base + "_3_Fig_Total_age-stage consumption.txt"}));

  // SD and SE of age 0 come from the female's 1 and the male's 4; one alive at ages 1 to 3.
  EXPECT_EQ(readWholeFile(base + "_2_Fig_Age_lx_Kx_qx.txt"),
            "\"Bug\"\r\n\"d\"\r\n\"Bo\"\r\n"
            "\"Age\",\"l(x)\",\"k(x)\",\"q(x)\",\"cumu. Co\",\"SD of k(x)\",\"SE of k(x)\"\r\n"
            "0,1,2.5,2.5,2.5,2.12132034355964,1.5\r\n"
            ".5,1,3.5,3.5,6,0,0\r\n"
            "1,.5,3,1.5,7.5,0,0\r\n"
            "1.5,.5,2,1,8.5,0,0\r\n"
            "2,.5,4,2,10.5,0,0\r\n"
            "2.5,0,0,0,10.5,0,0\r\n");
  // Whole part kept, fraction to thousandths: 2/3 gives .667, 1.9996 gives 2.
  EXPECT_EQ(readWholeFile(base + "_1_Fig_Cxj.txt"),
            "Age,Larv,Fema,Male \r\n"
            "0, .667 , 0 , 0  \r\n"
            ".5, 2 , 0 , 5  \r\n"
            "1, 0 , 3 , 0  \r\n"
            "1.5, 0 , 2 , 0  \r\n"
            "2, 0 , 4.123 , 0  \r\n"
            "2.5, 0 , 0 , 0  \r\n");
  EXPECT_EQ(readWholeFile(base + "_17_Cxj_For_Predation_Prog.txt"),
            " .666666666666667 , 1.9996 \r\n"
            " 3 , 2 , 4.1234567 \r\n"
            " 5 \r\n");
  EXPECT_EQ(readWholeFile(base + "_Age_Total_Consumption.txt"),
            "\"Bug\"\r\n\"d\"\r\n\"Bo\"\r\n0,5\r\n.5,7\r\n1,3\r\n1.5,2\r\n2,4\r\n2.5,0\r\n");
  // T as the read summed it, the adult male's consumption in the last column.
  EXPECT_EQ(readWholeFile(base + "_3_Fig_Total_age-stage consumption.txt").substr(0, 54),
            "Age,Larv,Fema,Male \r\n0, 5 , 0 , 0  \r\n.5, 2 , 0 , 5  \r\n");
}

TEST(FigureFiles, PredationProgramFileHasAtMostFiveValuesALine) {
  TemporaryFolder folder;
  Session session = halfUnitSession(folder.base());
  BasicRunResults& r = session.basic;
  r.C.growRows(8);
  // Seven ages, then exactly five, then a column nobody occupies.
  r.stageAgeRange[1] = {0, 0, 6};
  for (int x = 0; x <= 6; ++x) r.C(x, 1) = x + 1;
  r.stageAgeRange[2] = {0, 2, 6};
  for (int x = 2; x <= 6; ++x) r.C(x, 2) = 10 + x;
  r.stageAgeRange[3] = {0, 0, -1};
  life07(session);
  EXPECT_EQ(readWholeFile(folder.base() + "_17_Cxj_For_Predation_Prog.txt"),
            " 1 , 2 , 3 , 4 , 5 \r\n"
            " 6 , 7 \r\n"
            " 12 , 13 , 14 , 15 , 16 \r\n");
}

}  // namespace
}  // namespace pellmar
