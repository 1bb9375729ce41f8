#include "ui/charts/life_charts.h"

#include <QChart>
#include <QCursor>
#include <QGuiApplication>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "core/analysis/cohort_contributions.h"
#include "core/predation/stage_curves.h"
#include "ui/charts/chart_style.h"
#include "ui/charts/nice_axis.h"
#include "ui/charts/palette_colours.h"

namespace pellmar {

namespace {

// What a curve's tool tip names: its stage (none for the age-specific curves) and its value.
const char* const kStageProperty = "pellmarStage";
const char* const kValueProperty = "pellmarValue";

constexpr std::array<std::pair<LifeChart, const char*>, 10> kChartNames = {{
    {LifeChart::kSxj, "sxj"},
    {LifeChart::kGij, "gxj"},
    {LifeChart::kDij, "dxj"},
    {LifeChart::kCij, "cxj"},
    {LifeChart::kLx, "lx"},
    {LifeChart::kCx, "cx"},
    {LifeChart::kLxCx, "lxcx"},
    {LifeChart::kFecundity, "fecundity"},
    {LifeChart::kExj, "exj"},
    {LifeChart::kVxj, "vxj"},
}};
struct ChartSettings {
  QString title;
  QString verticalTitle;
  QString horizontalTitle;
  bool ageStage = true;
  // A probability: the scale runs from 0 to 1.
  bool probability = true;
};

// One name for each curve, the same on its axis, its button and its menu item.
ChartSettings settingsFor(LifeChart kind) {
  const QString age = QStringLiteral("Age (days)");
  switch (kind) {
    case LifeChart::kSxj:
      return {QStringLiteral("Survival rate to each age-stage group"), QStringLiteral("s(x,j)"),
              age};
    case LifeChart::kGij:
      return {QStringLiteral("Age-stage specific growth probability"), QStringLiteral("g(x,j)"),
              age};
    case LifeChart::kDij:
      return {QStringLiteral("Age-stage specific development probability"),
              QStringLiteral("d(x,j)"), age};
    case LifeChart::kCij:
      return {QStringLiteral("Age-stage specific consumption rate"), QStringLiteral("c(x,j)"), age,
              true, false};
    case LifeChart::kLx:
      return {QStringLiteral("Age-specific survival rate"), QStringLiteral("l(x)"), age, false,
              true};
    case LifeChart::kCx:
      return {QStringLiteral("Age-specific consumption rate"), QStringLiteral("c(x)"), age, false,
              false};
    case LifeChart::kLxCx:
      return {QStringLiteral("Age-specific net consumption"), QStringLiteral("l(x)c(x)"), age,
              false, false};
    case LifeChart::kFecundity:
      return {QStringLiteral("Age-specific survival rate and fecundity"), QStringLiteral("l(x)"),
              age, false, true};
    case LifeChart::kExj:
      return {QStringLiteral("Age-stage specific life expectancy"), QStringLiteral("e(x,j)"), age,
              true, false};
    case LifeChart::kVxj:
      return {QStringLiteral("Age-stage specific reproductive value"), QStringLiteral("v(x,j)"),
              age, true, false};
  }
  return {};
}

const AgeStageMatrix& matrixFor(LifeChart kind, const BasicRunResults& r) {
  switch (kind) {
    case LifeChart::kGij:
      return r.G;
    case LifeChart::kDij:
      return r.D;
    case LifeChart::kCij:
      return r.C;
    default:
      return r.S;
  }
}

const std::vector<double>& curveFor(LifeChart kind, const BasicRunResults& r) {
  switch (kind) {
    case LifeChart::kCx:
      return r.k;
    case LifeChart::kLxCx:
      return r.q;
    default:
      return r.l;
  }
}

// The full name of stage column j: its name on stage-name line 1, "Female" and "Male" for the
// adult columns.
QString fullStageName(const Study& study, int j) {
  const int m = study.stageCount;
  if (j == m) return QStringLiteral("Female");
  if (j == m + 1) return QStringLiteral("Male");
  if (study.stageName.size() < 2 || j < 0 || j >= static_cast<int>(study.stageName[1].size())) {
    return {};
  }
  return QString::fromStdString(study.name(1, j));
}

// Shows the curve's tool tip while the pointer is on it.
void showToolTipOnHover(QLineSeries* series) {
  QObject::connect(series, &QLineSeries::hovered, series,
                   [series](const QPointF& point, bool entered) {
                     if (entered) {
                       QToolTip::showText(QCursor::pos(), curveToolTip(*series, point));
                     } else {
                       QToolTip::hideText();
                     }
                   });
}

// A curve over the ages 0 .. last in days of `timeUnit`, closed by the value 0 at last + 1.
// Hovering over it tells the age, the stage and the value of the nearest point.
template <typename ValueAt>
QLineSeries* addCurve(QChart& chart, const QString& name, int last, double timeUnit,
                      ValueAt valueAt) {
  auto* series = new QLineSeries(&chart);
  series->setName(name);
  const QColor colour = curveColour(static_cast<int>(chart.series().size()));
  QList<QPointF> points;
  points.reserve(last + 2);
  for (int x = 0; x <= last; ++x) points.append(QPointF(x * timeUnit, valueAt(x)));
  points.append(QPointF((last + 1) * timeUnit, 0.0));
  series->replace(points);
  chart.addSeries(series);
  series->setPen(QPen(colour, 2));
  showToolTipOnHover(series);
  return series;
}

// The ages at which stage column j is occupied, first and last; none when it never is.
std::optional<std::pair<int, int>> stageAges(const BasicRunResults& r, int j) {
  if (j < 0 || j >= static_cast<int>(r.stageAgeRange.size())) return std::nullopt;
  const std::array<int, 3>& range = r.stageAgeRange[static_cast<std::size_t>(j)];
  if (range[1] > range[2] || range[2] < 0) return std::nullopt;
  return std::pair(range[1], range[2]);
}

// A stage's curve over the ages at which the stage exists, and nowhere else: a stage is not
// drawn as 0 before it begins or after its last individual has left it.
template <typename ValueAt>
QLineSeries* addStageCurve(QChart& chart, const QString& name,
                           const std::optional<std::pair<int, int>>& ages, double timeUnit,
                           ValueAt valueAt) {
  auto* series = new QLineSeries(&chart);
  series->setName(name);
  QList<QPointF> points;
  if (ages) {
    for (int x = ages->first; x <= ages->second; ++x) {
      points.append(QPointF(x * timeUnit, valueAt(x)));
    }
  }
  series->replace(points);
  chart.addSeries(series);
  series->setPen(QPen(curveColour(static_cast<int>(chart.series().size()) - 1), 2));
  showToolTipOnHover(series);
  return series;
}

// The same tool tip for every curve: the stage (or none) and what its values are.
void nameCurve(QLineSeries& series, const QString& stage, const QString& value) {
  series.setProperty(kStageProperty, stage);
  series.setProperty(kValueProperty, value);
}

template <typename SeriesList>
double largestValue(const SeriesList& series) {
  double largest = 0.0;
  for (const QAbstractSeries* s : series) {
    for (const QPointF& p : static_cast<const QLineSeries*>(s)->points()) {
      largest = std::max(largest, p.y());
    }
  }
  return largest;
}

// The curves of the life table with fecundity: l(x), then the three egg curves, which it returns.
std::array<QLineSeries*, 3> addFecundityCurves(QChart& chart, const FecundityLifeTable& table,
                                               double timeUnit) {
  const int last = table.maxAgeIndex;
  const auto curve = [last](const std::vector<double>& values) {
    return [&values, last](int x) {
      return x <= last && x < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(x)]
                                                              : 0.0;
    };
  };
  const auto add = [&chart, &curve, last, timeUnit](const QString& name,
                                                    const std::vector<double>& values) {
    QLineSeries* series = addCurve(chart, name, last, timeUnit, curve(values));
    nameCurve(*series, QString(), name);
    return series;
  };
  add(QStringLiteral("l(x)"), table.l);
  return {add(QStringLiteral("f(x)"), table.f), add(QStringLiteral("m(x)"), table.m),
          add(QStringLiteral("l(x)m(x)"), table.lm)};
}

// The curves e(x, j) or v(x, j), one per stage column over the ages at which the column is
// occupied (a stage that does not exist at an age is not drawn as 0 there). False when there
// is nothing to draw: v(x, j) needs the eggs and a lambda.
bool addStageCurves(QChart& chart, LifeChart kind, const LifeChartData& data,
                    const QString& valueName) {
  const bool reproductive = kind == LifeChart::kVxj;
  const bool withLambda =
      data.lifeTable != nullptr && data.fecundity != nullptr && data.lifeTable->growth.has_value();
  if (reproductive && !withLambda) return false;
  const std::optional<EggContributions> eggs =
      withLambda ? std::optional(buildEggContributions(data.study, *data.fecundity)) : std::nullopt;
  const StageCurves curves =
      stageCurvesOf(buildCohortContributions(data.study), eggs ? &*eggs : nullptr,
                    withLambda ? data.lifeTable->growth->lambda : 0.0);
  const std::vector<double>& values = reproductive ? curves.reproductiveValue : curves.expectancy;
  const double timeUnit = data.study.timeUnit;
  for (int j = 1; j <= data.study.stageCount + 1; ++j) {
    QList<QPointF> points;
    for (std::size_t k = 0; k < values.size(); ++k) {
      if (curves.cells.column[k] == j && std::isfinite(values[k])) {
        points.append(QPointF(curves.cells.age[k] * timeUnit, values[k]));
      }
    }
    if (points.isEmpty()) continue;
    auto* series = new QLineSeries(&chart);
    const QString name = fullStageName(data.study, j);
    series->setName(name);
    series->replace(points);
    chart.addSeries(series);
    series->setPen(QPen(curveColour(static_cast<int>(chart.series().size()) - 1), 2));
    nameCurve(*series, name, valueName);
    showToolTipOnHover(series);
  }
  return true;
}

}  // namespace

const char* lifeChartName(LifeChart kind) {
  for (const auto& [chart, name] : kChartNames) {
    if (chart == kind) return name;
  }
  return "";
}

std::optional<LifeChart> lifeChartNamed(std::string_view name) {
  for (const auto& [chart, chartName] : kChartNames) {
    if (name == chartName) return chart;
  }
  return std::nullopt;
}

QString curveToolTip(const QXYSeries& series, const QPointF& point) {
  const QList<QPointF> points = series.points();
  if (points.isEmpty()) return {};
  const auto nearest =
      std::min_element(points.begin(), points.end(), [&point](const QPointF& a, const QPointF& b) {
        return std::abs(a.x() - point.x()) < std::abs(b.x() - point.x());
      });
  QString text = QStringLiteral("Age (days): ") + QString::number(nearest->x(), 'g', 6);
  const QString stage = series.property(kStageProperty).toString();
  if (!stage.isEmpty()) text += QStringLiteral("\nStage: ") + stage;
  text += QLatin1Char('\n') + series.property(kValueProperty).toString() + QStringLiteral(": ") +
          QString::number(nearest->y(), 'g', 6);
  return text;
}

void clearChart(QChart& chart) {
  chart.removeAllSeries();
  for (QAbstractAxis* axis : chart.axes()) {
    chart.removeAxis(axis);
    const std::unique_ptr<QAbstractAxis> removed(axis);
  }
}

void drawLifeChart(QChart& chart, LifeChart kind, const Analysis& analysis) {
  drawLifeChart(chart, kind,
                LifeChartData{analysis.study(), *analysis.basic(),
                              analysis.lifeTable() ? &*analysis.lifeTable() : nullptr,
                              analysis.fecundity() ? &*analysis.fecundity() : nullptr});
}

void drawLifeChart(QChart& chart, LifeChart kind, const LifeChartData& data) {
  clearChart(chart);
  const ChartSettings settings = settingsFor(kind);
  const BasicRunResults& r = data.basic;
  const bool fecundity = kind == LifeChart::kFecundity;
  if (fecundity && data.lifeTable == nullptr) return;
  const int last = fecundity ? data.lifeTable->maxAgeIndex : r.maxAgeIndex;
  const double timeUnit = data.study.timeUnit;

  chart.setTitle(settings.title);
  chart.setTitleFont(chartFont());
  chart.legend()->setVisible(settings.ageStage || fecundity);
  chart.legend()->setFont(chartFont());
  chart.legend()->setAlignment(Qt::AlignRight);

  std::array<QLineSeries*, 3> eggCurves{};
  if (fecundity) {
    eggCurves = addFecundityCurves(chart, *data.lifeTable, timeUnit);
  } else if (kind == LifeChart::kExj || kind == LifeChart::kVxj) {
    if (!addStageCurves(chart, kind, data, settings.verticalTitle)) return;
  } else if (settings.ageStage) {
    const AgeStageMatrix& matrix = matrixFor(kind, r);
    const Study& study = data.study;
    for (int j = 1; j <= study.stageCount + 1; ++j) {
      const QString name = fullStageName(study, j);
      QLineSeries* series = addStageCurve(chart, name, stageAges(r, j), timeUnit,
                                          [&matrix, j](int x) { return matrix.at(x, j); });
      nameCurve(*series, name, settings.verticalTitle);
    }
  } else {
    const std::vector<double>& curve = curveFor(kind, r);
    QLineSeries* series = addCurve(chart, settings.verticalTitle, last, timeUnit, [&curve](int x) {
      return x < static_cast<int>(curve.size()) ? curve[static_cast<std::size_t>(x)] : 0.0;
    });
    nameCurve(*series, QString(), settings.verticalTitle);
  }

  QValueAxis* horizontal = addValueAxis(chart, settings.horizontalTitle, Qt::AlignBottom);
  horizontal->setGridLineVisible(false);
  keepNiceScale(chart, *horizontal, 0, (last + 1) * timeUnit);

  QValueAxis* vertical = addValueAxis(chart, settings.verticalTitle, Qt::AlignLeft);
  vertical->setGridLinePen(QPen(Qt::black, 0, Qt::SolidLine));
  const double largest = largestValue(chart.series());
  keepNiceScale(chart, *vertical, 0, settings.probability ? 1.0 : (largest > 0 ? largest : 1.0));

  // The eggs have a scale of their own on the right: f(x) counts tens of eggs where l(x) stays
  // below 1.
  QValueAxis* eggs = nullptr;
  if (fecundity) {
    eggs = addValueAxis(chart, QStringLiteral("f(x), m(x), l(x)m(x)"), Qt::AlignRight);
    const double mostEggs = largestValue(eggCurves);
    eggs->setGridLineVisible(false);
    keepNiceScale(chart, *eggs, 0, mostEggs > 0 ? mostEggs : 1.0);
  }
  for (QAbstractSeries* series : chart.series()) {
    const bool egg = std::find(eggCurves.begin(), eggCurves.end(), series) != eggCurves.end();
    series->attachAxis(horizontal);
    series->attachAxis(egg ? eggs : vertical);
  }
  applyChartColours(chart, QGuiApplication::palette());
}

}  // namespace pellmar
