#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace pellmar {

// Dialogs that answer from a script, for the tests. Every message shown is recorded; an
// unexpected question is a fault of the test and throws std::logic_error.
class ScriptedDialogs : public Dialogs {
 public:
  struct Message {
    std::string title;
    std::string text;
    MessageButtons buttons = MessageButtons::kOk;
    MessageKind kind = MessageKind::kResult;
  };

  ScriptedDialogs& answerPrompt(std::string answer);
  ScriptedDialogs& cancelPrompt();
  // The answer to the next file dialog, open or save; the empty path is a cancel.
  ScriptedDialogs& chooseFile(std::string path);
  // The answer to the next dialog for several files.
  ScriptedDialogs& chooseFiles(std::vector<std::string> paths);
  ScriptedDialogs& answerYesNo(bool yes);
  // The answer to the chart export dialog: the request, or nullopt for a cancel.
  ScriptedDialogs& answerChartExport(std::optional<ChartExportRequest> answer);
  // Fixes the clock (tests); without it the system clock is read.
  ScriptedDialogs& fixClock(ClockReading reading);

  MessageAnswer messageBox(std::string_view text, MessageButtons buttons, std::string_view title,
                           MessageKind kind) override;
  std::optional<std::string> inputPrompt(std::string_view prompt, std::string_view title,
                                         std::string_view defaultAnswer) override;
  std::string openFileDialog(FileKind kind) override;
  std::vector<std::string> openFilesDialog(FileKind kind) override;
  std::string saveFileDialog(FileKind kind, std::string_view proposal) override;
  std::optional<ChartExportRequest> chartExportDialog(const ChartExportRequest& proposal,
                                                      const ChartPreview* preview) override;
  void printWindow(std::string_view window) override;
  ClockReading clock() override;
  void beep() override { ++beeps_; }

  [[nodiscard]] const std::vector<Message>& messages() const { return messages_; }
  [[nodiscard]] const std::vector<std::string>& prompts() const { return prompts_; }
  // The answer each prompt offered before anything was typed.
  [[nodiscard]] const std::vector<std::string>& offeredAnswers() const { return offered_; }
  [[nodiscard]] const std::vector<std::string>& printedWindows() const { return printed_; }
  // What the save dialogs proposed, in order.
  [[nodiscard]] const std::vector<std::string>& saveProposals() const { return saveProposals_; }
  [[nodiscard]] int beeps() const { return beeps_; }
  // What the chart export dialogs proposed, in order.
  [[nodiscard]] const std::vector<ChartExportRequest>& chartExportProposals() const {
    return chartExportProposals_;
  }
  // True when every scripted answer has been used.
  [[nodiscard]] bool scriptUsedUp() const {
    return prompts_left_.empty() && files_.empty() && fileLists_.empty() && yesNo_.empty() &&
           chartExports_.empty();
  }

 private:
  std::deque<std::optional<std::string>> prompts_left_;
  std::deque<std::string> files_;
  std::deque<std::vector<std::string>> fileLists_;
  std::vector<std::string> saveProposals_;
  std::deque<bool> yesNo_;
  std::deque<std::optional<ChartExportRequest>> chartExports_;
  std::vector<ChartExportRequest> chartExportProposals_;
  std::optional<ClockReading> clock_;
  std::vector<Message> messages_;
  std::vector<std::string> prompts_;
  std::vector<std::string> offered_;
  std::vector<std::string> printed_;
  int beeps_ = 0;
};

}  // namespace pellmar
