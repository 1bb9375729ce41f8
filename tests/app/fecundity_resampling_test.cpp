// Resampling a study with fecundity: own-sample bootstraps whose replicates have their own R0 and
// lambda, the samples file that replays them, and the jackknife's pseudo-values of R0, r, lambda
// and T.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/program.h"
#include "app/system_clock.h"
#include "core/data/table_index.h"
#include "core/resampling/replicate_summary.h"
#include "read_file.h"
#include "support/example_folder.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/user_error_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::errorFrom;
using test_support::readFile;

constexpr const char* kSamplesFile = "lady_beetle_11_Bootstrap_samples_from_fecundity.txt";

class FecundityBootstrap : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::make_unique<Program>(readSystemClock);
    program_->run(OpenRequest{path("lady_beetle.txt"), 1});
    program_->run(BasicRunRequest{});
    program_->run(ReadFecundityRequest{path("lady_beetle_fecundity.txt")});
  }
  [[nodiscard]] std::string path(const std::string& name) const { return examples_.path(name); }
  void bootstrap(int replicates, int sampleSize, std::uint64_t seed) {
    BootstrapRequest request;
    request.replicates = replicates;
    request.sampleSize = sampleSize;
    request.seed = seed;
    program_->run(request);
  }
  [[nodiscard]] const Session& session() const { return program_->session(); }

  test_support::ExampleFolder examples_{"pellmar_fecundity_bootstrap_"};
  const fs::path& folder_ = examples_.folder();
  std::unique_ptr<Program> program_;
};

TEST_F(FecundityBootstrap, ReplicatesPairTheirOwnR0AndLambdaWithTheirC0) {
  bootstrap(40, 100, 7);
  const BootstrapState& boot = session().bootstrap;
  ASSERT_TRUE(boot.ownLifeTable);
  for (int b = 1; b <= 40; ++b) {
    const auto bi = at(b);
    ASSERT_GT(boot.bootR0[bi], 0) << b;
    EXPECT_DOUBLE_EQ(boot.bootLambda[bi], std::exp(boot.bootR[bi])) << b;
    EXPECT_NEAR(boot.bootT[bi], std::log(boot.bootR0[bi]) / boot.bootR[bi], 1e-9) << b;
    EXPECT_EQ(boot.bootQp[bi], boot.bootC0[bi] / boot.bootR0[bi]) << b;
    EXPECT_EQ(boot.bootFP[bi], boot.bootPsi[bi] * boot.bootLambda[bi]) << b;
  }
  // The R0 and lambda rows of the report come from the replicates, the originals from the
  // cohort's life table.
  const ReplicateSummary r0 = summarizeReplicates(boot.bootR0, 40);
  EXPECT_EQ(boot.lifeTable.lifeTableR0Mean, r0.mean);
  EXPECT_EQ(boot.lifeTable.lifeTableR0SE, r0.se);
  EXPECT_EQ(boot.lifeTable.R0, session().lifeTable->R0);
  EXPECT_EQ(boot.lifeTable.lifeTableLambda, session().lifeTable->growth->lambda);
  EXPECT_EQ(boot.Qp, session().basic.C0ByCell / session().lifeTable->R0);
  const std::string report = readFile(folder_ / "lady_beetle_0_Bootstrap_Output.txt");
  EXPECT_NE(report.find(" FP (FC)"), std::string::npos);
  EXPECT_EQ(report.find("you cannot estimate the standard errors of Qp"), std::string::npos);
  // The Qp, psi and omega files hold the replicates' values, not zeros.
  const std::string psi = readFile(folder_ / "lady_beetle_4_Bootstrap_Psi_in column.txt");
  EXPECT_EQ(psi.find("\r\n0\r\n"), std::string::npos);
  // The curves of Qp, psi and omega come with the others.
  program_->run(NormalDensityRequest{});
  EXPECT_TRUE(fs::exists(folder_ / "lady_beetle_22_Bootstrap-Qp-Normal density.txt"));
  EXPECT_TRUE(
      fs::exists(folder_ / "lady_beetle_22_Bootstrap-Finite Predation Rate-Normal density.txt"));
}

TEST_F(FecundityBootstrap, TheSamplesFileReplaysAsTheSameSamplesByteForByte) {
  bootstrap(30, 100, 2026);
  ScriptedDialogs dialogs;
  dialogs.answerYesNo(true);
  const auto request = askSamplesFile(dialogs, session());
  ASSERT_TRUE(request);
  ASSERT_EQ(dialogs.messages().size(), 1U);
  EXPECT_EQ(dialogs.messages()[0].title, "Bootstrap");
  EXPECT_EQ(dialogs.messages()[0].text, kSamplesFileQuestion);
  const SamplesFileResult written = program_->run(*request);
  EXPECT_FALSE(written.warning);
  EXPECT_EQ(written.filesWritten, std::vector<std::string>{path(kSamplesFile)});

  // A second study folder: the data, the distribution the fecundity gave and the samples file.
  const fs::path replay = folder_ / "replay";
  fs::create_directories(replay);
  for (const char* name :
       {"lady_beetle.txt", "lady_beetle_10_SASD_from_fecundity.txt", kSamplesFile}) {
    fs::copy_file(folder_ / name, replay / name);
  }
  Program same(readSystemClock);
  same.run(OpenRequest{(replay / "lady_beetle.txt").string(), 1});
  same.run(BasicRunRequest{});
  same.run(ReadSasdRequest{(replay / "lady_beetle_10_SASD_from_fecundity.txt").string()});
  BootstrapRequest sameSamples;
  sameSamples.source = SampleSource::kSameSamples;
  sameSamples.samplesFile = (replay / kSamplesFile).string();
  same.run(sameSamples);
  for (const char* suffix : {"_4_Bootstrap_C0_in column.txt", "_4_Bootstrap_C0-in Row.txt",
                             "_4_Bootstrap_Qp-in Row.txt", "_4_Bootstrap_Psi_in column.txt",
                             "_4_Bootstrap_Omega_in column.txt", "_0_Bootstrap_Output.txt"}) {
    const std::string name = std::string("lady_beetle") + suffix;
    EXPECT_EQ(readFile(replay / name), readFile(folder_ / name)) << name;
  }
  EXPECT_EQ(same.session().bootstrap.lifeTable.lifeTableR0Variance,
            session().bootstrap.lifeTable.lifeTableR0Variance);
}

// The example's samples file is the one Pellmar writes from the example's eggs.
TEST_F(FecundityBootstrap, TheExampleSamplesFileIsASeededBootstrapOfTheExample) {
  bootstrap(200, 100, 2026);
  program_->run(SamplesFileRequest{});
  EXPECT_EQ(readFile(folder_ / kSamplesFile),
            readFile(fs::path(EXAMPLES_DIR) / "lady_beetle_11_Bootstrap_samples.txt"));
}

TEST_F(FecundityBootstrap, SamplesOfAnotherSizeGetNoSamplesFile) {
  bootstrap(5, 60, 3);
  EXPECT_FALSE(offersSamplesFile(session()));
  ScriptedDialogs dialogs;
  EXPECT_FALSE(askSamplesFile(dialogs, session()));
  EXPECT_TRUE(dialogs.messages().empty());
  const SamplesFileResult result = program_->run(SamplesFileRequest{});
  ASSERT_TRUE(result.warning);
  EXPECT_NE(result.warning->text.find("60 individuals each"), std::string::npos);
  EXPECT_TRUE(result.filesWritten.empty());
  EXPECT_FALSE(fs::exists(folder_ / kSamplesFile));
}

// The paired test of two studies with fecundity: the second study's eggs are asked for, and the
// replicates' own R0, r, lambda, T, Qp, psi and omega are paired.
TEST_F(FecundityBootstrap, PairedTestPairsTheReplicatesLifeTables) {
  bootstrap(20, 100, 8);
  fs::copy_file(path("lady_beetle.txt"), path("second.txt"));
  fs::copy_file(path("lady_beetle_fecundity.txt"), path("second_eggs.txt"));
  ScriptedDialogs dialogs;
  dialogs.chooseFile(path("second.txt")).chooseFile(path("second_eggs.txt"));
  const auto request = askPairedTest(dialogs, session());
  ASSERT_TRUE(request);
  EXPECT_EQ(request->secondFecundityFile, path("second_eggs.txt"));
  EXPECT_FALSE(request->secondSasdFile);
  EXPECT_TRUE(dialogs.scriptUsedUp());

  // Without the second study's eggs there is nothing to pair the life tables with.
  PairedTestRequest withoutEggs = *request;
  withoutEggs.secondFecundityFile.reset();
  EXPECT_EQ(errorFrom([&] { program_->run(withoutEggs); }).kind(), ErrorKind::kInvalidRequest);

  const PairedTestResult result = program_->run(*request);
  std::vector<std::string> paired;
  for (const PairedTestRow& row : result.test.rows) paired.push_back(row.quantity);
  for (const char* quantity : {"R0", "r", "lambda", "T", "Qp", "psi", "omega"}) {
    EXPECT_NE(std::find(paired.begin(), paired.end(), quantity), paired.end()) << quantity;
  }
  EXPECT_TRUE(fs::exists(folder_ / "second_Life_table.txt"));
}

TEST(OwnSamplesWithoutFecundity, OfferNoSamplesFile) {
  test_support::ExampleFolder examples("pellmar_no_fecundity_");
  Program program(readSystemClock);
  program.run(OpenRequest{examples.path("lady_beetle.txt"), 1});
  program.run(BasicRunRequest{});
  BootstrapRequest request;
  request.replicates = 3;
  request.seed = 1;
  program.run(request);
  EXPECT_FALSE(program.session().bootstrap.ownLifeTable);
  EXPECT_FALSE(offersSamplesFile(program.session()));
  EXPECT_EQ(errorFrom([&] { program.run(SamplesFileRequest{}); }).kind(),
            ErrorKind::kInvalidRequest);
}

// The three-stage cohort: female 1 lays 4.5 eggs at age index 4, so R0 = 4.5 / 3 = 1.5. Without
// her no eggs are left (R0 = 0, pseudo-value 3 x 1.5 - 2 x 0 = 4.5); without individual 2 or 3,
// R0 = 4.5 / 2 and the pseudo-value is 3 x 1.5 - 2 x 2.25 = 0. r, lambda and T have none.
TEST(FecundityJackknife, PseudoValuesOfR0OnAHandWorkedCohort) {
  test_support::TemporaryFolder folder;
  const fs::path golden = fs::path(TEST_DATA_DIR) / "golden" / "three_stages_fecundity";
  for (const char* name : {"study.txt", "fecundity.txt"}) {
    fs::copy_file(golden / name, folder.path() / name);
  }
  Program program(readSystemClock);
  program.run(OpenRequest{folder.file("study.txt"), 1});
  program.run(BasicRunRequest{});
  program.run(ReadFecundityRequest{folder.file("fecundity.txt")});
  const JackknifeResult result = program.run(JackknifeRequest{});
  EXPECT_EQ(result.note,
            "Without individual 1 no eggs are left, so r, lambda and T have no "
            "jackknife pseudo-values or SE; R0 has them.");
  EXPECT_EQ(readFile(folder.path() / "study_jackknife_pseudo_values.csv"),
            "individual,C0,R0,r,lambda,T\r\n"
            "1,32,4.5,,,\r\n"
            "2,29,0,,,\r\n"
            "3,6,0,,,\r\n");
  for (const SummaryRow& row : program.summary()) {
    if (row.quantity == "R0") {
      ASSERT_TRUE(row.resampled);
      EXPECT_EQ(row.resampled->mean, 1.5);
      // Pseudo-values 4.5, 0, 0: variance 6.75, SE sqrt(6.75 / 3) = 1.5.
      EXPECT_NEAR(*row.resampled->se, 1.5, 1e-15);
    }
    if (row.quantity == "r" || row.quantity == "lambda" || row.quantity == "T") {
      EXPECT_FALSE(row.resampled) << row.quantity;
    }
  }
}

TEST(FecundityJackknife, EveryJackknifeWritesThePseudoValuesOfC0) {
  test_support::ExampleFolder examples("pellmar_jackknife_csv_");
  Program program(readSystemClock);
  program.run(OpenRequest{examples.path("lady_beetle.txt"), 1});
  program.run(BasicRunRequest{});
  const JackknifeResult result = program.run(JackknifeRequest{});
  EXPECT_FALSE(result.note);
  const std::string csv = readFile(examples.folder() / "lady_beetle_jackknife_pseudo_values.csv");
  EXPECT_EQ(csv.rfind("individual,C0\r\n1,", 0), 0U);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 101);

  // With the example's eggs every reduced cohort has eggs: all four columns are full, and the
  // pseudo-values of lambda average near the cohort's lambda.
  test_support::ExampleFolder fecund("pellmar_jackknife_csv_fecund_");
  Program withEggs(readSystemClock);
  withEggs.run(OpenRequest{fecund.path("lady_beetle.txt"), 1});
  withEggs.run(BasicRunRequest{});
  withEggs.run(ReadFecundityRequest{fecund.path("lady_beetle_fecundity.txt")});
  EXPECT_FALSE(withEggs.run(JackknifeRequest{}).note);
  const JackknifeState& jack = withEggs.session().jackknife;
  ASSERT_TRUE(jack.growthForEveryOmission());
  const ReplicateSummary lambda = summarizeReplicates(jack.pseudoLambda, 100);
  EXPECT_NEAR(lambda.mean, withEggs.session().lifeTable->growth->lambda, 0.01);
  const std::string full = readFile(fecund.folder() / "lady_beetle_jackknife_pseudo_values.csv");
  EXPECT_EQ(full.find(",,"), std::string::npos);
}

}  // namespace
}  // namespace pellmar
