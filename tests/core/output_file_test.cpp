// Replacing an output file: the new text reaches the file whole or not at all, and a failure
// is a "File error" that names the file and ends only the command. The tests run as root,
// whom permission bits do not stop, so they make writing fail by other means: a folder where
// the file or its temporary twin should go, a path under a regular file, and a temporary twin
// that leads to /dev/full, which accepts no byte.
#include "core/report/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "core/user_error.h"
#include "report_test_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;
using test_support::TemporaryFolder;

// The message of the File error that `write` raises; "" when it raises none.
template <typename Write>
std::string fileErrorOf(Write&& write) {
  try {
    write();
  } catch (const UserError& error) {
    EXPECT_EQ(error.title(), "File error");
    EXPECT_FALSE(error.fatal());
    return error.text();
  }
  return "";
}

class SaveReplacing : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.base() + "_report.txt";
    std::ofstream(path_, std::ios::binary) << "good old report\r\n";
  }
  // Every failure below must leave the old file as it was and name the file.
  void expectFailureKeepsTheOldFile(const std::string& message) {
    EXPECT_EQ(message.rfind("Cannot write the file " + path_ + "\n", 0), 0U) << message;
    EXPECT_EQ(readFile(path_), "good old report\r\n");
  }

  TemporaryFolder folder_;
  std::string path_;
};

TEST_F(SaveReplacing, ReplacesTheFileWholeAndLeavesNoTemporaryFile) {
  saveReplacing(path_, "new report\r\n");
  EXPECT_EQ(readFile(path_), "new report\r\n");
  for (const auto& entry : fs::directory_iterator(fs::path(path_).parent_path())) {
    EXPECT_EQ(entry.path().string(), path_);
  }
}

TEST_F(SaveReplacing, ATemporaryFileThatCannotBeCreatedKeepsTheOldFile) {
  fs::create_directory(temporaryPathFor(path_));
  expectFailureKeepsTheOldFile(fileErrorOf([&] { saveReplacing(path_, "new report\r\n"); }));
}

TEST_F(SaveReplacing, AFullDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  fs::create_symlink("/dev/full", temporaryPathFor(path_));
  const std::string message = fileErrorOf([&] { saveReplacing(path_, "new report\r\n"); });
  expectFailureKeepsTheOldFile(message);
  EXPECT_NE(message.find("The disk is full."), std::string::npos);
  EXPECT_FALSE(fs::is_symlink(temporaryPathFor(path_)));
}

TEST_F(SaveReplacing, AFolderStandingWhereTheFileShouldGoIsLeftAsItWas) {
  const std::string path = folder_.base() + "_folder.txt";
  fs::create_directory(path);
  const std::string message = fileErrorOf([&] { saveReplacing(path, "new report\r\n"); });
  EXPECT_EQ(message.rfind("Cannot write the file " + path + "\n", 0), 0U) << message;
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_FALSE(fs::exists(temporaryPathFor(path)));
}

TEST_F(SaveReplacing, AFolderThatCannotBeWrittenNamesTheFile) {
  // A regular file stands where the folder should be: nothing can be created in it.
  const std::string path = path_ + "/figure.txt";
  std::string message = fileErrorOf([&] { saveReplacing(path, "new figure\r\n"); });
  EXPECT_EQ(message.rfind("Cannot write the file " + path + "\n", 0), 0U) << message;
  message = fileErrorOf([&] { createEmptyFileIfAbsent(path); });
  EXPECT_EQ(message.rfind("Cannot write the file " + path + "\n", 0), 0U) << message;
  EXPECT_EQ(readFile(path_), "good old report\r\n");
}

TEST_F(SaveReplacing, FailuresNameTheirCause) {
  const std::string base = fs::path(path_).parent_path().string() + "/";
  const std::string tooLong = base + std::string(300, 'a') + ".txt";
  EXPECT_EQ(fileErrorOf([&] { saveReplacing(tooLong, "x"); }),
            "Cannot write the file " + tooLong + "\nThe file name is too long.");
  EXPECT_EQ(fileErrorOf([&] { createEmptyFileIfAbsent(tooLong); }),
            "Cannot write the file " + tooLong + "\nThe file name is too long.");

  const std::string folder = base + "report_folder.txt";
  fs::create_directory(folder);
  EXPECT_EQ(fileErrorOf([&] { saveReplacing(folder, "x"); }),
            "Cannot write the file " + folder + "\nA folder of that name is in the way.");
  EXPECT_EQ(fileErrorOf([&] { createEmptyFileIfAbsent(folder); }),
            "Cannot write the file " + folder + "\nA folder of that name is in the way.");
}

TEST_F(SaveReplacing, AFolderThatCannotBeWrittenToIsAPermissionFault) {
  // Root may write anywhere, and on Windows the read-only mark of a folder means nothing.
  const fs::path locked = fs::path(path_).parent_path() / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  const bool writable = std::ofstream(locked / "probe.txt").good();
  const std::string inLocked = (locked / "report.txt").string();
  const std::string message = fileErrorOf([&] { saveReplacing(inLocked, "x"); });
  fs::permissions(locked, fs::perms::owner_all);
  if (writable) GTEST_SKIP() << "permissions do not stop this user";
  EXPECT_EQ(message, "Cannot write the file " + inLocked +
                         "\nPermission denied: the folder or the file belongs to someone else or "
                         "is read-only.");
}

TEST(SafeWriting, AResamplingFileThatCannotBeWrittenKeepsTheOldOneAndEndsTheRunWithItsName) {
  TemporaryFolder folder;
  const std::string data = folder.base() + ".txt";
  fs::copy_file(fs::path(TEST_DATA_DIR) / "golden" / "three_stages" / "study.txt", data);
  const std::string report = folder.base() + "_0_Jackknife_Output.txt";
  std::ofstream(report, std::ios::binary) << "last week's jackknife\r\n";
  fs::create_directory(temporaryPathFor(report));

  CliOptions options;
  options.action = CliOptions::Action::kRun;
  options.dataFile = data;
  options.jackknife = true;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli(options, out, err), 1);
  EXPECT_NE(err.str().find("File error\nCannot write the file " + report + "\n"), std::string::npos)
      << err.str();
  EXPECT_EQ(readFile(report), "last week's jackknife\r\n");
  // The Basic Run before it wrote its files.
  EXPECT_TRUE(fs::exists(folder.base() + "_0_Basic_Output.txt"));
  EXPECT_GT(fs::file_size(folder.base() + "_0_Basic_Output.txt"), 0U);
}

}  // namespace
}  // namespace pellmar
