#include "ui/shell/desktop_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace pellmar {

namespace {

const QString kRecentFilesKey = QStringLiteral("recentFiles");
const QString kOutputFoldersKey = QStringLiteral("outputFolders");
const QString kTimeUnitsKey = QStringLiteral("timeUnits");
const QString kChartGreyscaleKey = QStringLiteral("chartExport/greyscale");
const QString kGeometryKey = QStringLiteral("mainWindow/geometry");
const QString kStateKey = QStringLiteral("mainWindow/state");
const QString kIntroductionShownKey = QStringLiteral("start/introductionShown");
const QString kChartWidthKey = QStringLiteral("chartExport/widthMm");
const QString kChartHeightKey = QStringLiteral("chartExport/heightMm");
const QString kChartDpiKey = QStringLiteral("chartExport/dpi");
const QString kChartFontKey = QStringLiteral("chartExport/fontPt");
const QString kChartFormatKey = QStringLiteral("chartExport/format");

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
    case FileKind::kOutputFolder:
      return QStringLiteral("folders/output");
    case FileKind::kProject:
      return QStringLiteral("folders/project");
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

QString DesktopSettings::outputFolderFor(const QString& dataFile) const {
  const QString folder = store_->value(kOutputFoldersKey)
                             .toMap()
                             .value(QFileInfo(dataFile).absoluteFilePath())
                             .toString();
  return isFolder(folder) ? folder : QString();
}

void DesktopSettings::rememberOutputFolder(const QString& dataFile, const QString& folder) {
  QVariantMap folders = store_->value(kOutputFoldersKey).toMap();
  folders.insert(QFileInfo(dataFile).absoluteFilePath(), folder);
  store_->setValue(kOutputFoldersKey, folders);
  store_->setValue(folderKey(FileKind::kOutputFolder), folder);
}

double DesktopSettings::timeUnitFor(const QString& dataFile) const {
  bool ok = false;
  const double unit = store_->value(kTimeUnitsKey)
                          .toMap()
                          .value(QFileInfo(dataFile).absoluteFilePath())
                          .toDouble(&ok);
  return ok && unit > 0 ? unit : 1.0;
}

void DesktopSettings::rememberTimeUnit(const QString& dataFile, double timeUnit) {
  QVariantMap units = store_->value(kTimeUnitsKey).toMap();
  if (timeUnit == 1.0) {
    units.remove(QFileInfo(dataFile).absoluteFilePath());
  } else {
    units.insert(QFileInfo(dataFile).absoluteFilePath(), timeUnit);
  }
  store_->setValue(kTimeUnitsKey, units);
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

ChartExportRequest DesktopSettings::chartExportChoices() const {
  ChartExportRequest choices;
  choices.widthMm = store_->value(kChartWidthKey, choices.widthMm).toDouble();
  choices.heightMm = store_->value(kChartHeightKey, choices.heightMm).toDouble();
  choices.dpi = store_->value(kChartDpiKey, choices.dpi).toInt();
  choices.fontPt = store_->value(kChartFontKey, choices.fontPt).toInt();
  const int format = store_->value(kChartFormatKey, 0).toInt();
  if (format >= 0 && format <= static_cast<int>(ChartFormat::kTiff)) {
    choices.format = static_cast<ChartFormat>(format);
  }
  choices.greyscale = store_->value(kChartGreyscaleKey, false).toBool();
  return choices;
}

void DesktopSettings::rememberChartExport(const ChartExportRequest& request) {
  store_->setValue(kChartWidthKey, request.widthMm);
  store_->setValue(kChartHeightKey, request.heightMm);
  store_->setValue(kChartDpiKey, request.dpi);
  store_->setValue(kChartFontKey, request.fontPt);
  store_->setValue(kChartFormatKey, static_cast<int>(request.format));
  store_->setValue(kChartGreyscaleKey, request.greyscale);
  rememberFolder(SavedFileKind::kChart, QString::fromStdString(request.file));
}

QByteArray DesktopSettings::mainWindowGeometry() const {
  return store_->value(kGeometryKey).toByteArray();
}

QByteArray DesktopSettings::mainWindowState() const {
  return store_->value(kStateKey).toByteArray();
}

bool DesktopSettings::introductionShown() const {
  return store_->value(kIntroductionShownKey, false).toBool();
}

void DesktopSettings::rememberIntroductionShown() {
  store_->setValue(kIntroductionShownKey, true);
  store_->sync();
}

void DesktopSettings::saveMainWindow(const QByteArray& geometry, const QByteArray& state) {
  store_->setValue(kGeometryKey, geometry);
  store_->setValue(kStateKey, state);
  store_->sync();
}

}  // namespace pellmar
