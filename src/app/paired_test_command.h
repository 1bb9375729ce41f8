#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis.h"
#include "app/dialogs.h"
#include "app/run_record_command.h"
#include "core/data/input_file.h"
#include "core/report/report_output.h"
#include "core/resampling/paired_test.h"

namespace pellmar {

inline constexpr std::string_view kPairedTestTitle = "Paired bootstrap test";

// "Paired bootstrap test": this study's own-samples bootstrap against a second study's. The
// second study is analysed as a run of its own would analyse it (open with this study's time
// unit, Basic Run, Read SASD or Read fecundity when a file is given, an own-samples bootstrap of
// as many replicates with the seed after this one's), its files going beside its data file (or
// into the output folder); then replicate b of this study is paired with replicate b of the
// second.
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
  // The paired test's files beside this study.
  std::vector<std::string> filesWritten;
};

// The second study of a paired test, analysed in memory, and its files, saved but not yet in
// place: the caller commits them with the first study's.
struct SecondStudy {
  Analysis analysis;
  OutputFiles files;
};

// Opens the second study of `request` with the first study's time unit and confidence and runs
// every step before its bootstrap (the Basic Run, then Read SASD or Read fecundity), its files
// saved into its own OutputFiles named after `secondBaseName`, whose lock the caller holds: every
// input of the second study is read and checked. A fault of the second study ends only the
// paired test.
SecondStudy prepareSecondStudy(const PairedTestRequest& request, double timeUnit, double confidence,
                               const std::string& secondBaseName, InputFileReader& reader);

// Draws the second study's bootstrap as `first`'s was drawn (as many replicates, the seed after
// its seed) and pairs replicate b of the two, saving the paired test's files into `firstFiles`.
// A fault ends only the paired test: the first study keeps its results, and nothing of either is
// in place until the caller commits.
PairedTestResult runPairedTest(const Analysis& first, const PairedTestRequest& request,
                               SecondStudy& second, OutputFiles& firstFiles,
                               const ProgressReport& progress = {},
                               const std::stop_token& stop = {});

// Asks for the second study's data file and, when this study read a stable age-stage
// distribution file or a fecundity file, the second study's of the same kind; nullopt when a
// file dialog is cancelled. The second
// study draws replicates of its own cohort's size, unless this bootstrap's sample size was
// chosen apart from this cohort's size: then of that size.
std::optional<PairedTestRequest> askPairedTest(Dialogs& dialogs, const Analysis& first);

// True when two output bases name the same files, however they are spelled ("./x" and "x").
bool sameOutputBase(const std::string& firstBaseName, const std::string& secondBaseName);

// Refuses a second study that writes over the first's files, a sample size out of range, and a
// second study with a SASD file and a fecundity file.
void validate(const PairedTestRequest& request, const std::string& firstBaseName,
              const std::string& secondBaseName);

}  // namespace pellmar
