#include "app/projection_command.h"

#include <cmath>
#include <string>

#include "app/analysis.h"
#include "core/exports/projection_file.h"
#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {

void validate(const ProjectionRequest& request) {
  if (!(request.days >= 0.0 && request.days <= kMaxProjectionDays)) {
    throw UserError(
        std::string(kProjectionTitle),
        "The projection runs from 0 to " + formatShortest(kMaxProjectionDays) + " days.",
        ErrorKind::kInvalidRequest);
  }
  if (!(request.start.count > 0.0) || !std::isfinite(request.start.count)) {
    throw UserError(std::string(kProjectionTitle),
                    "The projection starts from a number of individuals above 0.",
                    ErrorKind::kInvalidRequest);
  }
}

ProjectionResult Analysis::project(const ProjectionRequest& request, OutputFiles& files) {
  validate(request);
  if (!lifeTable_) {
    throw UserError(std::string(kProjectionTitle),
                    "The projection needs the eggs of the females: it comes after Read "
                    "fecundity.",
                    ErrorKind::kInvalidRequest);
  }
  const std::string title(kProjectionTitle);
  const std::optional<int> steps = projectionSteps(request.days, study_.timeUnit);
  if (!steps) {
    throw UserError(title,
                    "A projection takes at most " + formatInteger(kMaxProjectionSteps) +
                        " steps of the time unit, and " + formatShortest(request.days) +
                        " days are more: project fewer days.",
                    ErrorKind::kInvalidRequest);
  }
  Projection projection = projectPopulation(projectionModelOf(study_, *basic_, *lifeTable_),
                                            request.start, *steps, title);
  files.save("_projection.csv", projectionText(study_, projection));
  ProjectionResult result;
  result.lastStep = projection.lastStep();
  if (projection.stepsAsked) {
    result.cutShort =
        Notice{title, "The projection ends at day " +
                          formatShortest(projection.lastStep() * study_.timeUnit) +
                          ": beyond it its numbers would pass 1e300, more than a double holds."};
  }
  projection_ = std::move(projection);
  return result;
}

}  // namespace pellmar
