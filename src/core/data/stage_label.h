#pragma once

#include <string>

#include "core/data/study.h"

namespace pellmar {

// The heading of stage column j (1 .. m + 1) in the report's age-stage and statistics tables,
// the figure files and the screens: the first four characters of its name on stage-name line 1,
// and "Fema" and "Male" for the adult columns m and m + 1. The study keeps its names as read.
std::string stageLabel(const Study& study, int j);

}  // namespace pellmar
