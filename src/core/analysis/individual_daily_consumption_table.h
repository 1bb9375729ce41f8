#pragma once

#include "core/session.h"

namespace pellmar {

// Writes the table "Daily consumption rate of each individual" into the basic report: each
// individual's consumption in the first age intervals (at most nine) with its death marked,
// its total when the whole study fits, then the count, mean, SD and SE of every interval and
// the consumption maxima and effective consumers.
void writeIndividualDailyConsumptionTable(const Session& session, ReportPages& pages);

}  // namespace pellmar
