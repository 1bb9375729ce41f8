#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_export_request.h"

namespace pellmar {

enum class MessageButtons { kOk, kYesNo };
enum class MessageAnswer { kOk, kYes, kNo };
// What a message with an OK button tells, which its icon shows: a result, a warning (something
// the user should know or correct, the step went on or may be tried again) or a failure.
enum class MessageKind { kResult, kWarning, kFailure };

// The kinds of file the commands ask for. A front end may remember where each kind was last
// found, since they often lie in different folders (the life-table program's files, for one).
// kOutputFolder asks for a folder, not a file; kProject for an experiment's "NAME.pellmar".
enum class FileKind {
  kDataFile,
  kSasd,
  kFecundity,
  kBootstrapSamples,
  kSecondTreatment,
  kOutputFolder,
  kProject
};

struct ClockReading {
  std::string dateTimeText;  // current date and time as shown to the user
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The services through which every command talks to the user. None of them reports a failure:
// a cancelled prompt gives no answer, a cancelled file dialog the empty path.
// The chart an export dialog previews. Only the front end that draws charts knows what is in it.
class ChartPreview {
 public:
  virtual ~ChartPreview() = default;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Modal message box; with Yes and No it is a question and returns the button pressed.
  virtual MessageAnswer messageBox(std::string_view text, MessageButtons buttons,
                                   std::string_view title, MessageKind kind) = 0;
  // Modal one-line prompt: the text in the box on OK, nullopt on cancel.
  virtual std::optional<std::string> inputPrompt(std::string_view prompt, std::string_view title,
                                                 std::string_view defaultAnswer) = 0;
  // The file-open dialog (no filter, no title) for a file of `kind`: the chosen path or the
  // empty text.
  virtual std::string openFileDialog(FileKind kind) = 0;
  // The file-open dialog for several files of `kind`: the chosen paths, none on cancel.
  virtual std::vector<std::string> openFilesDialog(FileKind kind) = 0;
  // The file-save dialog for a file of `kind`, starting at `proposal`: the chosen path or the
  // empty text. A file already there is chosen only once the user has agreed to replace it.
  virtual std::string saveFileDialog(FileKind kind, std::string_view proposal) = 0;
  // Asks how to export a chart for a paper, starting from `proposal`: its size, dots per inch,
  // font size, greys, format and file, with `preview` (when there is one) shown as the choices
  // would print it. nullopt when the user cancels.
  virtual std::optional<ChartExportRequest> chartExportDialog(const ChartExportRequest& proposal,
                                                              const ChartPreview* preview) = 0;
  // Prints an image of the named window on the default printer.
  virtual void printWindow(std::string_view window) = 0;
  virtual ClockReading clock() = 0;
  virtual void beep() = 0;
};

}  // namespace pellmar
