#pragma once

#include "core/report/report_writer.h"
#include "core/session.h"

namespace pellmar {

// The stable age-stage distribution a(x, j) read by the SASD command, rounded to 4 decimals,
// as a table of the open resampling report. Does nothing before the SASD command has run.
void writeStableDistributionTable(const Session& session, ReportPages& pages);

// The products a(x, j) x C(x, j) for every age from 0, with the Basic Run's C, as a table of the
// open resampling report, followed by their sum psi and psi x lambda. Does nothing before the
// SASD command has run. The predation rates of the SASD command are left as they are.
void writeStablePredationTable(const Session& session, ReportPages& pages);

}  // namespace pellmar
