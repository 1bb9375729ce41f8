#pragma once

#include <optional>

#include "core/report/report_output.h"
#include "core/report/report_writer.h"
#include "core/resampling/paired_test.h"

namespace pellmar {

// "<base>_replicates.csv": `replicate`, then one column for each quantity of the whole cohort
// that the bootstrap's replicates give (C0, R0, r, lambda, T, Qp, psi, omega, GRR, F, the
// longevities, the female periods), named after the quantity and, where it is given for more
// than one sex, the sex ("longevity_F"); one line per replicate, a cell empty where the
// replicate has no value, numbers in their shortest exact form. Nothing without replicates.
void writeReplicatesFile(const StudyReplicates& replicates, OutputFiles& files);

// The text of that file; none without replicates.
std::optional<ReportWriter> replicatesText(const StudyReplicates& replicates);

}  // namespace pellmar
