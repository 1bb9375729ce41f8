#pragma once

#include <string>
#include <vector>

#include "core/data/study_data.h"

namespace pellmar {

// One stay of an individual in one stage column during the day-by-day walk of the age-stage
// analysis: the ages first .. last in `column`, then, when `exitColumn` is not 0, a step into
// the next stage counted in D(last, exitColumn); otherwise the individual dies.
struct StageRun {
  int column = 0;
  int first = 0;
  int last = 0;
  int exitColumn = 0;
};

// One value of the age-stage total consumption T that an individual adds.
struct ConsumptionCell {
  int age = 0;
  int column = 0;
  double value = 0.0;
};

// What one individual brings to any replicate it is drawn into, worked out once: its walk
// through the stage columns, its consumption cells, its stage values and the last age index
// its cumulative durations give.
struct IndividualContribution {
  unsigned sexLines = 0;  // bit k set when the individual's sex is the code of stage-name line k
  bool female = false;
  std::vector<double> stageDuration;     // [j], in time units
  std::vector<double> stageConsumption;  // [j]
  std::vector<StageRun> runs;            // in age order
  std::vector<ConsumptionCell> cells;    // in age order
  int cumulativeAge = 0;                 // nearest integer of the durations through the adult stage
};

// The cohort as the bootstrap and jackknife draw from it, read from the data file once.
struct BootstrapCohort {
  int individualCount = 0;  // N
  int stageCount = 0;       // m
  int sexCount = 0;
  double timeUnit = 1.0;
  int ageRows = 0;                                  // rows every age table of a replicate needs
  std::vector<IndividualContribution> individuals;  // i = 1 .. N
};

// Works out every individual's contribution from a study read in full.
BootstrapCohort buildBootstrapCohort(const StudyData& study);

}  // namespace pellmar
