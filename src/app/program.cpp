#include "app/program.h"

#include "core/analysis/report/output_file.h"
#include "core/data/study_reader.h"

namespace pellmar {

Program::Program(std::function<ClockReading()> clock) : clock_(std::move(clock)) {}

void Program::end() {
  // Every open file is closed; the basic report stays on disk as it was created.
  session_.basicReportOpen = false;
  ended_ = true;
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
    StudyData& study = session_.study;
    study.timeUnit = request.timeUnit;
    study.dataFileName = request.dataFile;
    study.outputBaseName = outputBaseNameFor(request.dataFile);
    session_.recordInput(request.dataFile);
    study.basicOutputFileName = study.outputBaseName + "_0_Basic_Output.txt";
    createEmptyFile(study.basicOutputFileName);
    session_.basicReport = ReportWriter{};
    session_.basicReportOpen = true;

    commands_.enable(Command::kBasicRun);
    commands_.focus(Command::kBasicRun);
    commands_.disable(Command::kJackknife);
    commands_.disable(Command::kOpenDataFile);
    commands_.enable(Command::kCheckDataFile);

    checkStudyOnOpen(study);
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
