#pragma once

#include <QString>
#include <optional>
#include <string_view>

#include "app/analysis.h"

class QChart;
class QPointF;
class QXYSeries;

namespace pellmar {

// The seven charts of the Basic Run results: four age-stage charts with one curve per stage
// column and three age-specific charts with one curve; and the fecundity curves of the life
// table, once it has been computed.
// Then the life expectancy e(x, j) and the reproductive value v(x, j) of each age-stage group.
enum class LifeChart { kSxj, kGij, kDij, kCij, kLx, kCx, kLxCx, kFecundity, kExj, kVxj };

// The caption of the fecundity chart's buttons.
inline constexpr const char* kFecundityChartCaption = "l(x), f(x), m(x), l(x)m(x)";

// The chart's name on the command line ("sxj", "lxcx", "fecundity", ...), and the chart a name
// stands for.
const char* lifeChartName(LifeChart kind);
std::optional<LifeChart> lifeChartNamed(std::string_view name);

// Replaces the content of `chart` with the chart `kind` of the Basic Run results. A stage's
// curve runs over the ages at which the stage exists; an age-specific curve over the ages
// 0 .. maxAgeIndex, closed by the value 0 at maxAgeIndex + 1. The age axis shows days (x times
// the time unit). The vertical axis is named as the curve is (s(x,j), l(x)c(x), ...), and the
// legend names each stage in full. Probabilities run on a scale from 0 to 1, the others on one
// fitted to their data, every scale in round steps that leave room for whole labels. The
// fecundity chart draws l(x) on the left and f(x), m(x) and l(x)m(x) against a scale of their
// own on the right; without a life table it is left empty.
void drawLifeChart(QChart& chart, LifeChart kind, const Analysis& analysis);

// What the charts of the Basic Run and the life table are drawn from.
struct LifeChartData {
  const Study& study;
  const BasicRunResults& basic;
  const FecundityLifeTable* lifeTable = nullptr;
  const FecundityData* fecundity = nullptr;  // the eggs, for v(x, j)
};
void drawLifeChart(QChart& chart, LifeChart kind, const LifeChartData& data);

// What hovering near `point` of a curve drawn by drawLifeChart() shows: the age in days, the
// stage and the value of the curve's nearest point.
QString curveToolTip(const QXYSeries& series, const QPointF& point);

// Removes every series and axis of a chart.
void clearChart(QChart& chart);

}  // namespace pellmar
