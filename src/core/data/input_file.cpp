#include "core/data/input_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/platform/sha256.h"
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
  if (error == std::errc::filename_too_long) {
    contents.exists = true;
    contents.description = "a path longer than the system allows";
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

std::unique_ptr<std::istream> InputFileReader::open(const std::string& path,
                                                    std::string_view title) {
  if (const auto ahead = openedAhead_.find(path); ahead != openedAhead_.end()) {
    std::unique_ptr<std::istream> stream = std::move(ahead->second);
    openedAhead_.erase(ahead);
    return stream;
  }
  return openFile(path, title);
}

void InputFileReader::openAhead(const std::string& path, std::string_view title) {
  if (!openedAhead_.contains(path)) openedAhead_.emplace(path, openFile(path, title));
}

std::unique_ptr<std::istream> InputFileReader::openFile(const std::string& path,
                                                        std::string_view title) {
  const PathContents contents = inspectPath(path);
  if (contents.exists && !contents.regularFile) {
    throw UserError(std::string(title),
                    "The file " + path + " cannot be read: it is " + contents.description + ".",
                    ErrorKind::kCommandFailed);
  }
  ++opens_[path];
  auto stream = std::make_unique<std::ifstream>(pathFromUtf8(path), std::ios::binary);
  if (!*stream) {
    throw UserError(std::string(title), "The file " + path + " cannot be read.",
                    ErrorKind::kCommandFailed);
  }
  return stream;
}

InputFile InputFileReader::read(const std::string& path, std::string_view title) {
  const std::unique_ptr<std::istream> stream = open(path, title);
  std::ostringstream bytes;
  bytes << stream->rdbuf();
  if (stream->bad()) {
    throw UserError(std::string(title), "The file " + path + " cannot be read.",
                    ErrorKind::kCommandFailed);
  }
  InputFile file{path, std::move(bytes).str(), ""};
  file.sha256 = sha256Of(file.bytes);
  return file;
}

int InputFileReader::opens(const std::string& path) const {
  const auto found = opens_.find(path);
  return found == opens_.end() ? 0 : found->second;
}

}  // namespace pellmar
