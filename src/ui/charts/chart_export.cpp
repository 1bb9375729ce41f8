#include "ui/charts/chart_export.h"

#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>

#include "app/dialogs.h"
#include "core/user_error.h"
#include "ui/shell/desktop_settings.h"

namespace pellmar {

namespace {

constexpr double kPngDotsPerInch = 300.0;
// Widget coordinates count logical pixels of 1/96 inch.
constexpr double kScreenDotsPerInch = 96.0;
constexpr double kInchesPerMetre = 1.0 / 0.0254;

}  // namespace

bool saveChartAsPng(QChartView& view, const QString& path) {
  const double scale = kPngDotsPerInch / kScreenDotsPerInch;
  const QSize size = view.viewport()->size();
  QImage image(size * scale, QImage::Format_ARGB32);
  const int dotsPerMetre = static_cast<int>(kPngDotsPerInch * kInchesPerMetre + 0.5);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    view.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())), view.viewport()->rect());
  }
  return image.save(path, "PNG");
}

bool saveChartAsSvg(QChartView& view, const QString& path) {
  const QSize size = view.viewport()->size();
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(static_cast<int>(kScreenDotsPerInch));
  generator.setTitle(view.chart() != nullptr ? view.chart()->title() : QString());
  {
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    view.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), view.viewport()->rect());
  }
  return QFile::exists(path) && QFile(path).size() > 0;
}

bool saveChart(QChartView& view, const QString& path) {
  return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? saveChartAsSvg(view, path)
                                                                    : saveChartAsPng(view, path);
}

void saveChartWithDialog(QChartView& view, DesktopSettings& settings) {
  const QString pngFilter = QStringLiteral("PNG picture, 300 dpi (*.png)");
  const QString svgFilter = QStringLiteral("SVG drawing (*.svg)");
  QString chosenFilter = pngFilter;
  QString path = QFileDialog::getSaveFileName(
      &view, QStringLiteral("Save chart"), settings.startFolder(SavedFileKind::kChart),
      pngFilter + QStringLiteral(";;") + svgFilter, &chosenFilter);
  if (path.isEmpty()) return;
  settings.rememberFolder(SavedFileKind::kChart, path);
  const bool svg = chosenFilter == svgFilter;
  const QString extension = svg ? QStringLiteral(".svg") : QStringLiteral(".png");
  if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) &&
      !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
    path += extension;
  }
  if (!saveChart(view, path)) {
    QMessageBox::warning(
        &view, QStringLiteral("Save chart"),
        QStringLiteral("The file %1 could not be written.").arg(QDir::toNativeSeparators(path)));
  }
}

void exportChartWithDialog(const ChartDrawing& draw, const QString& fileStem, Dialogs& dialogs,
                           DesktopSettings& settings) {
  ChartExportRequest proposal = settings.chartExportChoices();
  proposal.file = QDir(settings.startFolder(SavedFileKind::kChart))
                      .filePath(fileStem + QString::fromLatin1(chartExtension(proposal.format)))
                      .toStdString();
  const ChartDrawingPreview preview{draw};
  const std::optional<ChartExportRequest> request = dialogs.chartExportDialog(proposal, &preview);
  if (!request) return;
  try {
    validate(*request);
    exportChartPicture(draw, *request);
    settings.rememberChartExport(*request);
  } catch (const UserError& error) {
    dialogs.messageBox(error.text(), MessageButtons::kOk, error.title(), MessageKind::kWarning);
  }
}

}  // namespace pellmar
