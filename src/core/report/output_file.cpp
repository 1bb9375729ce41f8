#include "core/report/output_file.h"

#include <array>
#include <charconv>

#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "core/user_error.h"

namespace pellmar {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryEnding = ".pellmar-tmp";
constexpr std::size_t kRandomDigits = 16;
// Names drawn before giving up: each clash is a 1 in 2^64 chance, or something in the way.
constexpr int kTemporaryTries = 16;

}  // namespace

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
  if (cause == std::errc::too_many_symbolic_link_levels) {
    return "A link stands at that name, and Pellmar never writes through a link.";
  }
  return error.message() + ".";
}

fs::path newTemporaryPath(const std::string& base) {
  std::array<char, kRandomDigits> hex{};
  hex.fill('0');
  std::array<char, kRandomDigits> digits{};
  const auto end =
      std::to_chars(digits.data(), digits.data() + digits.size(), platform::randomBits64(), 16).ptr;
  const auto count = static_cast<std::size_t>(end - digits.data());
  std::copy_n(digits.data(), count, hex.data() + (kRandomDigits - count));
  return pathFromUtf8(base + ".~" + std::string(hex.data(), hex.size()) +
                      std::string(kTemporaryEnding));
}

bool isTemporaryOf(std::string_view name, std::string_view baseName) {
  const std::size_t length = baseName.size() + 2 + kRandomDigits + kTemporaryEnding.size();
  if (name.size() != length || !name.starts_with(baseName) || !name.ends_with(kTemporaryEnding)) {
    return false;
  }
  const std::string_view middle = name.substr(baseName.size(), 2 + kRandomDigits);
  if (!middle.starts_with(".~")) return false;
  for (const char c : middle.substr(2)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

fs::path writeTemporary(const std::string& base, std::string_view contents,
                        const std::string& target) {
  std::error_code error;
  for (int attempt = 0; attempt < kTemporaryTries; ++attempt) {
    fs::path temporary = newTemporaryPath(base);
    error = platform::writeNewFile(temporary, contents);
    if (!error) return temporary;
    if (error != std::errc::file_exists) {
      std::error_code ignored;
      // A file written in part is ours; anything that was in the way is not touched.
      if (error != std::errc::too_many_symbolic_link_levels) fs::remove(temporary, ignored);
      break;
    }
  }
  throwWriteFailure(target, error);
}

void saveReplacing(const std::string& path, std::string_view contents) {
  const fs::path temporary = writeTemporary(path, contents, path);
  if (const std::error_code error = platform::replaceFile(temporary, pathFromUtf8(path))) {
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
  if (!created && fs::is_symlink(fs::symlink_status(file, error))) {
    throwWriteFailure(path, std::make_error_code(std::errc::too_many_symbolic_link_levels));
  }
  if (!created && !fs::is_regular_file(file, error)) {
    throwWriteFailure(path, error ? error : std::make_error_code(std::errc::is_a_directory));
  }
}

void removeLeftoverTemporaries(const std::string& base) {
  const fs::path basePath = pathFromUtf8(base);
  const std::string baseName = utf8FromPath(basePath.filename());
  fs::path folder = basePath.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = utf8FromPath(entry->path().filename());
    if (!isTemporaryOf(name, baseName)) continue;
    std::error_code ignored;
    if (fs::is_regular_file(fs::symlink_status(entry->path(), ignored))) {
      fs::remove(entry->path(), ignored);
    }
  }
}

bool folderTakesNewFiles(const std::string& base) {
  const fs::path probe = newTemporaryPath(base);
  const std::error_code error = platform::writeNewFile(probe, "");
  std::error_code ignored;
  if (!error) fs::remove(probe, ignored);
  const std::error_condition cause = error.default_error_condition();
  return cause != std::errc::permission_denied && cause != std::errc::operation_not_permitted &&
         cause != std::errc::read_only_file_system;
}

}  // namespace pellmar
