#pragma once

#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace pellmar {

// Opens the file at `path` (UTF-8) for reading. A file that cannot be opened raises a UserError
// titled `title` with the text "The file <path> cannot be read.", which ends only the command.
std::unique_ptr<std::ifstream> openInputFile(const std::string& path, std::string_view title);

}  // namespace pellmar
