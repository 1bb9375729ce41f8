#include "app/program.h"

#include <chrono>

#include "app/numeric_prefix.h"
#include "core/analysis/report/output_file.h"
#include "core/data/study_reader.h"

namespace pellmar {

std::uint64_t seedFromClock() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::string outputBaseNameFor(const std::string& dataFileName) {
  // Four characters, not bytes: a path in UTF-8 keeps its multi-byte characters whole.
  std::size_t end = dataFileName.size();
  for (int removed = 0; removed < 4 && end > 0; ++removed) {
    --end;
    while (end > 0 && (static_cast<unsigned char>(dataFileName[end]) & 0xC0U) == 0x80U) --end;
  }
  return dataFileName.substr(0, end);
}

void Program::fail(const UserError& error) {
  lastError_ = error;
  dialogs_.messageBox(error.text(), MessageButtons::kOk, error.title());
  if (error.fatal()) {
    // Every open file is closed; the basic report stays on disk as it was created.
    session_.basicReportOpen = false;
    ended_ = true;
  }
}

void Program::openDataFile() {
  guarded([&] {
    const std::string answer = dialogs_.inputPrompt("Enter the time unit of your data (1 or 0.5)",
                                                    "Each time unit =?", "1");
    session_.study.timeUnit = numericPrefix(answer);
    const std::string path = dialogs_.openFileDialog();
    if (path.empty()) return;
    dialogs_.clearFileDialogName();
    openDataFileAt(path);
  });
}

void Program::openDataFileAt(const std::string& path) {
  guarded([&] {
    StudyData& study = session_.study;
    study.dataFileName = path;
    study.outputBaseName = outputBaseNameFor(path);
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
  });
}

void Program::checkDataFile() {
  guarded([&] {
    if (session_.study.dataFileName.empty()) {
      // Nothing to check yet: say so and carry on.
      dialogs_.messageBox("Please open a data file first.", MessageButtons::kOk, "Check data file");
      return;
    }
    checkStudyOnRequest(session_.study);
    dialogs_.messageBox("It looks OK.", MessageButtons::kOk, "Check data file");
  });
}

}  // namespace pellmar
