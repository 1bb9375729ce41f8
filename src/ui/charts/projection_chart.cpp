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

// The totals of the population and of the predation per day at each step.
std::array<std::vector<double>, 2> totalsOf(const Projection& projection) {
  std::array<std::vector<double>, 2> totals;
  for (int t = 0; t <= projection.lastStep(); ++t) {
    const auto ti = static_cast<std::size_t>(t);
    double eaten = 0.0;
    for (const double prey : projection.predation[ti]) eaten += prey;
    totals[0].push_back(projection.total[ti]);
    totals[1].push_back(eaten / projection.timeUnit);
  }
  return totals;
}

}  // namespace

void drawProjectionChart(QChart& chart, const Projection& projection, const ProjectionBand* band,
                         double confidence, const ProjectionChartOptions& options) {
  clearChart(chart);
  chart.setTitle(QStringLiteral("Projection"));
  chart.setTitleFont(projectionFont());
  chart.legend()->setVisible(true);
  chart.legend()->setFont(projectionFont());
  chart.legend()->setAlignment(Qt::AlignBottom);
  const bool logarithmic = options.logarithmic;
  const auto shown = [logarithmic](double value) {
    return std::isfinite(value) && (logarithmic ? value > 0.0 : value >= 0.0);
  };

  // The totals of the population and of the predation per day, where the band has them.
  const int steps = projection.lastStep() + 1;
  const auto columns = projection.population.empty() ? 0 : projection.population[0].size();
  const std::array<std::size_t, 2> places = {columns, 2 * columns + 1};
  const std::array<std::vector<double>, 2> totals = totalsOf(projection);
  const std::array<QString, 2> names = {QStringLiteral("Population"),
                                        QStringLiteral("Predation per day")};
  std::vector<ProjectionCurve> curves;
  std::vector<int> colours;
  for (std::size_t k = 0; k < 2; ++k) {
    if (!(k == 0 ? options.population : options.predation)) continue;
    ProjectionCurve curve{names[k], totals[k], {}, {}};
    for (int t = 0; band != nullptr && t < steps; ++t) {
      const std::size_t step =
          static_cast<std::size_t>(t) * static_cast<std::size_t>(band->valuesPerStep);
      curve.low.push_back(band->low[step + places[k]]);
      curve.high.push_back(band->high[step + places[k]]);
    }
    curves.push_back(std::move(curve));
    colours.push_back(static_cast<int>(k));
  }

  double smallest = std::numeric_limits<double>::infinity();
  double largest = 0.0;
  const auto reach = [&](double value) {
    if (!shown(value) || !(value > 0.0)) return;
    smallest = std::min(smallest, value);
    largest = std::max(largest, value);
  };
  const auto lineOf = [&](const std::vector<double>& values, const QString& name, int colour,
                          Qt::PenStyle style, double timeUnit) {
    auto* line = new QLineSeries(&chart);
    line->setName(name);
    for (std::size_t t = 0; t < values.size(); ++t) {
      reach(values[t]);
      if (shown(values[t])) line->append(static_cast<double>(t) * timeUnit, values[t]);
    }
    line->setPen(QPen(curveColour(colour), 2, style));
    return line;
  };
  std::vector<QLineSeries*> lines;
  for (std::size_t k = 0; k < curves.size(); ++k) {
    lines.push_back(
        lineOf(curves[k].value, curves[k].name, colours[k], Qt::SolidLine, projection.timeUnit));
  }
  // The replicates' life tables at the ranks of lambda, dashed in their curve's colour.
  std::vector<QLineSeries*> rankLines;
  for (const LambdaRankProjection& rank : options.ranks) {
    const std::array<std::vector<double>, 2> rankTotals = totalsOf(rank.projection);
    for (std::size_t k = 0; k < curves.size(); ++k) {
      const std::size_t which = static_cast<std::size_t>(colours[k]);
      // One legend entry stands for every dashed life table.
      const QString name = QStringLiteral("\u03bb ranks");
      rankLines.push_back(lineOf(rankTotals[which], name, colours[k],
                                 rank.rank == "median" ? Qt::DashLine : Qt::DotLine,
                                 rank.projection.timeUnit));
    }
  }
  // The bands first, so that the curves are drawn over them.
  std::vector<QAreaSeries*> bands;
  if (band != nullptr) {
    for (std::size_t k = 0; k < curves.size(); ++k) {
      const ProjectionCurve& curve = curves[k];
      auto* upper = new QLineSeries(&chart);
      auto* lower = new QLineSeries(&chart);
      for (int t = 0; t < steps; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        if (!shown(curve.low[ti]) || !shown(curve.high[ti])) continue;
        reach(curve.low[ti]);
        reach(curve.high[ti]);
        lower->append(t * projection.timeUnit, curve.low[ti]);
        upper->append(t * projection.timeUnit, curve.high[ti]);
      }
      auto* area = new QAreaSeries(upper, lower);
      area->setParent(&chart);
      area->setName(QString::fromStdString(formatShortest(confidence * 100)) +
                    QStringLiteral(" % ") + QString::fromLatin1(kProjectionBandCaption));
      QColor shade = curveColour(colours[k]);
      shade.setAlpha(kProjectionBandAlpha);
      area->setBrush(shade);
      area->setPen(Qt::NoPen);
      chart.addSeries(area);
      bands.push_back(area);
    }
  }
  for (QLineSeries* line : lines) chart.addSeries(line);
  for (QLineSeries* line : rankLines) chart.addSeries(line);

  QValueAxis* days = addProjectionAxis<QValueAxis>(chart, QStringLiteral("Day"), Qt::AlignBottom);
  days->setGridLineVisible(false);
  QAbstractAxis* values = nullptr;
  if (!(largest > 0.0)) {
    smallest = 1.0;
    largest = 10.0;
  }
  if (logarithmic) {
    auto* log = addProjectionAxis<QLogValueAxis>(chart, QStringLiteral("Individuals, prey per day"),
                                                 Qt::AlignLeft);
    log->setBase(10);
    log->setLabelFormat(QStringLiteral("%g"));
    log->setRange(std::pow(10.0, std::floor(std::log10(smallest))),
                  std::pow(10.0, std::ceil(std::log10(largest) + 1e-9)));
    values = log;
  } else {
    values = addProjectionAxis<QValueAxis>(chart, QStringLiteral("Individuals, prey per day"),
                                           Qt::AlignLeft);
  }
  for (QAbstractSeries* series : chart.series()) {
    series->attachAxis(days);
    series->attachAxis(values);
  }
  keepNiceScale(chart, *days, 0, std::max(projection.lastStep() * projection.timeUnit, 1.0));
  if (auto* linear = qobject_cast<QValueAxis*>(values)) keepNiceScale(chart, *linear, 0, largest);
  applyChartColours(chart, QGuiApplication::palette());
  // The colours above are the curves'; a band keeps the shade of its curve, and only the first
  // band is named in the legend, for all; the ranks' dashes keep their curve's colour, and the
  // first is named for all.
  for (std::size_t k = 0; k < bands.size(); ++k) {
    QColor shade = lines[k]->pen().color();
    shade.setAlpha(kProjectionBandAlpha);
    bands[k]->setBrush(shade);
    if (k > 0) chart.legend()->markers(bands[k]).front()->setVisible(false);
  }
  for (std::size_t r = 0; r < rankLines.size(); ++r) {
    const std::size_t curve = r % std::max<std::size_t>(curves.size(), 1);
    QPen pen = rankLines[r]->pen();
    pen.setColor(lines[curve]->pen().color());
    rankLines[r]->setPen(pen);
    if (r > 0) chart.legend()->markers(rankLines[r]).front()->setVisible(false);
  }
}

}  // namespace pellmar
