#include "ui/ui_thread_dialogs.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <type_traits>

namespace pellmar {

namespace {

bool onUiThread() {
  return QCoreApplication::instance() == nullptr ||
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs `work` on the UI thread and hands back its result.
template <typename Work>
auto onUi(Work&& work) {
  using Result = decltype(work());
  if constexpr (std::is_void_v<Result>) {
    runOnUiThread(std::forward<Work>(work));
  } else {
    Result result{};
    runOnUiThread([&] { result = work(); });
    return result;
  }
}

}  // namespace

void runOnUiThread(const std::function<void()>& work) {
  if (onUiThread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(QCoreApplication::instance(), work, Qt::BlockingQueuedConnection);
}

MessageAnswer UiThreadDialogs::messageBox(std::string_view text, MessageButtons buttons,
                                          std::string_view title) {
  return onUi([&] { return inner_.messageBox(text, buttons, title); });
}

std::string UiThreadDialogs::inputPrompt(std::string_view prompt, std::string_view title,
                                         std::string_view defaultAnswer) {
  return onUi([&] { return inner_.inputPrompt(prompt, title, defaultAnswer); });
}

std::string UiThreadDialogs::openFileDialog() {
  return onUi([&] { return inner_.openFileDialog(); });
}

void UiThreadDialogs::clearFileDialogName() {
  onUi([&] { inner_.clearFileDialogName(); });
}

void UiThreadDialogs::printWindow(std::string_view window) {
  onUi([&] { inner_.printWindow(window); });
}

ClockReading UiThreadDialogs::clock() {
  return onUi([&] { return inner_.clock(); });
}

void UiThreadDialogs::beep() {
  onUi([&] { inner_.beep(); });
}

void UiThreadDialogs::progress(std::string_view label, long done, long total) {
  if (onUiThread()) {
    inner_.progress(label, done, total);
    if (progressSink_) progressSink_(std::string(label), done, total);
    return;
  }
  // The worker goes on at once; the label is copied because it may not outlive the call.
  QMetaObject::invokeMethod(
      &receiver_,
      [this, label = std::string(label), done, total] {
        inner_.progress(label, done, total);
        if (progressSink_) progressSink_(label, done, total);
      },
      Qt::QueuedConnection);
}

}  // namespace pellmar
