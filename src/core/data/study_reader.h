#pragma once

#include <string>

#include "core/data/input_file.h"
#include "core/data/study.h"

namespace pellmar {

// Reads the raw data file at `path` through `reader`. A path that names no file, or something
// other than a file (a folder, a named pipe, a device), or a file that cannot be read raises the
// data file error.
InputFile readDataFile(InputFileReader& reader, const std::string& path);

// The checks that need only the file's first lines: the header and the names that become parts
// of file names. The open step makes them before it creates any file.
void checkStudyHeader(const InputFile& file);

// Reads and checks the whole study: every check of the data, every record stored with the
// age-stage consumption totals. `timeUnit` is the length of one time unit in days, and every
// output file's name begins with `outputBaseName`. A fault raises the data file error; a span
// line naming no stage is a warning in study.warnings.
Study readStudy(const InputFile& file, double timeUnit, std::string outputBaseName);

}  // namespace pellmar
