#pragma once

#include <string>
#include <vector>

#include "core/analysis/age_stage_walk.h"
#include "core/data/study.h"

namespace pellmar {

// The stage statistics a replicate gathers, laid out in one row of sums per individual so that
// a replicate adds up rows: for stage j and kind q, the entry q x (m + 1) + j.
enum StageSumKind : int {
  kDurationSum,     // days in stage j, for individuals that passed through it
  kDurationCount,   // 1 when the individual passed through stage j
  kConsumptionSum,  // consumption in stage j, for individuals that passed through it
  kCumulativeSum,   // days from birth to the end of stage j, for those that passed 1 .. j
  kCumulativeCount,
  kFirstSexKind,  // then, for each stage-name line k, the consumption sum and the count of its
                  // individuals that passed through stage j
};

// The most stage sums a cohort has: 5 + 2 x 3 kinds for each of at most 12 stages and column 0.
inline constexpr int kMaxStageSums =
    (kFirstSexKind + 2 * kMaxStageNameLines) * (kMaxStageColumns + 1);

// Position of stage j, kind `kind`, in a row of stage sums of a cohort of m stages.
inline int stageSumIndex(int kind, int j, int m) { return kind * (m + 1) + j; }

// What one individual brings to any replicate it is drawn into, worked out once: its walk
// through the stage columns, its consumption cells (as positions in a replicate's age x column
// table), its row of stage sums and the last age index its cumulative durations give.
struct IndividualContribution {
  std::vector<StageRun> runs;     // in age order
  std::vector<int> cellPosition;  // x x (m + 2) + column, in age order
  std::vector<double> cellValue;
  std::vector<int> cellsThroughAge;  // [a]: how many cells lie at ages 0 .. a
  // The stage sums of the kinds before kFirstSexKind, then those of the individual's own sex
  // (a consumption sum and a count for each stage), which go to every stage-name line whose code
  // is the individual's sex (bit k of sexLines).
  std::vector<double> stageSums;
  std::vector<double> sexStageSums;
  unsigned sexLines = 0;
  int cumulativeAge = 0;  // nearest integer of the durations through the adult stage
};

// The cohort as the bootstrap and jackknife draw from it, read from the data file once.
struct CohortContributions {
  int individualCount = 0;  // N
  int stageCount = 0;       // m
  int sexCount = 0;
  double timeUnit = 1.0;
  int ageRows = 0;                                  // rows every age table of a replicate needs
  std::vector<IndividualContribution> individuals;  // i = 1 .. N
};

// Works out every individual's contribution from a study read in full.
CohortContributions buildCohortContributions(const Study& study);

}  // namespace pellmar
