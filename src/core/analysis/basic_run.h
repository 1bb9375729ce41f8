#pragma once

#include "core/session.h"

namespace pellmar {

// Sizes every table of the Basic Run results for the loaded study, all zero: stage arrays for
// columns 0 .. m + 1, sex arrays for lines 0 .. sexCount, individual arrays for 0 .. n and age
// arrays (and matrices) for every age index the study's records reach.
void prepareBasicRunResults(Session& session);

// The analysis of the Basic Run after the full read, in a fixed order (each step reads what the
// earlier ones computed): stage statistics, individual values, age-stage matrices, age curves,
// stage daily means and weighting coefficients. Returns false when the individuals counted by
// sex do not add up to n.
bool computeBasicRunResults(Session& session);

// The basic report's tables, appended to it in order, and the figure files, from the results.
void writeBasicRunOutput(Session& session);

// Both: the whole Basic Run after the full read.
bool runBasicRunSteps(Session& session);

// Number of age rows every age table needs for the loaded study (at least maxAgeIndex + 2).
int ageRowsFor(const StudyData& study);

}  // namespace pellmar
