#include "ui/views/output_files_window.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs.h"
#include "ui/views/report_viewer.h"
#include "ui/views/table_takeaway.h"

namespace pellmar {

namespace {

// Where a row keeps its file's full path: a role of its own, apart from the full values that
// copies take.
constexpr int kPathRole = Qt::UserRole + 2;

}  // namespace

namespace {

bool isReport(const std::string& path) {
  static const std::string kEnding = "_Output.txt";
  return path.size() >= kEnding.size() &&
         path.compare(path.size() - kEnding.size(), kEnding.size(), kEnding) == 0;
}

}  // namespace

std::string latestReport(const std::vector<std::string>& written,
                         const std::string& basicOutputFileName) {
  const auto found = std::find_if(written.rbegin(), written.rend(), isReport);
  return found != written.rend() ? *found : basicOutputFileName;
}

QString describeOutputFile(const QString& fileName) {
  const auto has = [&fileName](const char* part) {
    return fileName.contains(QLatin1String(part), Qt::CaseInsensitive);
  };
  if (has("_Output.txt")) return QStringLiteral("Report");
  if (has("Compare2Bs")) return QStringLiteral("Comparison of two bootstrap results");
  if (has("Bootstrap") || has("Boots-")) return QStringLiteral("Bootstrap results");
  if (has("Jackknife") || has("Pseudo")) return QStringLiteral("Jackknife results");
  if (has("SASD") || has("Psi") || has("Omega") || has("Predation_Rate")) {
    return QStringLiteral("Stable and finite predation rates");
  }
  if (has("For_Predation")) {
    return QStringLiteral("Consumption rate c(x,j) for the predation rates");
  }
  if (has("_Fig_")) return QStringLiteral("Figure data");
  if (has("Total_Consumption")) return QStringLiteral("Total consumption at each age");
  if (has("consumption")) return QStringLiteral("Consumption of each individual, for statistics");
  return QStringLiteral("Data file");
}

OutputFilesWindow::OutputFilesWindow(Dialogs& dialogs)
    : ReturnWindow(QStringLiteral("outputFilesWindow"), QStringLiteral("Output files")),
      dialogs_(dialogs),
      reportFile_(new QLineEdit(this)),
      folder_(new QLabel(this)),
      files_(new QTableWidget(this)),
      print_(new QPushButton(QStringLiteral("Print page"), this)) {
  reportFile_->setObjectName(QStringLiteral("reportFileText"));
  reportFile_->setReadOnly(true);
  folder_->setObjectName(QStringLiteral("folderLabel"));
  folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  files_->setObjectName(QStringLiteral("outputFilesTable"));
  files_->setColumnCount(2);
  files_->setHorizontalHeaderLabels({QStringLiteral("What it holds"), QStringLiteral("File")});
  files_->horizontalHeader()->setStretchLastSection(true);
  files_->verticalHeader()->hide();
  files_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  files_->setSelectionBehavior(QAbstractItemView::SelectRows);
  files_->setToolTip(QStringLiteral("Double-click a file to open it"));
  enableTakeaway(*files_, HeadingRow::kHeader);
  connect(files_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int /*column*/) { openInSystem(filePath(row)); });

  auto* viewReport = new QPushButton(QStringLiteral("View reports"), this);
  viewReport->setObjectName(QStringLiteral("viewReportsButton"));
  viewReport->setToolTip(QStringLiteral("Read the text reports of the run in Pellmar"));
  connect(viewReport, &QPushButton::clicked, this, &OutputFilesWindow::viewReports);
  auto* openFolder = new QPushButton(QStringLiteral("Open folder"), this);
  openFolder->setObjectName(QStringLiteral("openFolderButton"));
  openFolder->setToolTip(QStringLiteral("Open the folder of the data file and its results"));
  connect(openFolder, &QPushButton::clicked, this, [this] { openInSystem(folderPath_); });

  print_->setObjectName(QStringLiteral("printButton"));
  connect(print_, &QPushButton::clicked, this,
          [this, &dialogs] { dialogs.printWindow(window()->objectName().toStdString()); });
  auto* hints = new QPushButton(QStringLiteral("What you should know about these files"), this);
  hints->setObjectName(QStringLiteral("printingHintsButton"));
  connect(hints, &QPushButton::clicked, this, &OutputFilesWindow::hintsRequested);
  auto* back = new QPushButton(QStringLiteral("Back to the main window"), this);
  back->setObjectName(QStringLiteral("backButton"));
  connect(back, &QPushButton::clicked, this, &QWidget::close);

  auto* report = new QHBoxLayout;
  report->addWidget(new QLabel(QStringLiteral("The output file is:  "), this));
  report->addWidget(reportFile_, 1);
  report->addWidget(viewReport);
  report->addWidget(openFolder);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(hints);
  buttons->addStretch();
  buttons->addWidget(print_);
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(report);
  layout->addWidget(new QLabel(QStringLiteral("The graphic data files are:"), this));
  layout->addWidget(folder_);
  layout->addWidget(files_, 1);
  layout->addLayout(buttons);
  resize(820, 560);
}

void OutputFilesWindow::load(const Analysis& analysis) {
  print_->setEnabled(true);
  const std::string report = latestReport(analysis.writtenPaths(), analysis.basicReportPath());
  report_ = QString::fromStdString(report);
  reportFile_->setText(QDir::toNativeSeparators(report_));
  // The folder of the data file, where every result is written.
  folderPath_ = QFileInfo(report_).absolutePath();
  folder_->setText(QStringLiteral("In the folder ") + QDir::toNativeSeparators(folderPath_) +
                   QLatin1Char(':'));
  written_.clear();
  files_->setRowCount(0);
  for (const std::string& path : analysis.writtenPaths()) {
    written_.append(QString::fromStdString(path));
    if (path == report) continue;
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    const int row = files_->rowCount();
    files_->insertRow(row);
    files_->setItem(row, 0, new QTableWidgetItem(describeOutputFile(name)));
    auto* file = new QTableWidgetItem(name);
    file->setData(kPathRole, QString::fromStdString(path));
    file->setToolTip(QDir::toNativeSeparators(QString::fromStdString(path)));
    files_->setItem(row, 1, file);
  }
  files_->resizeColumnToContents(0);
}

QString OutputFilesWindow::filePath(int row) const {
  const QTableWidgetItem* item = files_->item(row, 1);
  return item != nullptr ? item->data(kPathRole).toString() : QString();
}

void OutputFilesWindow::openInSystem(const QString& path) {
  if (path.isEmpty()) return;
  if (!QFileInfo::exists(path)) {
    dialogs_.messageBox(
        QStringLiteral("%1 is no longer there.").arg(QDir::toNativeSeparators(path)).toStdString(),
        MessageButtons::kOk, "Open file", MessageKind::kWarning);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    dialogs_.messageBox(QStringLiteral("The system has no program to open %1.")
                            .arg(QDir::toNativeSeparators(path))
                            .toStdString(),
                        MessageButtons::kOk, "Open file", MessageKind::kWarning);
  }
}

void OutputFilesWindow::viewReports() {
  emit reportsRequested(textReports(written_, report_), report_);
}

QStringList textReports(const QStringList& written, const QString& report) {
  QStringList reports;
  if (QFileInfo::exists(report)) reports.append(report);
  for (const QString& path : written) {
    if (path != report && isTextReport(path)) reports.append(path);
  }
  return reports;
}

}  // namespace pellmar
