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
  // The stable age-stage distribution comes from one source only.
  EXPECT_EQ(parseCliOptions({"run", "a", "--fecundity", "f"})->fecundityFile, "f");
  EXPECT_FALSE(parseCliOptions({"run", "a", "--fecundity", "f", "--sasd", "s"}));
  EXPECT_FALSE(parseCliOptions({"run", "a", "--fecundity", "f", "--same-samples", "s"}));
  EXPECT_FALSE(parseCliOptions({"check", "a", "--fecundity", "f"}));
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
  fs::remove_all(folder);
}

// Every refused request leaves the folder as it was: nothing is written, the message keeps its
// text, and the exit status tells a bad request (2) from a file that fails (1).
TEST(CliRunner, RefusedRequestsWriteNothing) {
  const fs::path folder = fs::temp_directory_path() / "pellmar_cli_refused";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"lady_beetle.txt", "lady_beetle_10_SASD.txt"}) {
    fs::copy_file(fs::path(EXAMPLES_DIR) / name, folder / name);
  }
  fs::create_directory(folder / "a folder");
  const auto in = [&](const char* name) { return (folder / name).string(); };
  std::ofstream(folder / "eggs.txt") << "1,2,3\n";
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string message;
  } refused[] = {
      {{"--bootstrap", "0"},
       2,
       "Bootstrap\nThe number of bootstraps must be from 1 to 200010; 0 was given.\n"},
      {{"--bootstrap", "200011"},
       2,
       "Bootstrap\nThe number of bootstraps must be from 1 to 200010; 200011 was given.\n"},
      {{"--bootstrap", "lots"},
       2,
       "Bootstrap\nThe number of bootstraps must be from 1 to 200010; 0 was given.\n"},
      {{"--bootstrap", "10", "--sample-size", "406"},
       2,
       "Bootstrap\nThe sample size must be from 1 to 405; 406 was given.\n"},
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
  fs::remove_all(folder);
}

// psi and FP are rates of a population that grows or shrinks by lambda each time unit: a lambda
// of 0 or below in a life-table file is refused, naming the file and the line.
TEST(CliRunner, ALambdaThatIsNotAboveZeroIsRefused) {
  const fs::path folder = fs::temp_directory_path() / "pellmar_cli_lambda";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name :
       {"lady_beetle.txt", "lady_beetle_10_SASD.txt", "lady_beetle_11_Bootstrap_samples.txt"}) {
    fs::copy_file(fs::path(EXAMPLES_DIR) / name, folder / name);
  }
  const auto in = [&](const char* name) { return (folder / name).string(); };
  const auto replaced = [&](const char* name, const std::string& from, const std::string& to) {
    std::string text = test_support::readFile(folder / name);
    text.replace(text.find(from), from.size(), to);
    const std::string path = in("changed.txt");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return path;
  };
  for (const char* lambda : {"0", "-1.2"}) {
    SCOPED_TRACE(lambda);
    const std::string sasd = replaced("lady_beetle_10_SASD.txt", "1.17869800563379", lambda);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli(*parseCliOptions({"run", in("lady_beetle.txt"), "--sasd", sasd}), out, err),
              1);
    EXPECT_EQ(err.str(), "Read SASD\nThe file " + sasd +
                             ", line 6, the heading: the finite rate "
                             "of increase (lambda) is " +
                             lambda +
                             "; it must be a number above "
                             "0.\n");
  }
  const std::string samples = replaced("lady_beetle_11_Bootstrap_samples.txt",
                                       "\"lambda\",1.18058003118085", "\"lambda\",0");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli(*parseCliOptions({"run", in("lady_beetle.txt"), "--sasd",
                                     in("lady_beetle_10_SASD.txt"), "--same-samples", samples}),
                   out, err),
            1);
  EXPECT_NE(err.str().find("Bootstrap samples\nThe file " + samples +
                           ", line 13, bootstrap sample 1: lambda is 0; the finite rate of "
                           "increase must be a number above 0.\n"),
            std::string::npos)
      << err.str();
  fs::remove_all(folder);
}

}  // namespace
}  // namespace pellmar
