#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace pellmar {

// Replaces the file at `path` with `contents`. The text is written to a temporary file in the
// same folder and renamed into place only when it is complete, so a failed write never leaves
// a truncated file where a good one stood. A failure raises a UserError titled "File error"
// that names the file and the cause the system gives.
void saveReplacing(const std::string& path, std::string_view contents);

// Creates the empty file at `path` unless a file of that name exists, which is left as it is;
// used for the basic report, which exists from the moment a data file is opened.
void createEmptyFileIfAbsent(const std::string& path);

// The temporary file saveReplacing() writes before renaming it to `target`: in the same folder,
// so the rename stays one step, and named after this process and the target, so that two
// programs writing the same file at once never write into each other's temporary file.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target);

// Raises the "File error" of a file that cannot be written, with the cause.
[[noreturn]] void throwWriteFailure(const std::string& path, std::error_code error);

// The cause of a failed write as users read it: "Permission denied.", "The disk is full.".
std::string writeFailureCause(std::error_code error);

}  // namespace pellmar
