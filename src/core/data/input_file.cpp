#include "core/data/input_file.h"

#include <filesystem>

#include "core/platform/utf8_path.h"
#include "core/user_error.h"

namespace pellmar {

namespace fs = std::filesystem;

PathContents inspectPath(const std::string& path) {
  const fs::path file = pathFromUtf8(path);
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  PathContents contents;
  if (error == std::errc::too_many_symbolic_link_levels) {
    contents.exists = true;
    contents.description = "a link that leads round in a circle";
    return contents;
  }
  contents.exists = fs::exists(status);
  switch (status.type()) {
    case fs::file_type::regular:
      contents.regularFile = true;
      break;
    case fs::file_type::directory:
      contents.description = "a folder";
      break;
    case fs::file_type::fifo:
      contents.description = "a named pipe";
      break;
    case fs::file_type::socket:
      contents.description = "a socket";
      break;
    case fs::file_type::block:
    case fs::file_type::character:
      contents.description = "a device";
      break;
    default:
      contents.description = "not a regular file";
      break;
  }
  return contents;
}

std::unique_ptr<std::ifstream> openInputFile(const std::string& path, std::string_view title) {
  const PathContents contents = inspectPath(path);
  if (contents.exists && !contents.regularFile) {
    throw UserError(std::string(title),
                    "The file " + path + " cannot be read: it is " + contents.description + ".",
                    ErrorKind::kCommandFailed);
  }
  auto stream = std::make_unique<std::ifstream>(pathFromUtf8(path), std::ios::binary);
  if (!*stream) {
    throw UserError(std::string(title), "The file " + path + " cannot be read.",
                    ErrorKind::kCommandFailed);
  }
  return stream;
}

}  // namespace pellmar
