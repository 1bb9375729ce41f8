#pragma once

#include "core/report/report_output.h"
#include "core/report/report_writer.h"
#include "core/resampling/jackknife_results.h"

namespace pellmar {

// The report table of the pseudo-values of C0 with their summary, after its page header.
void writeJackknifeTable(const JackknifeReport& report, ReportPages& pages);

// Writes "_5_Pseudo_Consumption_Rate_For_t-test.txt": every omitted individual's number with
// its pseudo-value.
void writePseudoValueFile(const JackknifeReport& report, OutputFiles& files);

// Writes "_jackknife_pseudo_values.csv" for R and spreadsheets: a header and, for every omitted
// individual, its number and the pseudo-value of C0, with fecundity those of R0, r, lambda and T
// too (empty cells when r, lambda and T have none). Numbers in their shortest exact form, lines
// ended by CR LF.
void writeJackknifePseudoValuesFile(const JackknifeReport& report, OutputFiles& files);

// Writes "_9_Fig_Jackknife-Co frequency.txt": the largest and smallest pseudo-value, the sum of
// the frequencies and 22 frequency classes; a class begin below 0.000001 is written as 0.
void writeJackknifeFrequencyFile(const JackknifeReport& report, OutputFiles& files);

}  // namespace pellmar
