#include "app/program.h"

#include "core/data/study_reader.h"
#include "core/platform/utf8_path.h"
#include "core/report/output_file.h"

namespace pellmar {

Program::Program(std::function<ClockReading()> clock) : clock_(std::move(clock)) {}

void Program::end() {
  // Every open file is closed; the basic report stays on disk as it was created.
  session_.basicReportOpen = false;
  resultsLock_.release();
  ended_ = true;
}

platform::FileLock Program::lockResults(const std::string& dataFile, const std::string& baseName) {
  if (resultsLock_.held() && resultsLock_.path() == pathFromUtf8(baseName + ".pellmar-lock")) {
    return std::move(resultsLock_);
  }
  return lockResultsOf(dataFile, baseName);
}

platform::FileLock lockResultsOf(const std::string& dataFile, const std::string& baseName) {
  const std::string lockFile = baseName + ".pellmar-lock";
  const std::filesystem::path lockPath = pathFromUtf8(lockFile);
  platform::FileLock lock;
  std::error_code error;
  if (!lock.tryLock(lockPath, error)) {
    if (error) throwWriteFailure(lockFile, error);
    throw UserError("Open data file",
                    "Another Pellmar run is writing the results of " +
                        utf8FromPath(pathFromUtf8(dataFile).filename()) +
                        "; try again when it has finished.",
                    ErrorKind::kCommandFailed);
  }
  return lock;
}

void Program::disableChartCommands() {
  for (const Command command : kChartCommands) commands_.disable(command);
  commands_.disable(Command::kShowFecundity);
}

void Program::writeSummary() {
  OutputFiles files = session_.outputFiles();
  writeSummaryFile(summary(), files);
}

std::vector<std::string> Program::filesWrittenSince(std::size_t before) const {
  const auto& files = session_.writtenFiles;
  return {files.begin() + static_cast<std::ptrdiff_t>(std::min(before, files.size())), files.end()};
}

OpenResult Program::run(const OpenRequest& request) {
  return guarded([&] {
    validate(request);
    const std::string baseName = outputBaseNameFor(request.dataFile);
    // Taken before any file is touched, and kept only when the open step succeeds: a refused
    // or failed open leaves the folder to other runs.
    platform::FileLock lock = lockResults(request.dataFile, baseName);
    // Names that cannot become file names are refused before any file is created.
    checkStudyHeader(request.dataFile);
    StudyData& study = session_.study;
    study.timeUnit = request.timeUnit;
    study.dataFileName = request.dataFile;
    study.outputBaseName = baseName;
    session_.recordInput(request.dataFile);
    study.basicOutputFileName = study.outputBaseName + "_0_Basic_Output.txt";
    // Yesterday's report stays until the Basic Run has a complete new one to put in its place.
    createEmptyFileIfAbsent(study.basicOutputFileName);
    session_.basicReport = ReportWriter{};
    session_.basicReportOpen = true;

    commands_.enable(Command::kBasicRun);
    commands_.focus(Command::kBasicRun);
    commands_.disable(Command::kJackknife);
    commands_.disable(Command::kOpenDataFile);
    commands_.enable(Command::kCheckDataFile);

    checkStudyOnOpen(study);
    resultsLock_ = std::move(lock);
    return OpenResult{study.basicOutputFileName, study.individualCount};
  });
}

CheckResult Program::run(const CheckRequest& /*request*/) {
  return guarded([&] {
    constexpr const char* kTitle = "Check data file";
    if (session_.study.dataFileName.empty()) {
      throw UserError(kTitle, "Please open a data file first.", ErrorKind::kInvalidRequest);
    }
    checkStudyOnRequest(session_.study);
    return CheckResult{Notice{kTitle, "It looks OK."}};
  });
}

}  // namespace pellmar
