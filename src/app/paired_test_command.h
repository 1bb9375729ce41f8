#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs.h"
#include "app/run_record_command.h"
#include "core/resampling/paired_test.h"
#include "core/session.h"

namespace pellmar {

inline constexpr std::string_view kPairedTestTitle = "Paired bootstrap test";

// "Paired bootstrap test": this study's own-samples bootstrap against a second study's. The
// second study is run in a session of its own as a run of its own would run it (open with this
// study's time unit, Basic Run, Read SASD when a file is given, an own-samples bootstrap of as
// many replicates with the seed after this one's), writing its files beside its data file; then
// replicate b of this study is paired with replicate b of the second.
struct PairedTestRequest {
  std::string secondDataFile;
  std::optional<std::string> secondSasdFile;
  // The eggs of the second study's females: its replicates compute their own life tables.
  std::optional<std::string> secondFecundityFile;
  // The individuals drawn per replicate of the second study; its own cohort size when not given.
  std::optional<int> secondSampleSize;
  // How the second study's run record names the front end and its arguments.
  RunRecordRequest secondRecord;
};

struct PairedTestResult {
  PairedTest test;
  int replicates = 0;
  std::uint64_t secondSeed = 0;
  // The paired test's files beside this study, then the second study's own files.
  std::vector<std::string> filesWritten;
  std::vector<std::string> secondFilesWritten;
};

// Asks for the second study's data file and, when this study read a stable age-stage
// distribution file or a fecundity file, the second study's of the same kind; nullopt when a
// file dialog is cancelled. The second
// study draws replicates of its own cohort's size, unless this bootstrap's sample size was
// chosen apart from this cohort's size: then of that size.
std::optional<PairedTestRequest> askPairedTest(Dialogs& dialogs, const Session& first);

// True when the two data files would write their results under one output base name (the same
// file twice, or "x.txt" and "x.dat" in one folder).
bool sameOutputBase(const std::string& firstDataFile, const std::string& secondDataFile);

// Refuses a second study that writes over the first's files, a sample size out of range, and
// files that cannot be read.
void validate(const PairedTestRequest& request, const std::string& firstDataFile);

}  // namespace pellmar
