#pragma once

#include "core/analysis/report/report_writer.h"
#include "core/session.h"

namespace pellmar {

// Own samples: the mean, variance, standard error, minimum and maximum of the replicate C0
// values and their frequency classes, then the report table of every replicate's C0 with the
// page header.
void summarizeAndReportOwnSamples(Session& session, ReportWriter& out);

// Same samples: Qp(b) = C0(b) / R0(b) for every replicate, the summaries of C0, Qp, psi and FP
// and of the mean consumption of every stage, over all individuals and by sex, the C0
// frequency classes, then the report table of the six parameters with the page header.
void summarizeAndReportSameSamples(Session& session, ReportWriter& out);

}  // namespace pellmar
