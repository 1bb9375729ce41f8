#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace pellmar {

// A temporary file of the files named after `base` (an output base, or a file's own path):
// "<base>.~<16 hex digits>.pellmar-tmp", in the folder of `base`, so that a rename puts it in
// place in one step, with 64 random bits from the system so that nobody can plant anything at
// the name beforehand.
std::filesystem::path newTemporaryPath(const std::string& base);

// True when `name` (a file name without its folder) is a temporary of `baseName` (an output
// base's file name without its folder): the base, ".~", 16 hexadecimal digits, ".pellmar-tmp".
bool isTemporaryOf(std::string_view name, std::string_view baseName);

// Writes `contents` into a new temporary file of `base`, created exclusively and never through a
// link (another name is drawn when one is taken). A failure raises the "File error" of
// `target`, the file the temporary stands for.
std::filesystem::path writeTemporary(const std::string& base, std::string_view contents,
                                     const std::string& target);

// Replaces the file at `path` with `contents`. The text is written to a temporary file of the
// same folder and renamed into place only when it is complete, so a failed write never leaves
// a truncated file where a good one stood. A failure raises a UserError titled "File error"
// that names the file and the cause the system gives.
void saveReplacing(const std::string& path, std::string_view contents);

// Creates the empty file at `path` unless a file of that name exists, which is left as it is;
// used for the basic report, which exists from the moment a data file is opened.
void createEmptyFileIfAbsent(const std::string& path);

// Removes the temporaries of `base` that a run which ended without finishing left behind. Only
// a run that holds the lock of `base` may call it: no other run can be writing them then.
// Nothing else is touched.
void removeLeftoverTemporaries(const std::string& base);

// False when the folder of `base` takes no new file because it or its file system is read-only
// (or this user may not write there): a probe file is created and removed at once.
bool folderTakesNewFiles(const std::string& base);

// Raises the "File error" of a file that cannot be written, with the cause.
[[noreturn]] void throwWriteFailure(const std::string& path, std::error_code error);

// The cause of a failed write as users read it: "Permission denied.", "The disk is full.".
std::string writeFailureCause(std::error_code error);

}  // namespace pellmar
