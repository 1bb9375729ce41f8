#pragma once

#include "core/session.h"

namespace pellmar {

// Writes the table "Stage duration of each individual" into the basic report: one line per
// individual with its duration of every stage, its pre-adult duration and its longevity, then
// the count, mean, extremes, SD and SE of each column. A table of more than 11 columns is
// printed in two sections.
void writeIndividualStageDurationTable(const Session& session, ReportPages& pages);

}  // namespace pellmar
