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

ProjectionResult Analysis::project(const ProjectionRequest& request, OutputFiles& files,
                                   const ProgressReport& progress, std::stop_token stop) {
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
  Projection projection =
      projectPopulation(projectionLifeTableOf(*basic_, *lifeTable_), request.start, *steps, title);
  ProjectionResult result;
  result.lastStep = projection.lastStep();
  std::optional<ProjectionReplicates> replicates;
  // Only replicates that drew their own eggs have their own life tables to project.
  if (bootstrap_ && bootstrap_->ownLifeTable && !bootstrap_->sameSamples) {
    const BootstrapResults& boot = *bootstrap_;
    const ProjectionBootstrap source{boot.seed,         boot.bootCount,  boot.bootSampleSize,
                                     boot.redrawBarren, boot.bootLambda, confidence_};
    replicates = projectReplicates(study_, *fecundity_, source, request.start, projection,
                                   ProgressAndStop{progress, std::move(stop)});
    const int taking = replicates->band.replicates;
    std::string text = "The projection's band is the bootstrap percentile band of " +
                       formatInteger(taking) + " replicates";
    if (taking < boot.bootCount) {
      text += " of " + formatInteger(boot.bootCount) + ": the other " +
              formatInteger(boot.bootCount - taking) +
              " drew no female that laid eggs and have no lambda, so no stable distribution";
    }
    result.replicatesTakingPart = Notice{title, text + "."};
  }
  files.save("_projection.csv",
             projectionText(study_, projection, replicates ? &replicates->band : nullptr));
  if (replicates) {
    files.save("_projection_lambda_ranks.csv", lambdaRanksText(study_, replicates->ranks));
  }
  if (projection.stepsAsked) {
    result.cutShort =
        Notice{title, "The projection ends at day " +
                          formatShortest(projection.lastStep() * study_.timeUnit) +
                          ": beyond it its numbers would pass 1e300, more than a double holds."};
  }
  projection_ = std::move(projection);
  projectionReplicates_ = std::move(replicates);
  return result;
}

}  // namespace pellmar
