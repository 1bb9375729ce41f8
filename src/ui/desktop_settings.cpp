#include "ui/desktop_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace pellmar {

namespace {

const QString kRecentFilesKey = QStringLiteral("recentFiles");
const QString kGeometryKey = QStringLiteral("mainWindow/geometry");
const QString kStateKey = QStringLiteral("mainWindow/state");

QString folderKey(FileKind kind) {
  switch (kind) {
    case FileKind::kDataFile:
      return QStringLiteral("folders/dataFile");
    case FileKind::kSasd:
      return QStringLiteral("folders/sasd");
    case FileKind::kFecundity:
      return QStringLiteral("folders/fecundity");
    case FileKind::kBootstrapSamples:
      return QStringLiteral("folders/bootstrapSamples");
    case FileKind::kSecondTreatment:
      return QStringLiteral("folders/secondTreatment");
  }
  return {};
}

QString folderKey(SavedFileKind kind) {
  switch (kind) {
    case SavedFileKind::kChart:
      return QStringLiteral("folders/chart");
    case SavedFileKind::kPdf:
      return QStringLiteral("folders/pdf");
  }
  return {};
}

bool isFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace

DesktopSettings::DesktopSettings()
    : store_(std::make_unique<QSettings>(QStringLiteral("Pellmar"), QStringLiteral("Pellmar"))) {}

DesktopSettings::DesktopSettings(const QString& iniFile)
    : store_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

DesktopSettings::~DesktopSettings() = default;

QString DesktopSettings::startFolder(FileKind kind) const { return startFolder(folderKey(kind)); }

QString DesktopSettings::startFolder(SavedFileKind kind) const {
  return startFolder(folderKey(kind));
}

void DesktopSettings::rememberFolder(FileKind kind, const QString& chosenFile) {
  rememberFolder(folderKey(kind), chosenFile);
}

void DesktopSettings::rememberFolder(SavedFileKind kind, const QString& chosenFile) {
  rememberFolder(folderKey(kind), chosenFile);
}

QString DesktopSettings::startFolder(const QString& key) const {
  const QString remembered = store_->value(key).toString();
  if (isFolder(remembered)) return remembered;
  if (isFolder(studyFolder_)) return studyFolder_;
  const QString dataFolder = store_->value(folderKey(FileKind::kDataFile)).toString();
  return isFolder(dataFolder) ? dataFolder : QString();
}

void DesktopSettings::rememberFolder(const QString& key, const QString& chosenFile) {
  if (chosenFile.isEmpty()) return;
  store_->setValue(key, QFileInfo(chosenFile).absolutePath());
}

QStringList DesktopSettings::recentFiles() const {
  return store_->value(kRecentFilesKey).toStringList();
}

void DesktopSettings::addRecentFile(const QString& path) {
  const QString absolute = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  QStringList files = recentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kRecentFileCount) files.removeLast();
  store_->setValue(kRecentFilesKey, files);
}

void DesktopSettings::removeRecentFile(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  store_->setValue(kRecentFilesKey, files);
}

void DesktopSettings::clearRecentFiles() { store_->remove(kRecentFilesKey); }

QByteArray DesktopSettings::mainWindowGeometry() const {
  return store_->value(kGeometryKey).toByteArray();
}

QByteArray DesktopSettings::mainWindowState() const {
  return store_->value(kStateKey).toByteArray();
}

void DesktopSettings::saveMainWindow(const QByteArray& geometry, const QByteArray& state) {
  store_->setValue(kGeometryKey, geometry);
  store_->setValue(kStateKey, state);
  store_->sync();
}

}  // namespace pellmar
