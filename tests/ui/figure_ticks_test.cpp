// Every chart drawn for a paper at one column (85 x 60 mm, 8 pt): no text cut short, and every
// value axis ticked at round values, its ends on a tick.
#include <QAbstractAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QValueAxis>
#include <cmath>
#include <functional>
#include <vector>

#include "core/data/fecundity_file.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/projection.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/projection_replicates.h"
#include "ui/charts/chart_picture.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/life_charts.h"
#include "ui/charts/projection_chart.h"
#include "ui_test_support.h"

namespace pellmar {
namespace {

using test_support::AnalysedStudy;

// One column of a journal page, as the export dialog proposes it.
ChartExportRequest oneColumn() {
  ChartExportRequest request;
  request.widthMm = 85;
  request.heightMm = 60;
  request.dpi = 600;
  request.fontPt = 8;
  return request;
}

bool isRound(double step) {
  const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
         std::abs(mantissa - 5) < 1e-9;
}

bool onTick(double value, double step) {
  const double steps = value / step;
  return std::abs(steps - std::round(steps)) < 1e-6;
}

// Checks the chart `draw` fills, laid out at one column: what `name` tells the failures apart.
void expectReadableAtOneColumn(const ChartDrawing& draw, const std::string& name) {
  inspectPaperChart(draw, oneColumn(), [&name](const QChart& chart) {
    int labels = 0;
    for (const QGraphicsItem* item : chart.scene()->items()) {
      const auto* text = dynamic_cast<const QGraphicsTextItem*>(item);
      if (text == nullptr || !text->isVisible()) continue;
      const QString drawn = text->toPlainText();
      EXPECT_FALSE(drawn.contains(QStringLiteral("...")) || drawn.contains(QChar(0x2026)))
          << name << ": \"" << drawn.toStdString() << "\" is cut";
      ++labels;
    }
    EXPECT_GT(labels, 4) << name;
    for (const QAbstractAxis* axis : chart.axes()) {
      const auto* values = qobject_cast<const QValueAxis*>(axis);
      if (values == nullptr) continue;
      EXPECT_EQ(values->tickType(), QValueAxis::TicksDynamic) << name;
      const double step = values->tickInterval();
      EXPECT_TRUE(isRound(step)) << name << ": a step of " << step;
      EXPECT_TRUE(onTick(values->min(), step)) << name << ": " << values->min();
      EXPECT_TRUE(onTick(values->max(), step)) << name << ": " << values->max();
      const double ticks = (values->max() - values->min()) / step;
      EXPECT_GE(ticks, 2) << name;
      EXPECT_LE(ticks, 10) << name;
    }
  });
}

TEST(FiguresAtOneColumn, EveryChartKindHasWholeLabelsAtRoundTicks) {
  const AnalysedStudy analysed(test_support::exampleStudy());
  const Analysis& analysis = analysed.analysis();
  InputFileReader reader;
  const Study& study = analysis.study();
  const InputFile file =
      reader.read((std::filesystem::path(EXAMPLES_DIR) / "lady_beetle_fecundity.txt").string(),
                  "Read fecundity");
  const FecundityData eggs = parseFecundity(file.bytes, file.path, study);
  const FecundityLifeTable lifeTable = computeFecundityLifeTable(study, *analysis.basic(), eggs);
  const LifeChartData data{study, *analysis.basic(), &lifeTable, &eggs};
  for (const LifeChart kind : {LifeChart::kSxj, LifeChart::kGij, LifeChart::kDij, LifeChart::kCij,
                               LifeChart::kLx, LifeChart::kCx, LifeChart::kLxCx,
                               LifeChart::kFecundity, LifeChart::kExj, LifeChart::kVxj}) {
    expectReadableAtOneColumn([&data, kind](QChart& chart) { drawLifeChart(chart, kind, data); },
                              lifeChartName(kind));
  }

  // s(x,j) runs from 0 to 1 by 0.2.
  inspectPaperChart(
      [&data](QChart& chart) { drawLifeChart(chart, LifeChart::kSxj, data); }, oneColumn(),
      [](const QChart& chart) {
        const auto* survival = qobject_cast<const QValueAxis*>(chart.axes(Qt::Vertical).front());
        EXPECT_DOUBLE_EQ(survival->max(), 1.0);
        EXPECT_DOUBLE_EQ(survival->tickInterval(), 0.2);
      });

  const BootstrapResults boot =
      ownSamplesBootstrap(study, *analysis.basic(),
                          OwnSamplesOptions{200, study.individualCount, 2026, false}, nullptr, {});
  const FrequencyFigure histogram = bootstrapFrequencyFigure(boot);
  expectReadableAtOneColumn([&histogram](QChart& chart) { drawFrequencyChart(chart, histogram); },
                            "c0-frequency");

  const Projection projection = projectPopulation(
      projectionLifeTableOf(*analysis.basic(), lifeTable), ProjectionStart{}, 90, "Projection");
  expectReadableAtOneColumn(
      [&projection](QChart& chart) {
        drawProjectionChart(chart, projection, nullptr, kDefaultConfidence);
      },
      "projection");

  // With the band and the life tables at the lambda ranks, every legend entry stays whole.
  const StudyFecundity fecundity{eggs, lifeTable};
  const BootstrapResults withEggs =
      ownSamplesBootstrap(study, *analysis.basic(),
                          OwnSamplesOptions{50, study.individualCount, 7, false}, &fecundity, {});
  const ProjectionBootstrap source{withEggs.seed,           withEggs.bootCount,
                                   withEggs.bootSampleSize, withEggs.redrawBarren,
                                   withEggs.bootLambda,     kDefaultConfidence};
  const ProjectionReplicates replicates =
      projectReplicates(study, eggs, source, ProjectionStart{}, projection, {});
  ASSERT_EQ(replicates.ranks.size(), 3U);
  for (const bool logarithmic : {true, false}) {
    ProjectionChartOptions options;
    options.logarithmic = logarithmic;
    options.ranks = replicates.ranks;
    expectReadableAtOneColumn(
        [&](QChart& chart) {
          drawProjectionChart(chart, projection, &replicates.band, kDefaultConfidence, options);
        },
        logarithmic ? "projection with band" : "projection with band, linear");
  }
}

}  // namespace
}  // namespace pellmar
