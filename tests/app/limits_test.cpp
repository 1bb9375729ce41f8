// A study at every limit of the data model runs through the Basic Run, a bootstrap and the
// jackknife; one step beyond a limit is refused with a message before any table is filled.
// The limits: 400 individuals, 11 stages with males (12 stage columns), 3 stage-name lines,
// a life of 404 time units (the end marker at age index 405), bootstrap samples of up to 405
// individuals, a jackknife of 2 to 400 individuals.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/program.h"
#include "app/system_clock.h"
#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "core/analysis/basic_run.h"
#include "core/data/study_reader.h"
#include "core/report_test_support.h"
#include "study_generator.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::TemporaryFolder;

constexpr int kStages = 11;

// Individual 400 of the limit study: a female whose 11 stages last 2 time units each, the
// adult 384, so that she lives 404 time units, eating on every day from the second stage on.
std::string longestLivedFemale() {
  std::ostringstream record;
  record << "400,F";
  for (int j = 1; j < kStages; ++j) record << ",2";
  record << ",384\n-1\n";
  for (int j = 2; j < kStages; ++j) record << j << ',' << j << ",-1\n";
  for (int day = 0; day < 384; ++day) record << 50 + day % 7 << ',';
  record << "-1\n";
  return record.str();
}

// 400 generated individuals of 11 stages, both sexes, the last replaced by the female above.
std::string limitStudy() {
  const std::string generated = tools::generateStudy(tools::StudyShape{400, kStages, 7, 1.0});
  return generated.substr(0, generated.find("\n400,") + 1) + longestLivedFemale();
}

class Limits : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = folder_.base() + ".txt";
    std::ofstream(data_, std::ios::binary) << limitStudy();
  }
  int run(CliOptions options) {
    options.action = CliOptions::Action::kRun;
    options.dataFile = data_;
    out_.str("");
    err_.str("");
    return runCli(options, out_, err_);
  }

  TemporaryFolder folder_;
  std::string data_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(Limits, StudyAtEveryLimitRunsThroughTheBasicRunBootstrapAndJackknife) {
  Session session = test_support::sessionFor(limitStudy(), 1.0, folder_.base());
  ASSERT_EQ(session.study.individualCount, 400);
  ASSERT_EQ(session.study.stageCount, kStages);
  ASSERT_EQ(session.study.individual(400).dailyConsumption.size(), 406U);
  EXPECT_EQ(session.study.individual(400).dailyConsumption[405], -1);
  runBasicRunSteps(session);
  EXPECT_EQ(session.basic.maxAgeIndex, 403);
  // She is the only one alive at the last age, an adult female in column 11.
  EXPECT_EQ(session.basic.N(403, kStages), 1);
  EXPECT_EQ(session.basic.C(403, kStages), 50 + 383 % 7);
  double maleConsumption = 0.0;
  for (int x = 0; x <= 403; ++x) maleConsumption += session.basic.C(x, kStages + 1);
  EXPECT_GT(maleConsumption, 0) << "adult males eat in column 12";

  CliOptions bootstrap;
  bootstrap.bootstrapReplicates = 20;
  bootstrap.sampleSize = 405;
  bootstrap.seed = 3;
  ASSERT_EQ(run(bootstrap), 0) << err_.str();
  EXPECT_NE(out_.str().find("_0_Bootstrap_Output.txt"), std::string::npos);

  CliOptions jackknife;
  jackknife.jackknife = true;
  ASSERT_EQ(run(jackknife), 0) << err_.str();
  const std::string pseudoValues =
      test_support::readFile(folder_.base() + "_5_Pseudo_Consumption_Rate_For_t-test.txt");
  EXPECT_GE(test_support::linesOf(pseudoValues).size(), 400U);
}

TEST_F(Limits, OneStepBeyondALimitIsRefusedBeforeAnyTableIsFilled) {
  // Each study is opened and analysed the way the programs do; the refusal must come from the
  // opening read, which leaves the study and the Basic Run's tables empty.
  const std::string study = limitStudy();
  const std::string header = study.substr(0, study.find("\n1,") + 1);
  const std::string stageLines = header.substr(header.find("3,11\n"));
  const std::string records = study.substr(header.size());
  const std::string firstLines = header.substr(0, header.find("400\n"));
  const std::string oneMoreDay = study.substr(0, study.rfind(",-1\n")) + ",50,-1\n";
  const std::string twelveStagesWithMales = [&] {
    std::string text = firstLines + "400\n3,12\n";
    for (const char* code : {"F", "M", "N"}) {
      text += code;
      for (int j = 1; j <= 12; ++j) text += ",S" + std::to_string(j);
      text += "\n";
    }
    return text + "S2,S3\n1,M,2\n";
  }();
  const struct {
    const char* what;
    std::string contents;
    const char* message;
  } beyond[] = {
      {"401 individuals", firstLines + "401\n" + stageLines + records,
       "the number of individuals is 401"},
      {"4 stage-name lines", firstLines + "400\n4,11\n", "the number of stage-name lines is 4"},
      {"13 stages", firstLines + "400\n3,13\n", "the number of stages is 13"},
      {"12 stages with males", twelveStagesWithMales, "at most 11 stages"},
      {"a life of 405 time units", oneMoreDay,
       "individual no. 400: this individual lives longer than 404"},
  };
  for (const auto& file : beyond) {
    SCOPED_TRACE(file.what);
    std::ofstream(data_, std::ios::binary | std::ios::trunc) << file.contents;
    Program program(readSystemClock);
    const UserError error = test_support::errorFrom([&] {
      program.run(OpenRequest{data_, 1});
      program.run(BasicRunRequest{});
    });
    EXPECT_EQ(error.title(), "Error in data file");
    EXPECT_NE(error.text().find(file.message), std::string::npos) << error.text();
    EXPECT_TRUE(program.ended());
    EXPECT_EQ(program.session().study.individualCount, 0);
    EXPECT_EQ(program.session().basic.N.rows(), 0);
    // A fault of the header comes before the report is created, one of a record after.
    const std::string report = folder_.base() + "_0_Basic_Output.txt";
    EXPECT_TRUE(!fs::exists(report) || fs::file_size(report) == 0U);
  }
}

TEST(JackknifeLimits, ACohortOfOneIsRefusedBeforeTheRun) {
  TemporaryFolder folder;
  const std::string data = folder.base() + ".txt";
  std::ofstream(data, std::ios::binary) << tools::generateStudy(tools::StudyShape{1, 4, 5, 1.0});
  CliOptions options;
  options.action = CliOptions::Action::kRun;
  options.dataFile = data;
  options.jackknife = true;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli(options, out, err), 1);
  EXPECT_NE(err.str().find("The jackknife needs from 2 to 400 individuals; this study has 1."),
            std::string::npos)
      << err.str();
  EXPECT_FALSE(fs::exists(folder.base() + "_0_Jackknife_Output.txt"));
}

}  // namespace
}  // namespace pellmar
