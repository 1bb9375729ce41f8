#pragma once

#include <string>

#include "core/data/study_data.h"

namespace pellmar {

// The three ways the raw data file is read. They follow one grammar and differ in the checks
// they make and in what they store.
enum class StudyReadMode {
  kOpeningCheck,  // the read right after a file is chosen: every check of the data
  kFullRead,      // the read of the Basic Run: also stage totals, T and the end markers
  kLightCheck,    // the "Step 1." check: serial, sex and adult-stage checks only
  // The re-reads of the bootstrap and of the jackknife: stored as the full read, with the
  // serial, sex and adult-stage checks and each command's own message for them.
  kBootstrapRead,
  kJackknifeRead,
};

// Reads the raw data file held in `contents`. The file names and the time unit of `base` are
// kept; every field the file holds is replaced. A fault raises the data file error.
StudyData parseStudy(std::string contents, StudyReadMode mode, const StudyData& base);

// Raises the data file error when there is no file at `path`, or something other than a file
// (a folder, a named pipe, a device).
void requireDataFile(const std::string& path);

// The checks of the opening read that need only the file's first lines: the header and the
// names that become parts of file names. The open step makes them before it creates any file.
void checkStudyHeader(const std::string& path);

// Reads the whole file at `path` into memory; a file that cannot be read raises the data file
// error.
std::string loadDataFile(const std::string& path);

// The opening read with every check.
void checkStudyOnOpen(StudyData& study);
// The full read of the Basic Run (the clock fields are set by the caller).
void readStudyInFull(StudyData& study);
// The light check; the caller shows the confirmation.
void checkStudyOnRequest(StudyData& study);

}  // namespace pellmar
