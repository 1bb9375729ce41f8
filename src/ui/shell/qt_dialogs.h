#pragma once

#include <QString>

#include "app/dialogs.h"

class QWidget;

namespace pellmar {

class DesktopSettings;

// The dialog services of the desktop: Qt message boxes, one-line prompts and the file-open
// dialog, printing an image of a window on the default printer (or into a PDF file when no
// printer is installed), the system clock and the system beep. Each dialog is modal over the
// active window. Call only on the UI thread, except clock(), which any thread may read.
class QtDialogs : public Dialogs {
 public:
  // The file dialogs start in the folders `settings` remembers.
  explicit QtDialogs(DesktopSettings& settings) : settings_(settings) {}

  MessageAnswer messageBox(std::string_view text, MessageButtons buttons, std::string_view title,
                           MessageKind kind) override;
  std::optional<std::string> inputPrompt(std::string_view prompt, std::string_view title,
                                         std::string_view defaultAnswer) override;
  // Opens in the folder where a file of this kind was last chosen, else in the study's folder.
  std::string openFileDialog(FileKind kind) override;
  std::vector<std::string> openFilesDialog(FileKind kind) override;
  std::string saveFileDialog(FileKind kind, std::string_view proposal) override;
  std::optional<ChartExportRequest> chartExportDialog(const ChartExportRequest& proposal,
                                                      const ChartPreview* preview) override;
  // Prints the top-level window whose object name is `window`.
  void printWindow(std::string_view window) override;
  ClockReading clock() override;
  void beep() override;

 private:
  DesktopSettings& settings_;
};

// The top-level window with the given object name, or nullptr.
QWidget* topLevelWindow(const QString& objectName);

}  // namespace pellmar
