#pragma once

class QChart;

namespace pellmar {

struct Projection;
struct ProjectionBand;

// The caption of the band in the chart's legend.
inline constexpr const char* kProjectionBandCaption = "bootstrap percentile band";

// Replaces the content of `chart` with the total population and the predation per day of
// `projection` against the days, on a logarithmic axis: the growth ratio of the first
// generations swings, and the numbers pass through orders of magnitude. With `band`, the band of
// the replicates at `confidence` is shaded behind each curve. A value of 0, which a logarithmic
// axis cannot show, is left out.
void drawProjectionChart(QChart& chart, const Projection& projection, const ProjectionBand* band,
                         double confidence);

}  // namespace pellmar
