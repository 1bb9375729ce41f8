#include "core/exports/consumption_exports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/analysis/individual_values.h"
#include "report_test_support.h"

namespace pellmar {
namespace {

using test_support::readFile;
using test_support::sessionFor;
using test_support::TemporaryFolder;

// The session as the exports find it: totals computed, and the names of stage-name line 1 cut
// to four characters with the adult columns renamed.
Session exportSession(const std::string& contents, const std::string& base) {
  Session session = sessionFor(contents, 1.0, base);
  auto& names = session.study.stageName[1];
  const int m = session.study.stageCount;
  names[static_cast<std::size_t>(m)] = "Female";
  names[static_cast<std::size_t>(m) + 1] = "Male";
  for (auto& name : names) name = name.substr(0, 4);
  computeIndividualValues(session);
  return session;
}

std::vector<std::string> withBase(const std::string& base, const std::vector<std::string>& names) {
  std::vector<std::string> paths;
  for (const auto& name : names) paths.push_back(base + name);
  return paths;
}

// Egg, larva, adult: a male first (larva 1.5 + 2, adult 3 + 3), then a female (larva 2 + 2,
// adult 4), then an N that died in the larval stage after eating .5. Nobody eats as an egg.
const std::string kBeetleStudy =
    "Beetle\nBo\nd\n3\n3,3\n"
    "F,Egg,Larva,Female\nM,Egg,Larva,Male\nN,Egg,Larva,Unknown\nEgg,Larva\n"
    "1,M,1,2,2,-1,1.5,2,-1,3,3,-1\n"
    "2,F,1,2,1,-1,2,2,-1,4,-1\n"
    "3,N,1,-2,-1,0.5,-1\n";

TEST(ConsumptionExports, StudyOfNOnly) {
  TemporaryFolder folder;
  const std::string base = folder.base();
  Session session = exportSession(
      "Gnat\nBo\nd\n2\n1,4\nN,Egg,Larva,Pupa,Unknown\nLarva,Pupa\n"
      "1,N,1,-2,-1,1,-1\n"
      "2,N,1,2,-1,-1,-1,-1\n",
      base);
  OutputFiles files = session.outputFiles();
  writeNumberedStageConsumptionFiles(session, files);
  writeTukeyKramerConsumptionFiles(session, files);
  EXPECT_EQ(session.writtenFiles,
            withBase(base, {"_W_Larv_All sexes_consumption.txt", "_W_Larv_Female_consumption.txt",
                            "_W_Larv_Male_consumption.txt", "_Lifelong consumption_All sexes.txt",
                            "_W_Larv_All sexes_consumption_in column.txt",
                            "_W_Larv_Female_consumption_in column.txt",
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
