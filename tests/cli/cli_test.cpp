#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "read_file.h"
#include "support/example_folder.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

TEST(CliOptions, ParsesCommandsAndValuesInBothForms) {
  const auto check = parseCliOptions({"check", "a.txt", "--time-unit", "0.5"});
  ASSERT_TRUE(check);
  EXPECT_EQ(check->action, CliOptions::Action::kCheck);
  EXPECT_EQ(check->dataFile, "a.txt");
  EXPECT_EQ(check->timeUnit, 0.5);
  EXPECT_EQ(parseCliOptions({"run", "a.txt"})->timeUnit, 1);
  EXPECT_EQ(parseCliOptions({"--help"})->action, CliOptions::Action::kHelp);
  EXPECT_EQ(parseCliOptions({"--version"})->action, CliOptions::Action::kVersion);
  const auto run = parseCliOptions({"run", "--time-unit= 2.5 ", "--bootstrap=5", "--seed",
                                    "18446744073709551615", "a.txt", "--sample-size=1e2",
                                    "--compare=--odd name.txt", "--normal-density"});
  ASSERT_TRUE(run);
  EXPECT_EQ(run->timeUnit, 2.5);
  EXPECT_EQ(run->bootstrapReplicates, 5);
  EXPECT_EQ(run->seed, 18446744073709551615U);
  EXPECT_EQ(run->sampleSize, 100);
  EXPECT_EQ(run->compareFile, "--odd name.txt");
  EXPECT_TRUE(run->normalDensity);
  EXPECT_EQ(parseCliOptions({"run", "a", "--fecundity", "f"})->fecundityFile, "f");
}

// Bad usage names the fault, the option and the value as given, then points to --help.
TEST(CliOptions, UsageErrorsSayWhatIsWrong) {
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } bad[] = {
      {{},
       "a command is needed: run, compare, check, experiment, new-project, --help or --version"},
      {{"frobnicate", "a"},
       "unknown command \"frobnicate\"; the commands are run, compare, check, experiment and "
       "new-project"},
      {{"--version", "a.txt"}, "--version takes nothing after it, not \"a.txt\""},
      {{"check"}, "check needs a data file"},
      {{"run", "a", "b"}, "one data file only, not both \"a\" and \"b\""},
      {{"run", "a", "--bogus"}, "unknown option \"--bogus\""},
      {{"check", "a", "--sasd", "s"}, "--sasd is an option of run, not of check"},
      {{"run", "a", "--bootstrap"}, "--bootstrap needs a value"},
      {{"run", "a", "--bootstrap", "--jackknife"},
       "--bootstrap needs a whole number from 1 to 200010, not \"--jackknife\""},
      {{"run", "a", "--seed", "abc"},
       "--seed needs a whole number from 0 to 18446744073709551615, not \"abc\""},
      {{"run", "a", "--seed", "18446744073709551616"},
       "--seed needs a whole number from 0 to 18446744073709551615, not "
       "\"18446744073709551616\""},
      {{"run", "a", "--bootstrap", "1e12"},
       "--bootstrap needs a whole number from 1 to 200010, not \"1e12\""},
      {{"run", "a", "--bootstrap", "0"},
       "--bootstrap needs a whole number from 1 to 200010, not \"0\""},
      {{"run", "a", "--bootstrap", "lots"},
       "--bootstrap needs a whole number from 1 to 200010, not \"lots\""},
      {{"run", "a", "--bootstrap=10", "--sample-size", "406"},
       "--sample-size needs a whole number from 1 to 405, not \"406\""},
      {{"run", "a", "--bootstrap", "5", "--jackknife"},
       "--bootstrap and --jackknife cannot be used together"},
      {{"run", "a", "--bootstrap", "5", "--bootstrap", "6"}, "--bootstrap is given twice"},
      {{"run", "a", "--jackknife=yes"}, "--jackknife takes no value, not \"yes\""},
      {{"run", "a", "--seed", "3"}, "--seed needs --bootstrap"},
      {{"run", "a", "--same-samples", "s"}, "--same-samples needs --sasd"},
      // The stable age-stage distribution comes from one source only.
      {{"run", "a", "--fecundity", "f", "--sasd", "s"},
       "--sasd and --fecundity cannot be used together"},
      {{"run", "a", "--fecundity", "f", "--sasd", "s", "--same-samples", "b"},
       "--sasd and --fecundity cannot be used together"},
      {{"check", "a", "--fecundity", "f"}, "--fecundity is an option of run, not of check"},
      {{"run", "a", "--compare", "t"}, "--compare needs --bootstrap or --same-samples"},
      {{"run", "a", "--normal-density"}, "--normal-density needs --bootstrap or --same-samples"},
      // A samples file holds the replicates drawn here with their own R0 and lambda.
      {{"run", "a", "--bootstrap", "5", "--write-samples"}, "--write-samples needs --fecundity"},
      {{"run", "a", "--fecundity", "f", "--write-samples"}, "--write-samples needs --bootstrap"},
      {{"run", "a", "--fecundity", "f", "--jackknife", "--write-samples"},
       "--write-samples needs --bootstrap"},
      {{"run", "a", "--time-unit", "2 days"},
       "--time-unit needs a number of days above 0 and at most 1000, not \"2 days\""},
      {{"check", "a", "--time-unit=0"},
       "--time-unit needs a number of days above 0 and at most 1000, not \"0\""},
      {{"check", "a", "--time-unit=1001"},
       "--time-unit needs a number of days above 0 and at most 1000, not \"1001\""},
      // The projection needs the eggs, and only a life table of its own.
      {{"run", "a", "--projection-days", "30"}, "--projection-days needs --fecundity"},
      {{"run", "a", "--fecundity", "f", "--projection-days", "3651"},
       "--projection-days needs a number of days from 0 to 3650, not \"3651\""},
      {{"run", "a", "--fecundity", "f", "--projection-days", "-1"},
       "--projection-days needs a number of days from 0 to 3650, not \"-1\""},
      {{"run", "a", "--fecundity", "f", "--projection-days", "30", "--jackknife"},
       "--jackknife and --projection-days cannot be used together"},
      {{"run", "a", "--fecundity", "f", "--projection-days", "30", "--initial", "eggs:0"},
       "--initial needs eggs:N0 or stable:N0 with N0 a number above 0, not \"eggs:0\""},
      {{"run", "a", "--fecundity", "f", "--initial", "eggs:5"},
       "--initial needs --projection-days"},
      {{"check", "a", "--time-unit", "\x1B[31m"},
       "--time-unit needs a number of days above 0 and at most 1000, not \"\\x1B[31m\""},
  };
  for (const auto& usage : bad) {
    const ParsedCommandLine parsed = parseCommandLine(usage.arguments);
    EXPECT_FALSE(parsed.options) << usage.error;
    EXPECT_EQ(parsed.usageError, usage.error);
  }
  EXPECT_EQ(usageErrorText("--sasd needs a value"),
            "pellmar-cli: --sasd needs a value\n"
            "Run \"pellmar-cli --help\" to see the commands and their options.\n");
}

TEST(CliRunner, CheckOnTheExampleStudy) {
  const test_support::ExampleFolder examples;
  CliOptions options;
  options.action = CliOptions::Action::kCheck;
  options.dataFile = examples.path("lady_beetle.txt");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli(options, out, err), 0);
  EXPECT_EQ(out.str(), "It looks OK.\n");
  EXPECT_EQ(err.str(), "");
}

// Every refused request leaves the folder as it was: nothing is written, the message keeps its
// text, and the exit status tells a bad request (2) from a file that fails (1).
TEST(CliRunner, RefusedRequestsWriteNothing) {
  const test_support::ExampleFolder examples;
  const fs::path& folder = examples.folder();
  fs::create_directory(folder / "a folder");
  const auto in = [&](const char* name) { return (folder / name).string(); };
  std::ofstream(folder / "eggs.txt") << "1,2,3\n";
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string message;
  } refused[] = {
      {{"--sasd", in("missing.txt")},
       1,
       "Read SASD\nThe file " + in("missing.txt") + " cannot be read.\n"},
      {{"--sasd", in("lady_beetle_10_SASD.txt"), "--same-samples", in("missing.txt")},
       1,
       "Bootstrap samples\nThe file " + in("missing.txt") + " cannot be read.\n"},
      {{"--bootstrap", "10", "--compare", in("missing.txt")},
       1,
       "Compare two bootstraps\nThe file " + in("missing.txt") + " cannot be read.\n"},
      {{"--fecundity", in("missing.txt")},
       1,
       "Read fecundity\nThe file " + in("missing.txt") + " cannot be read.\n"},
      // Read through before the Basic Run writes its files.
      {{"--fecundity", in("eggs.txt")},
       1,
       "Read fecundity\nThe fecundity file " + in("eggs.txt") +
           ", line 1, individual no. 1: this individual died before the adult stage (sex N); "
           "only females have a line.\n"},
      {{"--sasd", in("a folder")},
       1,
       "Read SASD\nThe file " + in("a folder") + " cannot be read: it is a folder.\n"},
      {{"--sasd", in("lady_beetle_10_SASD.txt"), "--same-samples", in("a folder")},
       1,
       "Bootstrap samples\nThe file " + in("a folder") + " cannot be read: it is a folder.\n"},
      {{"--bootstrap", "10", "--compare", in("a folder")},
       1,
       "Compare two bootstraps\nThe file " + in("a folder") + " cannot be read: it is a folder.\n"},
  };
  const auto listing = [&] {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = listing();
  for (const auto& request : refused) {
    std::vector<std::string> arguments{"run", in("lady_beetle.txt")};
    arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
    SCOPED_TRACE(arguments[2] + " " + arguments[3]);
    const auto options = parseCliOptions(arguments);
    ASSERT_TRUE(options);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli(*options, out, err), request.status);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), request.message);
    EXPECT_EQ(listing(), before);
  }

  // A data file that is not there: the data file's own message, and no empty report.
  const auto missing = parseCliOptions({"check", in("missing.txt")});
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli(*missing, out, err), 1);
  EXPECT_EQ(err.str(),
            "Error in data file\nThe data file \"" + in("missing.txt") +
                "\" cannot be found.\nPlease correct your data and rerun this program.\n");
  EXPECT_EQ(listing(), before);

  // DATA that is something other than a file: nothing is created beside it.
  std::vector<std::pair<std::string, std::string>> notFiles = {{in("a folder"), "a folder"}};
#ifndef _WIN32
  fs::create_symlink(in("loop b"), in("loop a"));
  fs::create_symlink(in("loop a"), in("loop b"));
  notFiles.emplace_back(in("loop a"), "a link that leads round in a circle");
  ASSERT_EQ(::mkfifo(in("pipe.txt").c_str(), 0600), 0);
  notFiles.emplace_back(in("pipe.txt"), "a named pipe");
  notFiles.emplace_back("/dev/null", "a device");
#endif
  const std::vector<std::string> withNotFiles = listing();
  for (const auto& [path, what] : notFiles) {
    SCOPED_TRACE(path);
    const auto options = parseCliOptions({"run", path});
    std::ostringstream notOut;
    std::ostringstream notErr;
    EXPECT_EQ(runCli(*options, notOut, notErr), 1);
    EXPECT_EQ(notErr.str(), "Error in data file\n\"" + path + "\" is not a data file: it is " +
                                what + ".\nPlease correct your data and rerun this program.\n");
    EXPECT_EQ(listing(), withNotFiles);
  }
  EXPECT_FALSE(fs::exists("/dev/_0_Basic_Output.txt"));
}

// Standard output that takes no byte (a full disk): the run fails, and says so where it can.
TEST(CliRunner, StandardOutputThatCannotBeWrittenFailsTheRun) {
  struct FullDisk : std::streambuf {
    int_type overflow(int_type /*c*/) override { return traits_type::eof(); }
  } full;
  std::ostream out(&full);
  std::ostringstream err;
  EXPECT_EQ(runCli(*parseCliOptions({"--version"}), out, err), 1);
  EXPECT_EQ(err.str(),
            "pellmar-cli: standard output cannot be written (is the disk full?); what the run "
            "printed there is lost.\n");
}

}  // namespace
}  // namespace pellmar
