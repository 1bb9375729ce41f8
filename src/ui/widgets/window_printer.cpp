#include "ui/widgets/window_printer.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

namespace pellmar {

bool printWindowImage(QWidget& window, QPrinter& printer) {
  const QPixmap image = window.grab();
  printer.setPageOrientation(image.width() > image.height() ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QSizeF fitted = QSizeF(image.size()).scaled(page.size(), Qt::KeepAspectRatio);
  // The image sits at the top of the page, centred across it.
  const QRectF target(QPointF((page.width() - fitted.width()) / 2.0, 0.0), fitted);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(target, image, QRectF(image.rect()));
  return painter.end();
}

bool printWindowToPdf(QWidget& window, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  return printWindowImage(window, printer);
}

QString pdfFileNameFor(const QWidget& window) {
  QString name = window.windowTitle().trimmed();
  if (name.isEmpty()) name = QStringLiteral("Page");
  for (QChar& character : name) {
    if (character.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(character)) {
      character = QLatin1Char('_');
    }
  }
  return name + QStringLiteral(".pdf");
}

}  // namespace pellmar
