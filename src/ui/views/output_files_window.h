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
class ReportViewer;

// "Output files": the report of the run and every other file the program has written, each with
// what it holds. A double click opens a file in the program the system has for it; "Open
// folder" opens the folder of the files; "View reports" shows the text reports inside Pellmar.
class OutputFilesWindow : public ReturnWindow {
  Q_OBJECT

 public:
  explicit OutputFilesWindow(Dialogs& dialogs);
  ~OutputFilesWindow() override;

  void load(const Analysis& analysis);

  [[nodiscard]] QLineEdit* reportFile() const { return reportFile_; }
  [[nodiscard]] QTableWidget* files() const { return files_; }
  // The full path of the file listed in a row of files().
  [[nodiscard]] QString filePath(int row) const;
  // The report viewer, once "View reports" has opened it.
  [[nodiscard]] ReportViewer* reportViewer() const { return viewer_.get(); }

  // Opens a file, or a folder, in the program the system has for it; tells the user when there
  // is none.
  void openInSystem(const QString& path);
  // Shows the text reports of the run, the report of the run first.
  void viewReports();

 signals:
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
  std::unique_ptr<ReportViewer> viewer_;
};

// The most recent report among the files written (names ending in "_Output.txt"), or the
// basic report's name when none has been written yet.
std::string latestReport(const std::vector<std::string>& written,
                         const std::string& basicOutputFileName);

// What an output file holds, told from its name.
QString describeOutputFile(const QString& fileName);

}  // namespace pellmar
