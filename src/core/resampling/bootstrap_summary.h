#pragma once

#include <string>

#include "core/report/report_output.h"
#include "core/report/report_writer.h"
#include "core/resampling/bootstrap_results.h"

namespace pellmar {

// The summaries of a finished bootstrap: the mean, variance and standard error, minimum,
// maximum and frequency classes of the replicate C0 values. When the replicates have their own
// R0 and lambda (same samples, or own samples with eggs) also Qp(b) = C0(b) / R0(b) for every
// replicate and the cohort's Qp = `cohortC0` / R0, the summaries of Qp, psi and FP, and of the
// mean consumption of every stage, over all individuals and by sex; own samples also summarise
// their R0 and lambda into `lifeTable`, whose cohort R0 and lambda the caller has set. R0 is
// summarised over every replicate; Qp, psi, FP and lambda over those that laid eggs.
void summarizeBootstrap(BootstrapResults& boot, int stageCount, double cohortC0);

// "37 of 2000 replicates drew no laying female", or with redrawBarren "37 replicates were drawn
// again": what an own-samples bootstrap with eggs says of its replicates without eggs.
std::string barrenReplicatesLine(const BootstrapResults& boot);

// The report table of the bootstrap with its page header: every replicate's C0 (own samples), or
// its C0, R0, Qp, psi, FP and lambda (when the replicates have them), with their summaries.
void writeBootstrapTable(const BootstrapReport& report, ReportPages& pages);

}  // namespace pellmar
