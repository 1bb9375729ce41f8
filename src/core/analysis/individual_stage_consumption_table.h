#pragma once

#include "core/session.h"

namespace pellmar {

// Writes the table "Stage consumption rate of each individual" into the basic report: each
// individual's consumption in every stage, in the pre-adult period and over its life, then the
// count, mean, extremes, SD and SE of each column and the effective consumers.
void writeIndividualStageConsumptionTable(const Session& session, ReportPages& pages);

}  // namespace pellmar
