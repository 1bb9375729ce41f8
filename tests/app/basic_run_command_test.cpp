#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "app/program.h"
#include "app/system_clock.h"
#include "read_file.h"
#include "support/example_folder.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::errorFrom;
using test_support::readFile;

// The number that follows `label` on its line of the report.
double numberAfter(const std::string& report, const std::string& label) {
  const std::size_t at = report.find(label);
  EXPECT_NE(at, std::string::npos) << label;
  return std::stod(report.substr(at + label.size()));
}

class BasicRunCommand : public ::testing::Test {
 protected:
  void open() { program_->run(OpenRequest{data_.string(), 1}); }

  // Declared first, so that the program and its study's lock go before the folder: Windows
  // removes no folder that holds an open file.
  test_support::ExampleFolder examples_;
  const fs::path& folder_ = examples_.folder();
  const fs::path data_ = folder_ / "lady_beetle.txt";
  std::optional<Program> program_{std::in_place, readSystemClock};
};

TEST_F(BasicRunCommand, EnablesTheLaterCommandsAndKeepsC0) {
  open();
  const BasicRunResult result = program_->run(BasicRunRequest{});
  EXPECT_TRUE(result.analysed);
  EXPECT_FALSE(result.warning);
  const CommandStates& c = program_->commands();
  for (const Command command :
       {Command::kLarge, Command::kJackknife, Command::kMeans, Command::kResults,
        Command::kOutputFiles, Command::kFigureFrame, Command::kBootstrap, Command::kReadSasd}) {
    EXPECT_TRUE(c.isEnabled(command));
  }
  EXPECT_FALSE(c.isEnabled(Command::kOpenDataFile));
  EXPECT_TRUE(c.isVisible(Command::kCompare));
  EXPECT_FALSE(c.isEnabled(Command::kCompare));
  EXPECT_FALSE(c.isEnabled(Command::kActionFrame));
  EXPECT_EQ(c.focused(), Command::kShowSxj);
  const BasicRunResults& r = program_->session().basic;
  EXPECT_TRUE(r.basicRunDone);
  EXPECT_NEAR(r.C0ByAge, r.C0ByCell, 1e-9 * r.C0ByCell);
  // The report is listed first among the files written.
  EXPECT_EQ(result.filesWritten, program_->session().writtenFiles);
  EXPECT_EQ(result.filesWritten.front(), (folder_ / "lady_beetle_0_Basic_Output.txt").string());
}

TEST_F(BasicRunCommand, ReportStatesConsistentTotals) {
  open();
  program_->run(BasicRunRequest{});
  const std::string report = readFile(folder_ / "lady_beetle_0_Basic_Output.txt");
  const double sumOfB = numberAfter(report, "Sum of matrix B =");
  const double c0 = numberAfter(report, "The net consumption rate (Co) is");
  EXPECT_NEAR(sumOfB, c0, 0.0005);
  EXPECT_EQ(numberAfter(report, "Total net consumption rate ="), sumOfB);
  const double n = numberAfter(report, "used in this study: N =");
  EXPECT_NEAR(numberAfter(report, "Co * N ="), c0 * n, 0.05 * n);
  EXPECT_EQ(numberAfter(report, "Co * N ="), numberAfter(report, "Nc*Cbar or Np*Pbar ="));
  EXPECT_EQ(numberAfter(report, "Nc/N or Np/N ="), numberAfter(report, "Co/(Cbar) or Po/(Pbar) ="));
  // Every page starts with the control character 8 and the pages are numbered in order.
  std::regex page("\r\n\x08\r\n +Page (\\d+) \r\n");
  int expected = 2;
  for (auto it = std::sregex_iterator(report.begin(), report.end(), page);
       it != std::sregex_iterator(); ++it, ++expected) {
    EXPECT_EQ(std::stoi((*it)[1]), expected);
  }
  EXPECT_EQ(expected, 16);
}

TEST_F(BasicRunCommand, SecondRunWritesNothing) {
  open();
  program_->run(BasicRunRequest{});
  const auto files = program_->session().writtenFiles;
  const auto report = readFile(folder_ / "lady_beetle_0_Basic_Output.txt");
  const double c0 = program_->session().basic.C0ByAge;
  fs::remove(folder_ / "lady_beetle_1_Fig_Cxj.txt");
  const BasicRunResult again = program_->run(BasicRunRequest{});
  EXPECT_FALSE(again.analysed);
  EXPECT_TRUE(again.filesWritten.empty());
  EXPECT_EQ(program_->session().writtenFiles, files);
  EXPECT_EQ(readFile(folder_ / "lady_beetle_0_Basic_Output.txt"), report);
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_1_Fig_Cxj.txt"));
  EXPECT_EQ(program_->session().basic.C0ByAge, c0);
  EXPECT_TRUE(program_->commands().isEnabled(Command::kReadSasd));
}

TEST_F(BasicRunCommand, FileThatCannotBeWrittenEndsTheRunWhichCanBeRepeated) {
  open();
  const fs::path blocker = folder_ / "lady_beetle_1_Fig_Cxj.txt";
  fs::create_directories(blocker);
  const UserError error = errorFrom([&] { program_->run(BasicRunRequest{}); });
  EXPECT_EQ(error.title(), "File error");
  EXPECT_NE(error.text().find("lady_beetle_1_Fig_Cxj.txt"), std::string::npos);
  EXPECT_FALSE(program_->ended());
  EXPECT_FALSE(program_->session().basic.basicRunDone);
  EXPECT_EQ(fs::file_size(folder_ / "lady_beetle_0_Basic_Output.txt"), 0U);

  fs::remove(blocker);
  program_->run(BasicRunRequest{});
  const std::string report = readFile(folder_ / "lady_beetle_0_Basic_Output.txt");
  EXPECT_EQ(report.find("Table 1. Stage duration"), report.rfind("Table 1. Stage duration"));
  EXPECT_NE(report.find("Page 1 "), std::string::npos);
  EXPECT_TRUE(fs::exists(blocker));
}

TEST_F(BasicRunCommand, SexCodesMissingFromTheStageNameLinesAreFlagged) {
  std::ofstream(data_, std::ios::binary)
      << "P\nU\nD\n2\n2,2\nF,Larva,Female\nM,Larva,Male\nLarva,Larva\n"
         "1,F,2,2,1,1,-1,3,3,-1\n2,N,-1,1,-1\n";
  open();
  const BasicRunResult result = program_->run(BasicRunRequest{});
  ASSERT_TRUE(result.warning);
  EXPECT_EQ(result.warning->title, "Basic Run");
  EXPECT_EQ(result.warning->text, "Error!!!!");
  EXPECT_TRUE(program_->session().basic.basicRunDone);
}

}  // namespace
}  // namespace pellmar
