#include "ui/charts/nice_axis.h"

#include <QChart>
#include <QFontMetricsF>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/numeric/nice_scale.h"

namespace pellmar {
namespace {

// Most intervals an axis shows, whatever room it has: more would crowd the plot with lines.
constexpr int kMostIntervals = 10;

// The scale of at most `intervals` steps, none below `leastStep`.
NiceScale scaleWithin(double low, double high, int intervals, double leastStep) {
  NiceScale scale = niceScale(low, high, intervals);
  while (scale.step < leastStep * (1 - 1e-9) && intervals > 1) {
    scale = niceScale(low, high, --intervals);
  }
  return scale;
}

QString labelOf(double tick, int decimals) { return QString::number(tick, 'f', decimals); }

// The room one tick's label takes along the axis, with a gap that keeps labels apart.
double labelExtent(const QValueAxis& axis, const NiceScale& scale) {
  const QFontMetricsF metrics(axis.labelsFont());
  if (axis.orientation() == Qt::Vertical) return metrics.height() * 1.5;
  double widest = 0.0;
  for (const double tick : scale.ticks()) {
    widest = std::max(widest, metrics.horizontalAdvance(labelOf(tick, scale.decimals)));
  }
  return widest + metrics.averageCharWidth() * 2;
}

void apply(QValueAxis& axis, const NiceScale& scale) {
  axis.setRange(scale.low, scale.high);
  axis.setTickType(QValueAxis::TicksDynamic);
  axis.setTickAnchor(scale.low);
  axis.setTickInterval(scale.step);
  axis.setMinorTickCount(0);
  axis.setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
}

double lengthOf(const QChart& chart, const QValueAxis& axis) {
  const QRectF plot = chart.plotArea();
  return axis.orientation() == Qt::Horizontal ? plot.width() : plot.height();
}

// The most intervals whose labels fit the axis's length in the plot area now.
void fit(const QChart& chart, QValueAxis& axis, double low, double high, double leastStep) {
  const double length = lengthOf(chart, axis);
  int intervals = kMostIntervals;
  NiceScale scale = scaleWithin(low, high, intervals, leastStep);
  while (intervals > 1) {
    const auto ticks = static_cast<double>(scale.ticks().size());
    if (length <= 0 || ticks * labelExtent(axis, scale) <= length) break;
    scale = scaleWithin(low, high, --intervals, leastStep);
  }
  if (axis.min() != scale.low || axis.max() != scale.high || axis.tickInterval() != scale.step) {
    apply(axis, scale);
  }
}

}  // namespace

void keepNiceScale(QChart& chart, QValueAxis& axis, double low, double high, double leastStep) {
  fit(chart, axis, low, high, leastStep);
  // A new scale changes the labels, and they the plot area, which calls for a fit again: only a
  // length changed by more than a pixel since the last fit is fitted anew, and never from
  // within a fit.
  struct Fitting {
    bool busy = false;
    double length = -1.0;
  };
  auto state = std::make_shared<Fitting>();
  QObject::connect(&chart, &QChart::plotAreaChanged, &axis,
                   [&chart, &axis, low, high, leastStep, state] {
                     const double length = lengthOf(chart, axis);
                     if (state->busy || std::abs(length - state->length) <= 1.0) return;
                     state->busy = true;
                     state->length = length;
                     fit(chart, axis, low, high, leastStep);
                     state->busy = false;
                   });
}

}  // namespace pellmar
