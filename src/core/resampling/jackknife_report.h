#pragma once

#include "core/analysis/report/report_writer.h"
#include "core/session.h"

namespace pellmar {

// The mean, variance, SD and SE of the N pseudo-values of C0, their smallest and largest value
// and frequency classes, then the report table of the pseudo-values with its page header.
void summarizeAndReportJackknife(Session& session, ReportWriter& out);

// Writes "_5_Pseudo_Consumption_Rate_For_t-test.txt": every omitted individual's number with
// its pseudo-value.
void writePseudoValueFile(Session& session);

// Writes "_9_Fig_Jackknife-Co frequency.txt": the largest and smallest pseudo-value, the sum of
// the frequencies and 22 frequency classes. A class begin below 0.000001 is set to 0 first.
void writeJackknifeFrequencyFile(Session& session);

}  // namespace pellmar
