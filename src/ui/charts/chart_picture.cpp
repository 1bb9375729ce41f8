#include "ui/charts/chart_picture.h"

#include <QAbstractAxis>
#include <QAreaSeries>
#include <QBuffer>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImageWriter>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <array>
#include <cmath>
#include <string_view>

#include "core/report/output_file.h"
#include "core/user_error.h"
#include "ui/charts/palette_colours.h"

namespace pellmar {

namespace {

constexpr double kMmPerInch = 25.4;
// The chart is laid out in units of half a point. The chart component sizes its gaps, ticks and
// legend markers in whole units tuned for screens of about 96 pixels per inch; at 144 units per
// inch they keep about the same share of the picture around text of a given size.
constexpr int kUnitsPerPoint = 2;
constexpr double kUnitsPerInch = 72.0 * kUnitsPerPoint;
// Vector drawings count tenths of a point, so that their printed size is exact to 0.01 mm.
constexpr int kVectorUnitsPerInch = 720;
constexpr double kCurveWidthPt = 1.0;
constexpr double kAxisWidthPt = 0.75;
constexpr double kGridWidthPt = 0.4;
constexpr int kMarginPt = 3;

// The printed page: black text and lines on white, whatever the desktop's colours.
QPalette paperPalette() {
  QPalette paper;
  paper.setColor(QPalette::Base, Qt::white);
  paper.setColor(QPalette::Text, Qt::black);
  paper.setColor(QPalette::Mid, Qt::white);
  return paper;
}

// Text, lines and margins measured in points of the printed page. Fonts take their size in
// pixels, which here are units: so it does not depend on the dots per inch of any screen.
void dressForPaper(QChart& chart, int fontPt) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(fontPt * kUnitsPerPoint);
  // Hinting fits glyphs to a screen's pixel grid, which the picture does not have.
  font.setHintingPreference(QFont::PreferNoHinting);
  chart.setTitleFont(font);
  chart.legend()->setFont(font);
  constexpr int kMargin = kMarginPt * kUnitsPerPoint;
  chart.setMargins(QMargins(kMargin, kMargin, kMargin, kMargin));
  chart.layout()->setContentsMargins(0, 0, 0, 0);
  chart.setBackgroundRoundness(0);
  chart.setDropShadowEnabled(false);
  applyChartColours(chart, paperPalette());
  chart.setBackgroundPen(Qt::NoPen);
  for (QAbstractAxis* axis : chart.axes()) {
    axis->setTitleFont(font);
    axis->setLabelsFont(font);
    QPen line = axis->linePen();
    line.setWidthF(kAxisWidthPt * kUnitsPerPoint);
    axis->setLinePen(line);
    QPen grid = axis->gridLinePen();
    grid.setWidthF(kGridWidthPt * kUnitsPerPoint);
    axis->setGridLinePen(grid);
  }
  for (QAbstractSeries* series : chart.series()) {
    if (auto* line = qobject_cast<QLineSeries*>(series)) {
      QPen pen = line->pen();
      pen.setWidthF(kCurveWidthPt * kUnitsPerPoint);
      line->setPen(pen);
    }
  }
}

// A journal printed in black: the curves in greys from black, told apart by their line styles
// (solid, dashed, dotted, ...), which the legend shows; bars in a light grey; bands in a
// translucent grey.
void dressInGrey(QChart& chart) {
  constexpr std::array<Qt::PenStyle, 5> kStyles = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                   Qt::DashDotLine, Qt::DashDotDotLine};
  constexpr std::array<int, 3> kGreys = {0x00, 0x50, 0x80};
  int curve = 0;
  for (QAbstractSeries* series : chart.series()) {
    if (auto* line = qobject_cast<QLineSeries*>(series)) {
      QPen pen = line->pen();
      if (pen.style() == Qt::NoPen) continue;
      const auto k = static_cast<std::size_t>(curve++);
      const int grey = kGreys[(k / kStyles.size()) % kGreys.size()];
      pen.setColor(QColor(grey, grey, grey));
      pen.setStyle(kStyles[k % kStyles.size()]);
      line->setPen(pen);
    } else if (auto* area = qobject_cast<QAreaSeries*>(series)) {
      const bool band = area->brush().color().alpha() < 255;
      area->setBrush(band ? QColor(0, 0, 0, area->brush().color().alpha())
                          : QColor(0xc8, 0xc8, 0xc8));
    }
  }
  chart.legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
}

// The chart laid out in a scene of kUnitsPerInch.
class PaperChart {
 public:
  PaperChart(const ChartDrawing& draw, const ChartExportRequest& request)
      : chart_(new QChart),
        size_(request.widthMm / kMmPerInch * kUnitsPerInch,
              request.heightMm / kMmPerInch * kUnitsPerInch) {
    scene_.addItem(chart_);
    draw(*chart_);
    dressForPaper(*chart_, request.fontPt);
    if (request.greyscale) dressInGrey(*chart_);
    chart_->setGeometry(QRectF(QPointF(0, 0), size_));
    chart_->layout()->activate();
    // The axes fit their ticks to the room the first layout gave them; the second lays out
    // the labels they now have.
    chart_->layout()->activate();
  }

  // Paints the whole chart into `target` of the painter's device.
  void render(QPainter& painter, const QRectF& target) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene_.render(&painter, target, QRectF(QPointF(0, 0), size_), Qt::IgnoreAspectRatio);
  }

  [[nodiscard]] QSizeF size() const { return size_; }
  [[nodiscard]] const QChart& chart() const { return *chart_; }
  [[nodiscard]] QString title() const { return chart_->title(); }

 private:
  QGraphicsScene scene_;
  QChart* chart_;  // owned by the scene
  QSizeF size_;
};

QByteArray tiffBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "tiff");
  // Qt's TIFF writer compresses with LZW at 1.
  writer.setCompression(1);
  if (!writer.write(image)) {
    throw UserError("Export chart",
                    "TIFF pictures need Qt's image formats plugin (the Debian package "
                    "qt6-image-formats-plugins), which is not installed: " +
                        writer.errorString().toStdString(),
                    ErrorKind::kCommandFailed);
  }
  return bytes;
}

QByteArray pngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray svgBytes(PaperChart& chart, const ChartExportRequest& request) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(kVectorUnitsPerInch);
  svg.setSize(
      QSize(static_cast<int>(std::lround(request.widthMm / kMmPerInch * kVectorUnitsPerInch)),
            static_cast<int>(std::lround(request.heightMm / kMmPerInch * kVectorUnitsPerInch))));
  svg.setViewBox(QRectF(QPointF(0, 0), chart.size()));
  svg.setTitle(chart.title());
  QPainter painter(&svg);
  chart.render(painter, QRectF(QPointF(0, 0), chart.size()));
  painter.end();
  return bytes;
}

QByteArray pdfBytes(PaperChart& chart, const ChartExportRequest& request) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setPageSize(QPageSize(QSizeF(request.widthMm, request.heightMm), QPageSize::Millimeter,
                            QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setResolution(kVectorUnitsPerInch);
  pdf.setTitle(chart.title());
  pdf.setCreator(QStringLiteral("Pellmar"));
  QPainter painter(&pdf);
  chart.render(painter, QRectF(0, 0, pdf.width(), pdf.height()));
  painter.end();
  return bytes;
}

}  // namespace

void inspectPaperChart(const ChartDrawing& draw, const ChartExportRequest& request,
                       const std::function<void(const QChart&)>& look) {
  const PaperChart chart(draw, request);
  look(chart.chart());
}

QImage chartImage(const ChartDrawing& draw, const ChartExportRequest& request) {
  PaperChart chart(draw, request);
  const PixelSize pixels = pngPixelSize(request);
  QImage image(static_cast<int>(pixels.width), static_cast<int>(pixels.height),
               QImage::Format_ARGB32_Premultiplied);
  const int dotsPerMetre = static_cast<int>(std::lround(request.dpi / kMmPerInch * 1000.0));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  QPainter painter(&image);
  chart.render(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
  painter.end();
  return image;
}

void exportChartPicture(const ChartDrawing& draw, const ChartExportRequest& request) {
  QByteArray bytes;
  if (request.format == ChartFormat::kPng) {
    bytes = pngBytes(chartImage(draw, request));
  } else if (request.format == ChartFormat::kTiff) {
    bytes = tiffBytes(chartImage(draw, request));
  } else {
    PaperChart chart(draw, request);
    bytes =
        request.format == ChartFormat::kSvg ? svgBytes(chart, request) : pdfBytes(chart, request);
  }
  saveReplacing(request.file,
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace pellmar
