#include "ui/life_charts.h"

#include <QChart>
#include <QGuiApplication>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/data/stage_label.h"
#include "ui/palette_colours.h"

namespace pellmar {

namespace {

constexpr double kFixedMaximum = 1.2;
// Eleven major divisions of the fixed scale of the age-stage probability charts.
constexpr int kFixedTicks = 12;
constexpr int kFontSize = 8;
struct ChartSettings {
  QString title;
  QString verticalTitle;
  QString horizontalTitle;
  bool ageStage = true;
  bool fixedScale = true;
  int fixedTicks = kFixedTicks;
};

ChartSettings settingsFor(LifeChart kind, ChartPlace place) {
  const bool large = place == ChartPlace::kLargeWindow;
  switch (kind) {
    case LifeChart::kSxj:
      return {QStringLiteral("Survival rate to each age-stage group"), QStringLiteral("S(i,j)"),
              QStringLiteral("age")};
    case LifeChart::kGij:
      return {QStringLiteral("Age-stage specific growth probability"),
              large ? QStringLiteral("g(i,j)") : QStringLiteral("g(x,j)"), QStringLiteral("Age")};
    case LifeChart::kDij:
      return {QStringLiteral("Age-stage specific development probability"),
              large ? QStringLiteral("d(i,j)") : QStringLiteral("d(x,j)"), QStringLiteral("Age")};
    case LifeChart::kCij:
      return {QStringLiteral("Age-stage specific consumption rate"),
              large ? QStringLiteral("c(i,j)") : QStringLiteral("c(x,j)"), QStringLiteral("Age"),
              true, false};
    case LifeChart::kLx:
      // A fixed maximum of 1.2 in steps of 0.2.
      return {QStringLiteral("Age-specific survival rate"),
              QStringLiteral("l(x)"),
              QStringLiteral("Age"),
              false,
              true,
              7};
    case LifeChart::kCx:
      return {QStringLiteral("Age-specific consumption rate"), QStringLiteral("c(x)"),
              QStringLiteral("Age"), false, false};
    case LifeChart::kLxCx:
      return {QStringLiteral("Age-specific net consumption"), QStringLiteral("l(x)*c(x)"),
              QStringLiteral("Age"), false, false};
    case LifeChart::kFecundity:
      return {QStringLiteral("Age-specific survival rate and fecundity"),
              QStringLiteral("l(x)"),
              QStringLiteral("Age"),
              false,
              true,
              7};
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

QFont chartFont() { return QFont(QStringLiteral("Arial"), kFontSize); }

// A curve over the ages 0 .. last, closed by the value 0 at last + 1.
template <typename ValueAt>
QLineSeries* addCurve(QChart& chart, const QString& name, int last, ValueAt valueAt) {
  auto* series = new QLineSeries(&chart);
  series->setName(name);
  const QColor colour = curveColour(static_cast<int>(chart.series().size()));
  QList<QPointF> points;
  points.reserve(last + 2);
  for (int x = 0; x <= last; ++x) points.append(QPointF(x, valueAt(x)));
  points.append(QPointF(last + 1, 0.0));
  series->replace(points);
  chart.addSeries(series);
  series->setPen(QPen(colour, 2));
  return series;
}

QValueAxis* addAxis(QChart& chart, const QString& title, Qt::Alignment alignment) {
  auto* axis = new QValueAxis(&chart);
  axis->setTitleText(title);
  axis->setTitleFont(chartFont());
  axis->setTitleVisible(true);
  axis->setLabelsFont(chartFont());
  // In a small chart the axis is given less room than its labels ask for; they are short enough
  // to be shown whole rather than cut to "...".
  axis->setTruncateLabels(false);
  chart.addAxis(axis, alignment);
  return axis;
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
std::array<QLineSeries*, 3> addFecundityCurves(QChart& chart, const FecundityLifeTable& table) {
  const int last = table.maxAgeIndex;
  const auto curve = [last](const std::vector<double>& values) {
    return [&values, last](int x) {
      return x <= last && x < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(x)]
                                                              : 0.0;
    };
  };
  addCurve(chart, QStringLiteral("l(x)"), last, curve(table.l));
  return {addCurve(chart, QStringLiteral("f(x)"), last, curve(table.f)),
          addCurve(chart, QStringLiteral("m(x)"), last, curve(table.m)),
          addCurve(chart, QStringLiteral("l(x)m(x)"), last, curve(table.lm))};
}

}  // namespace

void clearChart(QChart& chart) {
  chart.removeAllSeries();
  for (QAbstractAxis* axis : chart.axes()) {
    chart.removeAxis(axis);
    const std::unique_ptr<QAbstractAxis> removed(axis);
  }
}

void drawLifeChart(QChart& chart, LifeChart kind, const Session& session, ChartPlace place) {
  clearChart(chart);
  const ChartSettings settings = settingsFor(kind, place);
  const BasicRunResults& r = session.basic;
  const bool fecundity = kind == LifeChart::kFecundity;
  if (fecundity && !session.lifeTable) return;
  const int last = fecundity ? session.lifeTable->maxAgeIndex : r.maxAgeIndex;

  chart.setTitle(settings.title);
  chart.setTitleFont(chartFont());
  chart.legend()->setVisible(settings.ageStage || fecundity);
  chart.legend()->setFont(chartFont());
  chart.legend()->setAlignment(Qt::AlignRight);

  std::array<QLineSeries*, 3> eggCurves{};
  if (fecundity) {
    eggCurves = addFecundityCurves(chart, *session.lifeTable);
  } else if (settings.ageStage) {
    const AgeStageMatrix& matrix = matrixFor(kind, r);
    const StudyData& study = session.study;
    for (int j = 1; j <= study.stageCount + 1; ++j) {
      const QString name = QString::fromStdString(stageLabel(study, j));
      addCurve(chart, name, last, [&matrix, j](int x) { return matrix.at(x, j); });
    }
  } else {
    const std::vector<double>& curve = curveFor(kind, r);
    addCurve(chart, settings.verticalTitle, last, [&curve](int x) {
      return x < static_cast<int>(curve.size()) ? curve[static_cast<std::size_t>(x)] : 0.0;
    });
  }

  QValueAxis* horizontal = addAxis(chart, settings.horizontalTitle, Qt::AlignBottom);
  horizontal->setRange(0, last + 1);
  horizontal->setLabelFormat(QStringLiteral("%d"));
  horizontal->setGridLineVisible(false);

  QValueAxis* vertical = addAxis(chart, settings.verticalTitle, Qt::AlignLeft);
  vertical->setGridLinePen(QPen(Qt::black, 0, Qt::SolidLine));
  if (settings.fixedScale) {
    vertical->setRange(0, kFixedMaximum);
    vertical->setTickCount(settings.fixedTicks);
    vertical->setLabelFormat(QStringLiteral("%.2f"));
  } else {
    const double largest = largestValue(chart.series());
    vertical->setRange(0, largest > 0 ? largest : 1.0);
    vertical->applyNiceNumbers();
    vertical->setLabelFormat(QStringLiteral("%g"));
  }
  horizontal->applyNiceNumbers();

  // The eggs have a scale of their own on the right: f(x) counts tens of eggs where l(x) stays
  // below 1.
  QValueAxis* eggs = nullptr;
  if (fecundity) {
    eggs = addAxis(chart, QStringLiteral("f(x), m(x), l(x)m(x)"), Qt::AlignRight);
    const double largest = largestValue(eggCurves);
    eggs->setRange(0, largest > 0 ? largest : 1.0);
    eggs->applyNiceNumbers();
    eggs->setLabelFormat(QStringLiteral("%g"));
    eggs->setGridLineVisible(false);
  }
  for (QAbstractSeries* series : chart.series()) {
    const bool egg = std::find(eggCurves.begin(), eggCurves.end(), series) != eggCurves.end();
    series->attachAxis(horizontal);
    series->attachAxis(egg ? eggs : vertical);
  }
  applyChartColours(chart, QGuiApplication::palette());
}

}  // namespace pellmar
