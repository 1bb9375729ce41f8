#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/dialogs.h"

class QSettings;

namespace pellmar {

// The files the desktop itself asks where to save.
enum class SavedFileKind { kChart, kPdf };

// What the desktop remembers from one program run to the next: the last folder of each kind of
// file dialog (the data, the life-table program's files and the saved pictures each lie where
// they were last found), the most recent data files and the main window's geometry and toolbar
// state. Also knows the folder of the study now open, where a dialog of a kind never used
// starts.
class DesktopSettings {
 public:
  static constexpr int kRecentFileCount = 10;

  // The platform's settings store for Pellmar.
  DesktopSettings();
  // An INI file of its own (the tests use a temporary one).
  explicit DesktopSettings(const QString& iniFile);
  ~DesktopSettings();
  DesktopSettings(const DesktopSettings&) = delete;
  DesktopSettings& operator=(const DesktopSettings&) = delete;

  // Where a file dialog of this kind opens: the folder last chosen in one of its kind while it
  // still exists, else the open study's folder, else the last data file's folder.
  [[nodiscard]] QString startFolder(FileKind kind) const;
  [[nodiscard]] QString startFolder(SavedFileKind kind) const;
  // Remembers the folder of a file chosen in a dialog of this kind.
  void rememberFolder(FileKind kind, const QString& chosenFile);
  void rememberFolder(SavedFileKind kind, const QString& chosenFile);
  // The folder of the data file now open; empty when none is.
  void setStudyFolder(const QString& folder) { studyFolder_ = folder; }

  // The folder chosen for the results of a data file whose own folder cannot be written, while
  // it exists; empty when there is none.
  [[nodiscard]] QString outputFolderFor(const QString& dataFile) const;
  void rememberOutputFolder(const QString& dataFile, const QString& folder);
  // The time unit last set for a data file, in days; 1 for a file never set.
  [[nodiscard]] double timeUnitFor(const QString& dataFile) const;
  void rememberTimeUnit(const QString& dataFile, double timeUnit);

  // The most recent data and project files, the latest first.
  [[nodiscard]] QStringList recentFiles() const;
  // Puts a data file first in the recent files, keeping the ten latest.
  void addRecentFile(const QString& path);
  void removeRecentFile(const QString& path);
  void clearRecentFiles();

  // The size, dots per inch, font size and format of the chart exported last (no file), or the
  // defaults: one column, 600 dpi, 8 pt, PNG.
  [[nodiscard]] ChartExportRequest chartExportChoices() const;
  void rememberChartExport(const ChartExportRequest& request);

  // Whether the title screen and the introduction have been shown once: they open the first
  // start only, and are recorded as soon as they are shown.
  [[nodiscard]] bool introductionShown() const;
  void rememberIntroductionShown();

  [[nodiscard]] QByteArray mainWindowGeometry() const;
  [[nodiscard]] QByteArray mainWindowState() const;
  void saveMainWindow(const QByteArray& geometry, const QByteArray& state);

 private:
  [[nodiscard]] QString startFolder(const QString& key) const;
  void rememberFolder(const QString& key, const QString& chosenFile);

  std::unique_ptr<QSettings> store_;
  QString studyFolder_;
};

}  // namespace pellmar
