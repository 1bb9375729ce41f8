#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/program.h"
#include "app/system_clock.h"
#include "read_file.h"
#include "support/example_folder.h"
#include "support/scripted_dialogs.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::errorFrom;
using test_support::readFile;

// A program with the example study opened and analysed, in a folder of its own.
class ResamplingCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::make_unique<Program>(readSystemClock);
    program_->run(OpenRequest{path("lady_beetle.txt"), 1});
    program_->run(BasicRunRequest{});
  }
  [[nodiscard]] std::string path(const std::string& name) const { return examples_.path(name); }
  ReadSasdResult readSasd() {
    return program_->run(ReadSasdRequest{path("lady_beetle_10_SASD.txt")});
  }
  static BootstrapRequest ownSamples(int replicates, std::uint64_t seed) {
    BootstrapRequest request;
    request.replicates = replicates;
    request.sampleSize = 100;
    request.seed = seed;
    return request;
  }
  [[nodiscard]] BootstrapRequest sameSamples(const std::string& file) const {
    BootstrapRequest request;
    request.source = SampleSource::kSameSamples;
    request.samplesFile = path(file);
    return request;
  }
  [[nodiscard]] const CommandStates& commands() const { return program_->commands(); }

  test_support::ExampleFolder examples_;
  const fs::path& folder_ = examples_.folder();
  std::unique_ptr<Program> program_;
};

TEST_F(ResamplingCommands, ReadSasdComputesThePredationRates) {
  const ReadSasdResult result = readSasd();
  const PredationState& p = program_->session().predation;
  EXPECT_TRUE(p.sasdDone);
  EXPECT_GT(result.psi, 0);
  EXPECT_DOUBLE_EQ(result.omega, result.lambda * result.psi);
  EXPECT_EQ(result.message.title, "Finit predation rate");
  EXPECT_EQ(result.message.text.rfind("Psi =", 0), 0U);
  EXPECT_EQ(result.filesWritten,
            std::vector<std::string>{path("lady_beetle_0_Output_Finite_Predation_Rate_omega.txt")});
}

TEST_F(ResamplingCommands, SasdOfAnotherCohortChangesNothing) {
  std::string sasd = readFile(folder_ / "lady_beetle_10_SASD.txt");
  const std::string count = "\"Number of individuals\",100\r\n";
  sasd.replace(sasd.find(count), count.size(), "\"Number of individuals\",99\r\n");
  std::ofstream(folder_ / "other.txt", std::ios::binary) << sasd;
  const UserError error = errorFrom([&] { program_->run(ReadSasdRequest{path("other.txt")}); });
  EXPECT_EQ(error.title(), "Read SASD");
  EXPECT_FALSE(program_->ended());
  EXPECT_FALSE(program_->session().predation.sasdDone);
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt"));
  // No file chosen: refused as a request.
  EXPECT_EQ(errorFrom([&] { program_->run(ReadSasdRequest{}); }).kind(),
            ErrorKind::kInvalidRequest);
}

TEST_F(ResamplingCommands, BootstrapAsksInTheOrderOfTheDesktop) {
  ScriptedDialogs dialogs;
  dialogs.answerPrompt("2").answerPrompt("300.4").answerPrompt("90").answerPrompt("");
  const auto own = askBootstrap(dialogs, program_->session(), 17);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->source, SampleSource::kOwnSamples);
  EXPECT_EQ(own->replicates, 300);
  EXPECT_EQ(own->sampleSize, 90);
  EXPECT_EQ(own->seed, 17U);
  EXPECT_EQ(dialogs.prompts(),
            (std::vector<std::string>{"Do you want to use the same bootstrap samples (1=Yes, 2=No)",
                                      "Enter the number of bootstarp (B <= 40000) ",
                                      "Enter the sample size (n) of bootstrap",
                                      "Random seed (leave empty to take it from the clock)"}));

  // A typed seed replaces the clock's; anything but a whole number from 0 to 2^64 - 1 is refused
  // with a message and asked again.
  dialogs.answerPrompt("2").answerPrompt("10").answerPrompt("90");
  for (const char* refused : {"x", "-1", "18446744073709551616", "4.5", "1e3"}) {
    dialogs.answerPrompt(refused);
  }
  dialogs.answerPrompt(" 18446744073709551615 ");
  const auto typed = askBootstrap(dialogs, program_->session(), 17);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->seed, 18446744073709551615U);
  ASSERT_EQ(dialogs.messages().size(), 5U);
  EXPECT_EQ(dialogs.messages()[1].title, "Bootstrap");
  EXPECT_EQ(dialogs.messages()[1].text,
            "The seed must be a whole number from 0 to 18446744073709551615; \"-1\" was given.");
  EXPECT_EQ(seedAnswer("0"), 0U);
  EXPECT_FALSE(seedAnswer("+5"));

  // The same samples need the stable age-stage distribution first; the user is told so.
  dialogs.answerPrompt("1");
  EXPECT_FALSE(askBootstrap(dialogs, program_->session(), 17));
  EXPECT_EQ(dialogs.messages().back().title, "Same bootstrap samples");
  readSasd();
  dialogs.answerPrompt("1").chooseFile("");
  EXPECT_FALSE(askBootstrap(dialogs, program_->session(), 17));
  dialogs.answerPrompt("1").chooseFile("samples.txt");
  const auto same = askBootstrap(dialogs, program_->session(), 17);
  ASSERT_TRUE(same);
  EXPECT_EQ(same->source, SampleSource::kSameSamples);
  EXPECT_EQ(same->samplesFile, "samples.txt");
  EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(ResamplingCommands, OwnSamplesBootstrapSetsTheCommandsAndWritesItsFiles) {
  const BootstrapResult result = program_->run(ownSamples(300, 17));
  EXPECT_TRUE(commands().isEnabled(Command::kOpenDataFile));
  for (const Command command : {Command::kBasicRun, Command::kBootstrap, Command::kJackknife,
                                Command::kReadSasd, Command::kLarge, Command::kFigureFrame}) {
    EXPECT_FALSE(commands().isEnabled(command));
  }
  for (const Command command : kChartCommands) EXPECT_FALSE(commands().isEnabled(command));
  EXPECT_TRUE(commands().isEnabled(Command::kCompare));
  EXPECT_TRUE(program_->session().bootstrap.done);
  EXPECT_EQ(program_->session().shownResampling, ResamplingKind::kBootstrap);
  EXPECT_EQ(result.replicates, 300);
  EXPECT_EQ(result.sampleSize, 100);
  EXPECT_EQ(result.seed, 17U);
  EXPECT_EQ(result.filesWritten.front(), path("lady_beetle_0_Bootstrap_Output.txt"));
  EXPECT_EQ(result.filesWritten.back(), path("lady_beetle_9_Bootstrap-Co frequency.txt"));
  for (const std::string& file : result.filesWritten) EXPECT_TRUE(fs::exists(file)) << file;
  // The bootstrap mean of C0 lies near the cohort's.
  EXPECT_NEAR(result.c0.mean, program_->session().basic.C0ByCell, 4 * result.c0.se);

  // The curves are written on request, afterwards.
  const NormalDensityResult curves = program_->run(NormalDensityRequest{});
  EXPECT_EQ(curves.message.text, "Congratulation!");
  EXPECT_EQ(curves.filesWritten.back(), path("lady_beetle_22_Bootstrap-C0-Normal density.txt"));
}

TEST_F(ResamplingCommands, SameSeedGivesTheSameFiles) {
  program_->run(ownSamples(50, 3));
  const std::string first = readFile(folder_ / "lady_beetle_4_Bootstrap_C0_in column.txt");
  const std::string report = readFile(folder_ / "lady_beetle_0_Bootstrap_Output.txt");
  ResamplingCommands::TearDown();
  SetUp();
  program_->run(ownSamples(50, 3));
  EXPECT_EQ(readFile(folder_ / "lady_beetle_4_Bootstrap_C0_in column.txt"), first);
  EXPECT_EQ(readFile(folder_ / "lady_beetle_0_Bootstrap_Output.txt"), report);
  ResamplingCommands::TearDown();
  SetUp();
  program_->run(ownSamples(50, 4));
  EXPECT_NE(readFile(folder_ / "lady_beetle_4_Bootstrap_C0_in column.txt"), first);
}

TEST_F(ResamplingCommands, RequestsOutOfRangeAreRefusedBeforeAnythingIsWritten) {
  const auto files = program_->session().writtenFiles;
  for (const int replicates : {0, 200011}) {
    const UserError error = errorFrom([&] { program_->run(ownSamples(replicates, 1)); });
    EXPECT_EQ(error.title(), "Bootstrap");
    EXPECT_EQ(error.kind(), ErrorKind::kInvalidRequest);
  }
  for (const int sampleSize : {0, 406}) {
    BootstrapRequest request = ownSamples(10, 1);
    request.sampleSize = sampleSize;
    EXPECT_EQ(
        errorFrom([&] { program_->run(request); }).text(),
        "The sample size must be from 1 to 405; " + std::to_string(sampleSize) + " was given.");
  }
  EXPECT_EQ(errorFrom([&] { program_->run(sameSamples("missing.txt")); }).title(),
            "Same bootstrap samples");
  readSasd();
  const UserError missing = errorFrom([&] { program_->run(sameSamples("missing.txt")); });
  EXPECT_EQ(missing.title(), "Bootstrap samples");
  EXPECT_EQ(missing.kind(), ErrorKind::kCommandFailed);
  EXPECT_EQ(program_->session().writtenFiles.size(), files.size() + 1);
  EXPECT_TRUE(commands().isEnabled(Command::kBootstrap));
  EXPECT_TRUE(commands().isEnabled(Command::kJackknife));
  EXPECT_EQ(errorFrom([&] { program_->run(NormalDensityRequest{}); }).kind(),
            ErrorKind::kInvalidRequest);
}

TEST_F(ResamplingCommands, SameSamplesGiveStandardErrorsOfThePredationRates) {
  readSasd();
  const BootstrapResult result = program_->run(sameSamples("lady_beetle_11_Bootstrap_samples.txt"));
  EXPECT_EQ(result.source, SampleSource::kSameSamples);
  EXPECT_EQ(result.replicates, 200);
  EXPECT_GT(result.psi.se, 0);
  EXPECT_GT(result.fp.se, 0);
  EXPECT_GT(program_->session().bootstrap.Qp, 0);
  program_->run(NormalDensityRequest{});
  EXPECT_TRUE(
      fs::exists(folder_ / "lady_beetle_22_Bootstrap-Stable Predation Rate-Normal density.txt"));
}

// The SASD file given as the samples file (what Enter in a pre-filled dialog once did) fails to
// read; a failed command leaves every command as it was, so the jackknife stays available.
TEST_F(ResamplingCommands, AFailedSamplesFileLeavesTheCommandsAsTheyWere) {
  readSasd();
  std::vector<bool> before;
  for (int c = 0; c < static_cast<int>(Command::kCount); ++c) {
    before.push_back(commands().isEnabled(static_cast<Command>(c)));
  }
  EXPECT_TRUE(commands().isEnabled(Command::kJackknife));
  const UserError error = errorFrom([&] { program_->run(sameSamples("lady_beetle_10_SASD.txt")); });
  EXPECT_FALSE(error.fatal());
  for (int c = 0; c < static_cast<int>(Command::kCount); ++c) {
    EXPECT_EQ(commands().isEnabled(static_cast<Command>(c)), before[static_cast<std::size_t>(c)])
        << "command " << c;
  }
  program_->run(JackknifeRequest{});
  EXPECT_TRUE(program_->session().jackknife.done);
}

TEST_F(ResamplingCommands, ReplicateWithR0OfZeroEndsTheProgramWithoutBootstrapFiles) {
  readSasd();
  std::string samples = readFile(folder_ / "lady_beetle_11_Bootstrap_samples.txt");
  const std::size_t third = samples.find("\"Replicate 3\"");
  const std::size_t r0 = samples.find("\"R0\",", third);
  samples.replace(r0, samples.find("\r\n", r0) - r0, "\"R0\",0");
  std::ofstream(folder_ / "bad.txt", std::ios::binary) << samples;
  const UserError error = errorFrom([&] { program_->run(sameSamples("bad.txt")); });
  EXPECT_TRUE(program_->ended());
  EXPECT_EQ(error.title(), "Bootstrap Ro = 0");
  EXPECT_EQ(error.text().rfind("Bootstrap no. 3.  Ro = 0.", 0), 0U);
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Bootstrap_Output.txt"));
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt"));
}

TEST_F(ResamplingCommands, JackknifeOfTheExample) {
  std::vector<long> progress;
  const JackknifeResult result = program_->run(
      JackknifeRequest{}, [&](long done, long /*total*/) { progress.push_back(done); });
  EXPECT_FALSE(result.shownAgain);
  EXPECT_EQ(progress.size(), 100U);
  EXPECT_TRUE(program_->session().jackknife.done);
  EXPECT_FALSE(commands().isEnabled(Command::kBootstrap));
  EXPECT_FALSE(commands().isEnabled(Command::kBasicRun));
  EXPECT_TRUE(commands().isEnabled(Command::kOpenDataFile));
  // C0 is the mean lifelong consumption, so its jackknife is that of the individual totals:
  // the mean of the pseudo-values is C0 and their standard error the totals' standard error.
  const BasicRunResults& r = program_->session().basic;
  EXPECT_NEAR(result.mean, r.C0ByAge, 1e-9 * r.C0ByAge);
  EXPECT_NEAR(result.se, r.cohortConsumptionSE, 1e-9 * r.cohortConsumptionSE);
  EXPECT_EQ(result.filesWritten,
            (std::vector<std::string>{path("lady_beetle_0_Jackknife_Output.txt"),
                                      path("lady_beetle_5_Pseudo_Consumption_Rate_For_t-test.txt"),
                                      path("lady_beetle_jackknife_pseudo_values.csv"),
                                      path("lady_beetle_9_Fig_Jackknife-Co frequency.txt")}));
  // A second press only shows the results again.
  const JackknifeResult again = program_->run(JackknifeRequest{});
  EXPECT_TRUE(again.shownAgain);
  EXPECT_TRUE(again.filesWritten.empty());
}

TEST_F(ResamplingCommands, StoppedJackknifeWritesNothing) {
  std::stop_source stop;
  stop.request_stop();
  const UserError error =
      errorFrom([&] { program_->run(JackknifeRequest{}, {}, stop.get_token()); });
  EXPECT_EQ(error.title(), "Jackknife");
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Jackknife_Output.txt"));
}

TEST_F(ResamplingCommands, ComparisonAfterABootstrap) {
  program_->run(ownSamples(40, 9));
  // Treatment 2 is this bootstrap itself: t = 0.
  std::ostringstream treatment;
  treatment << "Same cohort\nline 2\nline 3\nn\n100\nK\n40\n";
  const BootstrapState& b = program_->session().bootstrap;
  for (int k = 1; k <= 40; ++k) {
    treatment.precision(17);
    treatment << k << "," << b.bootC0[static_cast<std::size_t>(k)] << "\n";
  }
  std::ofstream(folder_ / "treatment2.txt", std::ios::binary) << treatment.str();
  ScriptedDialogs dialogs;
  dialogs.chooseFile("");
  EXPECT_FALSE(askComparison(dialogs));
  EXPECT_EQ(errorFrom([&] { program_->run(ComparisonRequest{path("missing.txt")}); }).title(),
            "Compare two bootstraps");
  EXPECT_TRUE(commands().isEnabled(Command::kCompare));
  const ComparisonResult result = program_->run(ComparisonRequest{path("treatment2.txt")});
  EXPECT_EQ(result.message.title, "t-test");
  EXPECT_NEAR(result.t, 0.0, 1e-9);
  EXPECT_FALSE(commands().isEnabled(Command::kCompare));
  EXPECT_EQ(result.filesWritten,
            std::vector<std::string>{path("lady_beetle_6-Compare2Bs-output.txt")});
}

// The second study of the paired test runs in a program run of its own: whatever goes wrong
// with it ends only the test, and this study keeps its results and commands.
TEST_F(ResamplingCommands, PairedTestTakesOwnSamplesAndSurvivesItsSecondStudy) {
  fs::copy_file(path("lady_beetle.txt"), path("copy.txt"));
  PairedTestRequest request;
  request.secondDataFile = path("copy.txt");
  UserError error = errorFrom([&] { program_->run(request); });
  EXPECT_EQ(error.title(), "Paired bootstrap test");
  EXPECT_EQ(error.kind(), ErrorKind::kInvalidRequest);

  program_->run(ownSamples(20, 4));
  EXPECT_TRUE(commands().isEnabled(Command::kPairedTest));
  ScriptedDialogs dialogs;
  dialogs.chooseFile(request.secondDataFile);
  const auto asked = askPairedTest(dialogs, program_->session());
  ASSERT_TRUE(asked);
  EXPECT_FALSE(asked->secondSasdFile);    // this study read none
  EXPECT_FALSE(asked->secondSampleSize);  // 100 is this cohort's size: the copy draws its own
  EXPECT_EQ(asked->secondRecord.frontEnd, "desktop");

  const std::size_t filesBefore = program_->session().writtenFiles.size();
  const auto refused = [&](const PairedTestRequest& bad, std::stop_token stop = {}) {
    const UserError failure = errorFrom([&] { program_->run(bad, {}, stop); });
    EXPECT_FALSE(program_->ended());
    EXPECT_TRUE(commands().isEnabled(Command::kPairedTest));
    EXPECT_EQ(program_->session().writtenFiles.size(), filesBefore);
    EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_vs_copy_paired_test.csv"));
    EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_vs_broken_paired_test.csv"));
    return failure;
  };
  PairedTestRequest sameBase = request;
  sameBase.secondDataFile = path("lady_beetle.dat");
  EXPECT_EQ(refused(sameBase).kind(), ErrorKind::kInvalidRequest);
  std::ofstream(folder_ / "broken.txt", std::ios::binary) << "T\nU\nD\n2\n3,x\n";
  PairedTestRequest broken = request;
  broken.secondDataFile = path("broken.txt");
  error = refused(broken);
  EXPECT_EQ(error.title(), "Error in data file");
  EXPECT_EQ(error.kind(), ErrorKind::kCommandFailed);
  std::stop_source stop;
  stop.request_stop();
  error = refused(request, stop.get_token());
  EXPECT_EQ(error.title(), "Paired bootstrap test");
  EXPECT_EQ(error.text(),
            "The second study's bootstrap was stopped before it ended; no paired-test file was "
            "written.");

  const PairedTestResult result = program_->run(request);
  EXPECT_EQ(result.replicates, 20);
  EXPECT_EQ(result.secondSeed, 5U);
  EXPECT_EQ(result.filesWritten,
            (std::vector<std::string>{path("lady_beetle_vs_copy_paired_test.csv"),
                                      path("lady_beetle_vs_copy_paired_C0.csv")}));
  EXPECT_EQ(result.secondFilesWritten.back(), path("copy_run.json"));
  EXPECT_EQ(program_->session().inputFiles.back(), path("copy.txt"));
}

TEST_F(ResamplingCommands, SameSamplesCannotBePaired) {
  readSasd();
  program_->run(sameSamples("lady_beetle_11_Bootstrap_samples.txt"));
  EXPECT_FALSE(commands().isEnabled(Command::kPairedTest));
  PairedTestRequest request;
  request.secondDataFile = path("lady_beetle_11_Bootstrap_samples.txt");
  EXPECT_EQ(errorFrom([&] { program_->run(request); }).kind(), ErrorKind::kInvalidRequest);
}

}  // namespace
}  // namespace pellmar
