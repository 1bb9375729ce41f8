#pragma once

#include <optional>
#include <string_view>

#include "app/notice.h"
#include "core/predation/projection.h"

namespace pellmar {

inline constexpr std::string_view kProjectionTitle = "Projection";

// "Projection": the population and its predation, from `start`, over `days` days, after Read
// fecundity; after an own-samples bootstrap with the eggs, with the band of its replicates and
// the life tables at the ranks of their lambda.
struct ProjectionRequest {
  double days = 0.0;
  ProjectionStart start;
};

struct ProjectionResult {
  int lastStep = 0;
  // With a band: how many replicates took part in it, and why some did not.
  std::optional<Notice> replicatesTakingPart;
  // Said when the projection ended early, its numbers about to pass what a double holds.
  std::optional<Notice> cutShort;
};

// Refuses days outside 0 .. 3650 and a start of no individuals.
void validate(const ProjectionRequest& request);

}  // namespace pellmar
