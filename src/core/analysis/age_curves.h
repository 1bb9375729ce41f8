#pragma once

#include "core/session.h"

namespace pellmar {

// Renames the adult columns of stage-name line 1 "Female" and "Male" and cuts every name of
// that line to its first four characters, for every later table and screen.
void cutStageNamesForTables(StudyData& study);

// Computes l(x), q(x), k(x), the cumulative q, C0, z(j), the T sums and the sum of matrix B,
// and writes the age-stage tables N, C, B, the three stage tables, T and S, and the
// age-specific table with the C0 summary into the basic report.
void computeAgeCurvesAndWriteTables(Session& session);

// Recomputes q(x), k(x) and C0 from the current C and S with the l(x) of the last
// computeAgeCurvesAndWriteTables; keeps C0 as fullC0, or, when `jackknifeIndex` is above 0,
// stores the jackknife values of that individual.
void recomputeNetConsumptionRate(Session& session, int jackknifeIndex = 0);

}  // namespace pellmar
