#pragma once

#include "core/session.h"

namespace pellmar {

// Writes the table "Basic Statistics of Life History Data" (durations, cumulative durations,
// span and consumption, overall and by sex) followed by the two weighting tables.
void writeBasicStatisticsTable(const Session& session, ReportPages& pages);

}  // namespace pellmar
