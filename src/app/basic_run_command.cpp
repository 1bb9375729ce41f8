#include <algorithm>

#include "app/program.h"
#include "core/analysis/basic_run.h"
#include "core/analysis/report/output_file.h"
#include "core/data/study_reader.h"
#include "core/exports/consumption_exports.h"

namespace pellmar {

void Program::readStudyForBasicRun() {
  const ClockReading now = dialogs_.clock();
  session_.study.runStartHour = now.hour;
  session_.study.runStartMinute = now.minute;
  session_.study.runStartSecond = now.second;
  readStudyInFull(session_.study);
}

void Program::basicRun() {
  guarded([&] {
    if (!session_.basic.basicRunDone) {
      commands_.disable(Command::kOpenDataFile);
      // A failed write leaves the run undone, so the user can free the folder and press again.
      const ReportWriter reportBefore = session_.basicReport;
      const ReportCounters countersBefore = session_.counters;
      try {
        analyseStudy();
      } catch (const UserError& error) {
        if (!error.fatal()) {
          session_.basicReport = reportBefore;
          session_.counters = countersBefore;
        }
        throw;
      }
    }
    session_.basic.basicRunDone = true;
    commands_.enable(Command::kReadSasd);
    closeBasicReport();
  });
}

void Program::analyseStudy() {
  readStudyForBasicRun();
  if (!runBasicRunSteps(session_)) {
    // The stage-name lines do not name every sex code the individuals use.
    dialogs_.messageBox("Error!!!!", MessageButtons::kOk, "Basic Run");
  }
  for (const Command command :
       {Command::kLarge, Command::kJackknife, Command::kMeans, Command::kResults,
        Command::kOutputFiles, Command::kFigureFrame, Command::kBootstrap}) {
    commands_.enable(command);
  }
  commands_.show(Command::kBootstrap);
  commands_.show(Command::kCompare);
  commands_.focus(Command::kShowSxj);
  if (showConsumptionChart_) showConsumptionChart_();
  writeNumberedStageConsumptionFiles(session_);
  writeTukeyKramerConsumptionFiles(session_);
  session_.basic.originalC0 = session_.basic.sumB;
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
