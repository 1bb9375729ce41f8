#include "ui/shell/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/system_clock.h"
#include "ui/charts/chart_export_dialog.h"
#include "ui/shell/desktop_settings.h"
#include "ui/widgets/window_printer.h"

namespace pellmar {

namespace {

QString toQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* dialogParent() { return QApplication::activeWindow(); }

// Project files are the one kind with a suffix of their own; the others are shown unfiltered,
// since labs name their data files in many ways.
QString filterFor(FileKind kind) {
  return kind == FileKind::kProject ? QStringLiteral("Pellmar projects (*.pellmar);;All files (*)")
                                    : QString();
}

}  // namespace

QWidget* topLevelWindow(const QString& objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == objectName) return widget;
  }
  return nullptr;
}

MessageAnswer QtDialogs::messageBox(std::string_view text, MessageButtons buttons,
                                    std::string_view title, MessageKind kind) {
  if (buttons == MessageButtons::kYesNo) {
    // No is the default: Enter never starts what the user did not choose.
    const auto answer = QMessageBox::question(dialogParent(), toQt(title), toQt(text),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes ? MessageAnswer::kYes : MessageAnswer::kNo;
  }
  switch (kind) {
    case MessageKind::kResult:
      QMessageBox::information(dialogParent(), toQt(title), toQt(text));
      break;
    case MessageKind::kWarning:
      QMessageBox::warning(dialogParent(), toQt(title), toQt(text));
      break;
    case MessageKind::kFailure:
      QMessageBox::critical(dialogParent(), toQt(title), toQt(text));
      break;
  }
  return MessageAnswer::kOk;
}

std::optional<std::string> QtDialogs::inputPrompt(std::string_view prompt, std::string_view title,
                                                  std::string_view defaultAnswer) {
  bool accepted = false;
  const QString answer = QInputDialog::getText(dialogParent(), toQt(title), toQt(prompt),
                                               QLineEdit::Normal, toQt(defaultAnswer), &accepted);
  if (!accepted) return std::nullopt;
  return answer.toStdString();
}

std::string QtDialogs::openFileDialog(FileKind kind) {
  const QString folder = settings_.startFolder(kind);
  if (kind == FileKind::kOutputFolder) {
    const QString chosen = QFileDialog::getExistingDirectory(
        dialogParent(), QStringLiteral("Choose a folder for the results"), folder);
    return QDir::toNativeSeparators(chosen).toStdString();
  }
  // No name is filled in: Enter must not read a file of another kind by mistake.
  const QString path =
      QFileDialog::getOpenFileName(dialogParent(), QString(), folder, filterFor(kind));
  if (path.isEmpty()) return std::string();
  settings_.rememberFolder(kind, path);
  return QDir::toNativeSeparators(path).toStdString();
}

std::vector<std::string> QtDialogs::openFilesDialog(FileKind kind) {
  const QStringList paths = QFileDialog::getOpenFileNames(
      dialogParent(), QString(), settings_.startFolder(kind), filterFor(kind));
  std::vector<std::string> chosen;
  for (const QString& path : paths) chosen.push_back(QDir::toNativeSeparators(path).toStdString());
  if (!paths.isEmpty()) settings_.rememberFolder(kind, paths.front());
  return chosen;
}

std::string QtDialogs::saveFileDialog(FileKind kind, std::string_view proposal) {
  QString start = toQt(proposal);
  if (QFileInfo(start).isRelative()) start = QDir(settings_.startFolder(kind)).filePath(start);
  const QString path =
      QFileDialog::getSaveFileName(dialogParent(), QString(), start, filterFor(kind));
  if (path.isEmpty()) return std::string();
  settings_.rememberFolder(kind, path);
  return QDir::toNativeSeparators(path).toStdString();
}

std::optional<ChartExportRequest> QtDialogs::chartExportDialog(const ChartExportRequest& proposal,
                                                               const ChartPreview* preview) {
  const auto* drawing = dynamic_cast<const ChartDrawingPreview*>(preview);
  ChartExportDialog dialog(proposal, settings_, dialogParent(),
                           drawing != nullptr ? &drawing->draw : nullptr);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.request();
}

void QtDialogs::printWindow(std::string_view window) {
  QWidget* shown = topLevelWindow(toQt(window));
  if (shown == nullptr) return;
  const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
  if (!printerInfo.isNull()) {
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    if (!printWindowImage(*shown, printer)) {
      QMessageBox::warning(
          shown, QStringLiteral("Print page"),
          QStringLiteral("The printer %1 could not be started.").arg(printerInfo.printerName()));
    }
    return;
  }
  const auto offer = QMessageBox::question(
      shown, QStringLiteral("Print page"),
      QStringLiteral("No printer is installed. Save this page as a PDF file instead?"),
      QMessageBox::Yes | QMessageBox::No);
  if (offer != QMessageBox::Yes) return;
  const QString path = QFileDialog::getSaveFileName(
      shown, QStringLiteral("Save page as PDF"),
      QDir(settings_.startFolder(SavedFileKind::kPdf)).filePath(pdfFileNameFor(*shown)),
      QStringLiteral("PDF files (*.pdf)"));
  if (path.isEmpty()) return;
  settings_.rememberFolder(SavedFileKind::kPdf, path);
  if (!printWindowToPdf(*shown, path)) {
    QMessageBox::warning(
        shown, QStringLiteral("Print page"),
        QStringLiteral("The file %1 could not be written.").arg(QDir::toNativeSeparators(path)));
  }
}

ClockReading QtDialogs::clock() { return readSystemClock(); }

void QtDialogs::beep() { QApplication::beep(); }

}  // namespace pellmar
