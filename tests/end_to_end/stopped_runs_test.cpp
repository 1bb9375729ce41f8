// pellmar-cli ended before its time, as a process: killed during the renames of its commit (a
// test setting stands in for SIGKILL after k renames), and stopped by SIGTERM at any moment.
// The folder then holds each file whole, old or new, and a stopped run leaves the old files as
// they were.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "read_file.h"
#include "support/temp_folder.h"

extern char** environ;

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;

// Every file of a folder with its contents.
std::map<std::string, std::string> filesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = readFile(entry.path());
  }
  return files;
}

// pellmar-cli run on the study in `folder` with a bootstrap of `seed`, as a process of its own;
// `environment` is added to this process's.
pid_t startRun(const fs::path& folder, const std::string& seed,
               const std::vector<std::string>& environment = {}) {
  std::vector<std::string> arguments{PELLMAR_CLI_PROGRAM,
                                     "run",
                                     (folder / "study.txt").string(),
                                     "--bootstrap",
                                     "2000",
                                     "--seed",
                                     seed,
                                     "--quiet"};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> variables(environment);
  for (char** variable = environ; *variable != nullptr; ++variable)
    variables.emplace_back(*variable);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  pid_t child = 0;
  EXPECT_EQ(posix_spawn(&child, PELLMAR_CLI_PROGRAM, nullptr, nullptr, argv.data(), envp.data()),
            0);
  return child;
}

// The exit status of a run, or 128 + the signal that ended it.
int waitFor(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class StoppedRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const fs::path& folder : {old_.path(), new_.path()}) {
      fs::copy_file(fs::path(EXAMPLES_DIR) / "lady_beetle.txt", folder / "study.txt");
    }
    ASSERT_EQ(waitFor(startRun(old_.path(), "1")), 0);
    ASSERT_EQ(waitFor(startRun(new_.path(), "2")), 0);
    oldFiles_ = filesIn(old_.path());
    newFiles_ = filesIn(new_.path());
  }

  // A copy of the folder of the old run.
  void copyOldRunTo(const fs::path& folder) const {
    fs::remove_all(folder);
    fs::copy(old_.path(), folder);
  }

  test_support::TemporaryFolder old_{"_old"};
  test_support::TemporaryFolder new_{"_new"};
  test_support::TemporaryFolder work_{"_work"};
  std::map<std::string, std::string> oldFiles_;
  std::map<std::string, std::string> newFiles_;
};

TEST_F(StoppedRuns, AKillDuringTheRenamesLeavesEveryFileWholeOldOrNew) {
  ASSERT_EQ(oldFiles_.size(), newFiles_.size());
  const std::size_t written = newFiles_.size() - 1;  // all but the data file
  for (const std::size_t renamed : {std::size_t{0}, std::size_t{1}, written / 2, written}) {
    SCOPED_TRACE(renamed);
    const fs::path folder = work_.path() / "study";
    copyOldRunTo(folder);
    const std::string setting = "PELLMAR_TEST_STOP_AFTER_RENAMES=" + std::to_string(renamed);
    EXPECT_EQ(waitFor(startRun(folder, "2", {setting})), 137);
    std::size_t temporaries = 0;
    bool newRecord = false;
    for (const auto& [name, contents] : filesIn(folder)) {
      if (name.ends_with(".pellmar-tmp")) {
        ++temporaries;
      } else if (name == "study_run.json") {
        newRecord = contents != oldFiles_.at(name);
      } else if (name != "study.pellmar-lock") {  // the dead run's, taken by the next run
        ASSERT_TRUE(oldFiles_.contains(name)) << name;
        EXPECT_TRUE(contents == oldFiles_.at(name) || contents == newFiles_.at(name))
            << name << " is torn";
      }
    }
    EXPECT_EQ(temporaries, written - renamed);
    // The run record is renamed last: it names the run that last finished.
    EXPECT_EQ(newRecord, renamed == written);

    // The next run takes the lock the dead one left and removes its temporaries.
    EXPECT_EQ(waitFor(startRun(folder, "2")), 0);
    for (const auto& [name, contents] : filesIn(folder)) {
      EXPECT_FALSE(name.ends_with(".pellmar-tmp")) << name;
      if (name != "study_run.json") {
        EXPECT_EQ(contents, newFiles_.at(name)) << name;
      }
    }
  }
}

TEST_F(StoppedRuns, SigtermAtAnyMomentLeavesTheOldFilesOrFinishes) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(waitFor(startRun(new_.path(), "2")), 0);
  const auto length = std::chrono::steady_clock::now() - started;
  std::mt19937 random(20261206);
  std::uniform_int_distribution<long long> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(length).count());
  int stopped = 0;
  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE(run);
    const fs::path folder = work_.path() / "study";
    copyOldRunTo(folder);
    const pid_t child = startRun(folder, "2");
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    kill(child, SIGTERM);
    const int status = waitFor(child);
    const std::map<std::string, std::string> files = filesIn(folder);
    if (status == 0) {
      // The request came once the files were going in place: the run finished.
      for (const auto& [name, contents] : files) {
        if (name != "study_run.json") {
          EXPECT_EQ(contents, newFiles_.at(name)) << name;
        }
      }
    } else {
      // 143 from the run, or the signal itself before the run watched for it.
      EXPECT_EQ(status, 143);
      EXPECT_EQ(files, oldFiles_);
      ++stopped;
    }
  }
  EXPECT_GT(stopped, 0);
}

}  // namespace
}  // namespace pellmar
#endif
