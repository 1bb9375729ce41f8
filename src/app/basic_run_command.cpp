#include "app/basic_run_command.h"

#include <algorithm>

#include "app/program.h"
#include "core/analysis/basic_run.h"
#include "core/data/study_reader.h"
#include "core/exports/consumption_exports.h"
#include "core/report/output_file.h"

namespace pellmar {

BasicRunResult Program::run(const BasicRunRequest& /*request*/) {
  return guarded([&] {
    BasicRunResult result;
    const std::size_t filesBefore = session_.writtenFiles.size();
    if (!session_.basic.basicRunDone) {
      commands_.disable(Command::kOpenDataFile);
      // A failed write leaves the run undone, so the user can free the folder and run again.
      const ReportWriter reportBefore = session_.basicReport;
      const bool reportOpenBefore = session_.basicReportOpen;
      const ReportCounters countersBefore = session_.counters;
      try {
        analyseStudy(result);
      } catch (const UserError& error) {
        if (!error.fatal()) {
          session_.basicReport = reportBefore;
          session_.basicReportOpen = reportOpenBefore;
          session_.counters = countersBefore;
        }
        throw;
      }
      result.analysed = true;
    }
    session_.basic.basicRunDone = true;
    // Whichever of the two sources of the stable age-stage distribution has been used stays the
    // only one this run can use again.
    const bool fromFecundity = session_.lifeTable.has_value();
    commands_.enable(Command::kReadSasd, !fromFecundity);
    commands_.enable(Command::kReadFecundity, fromFecundity || !session_.predation.sasdDone);
    if (result.analysed) {
      writeSummary();
      result.filesWritten = filesWrittenSince(filesBefore);
    }
    if (session_.basicReportOpen) {
      closeBasicReport();
      result.filesWritten.insert(result.filesWritten.begin(), session_.study.basicOutputFileName);
    }
    return result;
  });
}

void Program::analyseStudy(BasicRunResult& result) {
  const ClockReading now = clock_();
  StudyData& study = session_.study;
  study.runStartHour = now.hour;
  study.runStartMinute = now.minute;
  study.runStartSecond = now.second;
  readStudyInFull(study);
  if (!runBasicRunSteps(session_)) result.warning = Notice{"Basic Run", "Error!!!!"};
  // The report is complete: it replaces the old one now, so that an export failing below
  // cannot cost it.
  closeBasicReport();
  for (const Command command :
       {Command::kLarge, Command::kJackknife, Command::kMeans, Command::kResults,
        Command::kOutputFiles, Command::kFigureFrame, Command::kBootstrap}) {
    commands_.enable(command);
  }
  commands_.show(Command::kBootstrap);
  commands_.show(Command::kCompare);
  commands_.focus(Command::kShowSxj);
  OutputFiles files = session_.outputFiles();
  writeNumberedStageConsumptionFiles(session_, files);
  writeTukeyKramerConsumptionFiles(session_, files);
}

void Program::closeBasicReport() {
  if (!session_.basicReportOpen) return;
  const std::string& path = session_.study.basicOutputFileName;
  saveReplacing(path, session_.basicReport.contents());
  session_.basicReportOpen = false;
  auto& files = session_.writtenFiles;
  files.erase(std::remove(files.begin(), files.end(), path), files.end());
  files.insert(files.begin(), path);
}

}  // namespace pellmar
