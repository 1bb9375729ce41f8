// Replacing an output file: the new text reaches the file whole or not at all, and a failure
// is a "File error" that names the file and ends only the command.
#include "core/report/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/user_error.h"
#include "report_test_support.h"
#include "support/unprivileged.h"

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

TEST_F(SaveReplacing, AFolderStandingWhereTheFileShouldGoIsLeftAsItWas) {
  const std::string path = folder_.base() + "_folder.txt";
  fs::create_directory(path);
  const std::string message = fileErrorOf([&] { saveReplacing(path, "new report\r\n"); });
  EXPECT_EQ(message.rfind("Cannot write the file " + path + "\n", 0), 0U) << message;
  EXPECT_TRUE(fs::is_directory(path));
  for (const auto& entry : fs::directory_iterator(folder_.path())) {
    EXPECT_EQ(entry.path().string().find(".pellmar-tmp"), std::string::npos) << entry.path();
  }
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

#ifndef _WIN32
// On Windows the read-only mark of a folder means nothing.
TEST_F(SaveReplacing, AFolderThatCannotBeWrittenToIsAPermissionFault) {
  const fs::path locked = fs::path(path_).parent_path() / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  const std::string inLocked = (locked / "report.txt").string();
  const std::string expected = "Cannot write the file " + inLocked +
                               "\nPermission denied: the folder or the file belongs to someone "
                               "else or is read-only.";
  EXPECT_EQ(test_support::runUnprivileged([&] {
              return fileErrorOf([&] { saveReplacing(inLocked, "x"); }) == expected ? 0 : 1;
            }),
            0);
  // The desktop asks for another folder for the results of a study in such a folder.
  EXPECT_EQ(test_support::runUnprivileged(
                [&] { return folderTakesNewFiles((locked / "study").string()) ? 1 : 0; }),
            0);
  EXPECT_TRUE(folderTakesNewFiles(folder_.base()));
  EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 0);
  fs::permissions(locked, fs::perms::owner_all);
}
#endif

}  // namespace
}  // namespace pellmar
