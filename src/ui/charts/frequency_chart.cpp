#include "ui/charts/frequency_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QGuiApplication>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <span>

#include "core/numeric/nice_scale.h"
#include "core/resampling/bootstrap_results.h"
#include "core/resampling/jackknife_results.h"
#include "ui/charts/chart_style.h"
#include "ui/charts/life_charts.h"
#include "ui/charts/nice_axis.h"
#include "ui/charts/palette_colours.h"

namespace pellmar {

namespace {

// About as many bins as a reader can tell apart at a column's width.
constexpr int kTargetBins = 15;

QString shown(double value) { return QString::number(value, 'g', 6); }

// Replicates 1 .. count of a table indexed from 1.
std::vector<double> fromOne(const std::vector<double>& table, int count) {
  if (table.size() < 2) return {};
  const auto last = std::min(table.size(), static_cast<std::size_t>(count) + 1);
  return {table.begin() + 1, table.begin() + static_cast<std::ptrdiff_t>(last)};
}

QStringList spreadOf(const std::vector<double>& values, double mean, double se) {
  if (values.empty()) return {};
  const auto [least, most] = std::minmax_element(values.begin(), values.end());
  return {QStringLiteral("Mean = ") + shown(mean), QStringLiteral("SE = ") + shown(se),
          QStringLiteral("Min = ") + shown(*least), QStringLiteral("Max = ") + shown(*most)};
}

}  // namespace

FrequencyFigure bootstrapFrequencyFigure(const BootstrapResults& boot) {
  FrequencyFigure figure;
  figure.values = fromOne(boot.bootC0, boot.bootCount);
  figure.valueTitle = QStringLiteral("Net consumption rate C0");
  figure.statistics = QStringList{QStringLiteral("B = %1").arg(boot.bootCount)} +
                      spreadOf(figure.values, boot.c0.mean, boot.c0.se);
  return figure;
}

FrequencyFigure jackknifeFrequencyFigure(const JackknifeResults& jack) {
  FrequencyFigure figure;
  figure.values = fromOne(jack.jackknifePseudoC0, jack.fullCount);
  figure.valueTitle = QStringLiteral("Pseudo-value of C0");
  figure.statistics = QStringList{QStringLiteral("n = %1").arg(jack.fullCount)} +
                      spreadOf(figure.values, jack.jackMean, jack.jackSE);
  return figure;
}

void drawFrequencyChart(QChart& chart, const FrequencyFigure& figure) {
  clearChart(chart);
  chart.setTitle({});
  const NiceHistogram histogram = niceHistogram(std::span(figure.values), kTargetBins);

  // The bars as one outline: up each bin's left edge, across its top and down its right edge,
  // so that neighbouring bars are parted by a line.
  auto* outline = new QLineSeries(&chart);
  long most = 0;
  for (std::size_t k = 0; k < histogram.counts.size(); ++k) {
    const auto count = static_cast<double>(histogram.counts[k]);
    outline->append(histogram.edge(k), 0);
    outline->append(histogram.edge(k), count);
    outline->append(histogram.edge(k + 1), count);
    outline->append(histogram.edge(k + 1), 0);
    most = std::max(most, histogram.counts[k]);
  }
  auto* bars = new QAreaSeries(outline);
  bars->setName(figure.statistics.value(0, QStringLiteral("Frequency")));
  chart.addSeries(bars);
  // The other statistics as further lines of the legend: series with no points and a clear
  // mark, which the colours of a palette or of paper leave clear.
  for (qsizetype i = 1; i < figure.statistics.size(); ++i) {
    auto* line = new QScatterSeries(&chart);
    line->setName(figure.statistics[i]);
    line->setColor(Qt::transparent);
    line->setBorderColor(Qt::transparent);
    // The legend draws a scatter series' mark at its size: none.
    line->setMarkerSize(0);
    chart.addSeries(line);
  }

  auto* values = new QValueAxis(&chart);
  values->setTitleText(figure.valueTitle);
  auto* frequency = new QValueAxis(&chart);
  frequency->setTitleText(QStringLiteral("Frequency"));
  for (QValueAxis* axis : {values, frequency}) {
    axis->setTitleFont(chartFont());
    axis->setLabelsFont(chartFont());
    axis->setTruncateLabels(false);
  }
  values->setGridLineVisible(false);
  chart.addAxis(values, Qt::AlignBottom);
  chart.addAxis(frequency, Qt::AlignLeft);
  for (QAbstractSeries* series : chart.series()) {
    series->attachAxis(values);
    series->attachAxis(frequency);
  }
  if (histogram.counts.empty()) {
    keepNiceScale(chart, *values, 0, 1);
  } else {
    keepNiceScale(chart, *values, histogram.first, histogram.edge(histogram.counts.size()),
                  histogram.width);
  }
  keepNiceScale(chart, *frequency, 0, static_cast<double>(std::max(most, 1L)), 1.0);

  QLegend& legend = *chart.legend();
  legend.setVisible(true);
  legend.setAlignment(Qt::AlignRight);
  legend.setMarkerShape(QLegend::MarkerShapeFromSeries);
  for (QLegendMarker* marker : legend.markers(bars))
    marker->setShape(QLegend::MarkerShapeRectangle);
  legend.setFont(chartFont());
  legend.setBackgroundVisible(true);
  bars->setPen(QPen(Qt::black, 1));
  applyChartColours(chart, QGuiApplication::palette());
  legend.setBorderColor(chart.titleBrush().color());
}

}  // namespace pellmar
