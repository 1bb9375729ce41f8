#pragma once

#include "core/analysis/report/report_writer.h"
#include "core/session.h"

namespace pellmar {

// The summaries of a finished bootstrap: the mean, variance and standard error, minimum,
// maximum and frequency classes of the replicate C0 values. With the same samples also Qp(b) =
// C0(b) / R0(b) for every replicate and the cohort's Qp = `cohortC0` / R0, the summaries of Qp,
// psi and FP, and of the mean consumption of every stage, over all individuals and by sex.
void summarizeBootstrap(BootstrapState& boot, int stageCount, double cohortC0);

// The report table of the bootstrap with its page header: every replicate's C0 (own samples), or
// its C0, R0, Qp, psi, FP and lambda (same samples), with their summaries.
void writeBootstrapTable(const Session& session, ReportPages& pages);

}  // namespace pellmar
