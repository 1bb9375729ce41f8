#include "app/program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/numeric_prefix.h"
#include "app/system_clock.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::errorFrom;

class ProgramTest : public ::testing::Test {
 protected:
  std::string writeData(const std::string& name, const std::string& contents) {
    std::ofstream(temporary_.file(name), std::ios::binary) << contents;
    return temporary_.file(name);
  }

  test_support::TemporaryFolder temporary_;
  const fs::path& folder_ = temporary_.path();
};

const char* kGoodStudy =
    "Moth 1\nAnn\n2026-01-05\n2\n3,4\nF,Egg,Larva,Pupa,Female\nM,Egg,Larva,Pupa,Male\n"
    "N,Egg,Larva,Pupa,Unknown\nLarva,Pupa\n"
    "1,M,2,3,6,2,-1,2,5,5,-1,-1,2,4,-1\n2,N,3,2,-4,-1,3,5,-1,-1\n";

TEST(NumericPrefix, LeadingNumberOfTheAnswer) {
  EXPECT_EQ(numericPrefix("1"), 1);
  EXPECT_EQ(numericPrefix("0.5"), 0.5);
  EXPECT_EQ(numericPrefix("  .5 days"), 0.5);
  EXPECT_EQ(numericPrefix("2 days"), 2);
  EXPECT_EQ(numericPrefix("-3e2x"), -300);
  EXPECT_EQ(numericPrefix("1e"), 1);
  EXPECT_EQ(numericPrefix(""), 0);
  EXPECT_EQ(numericPrefix("days"), 0);
  EXPECT_EQ(numericPrefix("."), 0);
}

TEST(OutputBaseName, DropsTheLastFourCharacters) {
  EXPECT_EQ(outputBaseNameFor("C:\\x\\a.dat"), "C:\\x\\a");
  EXPECT_EQ(outputBaseNameFor("C:\\x\\a.data"), "C:\\x\\a.");
  EXPECT_EQ(outputBaseNameFor("/x/\xC3\xA9t\xC3\xA9.\xC3\xA9\xC3\xA9\xC3\xA9"),
            "/x/\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(outputBaseNameFor("ab"), "");
}

// The time unit is the whole answer; the prompt asks again until it is one, and cancelling it
// cancels the open step.
TEST_F(ProgramTest, OpenAsksTheTimeUnitThenTheFile) {
  ScriptedDialogs dialogs;
  dialogs.answerPrompt("2 days").answerPrompt("").answerPrompt(" 0.5 ").chooseFile("/x/moth.txt");
  const auto request = askOpen(dialogs);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->dataFile, "/x/moth.txt");
  EXPECT_EQ(request->timeUnit, 0.5);
  EXPECT_EQ(dialogs.prompts(),
            std::vector<std::string>(3, "Enter the time unit of your data (1 or 0.5)"));
  ASSERT_EQ(dialogs.messages().size(), 2U);
  EXPECT_EQ(dialogs.messages()[0].title, "Each time unit =?");
  EXPECT_EQ(dialogs.messages()[0].text,
            "The time unit is the length of one time unit of your data: a number of days above 0 "
            "and at most 1000, such as 1 or 0.5. \"2 days\" is not.");
  EXPECT_TRUE(dialogs.scriptUsedUp());

  dialogs.cancelPrompt();
  EXPECT_FALSE(askOpen(dialogs));
  dialogs.answerPrompt("1").chooseFile("");
  EXPECT_FALSE(askOpen(dialogs));
  EXPECT_TRUE(dialogs.scriptUsedUp());

  for (const double outOfRange : {0.0, -1.0, 1000.5}) {
    Program program(readSystemClock);
    const UserError error = errorFrom([&] {
      program.run(OpenRequest{writeData("moth.txt", kGoodStudy), outOfRange});
    });
    EXPECT_EQ(error.kind(), ErrorKind::kInvalidRequest);
  }
}

TEST_F(ProgramTest, OpenStepSetsNamesCommandsAndReadsTheStudy) {
  const std::string path = writeData("moth.txt", kGoodStudy);
  Program program(readSystemClock);
  const OpenResult result = program.run(OpenRequest{path, 0.5});

  const StudyData& study = program.session().study;
  EXPECT_EQ(study.timeUnit, 0.5);
  EXPECT_EQ(study.outputBaseName, (folder_ / "moth").string());
  EXPECT_EQ(result.basicReportFile, (folder_ / "moth_0_Basic_Output.txt").string());
  EXPECT_EQ(fs::file_size(result.basicReportFile), 0U);
  EXPECT_EQ(result.individualCount, 2);

  const CommandStates& commands = program.commands();
  EXPECT_TRUE(commands.isEnabled(Command::kBasicRun));
  EXPECT_EQ(commands.focused(), Command::kBasicRun);
  EXPECT_FALSE(commands.isEnabled(Command::kOpenDataFile));
  EXPECT_FALSE(commands.isEnabled(Command::kJackknife));
  EXPECT_TRUE(commands.isEnabled(Command::kCheckDataFile));
}

TEST_F(ProgramTest, MissingDataFileIsRefusedBeforeAnythingIsWritten) {
  Program program(readSystemClock);
  const UserError error = errorFrom([&] {
    program.run(OpenRequest{(folder_ / "moth.txt").string(), 1});
  });
  EXPECT_EQ(error.title(), "Error in data file");
  EXPECT_EQ(error.text().rfind("The data file \"", 0), 0U);
  EXPECT_TRUE(program.ended());
  EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(ProgramTest, DataFaultEndsTheProgram) {
  std::string bad = kGoodStudy;
  const std::size_t serial = bad.find("2,N,3");
  ASSERT_NE(serial, std::string::npos);
  bad[serial] = '7';
  const std::string path = writeData("bad.txt", bad);
  Program program(readSystemClock);
  const UserError error = errorFrom([&] { program.run(OpenRequest{path, 1}); });
  EXPECT_EQ(error.title(), "Error in data file");
  EXPECT_EQ(
      error.text(),
      "Check data of individual no. 1 or 2\nPlease correct your data and rerun this program.");
  EXPECT_TRUE(program.ended());
  // The basic report created by the open step stays on disk, empty.
  EXPECT_EQ(fs::file_size(folder_ / "bad_0_Basic_Output.txt"), 0U);
  // Nothing runs after the end.
  EXPECT_TRUE(errorFrom([&] { program.run(CheckRequest{}); }).fatal());
}

TEST_F(ProgramTest, CheckDataFileConfirmsOrExplains) {
  Program program(readSystemClock);
  const UserError early = errorFrom([&] { program.run(CheckRequest{}); });
  EXPECT_EQ(early.text(), "Please open a data file first.");
  EXPECT_EQ(early.kind(), ErrorKind::kInvalidRequest);
  EXPECT_FALSE(program.ended());

  program.run(OpenRequest{writeData("moth.txt", kGoodStudy), 1});
  const CheckResult result = program.run(CheckRequest{});
  EXPECT_EQ(result.message.title, "Check data file");
  EXPECT_EQ(result.message.text, "It looks OK.");
}

TEST_F(ProgramTest, ReportThatCannotBeCreatedEndsOnlyTheCommand) {
  const std::string path = writeData("moth.txt", kGoodStudy);
  fs::create_directories(folder_ / "moth_0_Basic_Output.txt");
  Program program(readSystemClock);
  const UserError error = errorFrom([&] { program.run(OpenRequest{path, 1}); });
  EXPECT_EQ(error.title(), "File error");
  EXPECT_NE(error.text().find("moth_0_Basic_Output.txt"), std::string::npos);
  EXPECT_FALSE(program.ended());
  EXPECT_TRUE(program.commands().isEnabled(Command::kOpenDataFile));
}

}  // namespace
}  // namespace pellmar
