#pragma once

#include <cstdint>
#include <string>

#include "core/data/study_data.h"

namespace pellmar::tools {

// Stand-ins for the two files the life-table program writes for a cohort: its stable
// age-stage distribution with the oviposition ages of the females, and its bootstrap samples
// with each replicate's R0 and lambda. Both are worked out from the cohort itself (its stage
// transitions, and a fecundity of ten eggs per adult female day), so they are consistent with
// it, and have the layouts Pellmar reads.
struct CompanionShape {
  double lambda = 0.0;  // 0: the cohort's own lambda, from its R0
  bool inRow = true;
  int replicates = 200;
  std::uint32_t seed = 11;
};

std::string stableDistributionFile(const StudyData& study, const CompanionShape& shape);
std::string bootstrapSamplesFile(const StudyData& study, const CompanionShape& shape);

}  // namespace pellmar::tools
