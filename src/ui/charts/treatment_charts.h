#pragma once

#include <QString>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "core/analysis/basic_run.h"
#include "core/data/fecundity_file.h"
#include "core/data/study.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/projection.h"

class QChart;

namespace pellmar {

// One treatment of a project analysed in memory for a figure: its study, its Basic Run and,
// with its fecundity file, its life table and its projection from 10 eggs.
struct TreatmentCurves {
  std::string name;
  Study study;
  BasicRunResults basic;
  std::optional<FecundityData> eggs;
  std::optional<FecundityLifeTable> lifeTable;
  std::optional<Projection> projection;
};

// Reads and analyses every treatment of `project`, in its order; nothing is written. The
// projections run `projectionDays` days. A fault in a file raises its UserError, the
// treatment named.
std::vector<TreatmentCurves> analyseTreatments(const Project& project, double projectionDays);

// The curves a figure of several treatments overlays, one colour per treatment.
enum class TreatmentFigure {
  kStageSurvival,  // s(x,j) of one stage
  kLx,
  kCx,
  kProjection,  // the total population projected, on a logarithmic axis
};

// Replaces the content of `chart` with `figure` of `treatments`, each named in the legend; for
// kStageSurvival, of the stage named as the first treatment's column `stage` (1 = the first
// stage), found by its name in each treatment. A treatment without what the figure needs (that
// stage, or eggs for a projection) is left out.
void drawTreatmentsChart(QChart& chart, TreatmentFigure figure,
                         std::span<const TreatmentCurves> treatments, int stage = 1);

// The name of stage column `stage` in the first treatment, for the figure's choices.
QString stageNameOf(const Study& study, int stage);

}  // namespace pellmar
