#pragma once

#include <cstdint>
#include <string>

#include "core/data/study_data.h"

namespace pellmar::tools {

// A stand-in for the bootstrap samples file the life-table program writes for a cohort: its
// replicates with each one's R0 and lambda, worked out from the cohort itself (a fecundity of ten
// eggs per adult female day), in the layout Pellmar reads. The stable age-stage distribution
// needs no stand-in: Pellmar writes it from the cohort's fecundity file.
struct CompanionShape {
  int replicates = 200;
  std::uint32_t seed = 11;
};

// Raises a UserError for a cohort in which no female lays eggs.
std::string bootstrapSamplesFile(const StudyData& study, const CompanionShape& shape);

}  // namespace pellmar::tools
