#include "ui/charts/treatment_charts.h"

#include <QChart>
#include <QGuiApplication>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/data/study_reader.h"
#include "core/user_error.h"
#include "ui/charts/chart_style.h"
#include "ui/charts/life_charts.h"
#include "ui/charts/nice_axis.h"
#include "ui/charts/palette_colours.h"

namespace pellmar {
namespace {

// The projection of a figure of treatments starts from eggs, the same number for each.
constexpr double kInitialEggs = 10.0;

}  // namespace

std::vector<TreatmentCurves> analyseTreatments(const Project& project, double projectionDays) {
  std::vector<TreatmentCurves> treatments;
  InputFileReader reader;
  for (const Treatment& treatment : project.treatments) {
    try {
      TreatmentCurves curves{treatment.name,
                             readStudy(readDataFile(reader, treatment.data), project.timeUnit, ""),
                             {},
                             {},
                             {},
                             {}};
      curves.basic = basicRun(curves.study);
      if (treatment.fecundity) {
        const InputFile file = reader.read(*treatment.fecundity, "Read fecundity");
        curves.eggs = parseFecundity(file.bytes, file.path, curves.study);
        curves.lifeTable = computeFecundityLifeTable(curves.study, curves.basic, *curves.eggs);
        if (const std::optional<int> steps = projectionSteps(projectionDays, project.timeUnit)) {
          ProjectionStart start;
          start.count = kInitialEggs;
          curves.projection = projectPopulation(
              projectionLifeTableOf(curves.basic, *curves.lifeTable), start, *steps, "Projection");
        }
      }
      treatments.push_back(std::move(curves));
    } catch (const UserError& error) {
      throw UserError(error.title(), "Treatment " + treatment.name + ": " + error.text(),
                      error.kind());
    }
  }
  return treatments;
}

QString stageNameOf(const Study& study, int stage) {
  if (stage == study.stageCount) return QStringLiteral("Female");
  if (stage == study.stageCount + 1) return QStringLiteral("Male");
  if (study.stageName.size() < 2 || stage < 1 ||
      stage >= static_cast<int>(study.stageName[1].size())) {
    return {};
  }
  return QString::fromStdString(study.name(1, stage));
}

void drawTreatmentsChart(QChart& chart, TreatmentFigure figure,
                         std::span<const TreatmentCurves> treatments, int stage) {
  clearChart(chart);
  chart.setTitleFont(chartFont());
  chart.legend()->setVisible(true);
  chart.legend()->setFont(chartFont());
  chart.legend()->setAlignment(Qt::AlignRight);
  const QString stageName =
      treatments.empty() ? QString() : stageNameOf(treatments[0].study, stage);
  double lastDay = 1.0;
  double largest = 0.0;
  double smallest = std::numeric_limits<double>::infinity();
  for (const TreatmentCurves& treatment : treatments) {
    const BasicRunResults& r = treatment.basic;
    const double timeUnit = treatment.study.timeUnit;
    QList<QPointF> points;
    const auto add = [&points, &largest, &smallest](double day, double value) {
      points.append(QPointF(day, value));
      largest = std::max(largest, value);
      if (value > 0) smallest = std::min(smallest, value);
    };
    switch (figure) {
      case TreatmentFigure::kStageSurvival: {
        // The stage of that name in this treatment, which may have other stages before it.
        int column = 0;
        for (int j = 1; j <= treatment.study.stageCount + 1; ++j) {
          if (stageNameOf(treatment.study, j) == stageName) column = j;
        }
        if (column == 0 || column >= static_cast<int>(r.stageAgeRange.size())) break;
        const auto& range = r.stageAgeRange[static_cast<std::size_t>(column)];
        for (int x = range[1]; x <= range[2] && range[2] >= 0; ++x) {
          add(x * timeUnit, r.S.at(x, column));
        }
        break;
      }
      case TreatmentFigure::kLx:
      case TreatmentFigure::kCx: {
        const std::vector<double>& curve = figure == TreatmentFigure::kLx ? r.l : r.k;
        for (int x = 0; x <= r.maxAgeIndex && x < static_cast<int>(curve.size()); ++x) {
          add(x * timeUnit, curve[static_cast<std::size_t>(x)]);
        }
        add((r.maxAgeIndex + 1) * timeUnit, 0.0);
        break;
      }
      case TreatmentFigure::kProjection:
        if (!treatment.projection) break;
        for (int t = 0; t <= treatment.projection->lastStep(); ++t) {
          const double total = treatment.projection->total[static_cast<std::size_t>(t)];
          if (total > 0 && std::isfinite(total)) add(t * treatment.projection->timeUnit, total);
        }
        break;
    }
    if (points.isEmpty()) continue;
    lastDay = std::max(lastDay, points.back().x());
    auto* series = new QLineSeries(&chart);
    series->setName(QString::fromStdString(treatment.name));
    series->replace(points);
    chart.addSeries(series);
    series->setPen(QPen(curveColour(static_cast<int>(chart.series().size()) - 1), 2));
  }

  QString title;
  QString vertical;
  switch (figure) {
    case TreatmentFigure::kStageSurvival:
      title = QStringLiteral("Survival rate to %1, by treatment").arg(stageName);
      vertical = QStringLiteral("s(x,j)");
      break;
    case TreatmentFigure::kLx:
      title = QStringLiteral("Age-specific survival rate, by treatment");
      vertical = QStringLiteral("l(x)");
      break;
    case TreatmentFigure::kCx:
      title = QStringLiteral("Age-specific consumption rate, by treatment");
      vertical = QStringLiteral("c(x)");
      break;
    case TreatmentFigure::kProjection:
      title = QStringLiteral("Population projected from %1 eggs, by treatment").arg(kInitialEggs);
      vertical = QStringLiteral("Individuals");
      break;
  }
  chart.setTitle(title);
  QValueAxis* days = addValueAxis(
      chart,
      figure == TreatmentFigure::kProjection ? QStringLiteral("Day") : QStringLiteral("Age (days)"),
      Qt::AlignBottom);
  days->setGridLineVisible(false);
  QAbstractAxis* values = nullptr;
  if (figure == TreatmentFigure::kProjection) {
    auto* log = new QLogValueAxis(&chart);
    log->setTitleText(vertical);
    log->setTitleFont(chartFont());
    log->setLabelsFont(chartFont());
    log->setBase(10);
    log->setLabelFormat(QStringLiteral("%g"));
    if (!(largest > 0)) {
      smallest = 1;
      largest = 10;
    }
    log->setRange(std::pow(10.0, std::floor(std::log10(smallest))),
                  std::pow(10.0, std::ceil(std::log10(largest) + 1e-9)));
    chart.addAxis(log, Qt::AlignLeft);
    values = log;
  } else {
    values = addValueAxis(chart, vertical, Qt::AlignLeft);
  }
  for (QAbstractSeries* series : chart.series()) {
    series->attachAxis(days);
    series->attachAxis(values);
  }
  keepNiceScale(chart, *days, 0, lastDay);
  if (auto* linear = qobject_cast<QValueAxis*>(values)) {
    const bool probability = figure != TreatmentFigure::kCx;
    keepNiceScale(chart, *linear, 0, probability ? 1.0 : (largest > 0 ? largest : 1.0));
  }
  applyChartColours(chart, QGuiApplication::palette());
}

}  // namespace pellmar
