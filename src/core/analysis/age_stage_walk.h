#pragma once

#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// One stay of an individual in one stage column during its day-by-day walk through the stages:
// the ages first .. last in `column`, then, when `exitColumn` is not 0, a step into the next
// stage, counted in D(last, exitColumn); otherwise the individual dies.
struct StageRun {
  int column = 0;
  int first = 0;
  int last = 0;
  int exitColumn = 0;
};

// Walks one individual of a study of m stages day by day through its stages, up to age index
// `lastAge`: every stage is counted off day by day (a negative duration up to 0, where the
// individual dies), and after the last pre-adult stage a female goes on in column m, a male in
// column m + 1. Its path depends on nobody else. The stays, in age order, the first from age 0
// in column 1.
std::vector<StageRun> walkThroughStages(const IndividualRecord& record, int m, int lastAge);

// Walks every individual through its stages and builds the age-stage matrices N, G, D, S and C,
// the age range of every stage column and s(j).
void buildAgeStageMatrices(const Study& study, BasicRunResults& basic);

}  // namespace pellmar
