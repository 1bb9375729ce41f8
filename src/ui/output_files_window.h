#pragma once

#include <string>
#include <vector>

#include "core/session.h"
#include "ui/return_window.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pellmar {

class Dialogs;

// "Well done!": the report of the run and every other file the program has written, each with
// what it holds.
class OutputFilesWindow : public ReturnWindow {
  Q_OBJECT

 public:
  explicit OutputFilesWindow(Dialogs& dialogs);

  void load(const Session& session);

  [[nodiscard]] QLineEdit* reportFile() const { return reportFile_; }
  [[nodiscard]] QTableWidget* files() const { return files_; }

 signals:
  // "What you should know about these files".
  void hintsRequested();

 private:
  QLineEdit* reportFile_;
  QLabel* folder_;
  QTableWidget* files_;
  QPushButton* print_;
};

// The most recent report among the files written (names ending in "_Output.txt"), or the
// basic report's name when none has been written yet.
std::string latestReport(const std::vector<std::string>& written,
                         const std::string& basicOutputFileName);

// What an output file holds, told from its name.
QString describeOutputFile(const QString& fileName);

}  // namespace pellmar
