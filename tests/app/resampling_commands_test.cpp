#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/program.h"
#include "app/scripted_dialogs.h"
#include "read_file.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;

// A program with the example study opened and analysed, in a folder of its own.
class ResamplingCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("pellmar_resampling_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    for (const char* name :
         {"lady_beetle.txt", "lady_beetle_10_SASD.txt", "lady_beetle_11_Bootstrap_samples.txt"}) {
      fs::copy_file(fs::path(EXAMPLES_DIR) / name, folder_ / name);
    }
    program_ = std::make_unique<Program>(dialogs_);
    dialogs_.answerPrompt("1").chooseFile(path("lady_beetle.txt"));
    program_->openDataFile();
    program_->basicRun();
    ASSERT_FALSE(program_->lastError());
  }
  void TearDown() override { fs::remove_all(folder_); }

  [[nodiscard]] std::string path(const std::string& name) const {
    return (folder_ / name).string();
  }
  void readSasd() {
    dialogs_.chooseFile(path("lady_beetle_10_SASD.txt"));
    program_->readSasd();
  }
  void ownSamples(const std::string& replicates, std::uint64_t seed) {
    program_->setBootstrapSeed(seed);
    dialogs_.answerPrompt("2").answerPrompt(replicates).answerPrompt("100").answerYesNo(false);
    program_->bootstrap();
  }
  [[nodiscard]] const CommandStates& commands() const { return program_->commands(); }

  fs::path folder_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<Program> program_;
};

TEST_F(ResamplingCommands, ReadSasdComputesThePredationRates) {
  readSasd();
  ASSERT_FALSE(program_->lastError());
  const PredationState& p = program_->session().predation;
  EXPECT_TRUE(p.sasdDone);
  EXPECT_GT(p.stablePredationRate, 0);
  EXPECT_DOUBLE_EQ(p.finitePredationRate, p.finiteRate * p.stablePredationRate);
  EXPECT_EQ(dialogs_.messages().back().title, "Finit predation rate");
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt"));
}

TEST_F(ResamplingCommands, SasdOfAnotherCohortChangesNothing) {
  std::string sasd = readFile(folder_ / "lady_beetle_10_SASD.txt");
  sasd.replace(sasd.find("\"Number of individuals\"\r\n100"), 29,
               "\"Number of individuals\"\r\n99");
  std::ofstream(folder_ / "other.txt", std::ios::binary) << sasd;
  dialogs_.chooseFile(path("other.txt"));
  program_->readSasd();
  ASSERT_TRUE(program_->lastError());
  EXPECT_EQ(program_->lastError()->title(), "Read SASD");
  EXPECT_FALSE(program_->ended());
  EXPECT_FALSE(program_->session().predation.sasdDone);
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt"));
}

TEST_F(ResamplingCommands, OwnSamplesBootstrapSetsTheCommandsAndWritesItsFiles) {
  ownSamples("300", 17);
  ASSERT_FALSE(program_->lastError());
  EXPECT_TRUE(commands().isEnabled(Command::kOpenDataFile));
  for (const Command command : {Command::kBasicRun, Command::kBootstrap, Command::kJackknife,
                                Command::kReadSasd, Command::kLarge, Command::kFigureFrame}) {
    EXPECT_FALSE(commands().isEnabled(command));
  }
  for (const Command command : kChartCommands) EXPECT_FALSE(commands().isEnabled(command));
  EXPECT_TRUE(commands().isEnabled(Command::kCompare));
  EXPECT_TRUE(program_->session().bootstrap.done);
  EXPECT_EQ(program_->session().shownResampling, ResamplingKind::kBootstrap);
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_0_Bootstrap_Output.txt"));
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_4_Bootstrap_C0_in column.txt"));
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_9_Bootstrap-Co frequency.txt"));
  // The bootstrap mean of C0 lies near the cohort's.
  const BootstrapState& b = program_->session().bootstrap;
  EXPECT_NEAR(b.c0.mean, program_->session().basic.originalC0, 4 * b.c0.se);
  // The jackknife cannot follow a bootstrap.
  EXPECT_FALSE(commands().isEnabled(Command::kJackknife));
}

TEST_F(ResamplingCommands, SameSeedGivesTheSameFiles) {
  ownSamples("50", 3);
  const std::string first = readFile(folder_ / "lady_beetle_4_Bootstrap_C0_in column.txt");
  const std::string report = readFile(folder_ / "lady_beetle_0_Bootstrap_Output.txt");
  ResamplingCommands::TearDown();
  SetUp();
  ownSamples("50", 3);
  EXPECT_EQ(readFile(folder_ / "lady_beetle_4_Bootstrap_C0_in column.txt"), first);
  EXPECT_EQ(readFile(folder_ / "lady_beetle_0_Bootstrap_Output.txt"), report);
  ResamplingCommands::TearDown();
  SetUp();
  ownSamples("50", 4);
  EXPECT_NE(readFile(folder_ / "lady_beetle_4_Bootstrap_C0_in column.txt"), first);
}

TEST_F(ResamplingCommands, ParametersOutOfRangeAreRefusedBeforeAnythingIsWritten) {
  for (const char* replicates : {"0", "200011", "lots"}) {
    ownSamples(replicates, 1);
    ASSERT_TRUE(program_->lastError());
    EXPECT_EQ(program_->lastError()->title(), "Bootstrap");
  }
  program_->setBootstrapSeed(1);
  dialogs_.answerPrompt("2").answerPrompt("10").answerPrompt("406");
  program_->bootstrap();
  EXPECT_NE(program_->lastError()->text().find("sample size"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Bootstrap_Output.txt"));
  EXPECT_TRUE(commands().isEnabled(Command::kBootstrap));
  EXPECT_TRUE(commands().isEnabled(Command::kJackknife));
}

TEST_F(ResamplingCommands, SameSamplesNeedTheStableDistributionFirst) {
  dialogs_.answerPrompt("1");
  program_->bootstrap();
  EXPECT_FALSE(program_->lastError());
  EXPECT_EQ(dialogs_.messages().back().title, "Same bootstrap samples");
  EXPECT_TRUE(commands().isEnabled(Command::kBootstrap));
  EXPECT_TRUE(commands().isEnabled(Command::kJackknife));
}

TEST_F(ResamplingCommands, SameSamplesGiveStandardErrorsOfThePredationRates) {
  readSasd();
  dialogs_.answerPrompt("1")
      .chooseFile(path("lady_beetle_11_Bootstrap_samples.txt"))
      .answerYesNo(true);
  program_->bootstrap();
  ASSERT_FALSE(program_->lastError());
  const BootstrapState& b = program_->session().bootstrap;
  EXPECT_EQ(b.bootCount, 200);
  EXPECT_GT(b.psi.se, 0);
  EXPECT_GT(b.fp.se, 0);
  EXPECT_GT(b.Qp, 0);
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_22_Bootstrap-C0-Normal density.txt"));
  EXPECT_EQ(dialogs_.messages().back().text, "Congratulation!");
}

TEST_F(ResamplingCommands, ReplicateWithR0OfZeroEndsTheProgramWithoutBootstrapFiles) {
  readSasd();
  std::string samples = readFile(folder_ / "lady_beetle_11_Bootstrap_samples.txt");
  const std::size_t third = samples.find("\"Bootstrap 3\"");
  const std::size_t r0 = samples.find("\"Ro\",", third);
  samples.replace(r0, samples.find("\r\n", r0) - r0, "\"Ro\",0");
  std::ofstream(folder_ / "bad.txt", std::ios::binary) << samples;
  dialogs_.answerPrompt("1").chooseFile(path("bad.txt"));
  program_->bootstrap();
  EXPECT_TRUE(program_->ended());
  EXPECT_EQ(dialogs_.messages().back().title, "Bootstrap Ro = 0");
  EXPECT_EQ(dialogs_.messages().back().text.rfind("Bootstrap no. 3.  Ro = 0.", 0), 0U);
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Bootstrap_Output.txt"));
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt"));
}

TEST_F(ResamplingCommands, JackknifeOfTheExample) {
  program_->jackknife();
  ASSERT_FALSE(program_->lastError());
  const JackknifeState& j = program_->session().jackknife;
  EXPECT_TRUE(j.done);
  EXPECT_FALSE(commands().isEnabled(Command::kBootstrap));
  EXPECT_FALSE(commands().isEnabled(Command::kBasicRun));
  EXPECT_TRUE(commands().isEnabled(Command::kOpenDataFile));
  // C0 is the mean lifelong consumption, so its jackknife is that of the individual totals:
  // the mean of the pseudo-values is C0 and their standard error the totals' standard error.
  const BasicRunResults& r = program_->session().basic;
  EXPECT_NEAR(j.jackMean, r.fullC0, 1e-9 * r.fullC0);
  EXPECT_NEAR(j.jackSE, r.cohortConsumptionSE, 1e-9 * r.cohortConsumptionSE);
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_5_Pseudo_Consumption_Rate_For_t-test.txt"));
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_9_Fig_Jackknife-Co frequency.txt"));
}

TEST_F(ResamplingCommands, ComparisonAfterABootstrap) {
  ownSamples("40", 9);
  // Treatment 2 is this bootstrap itself: t = 0.
  std::ostringstream treatment;
  treatment << "Same cohort\nline 2\nline 3\nn\n100\nK\n40\n";
  const BootstrapState& b = program_->session().bootstrap;
  for (int k = 1; k <= 40; ++k) {
    treatment.precision(17);
    treatment << k << "," << b.bootC0[static_cast<std::size_t>(k)] << "\n";
  }
  std::ofstream(folder_ / "treatment2.txt", std::ios::binary) << treatment.str();
  dialogs_.chooseFile("");
  program_->compareBootstraps();
  EXPECT_TRUE(commands().isEnabled(Command::kCompare));
  dialogs_.chooseFile(path("treatment2.txt"));
  program_->compareBootstraps();
  ASSERT_FALSE(program_->lastError());
  EXPECT_EQ(dialogs_.messages().back().title, "t-test");
  EXPECT_NEAR(program_->session().comparison.tValue, 0.0, 1e-9);
  EXPECT_FALSE(commands().isEnabled(Command::kCompare));
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_6-Compare2Bs-output.txt"));
}

}  // namespace
}  // namespace pellmar
