#pragma once

#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace pellmar {

// What a path names, before a reader opens it: only a regular file (or a link to one) is read. A
// folder would read as an empty file, and a named pipe or a device could keep the reader waiting
// for ever.
struct PathContents {
  bool exists = false;
  bool regularFile = false;
  std::string description;  // what stands there otherwise: "a folder", "a named pipe", ...
};
PathContents inspectPath(const std::string& path);

// Opens the file at `path` (UTF-8) for reading. A file that cannot be opened raises a UserError
// titled `title` with the text "The file <path> cannot be read.", and something other than a
// file says what it is; either ends only the command.
std::unique_ptr<std::ifstream> openInputFile(const std::string& path, std::string_view title);

}  // namespace pellmar
