#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

#include "ui/charts/frequency_chart.h"
#include "ui/charts/life_charts.h"
#include "ui_test_support.h"

namespace pellmar {
namespace {

using test_support::AnalysedStudy;
using test_support::goldenStudy;

QValueAxis* axis(const QChart& chart, Qt::Orientation orientation) {
  const QList<QAbstractAxis*> axes = chart.axes(orientation);
  return axes.size() == 1 ? qobject_cast<QValueAxis*>(axes.front()) : nullptr;
}

QLineSeries* curve(const QChart& chart, int index) {
  return qobject_cast<QLineSeries*>(chart.series().at(index));
}

// Three individuals, stages egg, larva and adult; ages 0..4 (see the study file).
class LifeCharts : public test_support::ThreeStagesSuite {
 protected:
  QChart chart_;
};

// The fecundity curves of the one laying female (4.5 eggs at age 4, see the golden case): l(x)
// on the fixed left scale, the eggs on a right scale fitted to f(x).
TEST(FecundityChart, SurvivalOnTheLeftEggsOnTheRight) {
  AnalysedStudy analysed(goldenStudy("three_stages"));
  QChart chart;
  drawLifeChart(chart, LifeChart::kFecundity, analysed.analysis());
  EXPECT_TRUE(chart.series().isEmpty()) << "nothing to draw before Read fecundity";

  const auto eggs = analysed.folder.folder() / "eggs.txt";
  std::ofstream(eggs) << "1, 0, 4.5\n";
  analysed.desktop.run([&](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
    return analysis.readFecundity(ReadFecundityRequest{eggs.string()}, reader, files);
  });
  drawLifeChart(chart, LifeChart::kFecundity, analysed.analysis());
  ASSERT_EQ(chart.series().size(), 4);
  const QStringList names = {QStringLiteral("l(x)"), QStringLiteral("f(x)"), QStringLiteral("m(x)"),
                             QStringLiteral("l(x)m(x)")};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(chart.series().at(k)->name(), names[k]);
  EXPECT_DOUBLE_EQ(curve(chart, 1)->points()[4].y(), 4.5);
  EXPECT_DOUBLE_EQ(curve(chart, 3)->points()[4].y(), 1.5);
  const QList<QAbstractAxis*> left = chart.axes(Qt::Vertical, curve(chart, 0));
  const QList<QAbstractAxis*> right = chart.axes(Qt::Vertical, curve(chart, 1));
  ASSERT_EQ(left.size(), 1);
  ASSERT_EQ(right.size(), 1);
  EXPECT_EQ(left.front()->alignment(), Qt::AlignLeft);
  EXPECT_EQ(right.front()->alignment(), Qt::AlignRight);
  EXPECT_DOUBLE_EQ(qobject_cast<QValueAxis*>(left.front())->max(), 1.0);
  EXPECT_GE(qobject_cast<QValueAxis*>(right.front())->max(), 4.5);
}

// e(x, j) and v(x, j) of the one laying female's cohort (see the golden case): a curve per
// stage column over the ages it is occupied, none drawn as 0 where a stage does not exist.
TEST(StageCurveCharts, ExpectancyAndReproductiveValueOfTheThreeStages) {
  AnalysedStudy analysed(goldenStudy("three_stages"));
  QChart chart;
  drawLifeChart(chart, LifeChart::kVxj, analysed.analysis());
  EXPECT_TRUE(chart.series().isEmpty()) << "no v(x, j) before the eggs";
  drawLifeChart(chart, LifeChart::kExj, analysed.analysis());
  ASSERT_EQ(chart.series().size(), 4);
  EXPECT_EQ(curve(chart, 0)->points(), (QList<QPointF>{QPointF(0, 13.0 / 3)}));
  EXPECT_EQ(curve(chart, 1)->points(), (QList<QPointF>{QPointF(1, 10.0 / 3), QPointF(2, 2)}));
  EXPECT_EQ(axis(chart, Qt::Vertical)->titleText(), QStringLiteral("e(x,j)"));

  const auto eggs = analysed.folder.folder() / "eggs.txt";
  std::ofstream(eggs) << "1, 0, 4.5\n";
  analysed.desktop.run([&](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
    return analysis.readFecundity(ReadFecundityRequest{eggs.string()}, reader, files);
  });
  drawLifeChart(chart, LifeChart::kVxj, analysed.analysis());
  ASSERT_EQ(chart.series().size(), 4);
  EXPECT_EQ(curve(chart, 2)->name(), QStringLiteral("Female"));
  EXPECT_EQ(curve(chart, 2)->points().back(), QPointF(4, 4.5));
}

TEST_F(LifeCharts, SurvivalHasOneCurvePerStageColumnOnAFixedScale) {
  ASSERT_EQ(analysis().basic()->maxAgeIndex, 4);
  drawLifeChart(chart_, LifeChart::kSxj, analysis());
  EXPECT_EQ(chart_.title(), QStringLiteral("Survival rate to each age-stage group"));
  ASSERT_EQ(chart_.series().size(), 4);
  // The legend names each stage in full, where the files cut them to four characters.
  const QStringList names = {QStringLiteral("Egg"), QStringLiteral("Larva"),
                             QStringLiteral("Female"), QStringLiteral("Male")};
  for (int j = 0; j < 4; ++j) EXPECT_EQ(chart_.series().at(j)->name(), names[j]);
  EXPECT_TRUE(chart_.legend()->isVisible());
  EXPECT_EQ(chart_.legend()->alignment(), Qt::AlignRight);

  // Larva: all three individuals at age 1, two at age 2; drawn only where larvae are.
  const QList<QPointF> larva = curve(chart_, 1)->points();
  ASSERT_EQ(larva.size(), 2);
  EXPECT_EQ(larva[0], QPointF(1, 1.0));
  EXPECT_NEAR(larva[1].y(), 2.0 / 3.0, 1e-12);

  // A probability from 0 to 1 by round steps, named as its button is.
  QValueAxis* vertical = axis(chart_, Qt::Vertical);
  ASSERT_NE(vertical, nullptr);
  EXPECT_DOUBLE_EQ(vertical->min(), 0.0);
  EXPECT_DOUBLE_EQ(vertical->max(), 1.0);
  EXPECT_EQ(vertical->tickType(), QValueAxis::TicksDynamic);
  EXPECT_DOUBLE_EQ(vertical->tickAnchor(), 0.0);
  EXPECT_DOUBLE_EQ(vertical->tickInterval(), 0.1) << "ten steps while the chart has no size";
  EXPECT_EQ(vertical->titleText(), QStringLiteral("s(x,j)"));
  EXPECT_EQ(axis(chart_, Qt::Horizontal)->titleText(), QStringLiteral("Age (days)"));
  // Solid grid lines across, in the text colour: black on a light palette.
  EXPECT_TRUE(vertical->isGridLineVisible());
  EXPECT_EQ(vertical->gridLinePen().style(), Qt::SolidLine);
  EXPECT_EQ(vertical->gridLinePen().brush().style(), Qt::SolidPattern);
  EXPECT_EQ(vertical->gridLineColor(), QApplication::palette().color(QPalette::Text));
  EXPECT_FALSE(axis(chart_, Qt::Horizontal)->isGridLineVisible());
}

// An age-specific curve closes with 0 one past the last age; a stage's curve runs over the
// ages at which the stage exists, never drawn as 0 before or after.
TEST_F(LifeCharts, CurvesRunOverTheAgesTheyExist) {
  const BasicRunResults& r = *analysis().basic();
  for (const LifeChart kind :
       {LifeChart::kSxj, LifeChart::kGij, LifeChart::kDij, LifeChart::kCij}) {
    drawLifeChart(chart_, kind, analysis());
    for (int j = 1; j <= static_cast<int>(chart_.series().size()); ++j) {
      const QList<QPointF> points = curve(chart_, j - 1)->points();
      const auto& range = r.stageAgeRange[static_cast<std::size_t>(j)];
      ASSERT_EQ(points.size(), range[2] - range[1] + 1) << lifeChartName(kind) << " " << j;
      EXPECT_DOUBLE_EQ(points.front().x(), range[1]);
      EXPECT_DOUBLE_EQ(points.back().x(), range[2]);
    }
  }
  for (const LifeChart kind : {LifeChart::kLx, LifeChart::kCx, LifeChart::kLxCx}) {
    drawLifeChart(chart_, kind, analysis());
    const QList<QPointF> points = curve(chart_, 0)->points();
    ASSERT_EQ(points.size(), 6);
    EXPECT_EQ(points.back(), QPointF(5, 0));
  }
}

// The age axis counts days: with half-day time units age index x lies at x / 2 days. Hovering
// tells the age in days, the stage and the value of the nearest point.
TEST(LifeChartAges, InDaysOfTheTimeUnitWithToolTips) {
  const AnalysedStudy analysed(goldenStudy("three_stages"), 0.5);
  QChart chart;
  drawLifeChart(chart, LifeChart::kSxj, analysed.analysis());
  const QList<QPointF> larva = curve(chart, 1)->points();
  ASSERT_EQ(larva.size(), 2);
  EXPECT_DOUBLE_EQ(larva[1].x(), 1.0);
  EXPECT_GE(axis(chart, Qt::Horizontal)->max(), 2.5);
  EXPECT_LT(axis(chart, Qt::Horizontal)->max(), 5.0);
  EXPECT_EQ(curveToolTip(*curve(chart, 1), QPointF(1.1, 0.3)),
            QStringLiteral("Age (days): 1\nStage: Larva\ns(x,j): 0.666667"));

  drawLifeChart(chart, LifeChart::kLx, analysed.analysis());
  EXPECT_EQ(curveToolTip(*curve(chart, 0), QPointF(0.4, 0)),
            QStringLiteral("Age (days): 0.5\nl(x): 1"));
}

TEST(LifeChartNames, NamesOfTheCommandLine) {
  for (const LifeChart kind :
       {LifeChart::kSxj, LifeChart::kGij, LifeChart::kDij, LifeChart::kCij, LifeChart::kLx,
        LifeChart::kCx, LifeChart::kLxCx, LifeChart::kFecundity}) {
    EXPECT_EQ(lifeChartNamed(lifeChartName(kind)), kind);
  }
  EXPECT_EQ(lifeChartNamed("lxcx"), LifeChart::kLxCx);
  EXPECT_FALSE(lifeChartNamed("Sxj").has_value());
}

TEST_F(LifeCharts, ConsumptionChartsScaleToTheirData) {
  drawLifeChart(chart_, LifeChart::kCij, analysis());
  EXPECT_EQ(chart_.title(), QStringLiteral("Age-stage specific consumption rate"));
  // The adult female eats 12 at age 4.
  const QList<QPointF> female = curve(chart_, 2)->points();
  const auto atFour = std::find_if(female.begin(), female.end(),
                                   [](const QPointF& point) { return point.x() == 4.0; });
  ASSERT_NE(atFour, female.end());
  EXPECT_DOUBLE_EQ(atFour->y(), 12.0);
  EXPECT_GE(axis(chart_, Qt::Vertical)->max(), 12.0);
  EXPECT_LT(axis(chart_, Qt::Vertical)->max(), 20.0);

  drawLifeChart(chart_, LifeChart::kLxCx, analysis());
  ASSERT_EQ(chart_.series().size(), 1);
  EXPECT_FALSE(chart_.legend()->isVisible());
  EXPECT_EQ(axis(chart_, Qt::Vertical)->titleText(), QStringLiteral("l(x)c(x)"));
  EXPECT_NEAR(curve(chart_, 0)->points()[2].y(), 4.5 * 2.0 / 3.0 + 8.0 / 3.0, 1e-12);
}

TEST_F(LifeCharts, SurvivalCurveRunsToOneAndHidesTheLegend) {
  drawLifeChart(chart_, LifeChart::kLx, analysis());
  EXPECT_EQ(chart_.title(), QStringLiteral("Age-specific survival rate"));
  EXPECT_FALSE(chart_.legend()->isVisible());
  EXPECT_DOUBLE_EQ(axis(chart_, Qt::Vertical)->max(), 1.0);
  EXPECT_NEAR(curve(chart_, 0)->points()[3].y(), 2.0 / 3.0, 1e-12);
}

// One name for each curve: its axis is titled exactly as its buttons and menu items name it.
TEST_F(LifeCharts, AxesAreNamedAsTheCurvesAre) {
  const std::vector<std::pair<LifeChart, QString>> names = {
      {LifeChart::kSxj, QStringLiteral("s(x,j)")},   {LifeChart::kGij, QStringLiteral("g(x,j)")},
      {LifeChart::kDij, QStringLiteral("d(x,j)")},   {LifeChart::kCij, QStringLiteral("c(x,j)")},
      {LifeChart::kLx, QStringLiteral("l(x)")},      {LifeChart::kCx, QStringLiteral("c(x)")},
      {LifeChart::kLxCx, QStringLiteral("l(x)c(x)")}};
  for (const auto& [kind, name] : names) {
    drawLifeChart(chart_, kind, analysis());
    EXPECT_EQ(axis(chart_, Qt::Vertical)->titleText(), name);
    EXPECT_EQ(axis(chart_, Qt::Horizontal)->titleText(), QStringLiteral("Age (days)"));
  }
}

// The histogram's bins have round edges; its statistics stand in the legend, not a title.
TEST(FrequencyCharts, RoundBinsAndTheStatisticsInTheLegend) {
  FrequencyFigure figure;
  for (int k = 0; k < 200; ++k)
    figure.values.push_back(2134.01 + 827.21 * std::sin(k) * std::sin(k));
  figure.valueTitle = QStringLiteral("Net consumption rate C0");
  figure.statistics = {QStringLiteral("B = 200"), QStringLiteral("Mean = 2563.63")};
  QChart chart;
  drawFrequencyChart(chart, figure);
  EXPECT_TRUE(chart.title().isEmpty());
  ASSERT_TRUE(chart.legend()->isVisible());
  ASSERT_EQ(chart.legend()->markers().size(), 2);
  EXPECT_EQ(chart.legend()->markers()[1]->label(), QStringLiteral("Mean = 2563.63"));
  const auto* bars = qobject_cast<QAreaSeries*>(chart.series().front());
  ASSERT_NE(bars, nullptr);
  double total = 0;
  const QList<QPointF> outline = bars->upperSeries()->points();
  for (qsizetype i = 0; i + 3 < outline.size(); i += 4) {
    EXPECT_DOUBLE_EQ(std::fmod(outline[i].x(), 50.0), 0.0) << "a bin edge on a multiple of 50";
    EXPECT_DOUBLE_EQ(outline[i + 2].x() - outline[i].x(), 50.0);
    total += outline[i + 1].y();
  }
  EXPECT_EQ(total, 200.0);
  EXPECT_EQ(axis(chart, Qt::Vertical)->titleText(), QStringLiteral("Frequency"));
  EXPECT_EQ(axis(chart, Qt::Horizontal)->titleText(), QStringLiteral("Net consumption rate C0"));
}

}  // namespace
}  // namespace pellmar
