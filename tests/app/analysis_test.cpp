// The steps of an analysis as both front ends run them: what each can run and why not, that a
// refused or failed step saves no file and keeps the results as they were, that every input is
// read once, and the questions the desktop asks to fill a request.
#include "app/analysis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/paired_test_command.h"
#include "read_file.h"
#include "support/example_folder.h"
#include "support/scripted_dialogs.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::errorFrom;

TEST(OutputBaseName, TheFileNameLessItsLastFourCharactersAndNeverTheFolder) {
  EXPECT_EQ(outputBaseNameFor("x.txt"), "x");
  EXPECT_EQ(outputBaseNameFor("study/moth.txt"), "study/moth");
  // A name of four characters or fewer is the base whole: the folder part never changes.
  EXPECT_EQ(outputBaseNameFor("data"), "data");
  EXPECT_EQ(outputBaseNameFor("study/d"), "study/d");
  EXPECT_EQ(outputBaseNameFor("a.b.c/dat"), "a.b.c/dat");
  EXPECT_EQ(outputBaseNameFor("moth.data"), "moth.");
  // Characters, not bytes: "é" is one.
  EXPECT_EQ(outputBaseNameFor("f/caf\xC3\xA9.txt"), "f/caf\xC3\xA9");
  EXPECT_EQ(outputBaseNameFor("f/\xC3\xA9t\xC3\xA9s"), "f/\xC3\xA9t\xC3\xA9s");
  EXPECT_EQ(outputBaseNameFor("f/\xC3\xA9t\xC3\xA9s!"), "f/\xC3\xA9");
  // Into another folder: the name keeps its rule.
  EXPECT_EQ(outputBaseNameFor("in/moth.txt", std::string("out")),
            (fs::path("out") / "moth").string());
}

TEST(OpenRequest, TheTimeUnitIsAskedUntilItIsOneThenTheFile) {
  EXPECT_EQ(timeUnitFromAnswer(" 0.5 "), 0.5);
  for (const char* refused : {"", "0", "-1", "1001", "1 day", "0,5"}) {
    EXPECT_FALSE(timeUnitFromAnswer(refused)) << refused;
  }
  ScriptedDialogs dialogs;
  dialogs.answerPrompt("half").answerPrompt("0.5").chooseFile("moth.txt");
  const auto request = askOpen(dialogs);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->timeUnit, 0.5);
  EXPECT_EQ(request->dataFile, "moth.txt");
  ASSERT_EQ(dialogs.messages().size(), 1U);
  EXPECT_EQ(dialogs.messages()[0].kind, MessageKind::kWarning);
  dialogs.cancelPrompt();
  EXPECT_FALSE(askOpen(dialogs));
}

// Individuals whose sex codes the stage-name lines do not name are counted under no sex: the
// Basic Run warns as the report always has, and its results stand.
TEST(BasicRunStep, SexCodesMissingFromTheStageNameLinesAreFlagged) {
  const test_support::TemporaryFolder folder;
  std::ofstream(folder.file("moth.txt"), std::ios::binary)
      << "P\nU\nD\n2\n2,2\nF,Larva,Female\nM,Larva,Male\nLarva,Larva\n"
         "1,F,2,2,1,1,-1,3,3,-1\n2,N,-1,1,-1\n";
  InputFileReader reader;
  Analysis analysis =
      Analysis::open(OpenRequest{folder.file("moth.txt"), 1}, folder.base(), reader);
  OutputFiles files(folder.base());
  const BasicRunResult result = analysis.basicRun(files);
  ASSERT_TRUE(result.warning);
  EXPECT_EQ(result.warning->title, "Basic Run");
  EXPECT_EQ(result.warning->text, "Error!!!!");
  EXPECT_TRUE(analysis.basic());
}

// The example study, opened; its files would go into a folder of its own.
class AnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    analysis_.emplace(Analysis::open(OpenRequest{path("lady_beetle.txt"), 1}, base(), reader_));
  }
  [[nodiscard]] std::string path(const std::string& name) const { return examples_.path(name); }
  [[nodiscard]] std::string base() const { return examples_.path("lady_beetle"); }
  static BootstrapRequest ownSamples(int replicates, std::uint64_t seed) {
    BootstrapRequest request;
    request.replicates = replicates;
    request.seed = seed;
    return request;
  }
  // Runs `step` into files of its own; the files it saved, which are then discarded.
  template <typename Step>
  std::vector<std::string> saved(Step&& step) {
    OutputFiles files(base());
    step(*analysis_, files);
    return files.paths();
  }
  // The refusal of `step`, which must save nothing.
  template <typename Step>
  UserError refusal(Step&& step) {
    OutputFiles files(base());
    const UserError error = errorFrom([&] { step(*analysis_, files); });
    EXPECT_TRUE(files.saved().empty()) << error.text();
    return error;
  }

  test_support::ExampleFolder examples_;
  InputFileReader reader_;
  std::optional<Analysis> analysis_;
};

TEST_F(AnalysisTest, EachStepSaysWhyItCannotRunYetAndSavesNothingThen) {
  Analysis& analysis = *analysis_;
  EXPECT_TRUE(analysis.canRun(AnalysisStep::kBasicRun));
  EXPECT_EQ(analysis.reason(AnalysisStep::kBootstrap), "Please run the Basic Run (Step 2) first.");
  EXPECT_EQ(refusal([&](Analysis& a, OutputFiles& f) {
              a.readSasd(ReadSasdRequest{path("lady_beetle_10_SASD.txt")}, reader_, f);
            }).kind(),
            ErrorKind::kInvalidRequest);

  const std::vector<std::string> basicFiles =
      saved([](Analysis& a, OutputFiles& f) { a.basicRun(f); });
  EXPECT_EQ(basicFiles.front(), base() + "_0_Basic_Output.txt");
  EXPECT_FALSE(analysis.canRun(AnalysisStep::kBasicRun));
  EXPECT_TRUE(analysis.canRun(AnalysisStep::kReadSasd));
  EXPECT_EQ(analysis.reason(AnalysisStep::kPairedTest),
            "The paired bootstrap test takes this study's bootstrap of its own samples as the "
            "first study: run one first.");

  // Requests out of range, and same samples without their distribution, are refused before
  // anything is read or saved.
  for (const BootstrapRequest& request :
       {ownSamples(0, 1), ownSamples(kMaxBootstrapReplicates + 1, 1),
        BootstrapRequest{SampleSource::kSameSamples, 0, {}, 0, false, "samples.txt"}}) {
    EXPECT_EQ(
        refusal([&](Analysis& a, OutputFiles& f) { a.bootstrap(request, reader_, f); }).kind(),
        ErrorKind::kInvalidRequest);
  }
  BootstrapRequest tooMany = ownSamples(10, 1);
  tooMany.sampleSize = kMaxBootstrapSampleSize + 1;
  EXPECT_NE(refusal([&](Analysis& a, OutputFiles& f) { a.bootstrap(tooMany, reader_, f); })
                .text()
                .find("from 1 to 405"),
            std::string::npos);
  EXPECT_FALSE(analysis.bootstrap());

  // Read fecundity and Read SASD exclude each other; after the life table the bootstrap draws its
  // own samples only.
  saved([&](Analysis& a, OutputFiles& f) {
    a.readFecundity(ReadFecundityRequest{path("lady_beetle_fecundity.txt")}, reader_, f);
  });
  EXPECT_EQ(analysis.distributionSource(), DistributionSource::kFecundity);
  EXPECT_NE(analysis.reason(AnalysisStep::kReadSasd).find("exclude each other"), std::string::npos);
  EXPECT_EQ(refusal([&](Analysis& a, OutputFiles& f) {
              a.bootstrap(BootstrapRequest{SampleSource::kSameSamples,
                                           0,
                                           {},
                                           0,
                                           false,
                                           path("lady_beetle_11_Bootstrap_samples.txt")},
                          reader_, f);
            }).title(),
            "Same bootstrap samples");

  saved([&](Analysis& a, OutputFiles& f) { a.bootstrap(ownSamples(20, 3), reader_, f); });
  EXPECT_FALSE(analysis.canRun(AnalysisStep::kJackknife));
  EXPECT_TRUE(analysis.canRun(AnalysisStep::kPairedTest));
  EXPECT_TRUE(analysis.canRun(AnalysisStep::kSamplesFile));
}

TEST_F(AnalysisTest, AFailedStepKeepsTheResultsItHad) {
  saved([](Analysis& a, OutputFiles& f) { a.basicRun(f); });
  // A distribution of another study is refused, and the analysis has none afterwards either.
  std::string other = test_support::readFile(path("lady_beetle_10_SASD.txt"));
  other.replace(other.find("\"Number of individuals\",100"), 27, "\"Number of individuals\",99");
  std::ofstream(path("other_SASD.txt"), std::ios::binary) << other;
  const UserError error = refusal([&](Analysis& a, OutputFiles& f) {
    a.readSasd(ReadSasdRequest{path("other_SASD.txt")}, reader_, f);
  });
  EXPECT_NE(error.text().find("this file describes 99 individuals, the study has 100"),
            std::string::npos)
      << error.text();
  EXPECT_FALSE(analysis_->predation());
  EXPECT_TRUE(analysis_->canRun(AnalysisStep::kReadFecundity));

  // A stopped bootstrap keeps nothing.
  std::stop_source stop;
  stop.request_stop();
  refusal([&](Analysis& a, OutputFiles& f) {
    a.bootstrap(ownSamples(50, 1), reader_, f, {}, stop.get_token());
  });
  EXPECT_FALSE(analysis_->bootstrap());
}

// Every input is read once, however many steps use it: the data file when it is opened, the
// eggs when they are read, and nothing again by the bootstrap or the summary.
TEST_F(AnalysisTest, ARunWithFecundityAndABootstrapOpensEachInputOnce) {
  saved([&](Analysis& a, OutputFiles& f) {
    a.basicRun(f);
    a.readFecundity(ReadFecundityRequest{path("lady_beetle_fecundity.txt")}, reader_, f);
    a.bootstrap(ownSamples(30, 2), reader_, f);
    a.samplesFile(f);
    a.normalDensity(f);
    a.writeSummary(f);
    a.writeRunRecord(RunRecordRequest{"cli", {}}, f);
  });
  EXPECT_EQ(reader_.opens(path("lady_beetle.txt")), 1);
  EXPECT_EQ(reader_.opens(path("lady_beetle_fecundity.txt")), 1);
  ASSERT_EQ(analysis_->inputs().size(), 2U);
  EXPECT_EQ(analysis_->inputs()[0].bytes, fs::file_size(path("lady_beetle.txt")));
}

// A fault of the second study ends only the paired test: the first keeps its results and
// nothing of either is saved for it.
TEST_F(AnalysisTest, APairedTestWhoseSecondStudyFailsLeavesTheFirstAsItWas) {
  saved([&](Analysis& a, OutputFiles& f) {
    a.basicRun(f);
    a.bootstrap(ownSamples(10, 4), reader_, f);
  });
  std::ofstream(path("broken.txt"), std::ios::binary) << "P\nU\nD\n2\n";
  PairedTestRequest request;
  request.secondDataFile = path("broken.txt");
  const UserError error =
      errorFrom([&] { prepareSecondStudy(request, 1, 0.95, examples_.path("broken"), reader_); });
  EXPECT_FALSE(error.fatal());
  EXPECT_EQ(error.title(), "Error in data file");

  fs::copy_file(path("lady_beetle.txt"), path("copy.txt"));
  request.secondDataFile = path("copy.txt");
  OutputFiles files(base());
  std::stop_source stop;
  stop.request_stop();
  SecondStudy second = prepareSecondStudy(request, 1, 0.95, examples_.path("copy"), reader_);
  EXPECT_EQ(errorFrom([&] {
              runPairedTest(*analysis_, request, second, files, {}, stop.get_token());
            }).text(),
            "The second study's bootstrap was stopped before it ended; no paired-test file was "
            "written.");
  EXPECT_TRUE(files.saved().empty());
  EXPECT_TRUE(analysis_->bootstrap());
  // The same file twice would write one study's results over the other's.
  EXPECT_EQ(errorFrom([&] { validate(request, base(), examples_.path("./lady_beetle")); }).kind(),
            ErrorKind::kInvalidRequest);
}

TEST_F(AnalysisTest, TheBootstrapIsAskedInTheOrderOfTheDesktop) {
  saved([](Analysis& a, OutputFiles& f) { a.basicRun(f); });
  ScriptedDialogs dialogs;
  dialogs.answerPrompt("2").answerPrompt("300.4").answerPrompt("90").answerPrompt("");
  const auto own = askBootstrap(dialogs, *analysis_, 17);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->replicates, 300);
  EXPECT_EQ(own->sampleSize, 90);
  EXPECT_EQ(own->seed, 17U);
  EXPECT_EQ(dialogs.prompts(),
            (std::vector<std::string>{"Do you want to use the same bootstrap samples (1=Yes, 2=No)",
                                      "Enter the number of bootstrap replicates B (1 to 200010)",
                                      "Enter the sample size n of each replicate (1 to 405)",
                                      "Random seed (leave empty to take it from the clock)"}));
  // A typed seed replaces the clock's; anything but a whole number from 0 to 2^64 - 1 is refused
  // with a message and asked again.
  dialogs.answerPrompt("2").answerPrompt("10").answerPrompt("90");
  for (const char* refused : {"x", "-1", "18446744073709551616", "4.5", "1e3"}) {
    dialogs.answerPrompt(refused);
  }
  dialogs.answerPrompt(" 18446744073709551615 ");
  EXPECT_EQ(askBootstrap(dialogs, *analysis_, 17)->seed, 18446744073709551615U);
  ASSERT_EQ(dialogs.messages().size(), 5U);
  EXPECT_EQ(dialogs.messages()[1].text,
            "The seed must be a whole number from 0 to 18446744073709551615; \"-1\" was given.");
  // Without a SASD file the same samples cannot run, so the first prompt offers No; the cohort
  // size is offered as n.
  EXPECT_EQ(dialogs.offeredAnswers()[0], "2");
  EXPECT_EQ(dialogs.offeredAnswers()[2], "100");
  // Cancel on any prompt cancels; an answer other than 1 or 2 is asked again.
  dialogs.answerPrompt("2").answerPrompt("10").cancelPrompt();
  EXPECT_FALSE(askBootstrap(dialogs, *analysis_, 17));
  dialogs.answerPrompt("maybe").answerPrompt("3").answerPrompt("2").answerPrompt("10");
  dialogs.answerPrompt("90").answerPrompt("");
  EXPECT_EQ(askBootstrap(dialogs, *analysis_, 17)->replicates, 10);
  EXPECT_EQ(dialogs.messages().back().text, "Please answer 1 (Yes) or 2 (No); \"3\" is neither.");
  // The same samples need the stable age-stage distribution first; the user is told so.
  dialogs.answerPrompt("1");
  EXPECT_FALSE(askBootstrap(dialogs, *analysis_, 17));
  EXPECT_EQ(dialogs.messages().back().title, "Same bootstrap samples");
  // With eggs, the question to draw barren replicates again follows the seed.
  saved([&](Analysis& a, OutputFiles& f) {
    a.readFecundity(ReadFecundityRequest{path("lady_beetle_fecundity.txt")}, reader_, f);
  });
  dialogs.answerPrompt("2").answerPrompt("10").answerPrompt("90").answerPrompt("5");
  dialogs.answerYesNo(true);
  EXPECT_TRUE(askBootstrap(dialogs, *analysis_, 17)->redrawBarren);
  EXPECT_EQ(dialogs.messages().back().text, kRedrawBarrenQuestion);
  EXPECT_TRUE(dialogs.scriptUsedUp());
}

}  // namespace
}  // namespace pellmar
