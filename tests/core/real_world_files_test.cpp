// Data files as they reach the program after a spreadsheet, a text editor or a statistics
// package: every variant of tests/data/real_world holds the same study, so each must be read
// as that study and give the same basic report and figure files, byte for byte. Only the
// Latin-1 file differs, in the bytes of its user name, which pass into the reports unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/analysis/basic_run.h"
#include "core/analysis/figure_files.h"
#include "core/data/study_reader.h"
#include "report_test_support.h"

namespace pellmar {
namespace {

using test_support::readFile;
using test_support::TemporaryFolder;

const std::vector<std::string> kVariants = {"lf.txt",
                                            "crlf.txt",
                                            "lone_cr.txt",
                                            "bom_crlf.txt",
                                            "no_final_line_end.txt",
                                            "trailing_blank_lines.txt",
                                            "tabs_beside_commas.txt",
                                            "latin1_text.txt"};

const std::string kUtf8Name = "Ana M\xC3\xBCller";
const std::string kLatin1Name = "Ana M\xFCller";

std::string variant(const std::string& name) {
  return readFile(std::string(TEST_DATA_DIR) + "/real_world/" + name);
}

// The Basic Run's report followed by every file it wrote, each under its suffix.
std::string basicRunOutput(const std::string& contents, const std::string& base) {
  const test_support::AnalysedStudy analysed = test_support::analysedStudy(contents, 1.0, base);
  ReportWriter report;
  ReportCounters counters;
  ReportPages pages{report, counters};
  writeBasicReport(analysed.study, analysed.basic, pages);
  std::string output = report.contents();
  const std::vector<std::string> suffixes = test_support::writeFiles(
      base, [&](OutputFiles& files) { writeFigureFiles(analysed.study, analysed.basic, files); });
  for (const std::string& suffix : suffixes) {
    output += "\n== " + suffix + "\n" + readFile(base + suffix);
  }
  return output;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

TEST(RealWorldFiles, EveryVariantIsReadAsTheSameStudy) {
  const Study expected = test_support::studyFrom(variant("lf.txt"));
  EXPECT_EQ(expected.projectTitle, "Lady beetle, Taichung run");
  EXPECT_EQ(expected.userName, kUtf8Name);
  EXPECT_EQ(expected.individualCount, 5);
  for (const std::string& name : kVariants) {
    SCOPED_TRACE(name);
    const std::string contents = variant(name);
    const Study study = test_support::studyFrom(contents);
    EXPECT_EQ(study.projectTitle, expected.projectTitle);
    EXPECT_EQ(study.userName, name == "latin1_text.txt" ? kLatin1Name : kUtf8Name);
    EXPECT_EQ(study.studyDate, expected.studyDate);
    EXPECT_EQ(study.sexCode, expected.sexCode);
    EXPECT_EQ(study.stageName, expected.stageName);
    EXPECT_EQ(study.spanStageName, expected.spanStageName);
    ASSERT_EQ(study.individualCount, expected.individualCount);
    for (int i = 1; i <= study.individualCount; ++i) {
      EXPECT_EQ(study.individual(i).sex, expected.individual(i).sex) << "individual " << i;
      EXPECT_EQ(study.individual(i).stageDuration, expected.individual(i).stageDuration);
      EXPECT_EQ(study.individual(i).dailyConsumption, expected.individual(i).dailyConsumption);
    }
  }
}

TEST(RealWorldFiles, EveryVariantGivesTheSameReportsAndTextBytesPassUnchanged) {
  TemporaryFolder folder;
  const std::string expected = basicRunOutput(variant("lf.txt"), folder.base() + "_lf");
  EXPECT_NE(expected.find("Name   : " + kUtf8Name + "\r\n"), std::string::npos);
  for (const std::string& name : kVariants) {
    SCOPED_TRACE(name);
    std::string output = basicRunOutput(variant(name), folder.base() + "_" + name);
    if (name == "latin1_text.txt") {
      EXPECT_NE(output.find("Name   : " + kLatin1Name + "\r\n"), std::string::npos);
      // The figure files write it in the comma form, quoted.
      EXPECT_NE(output.find("\"" + kLatin1Name + "\"\r\n"), std::string::npos);
      output = replaceAll(output, kLatin1Name, kUtf8Name);
    }
    EXPECT_TRUE(output == expected) << "the reports differ from those of lf.txt";
  }
}

}  // namespace
}  // namespace pellmar
