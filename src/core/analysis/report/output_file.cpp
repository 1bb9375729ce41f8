#include "core/analysis/report/output_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/platform/utf8_path.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void failWrite(const std::string& path, std::string_view reason) {
  throwFileError("Cannot write the file " + path + "\n" + std::string(reason));
}

}  // namespace

void saveReplacing(const std::string& path, std::string_view contents) {
  const fs::path target = pathFromUtf8(path);
  fs::path temporary = target;
  temporary += ".pellmar-tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) failWrite(path, "The folder cannot be written to.");
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      failWrite(path, "The disk may be full.");
    }
  }
  std::error_code error;
  fs::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    failWrite(path, error.message());
  }
}

void createEmptyFile(const std::string& path) {
  std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
  if (!out) failWrite(path, "The folder cannot be written to.");
}

}  // namespace pellmar
