#pragma once

#include "core/session.h"

namespace pellmar {

// Walks every individual day by day through its stages and builds the age-stage matrices N, G,
// D, S and C, the age range of every stage column and s(j).
void buildAgeStageMatrices(Session& session);

}  // namespace pellmar
