#pragma once

#include <string_view>

#include "core/numeric/egg_contributions.h"
#include "core/report/report_output.h"
#include "core/resampling/bootstrap_results.h"

namespace pellmar {

inline constexpr std::string_view kOwnSamplesFileSuffix =
    "_11_Bootstrap_samples_from_fecundity.txt";

// Writes the samples of a finished own-samples bootstrap with fecundity as a samples file, field
// by field as SamplesFileReader reads it: the project, the user and the date; B; n; for every
// replicate its label, the n individual numbers in the order drawn, its R0 and its lambda; then
// the mean, variance and SE of R0 over the replicates with the cohort's R0, and the same four for
// lambda. Numbers are in their shortest exact form, so that a same-samples bootstrap of the file
// pairs the very replicates with the very R0 and lambda. The individuals are drawn again from
// the bootstrap's seed with `eggs`, as the bootstrap drew them; nothing of them is kept meanwhile.
void writeOwnSamplesFile(const Study& study, const BootstrapResults& boot,
                         const EggContributions& eggs, OutputFiles& files);

}  // namespace pellmar
