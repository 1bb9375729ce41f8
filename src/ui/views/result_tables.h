#pragma once

#include <QString>
#include <vector>

#include "app/analysis.h"
#include "ui/views/grid_table.h"

namespace pellmar {

// One tab of the result window: its caption ("&" marks the keyboard accelerator) and grid.
struct ResultTab {
  QString caption;
  Grid grid;
};

// The ten tabs of the result window, filled from the Basic Run results: the matrices S, G, D
// and C ("-" outside each stage's age range), the stage consumption and stage duration
// statistics, the curves l(x), c(x) and c(x) l(x), and the mean total consumption. With a life
// table from the fecundity, three more: l(x), f(x), m(x) and l(x)m(x) by age; R0, r, lambda, T,
// GRR, F, psi and omega; the female periods.
std::vector<ResultTab> resultTabs(const Analysis& analysis);

// The stage-mean table: one row per stage (the adult stage named "Adult") with the mean
// duration and its standard error, in a grid with room for at least nine stages; the rows
// beyond the last stage stay empty.
Grid stageMeanGrid(const Analysis& analysis);

// The heading line of the stage-mean table: the project and the basic report's file name.
QString stageMeanHeading(const Analysis& analysis);

}  // namespace pellmar
