#pragma once

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "ui/views/return_window.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pellmar {

class Dialogs;

// "Output files": the report of the run and every other file the program has written, each with
// what it holds. A double click opens a file in the program the system has for it; "Open
// folder" opens the folder of the files; "View reports" asks for the text reports inside Pellmar.
class OutputFilesWindow : public ReturnWindow {
  Q_OBJECT

 public:
  explicit OutputFilesWindow(Dialogs& dialogs);

  void load(const Analysis& analysis);

  [[nodiscard]] QLineEdit* reportFile() const { return reportFile_; }
  [[nodiscard]] QTableWidget* files() const { return files_; }
  // The full path of the file listed in a row of files().
  [[nodiscard]] QString filePath(int row) const;

  // Opens a file, or a folder, in the program the system has for it; tells the user when there
  // is none.
  void openInSystem(const QString& path);
  // Asks for the text reports of the run, the report of the run first.
  void viewReports();

 signals:
  // "View reports": `reports` to be shown, `shown` first.
  void reportsRequested(const QStringList& reports, const QString& shown);
  // "What you should know about these files".
  void hintsRequested();

 private:
  Dialogs& dialogs_;
  QLineEdit* reportFile_;
  QLabel* folder_;
  QTableWidget* files_;
  QPushButton* print_;
  QString report_;
  QString folderPath_;
  QStringList written_;
};

// The most recent report among the files written (names ending in "_Output.txt"), or the
// basic report's name when none has been written yet.
std::string latestReport(const std::vector<std::string>& written,
                         const std::string& basicOutputFileName);

// The text reports among the files written, `report` (the report of the run) first when it is
// there.
QStringList textReports(const QStringList& written, const QString& report);

// What an output file holds, told from its name.
QString describeOutputFile(const QString& fileName);

}  // namespace pellmar
