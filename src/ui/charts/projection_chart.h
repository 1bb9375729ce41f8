#pragma once

#include <span>

class QChart;

namespace pellmar {

struct LambdaRankProjection;
struct Projection;
struct ProjectionBand;

// The caption of the band in the chart's legend, after its confidence: short, so that the
// legend below a one-column figure holds every entry whole.
inline constexpr const char* kProjectionBandCaption = "band";

// What the projection chart shows: which totals, on what axis, and the replicates' life tables
// at the ranks of lambda, drawn dashed.
struct ProjectionChartOptions {
  bool population = true;
  bool predation = true;
  // The numbers pass through orders of magnitude, so a logarithmic axis unless asked otherwise.
  bool logarithmic = true;
  std::span<const LambdaRankProjection> ranks;
};

// Replaces the content of `chart` with the total population and the predation per day of
// `projection` against the days. With `band`, the band of the replicates at `confidence` is
// shaded behind each curve. A value of 0, which a logarithmic axis cannot show, is left out
// there.
void drawProjectionChart(QChart& chart, const Projection& projection, const ProjectionBand* band,
                         double confidence, const ProjectionChartOptions& options = {});

}  // namespace pellmar
