#include "core/report/output_file.h"

#include <array>
#include <charconv>
#include <functional>

#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "core/user_error.h"

namespace pellmar {
namespace fs = std::filesystem;

void throwWriteFailure(const std::string& path, std::error_code error) {
  throwFileError("Cannot write the file " + path + "\n" + writeFailureCause(error));
}

std::string writeFailureCause(std::error_code error) {
  const std::error_condition cause = error.default_error_condition();
  if (cause == std::errc::permission_denied || cause == std::errc::operation_not_permitted) {
    return "Permission denied: the folder or the file belongs to someone else or is read-only.";
  }
  if (cause == std::errc::filename_too_long) return "The file name is too long.";
  if (cause == std::errc::invalid_argument || cause == std::errc::illegal_byte_sequence) {
    return "The file system does not accept this file name.";
  }
  if (cause == std::errc::no_space_on_device || cause == std::errc::file_too_large) {
    return "The disk is full.";
  }
  if (cause == std::errc::read_only_file_system) return "The file system is read-only.";
  if (cause == std::errc::no_such_file_or_directory || cause == std::errc::not_a_directory) {
    return "The folder does not exist.";
  }
  if (cause == std::errc::is_a_directory) return "A folder of that name is in the way.";
  return error.message() + ".";
}

fs::path temporaryPathFor(const fs::path& target) {
  // The name leaves out the target's own, which may be as long as the system allows.
  const std::size_t nameHash = std::hash<std::string>{}(utf8FromPath(target.filename()));
  std::array<char, 24> hex{};
  const auto end = std::to_chars(hex.data(), hex.data() + hex.size(), nameHash, 16).ptr;
  const std::string name = "~" + std::to_string(platform::processId()) + "-" +
                           std::string(hex.data(), end) + ".pellmar-tmp";
  return target.parent_path() / pathFromUtf8(name);
}

void saveReplacing(const std::string& path, std::string_view contents) {
  const fs::path target = pathFromUtf8(path);
  const fs::path temporary = temporaryPathFor(target);
  std::error_code error = platform::writeFile(temporary, contents);
  if (!error) error = platform::replaceFile(temporary, target);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throwWriteFailure(path, error);
  }
}

void createEmptyFileIfAbsent(const std::string& path) {
  const fs::path file = pathFromUtf8(path);
  bool created = false;
  if (const std::error_code error = platform::createFileIfAbsent(file, created)) {
    throwWriteFailure(path, error);
  }
  std::error_code error;
  if (!created && !fs::is_regular_file(file, error)) {
    throwWriteFailure(path, error ? error : std::make_error_code(std::errc::is_a_directory));
  }
}

}  // namespace pellmar
