#pragma once

#include "core/session.h"

namespace pellmar {

// Writes the table "Stage consumption rate of each individual" into the basic report: each
// individual's consumption in every stage, in the pre-adult period and over its life, then the
// count, mean, extremes, SD and SE of each column and the effective consumers. While doing so
// it stores the pre-adult consumption statistics over all individuals and for the sexes F, M
// and N, which the basic statistics table prints later.
void writeIndividualStageConsumptionTable(Session& session);

}  // namespace pellmar
