#pragma once

#include <string>
#include <string_view>

namespace pellmar {

// Replaces the file at `path` with `contents`. The text is written to a temporary file in the
// same folder and renamed into place only when it is complete, so a failed write never leaves
// a truncated file where a good one stood. A failure raises a UserError naming the file.
void saveReplacing(const std::string& path, std::string_view contents);

// Creates (or empties) the file at `path`; used for the basic report, which exists empty from
// the moment a data file is opened.
void createEmptyFile(const std::string& path);

}  // namespace pellmar
