#pragma once

#include "core/report/report_output.h"
#include "core/resampling/bootstrap_results.h"

namespace pellmar {

// Writes "_9_Bootstrap-Co frequency.txt": the run's figures, the largest and smallest replicate
// C0, the sum of the frequencies and the 22 frequency classes of C0.
void writeBootstrapFrequencyFile(const BootstrapReport& report, OutputFiles& files);

// Writes a normal density curve "_22_Bootstrap-<label>-Normal density.txt" for the mean
// consumption of every stage (and of adult females and males), C0, Qp, psi and FP, each centred
// on the cohort's value with the bootstrap standard error as its spread. A curve whose standard
// error is 0, or a stage curve whose cohort mean is 0, is not written.
void writeNormalDensityCurves(const BootstrapReport& report, OutputFiles& files);

}  // namespace pellmar
