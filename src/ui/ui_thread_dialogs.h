#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "app/dialogs.h"

namespace pellmar {

// Forwards every dialog service to another Dialogs on the UI thread. A command that runs on a
// worker thread (the bootstrap) may then ask and tell as if it ran on the UI thread: the
// worker waits while the UI thread shows the dialog. Progress reports go to a sink on the UI
// thread without making the worker wait.
class UiThreadDialogs : public Dialogs {
 public:
  explicit UiThreadDialogs(Dialogs& inner) : inner_(inner) {}

  void onProgress(std::function<void(const std::string& label, long done, long total)> sink) {
    progressSink_ = std::move(sink);
  }

  MessageAnswer messageBox(std::string_view text, MessageButtons buttons,
                           std::string_view title) override;
  std::string inputPrompt(std::string_view prompt, std::string_view title,
                          std::string_view defaultAnswer) override;
  std::string openFileDialog() override;
  void clearFileDialogName() override;
  void printWindow(std::string_view window) override;
  ClockReading clock() override;
  void beep() override;
  void progress(std::string_view label, long done, long total) override;

  [[nodiscard]] Dialogs& inner() { return inner_; }

 private:
  Dialogs& inner_;
  std::function<void(const std::string&, long, long)> progressSink_;
  // Queued progress reports are delivered through it, so none arrives after this is gone.
  QObject receiver_;
};

// Runs `work` on the UI thread and waits for it; runs it at once when called on the UI thread.
void runOnUiThread(const std::function<void()>& work);

}  // namespace pellmar
