// Runs that must not cost a file: two runs on one study at once, the files of an earlier run,
// which only a run that finishes may replace, links planted where a run writes, and studies in
// folders that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "read_file.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;

class LostFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(EXAMPLES_DIR) / "lady_beetle.txt", folder_ / "lady_beetle.txt");
  }

  [[nodiscard]] std::string in(const std::string& name) const { return temporary_.file(name); }

  // Runs pellmar-cli with these arguments; standard error goes to `err_`.
  int cli(const std::vector<std::string>& arguments) {
    const auto options = parseCliOptions(arguments);
    EXPECT_TRUE(options);
    std::ostringstream out;
    err_.str("");
    return runCli(*options, out, err_);
  }

  // The folder's files with their contents; a folder or a link as what it is.
  [[nodiscard]] std::vector<std::pair<std::string, std::string>> contents() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const fs::file_status status = entry.symlink_status();
      files.emplace_back(entry.path().filename().string(),
                         fs::is_symlink(status)     ? "link to " + fs::read_symlink(entry).string()
                         : fs::is_directory(status) ? std::string("folder")
                                                    : readFile(entry.path()));
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  test_support::TemporaryFolder temporary_;
  const fs::path& folder_ = temporary_.path();
  std::ostringstream err_;
};

TEST_F(LostFiles, ASecondRunOnTheSameStudyIsRefusedBeforeItTouchesAnything) {
  std::ofstream(folder_ / "lady_beetle_0_Basic_Output.txt", std::ios::binary) << "last week\r\n";
  platform::FileLock otherRun;
  std::error_code error;
  ASSERT_TRUE(otherRun.tryLock(folder_ / "lady_beetle.pellmar-lock", error)) << error.message();
  const auto before = contents();

  const std::vector<std::vector<std::string>> runs = {{"run", in("lady_beetle.txt"), "--jackknife"},
                                                      {"check", in("lady_beetle.txt")}};
  for (const auto& arguments : runs) {
    SCOPED_TRACE(arguments[0]);
    EXPECT_EQ(cli(arguments), 1);
    EXPECT_EQ(err_.str(),
              "Open data file\nAnother Pellmar run is writing the results of lady_beetle.txt; "
              "try again when it has finished.\n");
    EXPECT_EQ(contents(), before);
  }

  // Once the other run has ended its lock file is gone, and the next run goes ahead.
  otherRun.release();
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle.pellmar-lock"));
  EXPECT_EQ(cli({"check", in("lady_beetle.txt")}), 0);
}

TEST_F(LostFiles, ALockFileLeftByAKilledRunIsTakenAndRemoved) {
  std::ofstream(folder_ / "lady_beetle.pellmar-lock", std::ios::binary) << "";
  EXPECT_EQ(cli({"run", in("lady_beetle.txt")}), 0) << err_.str();
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle.pellmar-lock"));
}

TEST_F(LostFiles, NoTwoRunsEverHoldTheLockAtOnce) {
  // Runs that start and end around each other: one that opened the lock file just before its
  // holder deleted it must not take the lock of that deleted file while another run locks the
  // new file at the same path.
  const fs::path lockPath = folder_ / "lady_beetle.pellmar-lock";
  std::atomic<int> holders = 0;
  std::atomic<int> mostAtOnce = 0;
  std::atomic<int> taken = 0;
  const auto run = [&] {
    for (int attempt = 0; attempt < 2000; ++attempt) {
      platform::FileLock lock;
      std::error_code error;
      if (!lock.tryLock(lockPath, error)) continue;
      const int now = ++holders;
      int most = mostAtOnce.load();
      while (now > most && !mostAtOnce.compare_exchange_weak(most, now)) {
      }
      // Hold it a little while (a sleep would last far longer on some systems).
      const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(20);
      while (std::chrono::steady_clock::now() < until) {
      }
      --holders;
      ++taken;
    }
  };
  std::vector<std::thread> runs;
  for (int k = 0; k < 4; ++k) runs.emplace_back(run);
  for (std::thread& thread : runs) thread.join();
  EXPECT_EQ(mostAtOnce.load(), 1);
  EXPECT_GT(taken.load(), 0);
  EXPECT_FALSE(fs::exists(lockPath));
}

TEST_F(LostFiles, TheFilesOfAnEarlierRunSurviveEveryRunThatDoesNotFinish) {
  const std::string report = in("lady_beetle_0_Basic_Output.txt");
  std::ofstream(report, std::ios::binary) << "last week's report\r\n";

  EXPECT_EQ(cli({"check", in("lady_beetle.txt")}), 0);
  EXPECT_EQ(readFile(report), "last week's report\r\n");

  // A data fault: the folder stays as it was, the report of the good data with it.
  const std::string study = readFile(folder_ / "lady_beetle.txt");
  std::string faulty = study;
  faulty.replace(faulty.find("\n1,N,"), 5, "\n1,X,");
  std::ofstream(folder_ / "lady_beetle.txt", std::ios::binary | std::ios::trunc) << faulty;
  auto before = contents();
  EXPECT_EQ(cli({"run", in("lady_beetle.txt")}), 1);
  EXPECT_EQ(contents(), before);

  // A file that cannot be put in place is found before the first one is: nothing changes.
  std::ofstream(folder_ / "lady_beetle.txt", std::ios::binary | std::ios::trunc) << study;
  const fs::path blocked = folder_ / "lady_beetle_Lifelong consumption_All sexes.txt";
  fs::create_directory(blocked);
  before = contents();
  EXPECT_EQ(cli({"run", in("lady_beetle.txt")}), 1);
  EXPECT_EQ(err_.str(), "File error\nCannot write the file " + blocked.string() +
                            "\nA folder of that name is in the way.\n");
  EXPECT_EQ(contents(), before);
}

#ifndef _WIN32
// A name longer than the system allows is named for what it is (Windows counts its paths as a
// whole, against its own limit).
TEST_F(LostFiles, ANameTooLongIsNamedSo) {
  EXPECT_EQ(cli({"check", in(std::string(300, 'd') + ".txt")}), 1);
  EXPECT_NE(err_.str().find("The file name is too long."), std::string::npos) << err_.str();
}
#endif

// Every fault a run can meet is found before its first file is put in place: the contents of
// its inputs, an output name too long for the system, a jackknife of one individual.
TEST_F(LostFiles, EveryRefusedRunLeavesTheFolderByteForByte) {
  for (const char* name : {"lady_beetle_10_SASD.txt", "lady_beetle_11_Bootstrap_samples.txt"}) {
    fs::copy_file(fs::path(EXAMPLES_DIR) / name, folder_ / name);
  }
  std::ofstream(folder_ / "lady_beetle_0_Basic_Output.txt", std::ios::binary) << "last week\r\n";
  std::ofstream(folder_ / "bad_sasd.txt", std::ios::binary) << "\"Stable\"\r\n1,2,x\r\n";
  std::string samples = readFile(folder_ / "lady_beetle_11_Bootstrap_samples.txt");
  samples.resize(samples.size() / 2);
  std::ofstream(folder_ / "short_samples.txt", std::ios::binary) << samples;
  std::ofstream(folder_ / "treatment2.txt", std::ios::binary) << "T\nU\nD\nn\n100\nK\n40\n1,x\n";
  // A base that leaves room for the lock and the temporaries, but not for the longest names.
#ifdef _WIN32
  // Windows counts the whole path against its limit of 259 characters.
  const std::size_t room = 258 - fs::absolute(folder_).wstring().size();
  const std::string longName = std::string(room - 40, 'm') + ".txt";
#else
  const std::string longName = std::string(215, 'm') + ".txt";
#endif
  fs::copy_file(folder_ / "lady_beetle.txt", folder_ / longName);
  std::ofstream(folder_ / "one.txt", std::ios::binary)
      << "P\nU\nD\n1\n1,2\nF,Egg,Adult\nEgg,Egg\n1,F,1,1,-1,2,-1,3,-1\n";
  const auto before = contents();
  const struct {
    std::vector<std::string> arguments;
    int status;
    const char* message;
  } refused[] = {
      {{"run", in("lady_beetle.txt"), "--sasd", in("bad_sasd.txt")}, 1, "bad_sasd.txt"},
      {{"run", in("lady_beetle.txt"), "--sasd", in("lady_beetle_10_SASD.txt"), "--same-samples",
        in("short_samples.txt")},
       1,
       "short_samples.txt"},
      {{"run", in("lady_beetle.txt"), "--bootstrap", "40", "--compare", in("treatment2.txt")},
       1,
       "treatment2.txt"},
      {{"run", in(longName)}, 1, "The file name is too long."},
      {{"run", in("one.txt"), "--jackknife"}, 2, "The jackknife needs from 2 to 400 individuals"},
  };
  for (const auto& run : refused) {
    SCOPED_TRACE(run.arguments.back());
    EXPECT_EQ(cli(run.arguments), run.status);
    EXPECT_NE(err_.str().find(run.message), std::string::npos) << err_.str();
    EXPECT_EQ(contents(), before);
  }
}

#ifndef _WIN32
// Links planted at the names a run creates or replaces never take a write out of the folder:
// the lock is never opened through one, and a result file replaces the link, not its target.
// (Windows lets only administrators make links; its reparse points take the same way in the
// platform layer.)
TEST_F(LostFiles, LinksPlantedWhereARunWritesRedirectNothing) {
  const fs::path outside = folder_ / "outside";
  fs::create_directory(outside);
  const fs::path victim = outside / "victim.txt";
  std::ofstream(victim, std::ios::binary) << "keep me\r\n";

  fs::create_symlink(victim, folder_ / "lady_beetle.pellmar-lock");
  EXPECT_EQ(cli({"run", in("lady_beetle.txt")}), 1);
  EXPECT_EQ(err_.str(), "File error\nCannot write the file " + in("lady_beetle.pellmar-lock") +
                            "\nA link stands at that name, and Pellmar never writes through a "
                            "link.\n");
  EXPECT_EQ(readFile(victim), "keep me\r\n");
  EXPECT_FALSE(fs::exists(folder_ / "lady_beetle_0_Basic_Output.txt"));
  fs::remove(folder_ / "lady_beetle.pellmar-lock");

  // The empty report that check creates is not created through a link either, one that points
  // nowhere included, and the message says so.
  fs::create_symlink(outside / "absent.txt", folder_ / "lady_beetle_0_Basic_Output.txt");
  EXPECT_EQ(cli({"check", in("lady_beetle.txt")}), 1);
  EXPECT_EQ(err_.str(), "File error\nCannot write the file " +
                            in("lady_beetle_0_Basic_Output.txt") +
                            "\nA link stands at that name, and Pellmar never writes through a "
                            "link.\n");
  EXPECT_FALSE(fs::exists(outside / "absent.txt"));
  fs::remove(folder_ / "lady_beetle_0_Basic_Output.txt");

  // At the names of result files, of a temporary a dead run left, and one pointing nowhere.
  for (const char* name : {"lady_beetle_0_Basic_Output.txt", "lady_beetle_summary.csv",
                           "lady_beetle.~00000000deadbeef.pellmar-tmp"}) {
    fs::create_symlink(victim, folder_ / name);
  }
  fs::create_symlink(outside / "absent.txt", folder_ / "lady_beetle_run.json");
  EXPECT_EQ(cli({"run", in("lady_beetle.txt")}), 0) << err_.str();
  EXPECT_EQ(readFile(victim), "keep me\r\n");
  EXPECT_FALSE(fs::exists(outside / "absent.txt"));
  for (const char* name :
       {"lady_beetle_0_Basic_Output.txt", "lady_beetle_summary.csv", "lady_beetle_run.json"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder_ / name))) << name;
  }
  // A run removes only files it could have left; a link it never made stays as it is.
  EXPECT_TRUE(fs::is_symlink(folder_ / "lady_beetle.~00000000deadbeef.pellmar-tmp"));
  EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
}

// A study in a folder that cannot be written, as the examples a package installs: --output-dir
// takes every output and the lock elsewhere.
TEST_F(LostFiles, AStudyInAFolderThatCannotBeWrittenIsAnalysedIntoAnotherFolder) {
  const fs::path output = folder_ / "results";
  fs::create_directory(output);
  fs::permissions(output, fs::perms::all);
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec);
  const auto runAsUser = [&](const std::vector<std::string>& arguments) {
    return test_support::runUnprivileged([&] {
      std::ostringstream out;
      std::ostringstream err;
      return runCli(*parseCliOptions(arguments), out, err);
    });
  };
  const auto before = contents();
  EXPECT_EQ(runAsUser({"run", in("lady_beetle.txt")}), 1);
  EXPECT_EQ(runAsUser({"run", in("lady_beetle.txt"), "--output-dir", output.string()}), 0);
  fs::permissions(folder_, fs::perms::owner_all);
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(readFile(output / "lady_beetle_0_Basic_Output.txt"),
            readFile(fs::path(TEST_DATA_DIR) / "golden/lady_beetle/expected/_0_Basic_Output.txt"));
  EXPECT_FALSE(fs::exists(output / "lady_beetle.pellmar-lock"));
}
#endif

TEST_F(LostFiles, TheOpenStepCreatesTheEmptyReportOnlyWhenThereIsNone) {
  EXPECT_EQ(cli({"check", in("lady_beetle.txt")}), 0);
  EXPECT_EQ(fs::file_size(in("lady_beetle_0_Basic_Output.txt")), 0U);
}

// The small cohort with stage-name line 1 as given.
std::string cohortNamed(const std::string& firstNameLine) {
  return "Moth\nAnn\n2026-01-02\n3\n3,4\n" + firstNameLine +
         "\nM,Egg,Larva,Pupa,Male\nN,Egg,Larva,Pupa,Unknown\nEgg,Larva\n"
         "1,F,1,2,1,2,-1,4,6,-1,-1,10,12,-1\n"
         "2,M,1,1,1,3,-1,5,-1,-1,8,8,8,-1\n"
         "3,N,1,-2,-1,3,3,-1\n";
}

TEST_F(LostFiles, StageNamesThatCannotNameFilesAreRefusedBeforeAnyFileIsTouched) {
  const struct {
    const char* names;
    const char* message;
  } refused[] = {
      {"F,Egg,La/rva,Pupa,Female",
       "line 6, the stage-name lines: stage 2 (\"La/rva\") holds \"/\", which cannot be part of "
       "a file name; stage names and sex codes are written in file names, so they may not hold "
       "/ \\ : * ? \" < > | or control characters."},
      {"F,Egg,Larva,Pupa,Fe\tmale", "stage 4 (\"Fe\\x09male\") holds \"\\x09\""},
      {"F?,Egg,Larva,Pupa,Female", "the sex code \"F?\" of stage-name line 1 holds \"?\""},
      {"F,Instar1,instar2,Pupa,Female",
       "line 6, the stage-name lines: stages 1 and 2 (\"Instar1\", \"instar2\") are both "
       "written as \"Inst\" in file names and table headings; give them names that differ in "
       "their first four characters."},
  };
  for (const auto& study : refused) {
    SCOPED_TRACE(study.names);
    std::ofstream(folder_ / "moth.txt", std::ios::binary | std::ios::trunc)
        << cohortNamed(study.names);
    const auto before = contents();
    EXPECT_EQ(cli({"run", in("moth.txt")}), 1);
    EXPECT_NE(err_.str().find(study.message), std::string::npos) << err_.str();
    EXPECT_EQ(err_.str().rfind("Error in data file\n", 0), 0U);
    EXPECT_EQ(contents(), before);
  }
}

TEST_F(LostFiles, AnsiStageNamesBecomeUtf8InFileNamesAndStayAsTheyAreInReports) {
  std::ofstream(folder_ / "moth.txt", std::ios::binary)
      << cohortNamed("F,\xC9uf,L\xE4rve,Pupa,Female");
  EXPECT_EQ(cli({"run", in("moth.txt")}), 0) << err_.str();
  EXPECT_TRUE(fs::exists(folder_ / pathFromUtf8("moth_W_L\xC3\xA4rv_All sexes_consumption.txt")));
  EXPECT_NE(readFile(folder_ / "moth_0_Basic_Output.txt").find("L\xE4rv"), std::string::npos);
}

}  // namespace
}  // namespace pellmar
