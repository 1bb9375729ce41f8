#pragma once

#include <optional>
#include <string_view>

#include "app/notice.h"
#include "core/predation/projection.h"

namespace pellmar {

inline constexpr std::string_view kProjectionTitle = "Projection";

// "Projection": the population and its predation, from `start`, over `days` days, after Read
// fecundity.
struct ProjectionRequest {
  double days = 0.0;
  ProjectionStart start;
};

struct ProjectionResult {
  int lastStep = 0;
  // Said when the projection ended early, its numbers about to pass what a double holds.
  std::optional<Notice> cutShort;
};

// Refuses days outside 0 .. 3650 and a start of no individuals.
void validate(const ProjectionRequest& request);

}  // namespace pellmar
