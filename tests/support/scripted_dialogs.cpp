#include "support/scripted_dialogs.h"

#include <stdexcept>

#include "app/system_clock.h"

namespace pellmar {

ScriptedDialogs& ScriptedDialogs::answerPrompt(std::string answer) {
  prompts_left_.emplace_back(std::move(answer));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::cancelPrompt() {
  prompts_left_.emplace_back(std::nullopt);
  return *this;
}

ScriptedDialogs& ScriptedDialogs::chooseFile(std::string path) {
  files_.push_back(std::move(path));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::chooseFiles(std::vector<std::string> paths) {
  fileLists_.push_back(std::move(paths));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::answerYesNo(bool yes) {
  yesNo_.push_back(yes);
  return *this;
}

ScriptedDialogs& ScriptedDialogs::answerChartExport(std::optional<ChartExportRequest> answer) {
  chartExports_.push_back(std::move(answer));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::fixClock(ClockReading reading) {
  clock_ = std::move(reading);
  return *this;
}

MessageAnswer ScriptedDialogs::messageBox(std::string_view text, MessageButtons buttons,
                                          std::string_view title, MessageKind kind) {
  messages_.push_back(Message{std::string(title), std::string(text), buttons, kind});
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  if (yesNo_.empty()) {
    throw std::logic_error("no scripted answer for the question: " + std::string(text));
  }
  const bool yes = yesNo_.front();
  yesNo_.pop_front();
  return yes ? MessageAnswer::kYes : MessageAnswer::kNo;
}

std::optional<std::string> ScriptedDialogs::inputPrompt(std::string_view prompt,
                                                        std::string_view /*title*/,
                                                        std::string_view defaultAnswer) {
  prompts_.emplace_back(prompt);
  offered_.emplace_back(defaultAnswer);
  if (prompts_left_.empty()) {
    throw std::logic_error("no scripted answer for the prompt: " + std::string(prompt));
  }
  std::optional<std::string> answer = std::move(prompts_left_.front());
  prompts_left_.pop_front();
  return answer;
}

std::string ScriptedDialogs::openFileDialog(FileKind /*kind*/) {
  if (files_.empty()) throw std::logic_error("no scripted answer for the file dialog");
  std::string path = std::move(files_.front());
  files_.pop_front();
  return path;
}

std::vector<std::string> ScriptedDialogs::openFilesDialog(FileKind /*kind*/) {
  if (fileLists_.empty()) throw std::logic_error("no scripted answer for the files dialog");
  std::vector<std::string> paths = std::move(fileLists_.front());
  fileLists_.pop_front();
  return paths;
}

std::string ScriptedDialogs::saveFileDialog(FileKind kind, std::string_view proposal) {
  saveProposals_.emplace_back(proposal);
  return openFileDialog(kind);
}

std::optional<ChartExportRequest> ScriptedDialogs::chartExportDialog(
    const ChartExportRequest& proposal, const ChartPreview* /*preview*/) {
  chartExportProposals_.push_back(proposal);
  if (chartExports_.empty()) throw std::logic_error("no scripted answer for the chart export");
  std::optional<ChartExportRequest> answer = std::move(chartExports_.front());
  chartExports_.pop_front();
  return answer;
}

void ScriptedDialogs::printWindow(std::string_view window) { printed_.emplace_back(window); }

ClockReading ScriptedDialogs::clock() { return clock_ ? *clock_ : readSystemClock(); }

}  // namespace pellmar
