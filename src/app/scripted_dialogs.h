#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace pellmar {

// Dialogs that answer from a script: the batch front end and the tests use it. Every message
// shown is recorded and handed to an optional sink; an unexpected question is a programming
// error and throws std::logic_error.
class ScriptedDialogs : public Dialogs {
 public:
  struct Message {
    std::string title;
    std::string text;
    MessageButtons buttons = MessageButtons::kOk;
  };

  ScriptedDialogs& answerPrompt(std::string answer);
  ScriptedDialogs& chooseFile(std::string path);
  ScriptedDialogs& answerYesNo(bool yes);
  // Fixes the clock (tests); without it the system clock is read.
  ScriptedDialogs& fixClock(ClockReading reading);
  void onMessage(std::function<void(const Message&)> sink) { sink_ = std::move(sink); }
  void onProgress(std::function<void(std::string_view, long, long)> sink) {
    progressSink_ = std::move(sink);
  }

  MessageAnswer messageBox(std::string_view text, MessageButtons buttons,
                           std::string_view title) override;
  std::string inputPrompt(std::string_view prompt, std::string_view title,
                          std::string_view defaultAnswer) override;
  std::string openFileDialog() override;
  void clearFileDialogName() override {}
  void printWindow(std::string_view window) override;
  ClockReading clock() override;
  void beep() override { ++beeps_; }
  void progress(std::string_view label, long done, long total) override;

  [[nodiscard]] const std::vector<Message>& messages() const { return messages_; }
  [[nodiscard]] const std::vector<std::string>& prompts() const { return prompts_; }
  [[nodiscard]] const std::vector<std::string>& printedWindows() const { return printed_; }
  [[nodiscard]] int beeps() const { return beeps_; }
  // True when every scripted answer has been used.
  [[nodiscard]] bool scriptUsedUp() const {
    return prompts_left_.empty() && files_.empty() && yesNo_.empty();
  }

 private:
  std::deque<std::string> prompts_left_;
  std::deque<std::string> files_;
  std::deque<bool> yesNo_;
  std::optional<ClockReading> clock_;
  std::vector<Message> messages_;
  std::vector<std::string> prompts_;
  std::vector<std::string> printed_;
  std::function<void(const Message&)> sink_;
  std::function<void(std::string_view, long, long)> progressSink_;
  int beeps_ = 0;
};

// Reads the system clock.
ClockReading readSystemClock();

}  // namespace pellmar
