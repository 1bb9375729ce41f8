#include "ui/charts/projection_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QGuiApplication>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/report/number_format.h"
#include "core/resampling/projection_replicates.h"
#include "ui/charts/life_charts.h"
#include "ui/charts/nice_axis.h"
#include "ui/charts/palette_colours.h"

namespace pellmar {
namespace {

constexpr int kProjectionFontSize = 8;
// How opaque a band's shade is: the curve stays readable through it.
constexpr int kProjectionBandAlpha = 60;

QFont projectionFont() { return QFont(QStringLiteral("Arial"), kProjectionFontSize); }

template <typename Axis>
Axis* addProjectionAxis(QChart& chart, const QString& title, Qt::Alignment alignment) {
  auto* axis = new Axis(&chart);
  axis->setTitleText(title);
  axis->setTitleFont(projectionFont());
  axis->setLabelsFont(projectionFont());
  axis->setTruncateLabels(false);
  chart.addAxis(axis, alignment);
  return axis;
}

// One curve of the chart: its value and its band's at each step.
struct ProjectionCurve {
  QString name;
  std::vector<double> value;
  std::vector<double> low;
  std::vector<double> high;
};

bool onLogAxis(double value) { return value > 0.0 && std::isfinite(value); }

}  // namespace

void drawProjectionChart(QChart& chart, const Projection& projection, const ProjectionBand* band,
                         double confidence) {
  clearChart(chart);
  chart.setTitle(QStringLiteral("Projection"));
  chart.setTitleFont(projectionFont());
  chart.legend()->setVisible(true);
  chart.legend()->setFont(projectionFont());
  chart.legend()->setAlignment(Qt::AlignBottom);

  // The totals of the population and of the predation per day, where the file has them.
  const int steps = projection.lastStep() + 1;
  const auto columns = projection.population.empty() ? 0 : projection.population[0].size();
  const std::size_t populationTotal = columns;
  const std::size_t predationTotal = 2 * columns + 1;
  std::array<ProjectionCurve, 2> curves{
      ProjectionCurve{QStringLiteral("Population"), {}, {}, {}},
      ProjectionCurve{QStringLiteral("Predation per day"), {}, {}, {}}};
  for (int t = 0; t < steps; ++t) {
    const auto ti = static_cast<std::size_t>(t);
    double eaten = 0.0;
    for (const double prey : projection.predation[ti]) eaten += prey;
    curves[0].value.push_back(projection.total[ti]);
    curves[1].value.push_back(eaten / projection.timeUnit);
    if (band == nullptr) continue;
    const std::size_t step = ti * static_cast<std::size_t>(band->valuesPerStep);
    for (const auto& [curve, place] :
         {std::pair{&curves[0], populationTotal}, std::pair{&curves[1], predationTotal}}) {
      curve->low.push_back(band->low[step + place]);
      curve->high.push_back(band->high[step + place]);
    }
  }

  double smallest = std::numeric_limits<double>::infinity();
  double largest = 0.0;
  const auto reach = [&](double value) {
    if (!onLogAxis(value)) return;
    smallest = std::min(smallest, value);
    largest = std::max(largest, value);
  };
  std::vector<QAbstractSeries*> lines;
  for (std::size_t k = 0; k < curves.size(); ++k) {
    const ProjectionCurve& curve = curves[k];
    auto* line = new QLineSeries(&chart);
    line->setName(curve.name);
    for (int t = 0; t < steps; ++t) {
      const double value = curve.value[static_cast<std::size_t>(t)];
      reach(value);
      if (onLogAxis(value)) line->append(t * projection.timeUnit, value);
    }
    line->setPen(QPen(curveColour(static_cast<int>(k)), 2));
    lines.push_back(line);
  }
  // The bands first, so that the curves are drawn over them.
  std::vector<QAbstractSeries*> bands;
  if (band != nullptr) {
    for (std::size_t k = 0; k < curves.size(); ++k) {
      const ProjectionCurve& curve = curves[k];
      auto* upper = new QLineSeries(&chart);
      auto* lower = new QLineSeries(&chart);
      for (int t = 0; t < steps; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        if (!onLogAxis(curve.low[ti]) || !onLogAxis(curve.high[ti])) continue;
        reach(curve.low[ti]);
        reach(curve.high[ti]);
        lower->append(t * projection.timeUnit, curve.low[ti]);
        upper->append(t * projection.timeUnit, curve.high[ti]);
      }
      auto* area = new QAreaSeries(upper, lower);
      area->setParent(&chart);
      area->setName(QString::fromStdString(formatShortest(confidence * 100)) +
                    QStringLiteral(" % ") + QString::fromLatin1(kProjectionBandCaption));
      QColor shade = curveColour(static_cast<int>(k));
      shade.setAlpha(kProjectionBandAlpha);
      area->setBrush(shade);
      area->setPen(Qt::NoPen);
      chart.addSeries(area);
      bands.push_back(area);
    }
  }
  for (QAbstractSeries* line : lines) chart.addSeries(line);

  QValueAxis* days = addProjectionAxis<QValueAxis>(chart, QStringLiteral("Day"), Qt::AlignBottom);
  days->setGridLineVisible(false);
  auto* values = addProjectionAxis<QLogValueAxis>(
      chart, QStringLiteral("Individuals, prey per day"), Qt::AlignLeft);
  values->setBase(10);
  values->setLabelFormat(QStringLiteral("%g"));
  if (!(largest > 0.0)) {
    smallest = 1.0;
    largest = 10.0;
  }
  values->setRange(std::pow(10.0, std::floor(std::log10(smallest))),
                   std::pow(10.0, std::ceil(std::log10(largest) + 1e-9)));
  for (QAbstractSeries* series : chart.series()) {
    series->attachAxis(days);
    series->attachAxis(values);
  }
  keepNiceScale(chart, *days, 0, std::max(projection.lastStep() * projection.timeUnit, 1.0));
  applyChartColours(chart, QGuiApplication::palette());
  // The colours above are the curves'; a band keeps the shade of its curve, and only the first
  // band is named in the legend, for both.
  for (std::size_t k = 0; k < lines.size(); ++k) {
    auto* line = static_cast<QLineSeries*>(lines[k]);
    if (k < bands.size()) {
      auto* area = static_cast<QAreaSeries*>(bands[k]);
      QColor shade = line->pen().color();
      shade.setAlpha(kProjectionBandAlpha);
      area->setBrush(shade);
      if (k > 0) chart.legend()->markers(area).front()->setVisible(false);
    }
  }
}

}  // namespace pellmar
