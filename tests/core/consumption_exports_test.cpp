#include "core/exports/consumption_exports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/analysis/basic_run.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using test_support::readFile;
using test_support::studyFrom;
using test_support::TemporaryFolder;

// The study as the exports find it: the names of stage-name line 1 cut to four characters with
// the adult columns renamed.
Study exportStudy(const std::string& contents, const std::string& base) {
  Study study = studyFrom(contents, 1.0, base);
  auto& names = study.stageName[1];
  const int m = study.stageCount;
  names[static_cast<std::size_t>(m)] = "Female";
  names[static_cast<std::size_t>(m) + 1] = "Male";
  for (auto& name : names) name = name.substr(0, 4);
  return study;
}

TEST(ConsumptionExports, StudyOfNOnly) {
  TemporaryFolder folder;
  const std::string base = folder.base();
  const Study study = exportStudy(
      "Gnat\nBo\nd\n2\n1,4\nN,Egg,Larva,Pupa,Unknown\nLarva,Pupa\n"
      "1,N,1,-2,-1,1,-1\n"
      "2,N,1,2,-1,-1,-1,-1\n",
      base);
  const BasicRunResults basic = basicRun(study);
  EXPECT_EQ(
      test_support::writeFiles(base,
                               [&](OutputFiles& files) {
                                 writeNumberedStageConsumptionFiles(study, files);
                                 writeTukeyKramerConsumptionFiles(study, basic, files);
                               }),
      (std::vector<std::string>{
          "_W_Larv_All sexes_consumption.txt", "_W_Larv_Female_consumption.txt",
          "_W_Larv_Male_consumption.txt", "_Lifelong consumption_All sexes.txt",
          "_W_Larv_All sexes_consumption_in column.txt", "_W_Larv_Female_consumption_in column.txt",
          "_W_Larv_Male_consumption_in column.txt"}));
  EXPECT_EQ(readFile(base + "_W_Larv_Female_consumption.txt"),
            "Project: Gnat\r\n\"Ind. no.\",\"Consumption rate\"\r\n\"Larv (female)\"\r\n");
  EXPECT_EQ(readFile(base + "_W_Larv_Male_consumption_in column.txt"),
            "Project: Gnat\r\n\"Consumption rate\"\r\n-1\r\n");
  // The one that completed its larval stage ate nothing in it.
  EXPECT_EQ(readFile(base + "_W_Larv_All sexes_consumption_in column.txt"),
            "Project: Gnat\r\n\"Consumption rate\"\r\n0\r\n-1\r\n");
}

}  // namespace
}  // namespace pellmar
