// The samples file of an own-samples bootstrap with eggs: the example's is the one Pellmar writes
// from the example's eggs, and read back as the same samples, with the stable distribution the
// eggs gave, it gives the bootstrap's files byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "read_file.h"
#include "support/command_line_run.h"
#include "support/example_folder.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;
using test_support::runCommandLine;

constexpr const char* kSamplesFile = "lady_beetle_11_Bootstrap_samples_from_fecundity.txt";

TEST(SamplesFile, ReplaysTheBootstrapItCameFromByteForByte) {
  const test_support::ExampleFolder drawn("_drawn");
  const auto run = runCommandLine({"run", drawn.path("lady_beetle.txt"), "--fecundity",
                                   drawn.path("lady_beetle_fecundity.txt"), "--bootstrap", "200",
                                   "--seed", "2026", "--write-samples"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readFile(drawn.folder() / kSamplesFile),
            readFile(fs::path(EXAMPLES_DIR) / "lady_beetle_11_Bootstrap_samples.txt"));

  // Another folder: the data, the distribution the eggs gave and the samples file.
  const test_support::ExampleFolder replayed("_replayed");
  fs::copy_file(drawn.folder() / "lady_beetle_10_SASD_from_fecundity.txt",
                replayed.folder() / "sasd.txt");
  fs::copy_file(drawn.folder() / kSamplesFile, replayed.folder() / "samples.txt");
  const auto replay =
      runCommandLine({"run", replayed.path("lady_beetle.txt"), "--sasd", replayed.path("sasd.txt"),
                      "--same-samples", replayed.path("samples.txt")});
  ASSERT_EQ(replay.status, 0) << replay.err;
  for (const char* suffix :
       {"_4_Bootstrap_C0_in column.txt", "_4_Bootstrap_C0-in Row.txt", "_4_Bootstrap_Qp-in Row.txt",
        "_4_Bootstrap_Psi_in column.txt", "_4_Bootstrap_Omega_in column.txt",
        "_0_Bootstrap_Output.txt", "_0_Output_Finite_Predation_Rate_omega.txt"}) {
    const std::string name = std::string("lady_beetle") + suffix;
    EXPECT_EQ(readFile(replayed.folder() / name), readFile(drawn.folder() / name)) << name;
  }
}

// Replicates of another size than the cohort cannot be replayed as same samples: no file.
TEST(SamplesFile, SamplesOfAnotherSizeGetNone) {
  const test_support::ExampleFolder folder;
  const auto run = runCommandLine({"run", folder.path("lady_beetle.txt"), "--fecundity",
                                   folder.path("lady_beetle_fecundity.txt"), "--bootstrap", "5",
                                   "--sample-size", "60", "--seed", "3", "--write-samples"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("60 individuals each"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder.folder() / kSamplesFile));
}

}  // namespace
}  // namespace pellmar
