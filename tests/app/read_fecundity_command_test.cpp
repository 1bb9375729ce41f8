#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

// The example study opened and analysed, with its fecundity file, in a folder of its own.
class ReadFecundityCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    // A second program may not work on a study another one holds: it gets a copy of its own.
    fs::create_directories(folder_ / "other");
    fs::copy_file(fs::path(EXAMPLES_DIR) / "lady_beetle.txt",
                  folder_ / "other" / "lady_beetle.txt");
    program_ = analysedProgram();
  }
  [[nodiscard]] std::unique_ptr<Program> analysedProgram(
      const std::string& dataFile = "lady_beetle.txt") const {
    auto program = std::make_unique<Program>(readSystemClock);
    program->run(OpenRequest{path(dataFile), 1});
    program->run(BasicRunRequest{});
    return program;
  }
  [[nodiscard]] std::string path(const std::string& name) const { return examples_.path(name); }
  // The example's fecundity file with every egg count of every female set to `eggs`.
  std::string writeUniformFecundity(const std::string& name, const std::string& eggs) const {
    std::ifstream in(folder_ / "lady_beetle_fecundity.txt");
    std::ofstream out(folder_ / name, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] == '#') continue;
      std::string uniform = line.substr(0, line.find(','));
      for (std::size_t at = line.find(','); at != std::string::npos; at = line.find(',', at + 1)) {
        uniform += "," + eggs;
      }
      out << uniform << '\n';
    }
    return path(name);
  }
  [[nodiscard]] bool isEnabled(Command command) const {
    return program_->commands().isEnabled(command);
  }

  test_support::ExampleFolder examples_;
  const fs::path& folder_ = examples_.folder();
  std::unique_ptr<Program> program_;
};

TEST_F(ReadFecundityCommand, WritesTheLifeTableAndTheFilesReadSasdWouldGive) {
  EXPECT_TRUE(isEnabled(Command::kReadFecundity));
  EXPECT_FALSE(isEnabled(Command::kShowFecundity));
  const ReadFecundityResult result =
      program_->run(ReadFecundityRequest{path("lady_beetle_fecundity.txt")});
  const Session& session = program_->session();
  ASSERT_TRUE(session.lifeTable);
  ASSERT_TRUE(result.growth);
  EXPECT_EQ(result.R0, session.lifeTable->R0);
  EXPECT_EQ(result.growth->lambda, session.lifeTable->growth->lambda);
  EXPECT_EQ(result.filesWritten,
            (std::vector<std::string>{
                path("lady_beetle_Life_table.txt"), path("lady_beetle_10_SASD_from_fecundity.txt"),
                path("lady_beetle_0_Output_Finite_Predation_Rate_omega.txt")}));
  const PredationState& predation = session.predation;
  EXPECT_TRUE(predation.sasdDone);
  EXPECT_EQ(predation.finiteRate, result.growth->lambda);
  EXPECT_EQ(result.psi, predation.stablePredationRate);
  EXPECT_DOUBLE_EQ(result.omega, result.growth->lambda * result.psi);
  EXPECT_EQ(result.message.text.rfind("R0 =", 0), 0U);
  EXPECT_NE(result.message.text.find("\nPsi ="), std::string::npos);
  EXPECT_FALSE(result.warning);

  // The written distribution read back gives the very doubles computed, and reading the file in
  // another run gives the same omega file byte for byte.
  const AgeStageMatrix& direct = session.lifeTable->stableDistribution;
  for (int x = 0; x <= session.basic.maxAgeIndex; ++x) {
    for (int j = 1; j <= session.study.stageCount + 1; ++j) {
      ASSERT_EQ(predation.stableDistribution(x, j), direct.at(x, j)) << x << "," << j;
    }
  }
  const std::string omegaFile =
      readFile(folder_ / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt");
  auto other = analysedProgram("other/lady_beetle.txt");
  const ReadSasdResult fromFile =
      other->run(ReadSasdRequest{path("lady_beetle_10_SASD_from_fecundity.txt")});
  EXPECT_EQ(fromFile.psi, result.psi);
  EXPECT_EQ(fromFile.omega, result.omega);
  EXPECT_EQ(readFile(folder_ / "other" / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt"),
            omegaFile);

  // The bundled example's distribution is this very file.
  EXPECT_EQ(readFile(folder_ / "lady_beetle_10_SASD_from_fecundity.txt"),
            readFile(fs::path(EXAMPLES_DIR) / "lady_beetle_10_SASD.txt"));

  EXPECT_FALSE(isEnabled(Command::kReadSasd));
  EXPECT_TRUE(isEnabled(Command::kShowFecundity));
  // A second Basic Run does not open the other source again.
  program_->run(BasicRunRequest{});
  EXPECT_FALSE(isEnabled(Command::kReadSasd));
  EXPECT_TRUE(isEnabled(Command::kReadFecundity));
}

// Read SASD and Read fecundity exclude each other, and after the life table the bootstrap draws
// its own samples only; each refusal changes nothing.
TEST_F(ReadFecundityCommand, ExcludesReadSasdAndTheSameSamples) {
  program_->run(ReadFecundityRequest{path("lady_beetle_fecundity.txt")});
  const double psi = program_->session().predation.stablePredationRate;
  const UserError sasd =
      errorFrom([&] { program_->run(ReadSasdRequest{path("lady_beetle_10_SASD.txt")}); });
  EXPECT_EQ(sasd.title(), "Read SASD");
  EXPECT_EQ(sasd.kind(), ErrorKind::kInvalidRequest);
  EXPECT_EQ(program_->session().predation.stablePredationRate, psi);

  BootstrapRequest same;
  same.source = SampleSource::kSameSamples;
  same.samplesFile = path("lady_beetle_11_Bootstrap_samples.txt");
  const UserError refused = errorFrom([&] { program_->run(same); });
  EXPECT_EQ(refused.title(), "Same bootstrap samples");
  EXPECT_NE(refused.text().find("own samples"), std::string::npos);
  ScriptedDialogs dialogs;
  dialogs.answerPrompt("1");
  EXPECT_FALSE(askBootstrap(dialogs, program_->session(), 1));
  ASSERT_EQ(dialogs.messages().size(), 1U);
  EXPECT_EQ(dialogs.messages()[0].text, refused.text());
  EXPECT_FALSE(program_->session().bootstrap.done);

  // Own samples run, with the distribution's tables in their report as after Read SASD.
  BootstrapRequest own;
  own.replicates = 3;
  own.seed = 7;
  program_->run(own);
  EXPECT_NE(readFile(folder_ / "lady_beetle_0_Bootstrap_Output.txt").find("Stable age-stage"),
            std::string::npos);
  EXPECT_FALSE(isEnabled(Command::kReadFecundity));

  auto other = analysedProgram("other/lady_beetle.txt");
  other->run(ReadSasdRequest{path("lady_beetle_10_SASD.txt")});
  EXPECT_FALSE(other->commands().isEnabled(Command::kReadFecundity));
  const UserError fecundity =
      errorFrom([&] { other->run(ReadFecundityRequest{path("lady_beetle_fecundity.txt")}); });
  EXPECT_EQ(fecundity.title(), "Read fecundity");
  EXPECT_EQ(fecundity.kind(), ErrorKind::kInvalidRequest);
  EXPECT_FALSE(other->session().lifeTable);
}

TEST_F(ReadFecundityCommand, NoEggsAtAllIsAFindingWithoutDistribution) {
  const ReadFecundityResult result =
      program_->run(ReadFecundityRequest{writeUniformFecundity("none.txt", "0")});
  EXPECT_EQ(result.R0, 0);
  EXPECT_FALSE(result.growth);
  ASSERT_TRUE(result.warning);
  EXPECT_EQ(result.warning->title, "Read fecundity");
  EXPECT_NE(result.warning->text.find("No female"), std::string::npos);
  EXPECT_EQ(result.filesWritten, std::vector<std::string>{path("lady_beetle_Life_table.txt")});
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_10_SASD_from_fecundity.txt"));
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Output_Finite_Predation_Rate_omega.txt"));
  EXPECT_FALSE(program_->session().predation.sasdDone);
  EXPECT_FALSE(isEnabled(Command::kReadSasd));

  // A corrected file replaces the finding, and a file without eggs again clears the rates.
  program_->run(ReadFecundityRequest{path("lady_beetle_fecundity.txt")});
  EXPECT_TRUE(program_->session().predation.sasdDone);
  program_->run(ReadFecundityRequest{path("none.txt")});
  EXPECT_FALSE(program_->session().predation.sasdDone);
}

TEST_F(ReadFecundityCommand, RefusalsWriteNothingAndKeepTheEarlierLifeTable) {
  program_->run(ReadFecundityRequest{path("lady_beetle_fecundity.txt")});
  const double lambda = program_->session().lifeTable->growth->lambda;
  const std::size_t written = program_->session().writtenFiles.size();
  // Individual 1 of the example died before the adult stage.
  std::ofstream(folder_ / "bad.txt") << "# eggs\n1,2,3\n";
  const UserError bad = errorFrom([&] { program_->run(ReadFecundityRequest{path("bad.txt")}); });
  EXPECT_EQ(bad.title(), "Read fecundity");
  EXPECT_NE(bad.text().find("line 2, individual no. 1"), std::string::npos) << bad.text();
  EXPECT_EQ(errorFrom([&] { program_->run(ReadFecundityRequest{""}); }).kind(),
            ErrorKind::kInvalidRequest);
  EXPECT_EQ(program_->session().lifeTable->growth->lambda, lambda);
  EXPECT_EQ(program_->session().writtenFiles.size(), written);

  // Before the Basic Run there are no matrices to build the life table on.
  Program fresh(readSystemClock);
  fresh.run(OpenRequest{path("other/lady_beetle.txt"), 1});
  EXPECT_EQ(
      errorFrom([&] { fresh.run(ReadFecundityRequest{path("lady_beetle_fecundity.txt")}); }).kind(),
      ErrorKind::kInvalidRequest);
  EXPECT_FALSE(fresh.session().lifeTable);

  // The check a command line makes before it writes anything reads both files through.
  const UserError early = errorFrom([&] {
    validate(ReadFecundityRequest{path("bad.txt")}, OpenRequest{path("lady_beetle.txt"), 1});
  });
  EXPECT_EQ(early.text(), bad.text());
  validate(ReadFecundityRequest{path("lady_beetle_fecundity.txt")},
           OpenRequest{path("lady_beetle.txt"), 1});
}

}  // namespace
}  // namespace pellmar
