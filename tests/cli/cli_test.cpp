#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

TEST(CliOptions, ParsesCommandsAndRejectsBadUsage) {
  const auto check = parseCliOptions({"check", "a.txt", "--time-unit", "0.5"});
  ASSERT_TRUE(check);
  EXPECT_EQ(check->action, CliOptions::Action::kCheck);
  EXPECT_EQ(check->dataFile, "a.txt");
  EXPECT_EQ(check->timeUnitAnswer, "0.5");
  EXPECT_EQ(parseCliOptions({"run", "a.txt"})->timeUnitAnswer, "1");
  EXPECT_EQ(parseCliOptions({"--help"})->action, CliOptions::Action::kHelp);
  EXPECT_EQ(parseCliOptions({"--version"})->action, CliOptions::Action::kVersion);
  EXPECT_FALSE(parseCliOptions({"--version", "a.txt"}));
  EXPECT_FALSE(parseCliOptions({}));
  EXPECT_FALSE(parseCliOptions({"check"}));
  EXPECT_FALSE(parseCliOptions({"check", "a", "b"}));
  EXPECT_FALSE(parseCliOptions({"check", "a", "--time-unit"}));
  EXPECT_FALSE(parseCliOptions({"check", "a", "--bogus"}));
  EXPECT_FALSE(parseCliOptions({"frobnicate", "a"}));
}

TEST(CliRunner, CheckOnTheExampleStudy) {
  const fs::path folder = fs::temp_directory_path() / "pellmar_cli_check";
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(fs::path(EXAMPLES_DIR) / "lady_beetle.txt", folder / "lady_beetle.txt");

  CliOptions options;
  options.action = CliOptions::Action::kCheck;
  options.dataFile = (folder / "lady_beetle.txt").string();
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli(options, out, err), 0);
  EXPECT_EQ(out.str(), "It looks OK.\n");
  EXPECT_EQ(err.str(), "");

  options.dataFile = (folder / "missing.txt").string();
  std::ostringstream out2;
  std::ostringstream err2;
  EXPECT_EQ(runCli(options, out2, err2), 1);
  EXPECT_EQ(err2.str().rfind("Error in data file\n", 0), 0U);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace pellmar
