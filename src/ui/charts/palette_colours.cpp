#include "ui/charts/palette_colours.h"

#include <QAbstractAxis>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QPalette>
#include <QPen>
#include <QValueAxis>
#include <array>
#include <cmath>

namespace pellmar {

namespace {

constexpr double kLineContrast = 3.0;
constexpr float kLightnessStep = 0.02F;

// Up to twelve stage columns, each in a colour of its own.
constexpr std::array<QRgb, 12> kCurveColours = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728,
                                                0x9467bd, 0x8c564b, 0xe377c2, 0x7f7f7f,
                                                0xbcbd22, 0x17becf, 0x393b79, 0xaec7e8};

double linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  // Qt 6 keeps colour components as float; the luminance is worked out in double.
  const auto channel = [](float value) { return linear(static_cast<double>(value)); };
  return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
         0.0722 * channel(rgb.blueF());
}

}  // namespace

double contrastRatio(const QColor& first, const QColor& second) {
  const double a = luminance(first);
  const double b = luminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor readableOn(const QColor& background, const QColor& colour, double minimumContrast) {
  if (contrastRatio(background, colour) >= minimumContrast) return colour;
  const bool lighten = luminance(background) < 0.18;
  QColor adjusted = colour.toHsl();
  while (contrastRatio(background, adjusted) < minimumContrast) {
    // Qt 6 keeps colour components as float.
    const float lightness = adjusted.lightnessF() + (lighten ? kLightnessStep : -kLightnessStep);
    if (lightness < 0.0F || lightness > 1.0F)
      return lighten ? QColor(Qt::white) : QColor(Qt::black);
    adjusted.setHslF(adjusted.hslHueF(), adjusted.hslSaturationF(), lightness);
  }
  return adjusted.toRgb();
}

bool isDark(const QPalette& palette) {
  return luminance(palette.color(QPalette::Window)) <
         luminance(palette.color(QPalette::WindowText));
}

QColor curveColour(int index) {
  return QColor(kCurveColours[static_cast<std::size_t>(index) % kCurveColours.size()]);
}

void applyChartColours(QChart& chart, const QPalette& palette) {
  const QColor background = palette.color(QPalette::Base);
  const QColor text = palette.color(QPalette::Text);
  chart.setBackgroundBrush(background);
  chart.setBackgroundPen(QPen(palette.color(QPalette::Mid)));
  chart.setTitleBrush(text);
  chart.legend()->setLabelColor(text);
  for (QAbstractAxis* axis : chart.axes()) {
    axis->setLabelsBrush(text);
    axis->setTitleBrush(text);
    axis->setLinePenColor(text);
    axis->setGridLineColor(text);
  }
  int index = 0;
  for (QAbstractSeries* series : chart.series()) {
    const QColor colour = readableOn(background, curveColour(index++), kLineContrast);
    if (auto* line = qobject_cast<QLineSeries*>(series)) {
      QPen pen = line->pen();
      pen.setColor(colour);
      line->setPen(pen);
    } else if (auto* area = qobject_cast<QAreaSeries*>(series);
               area != nullptr && area->brush().color().alpha() == 255) {
      // Bars take the palette's colours; a translucent band keeps the shade of its curve.
      area->setBrush(colour);
      QPen outline = area->pen();
      outline.setColor(text);
      area->setPen(outline);
    } else if (auto* bars = qobject_cast<QBarSeries*>(series)) {
      for (QBarSet* set : bars->barSets()) {
        set->setColor(colour);
        set->setBorderColor(text);
      }
    }
  }
}

}  // namespace pellmar
