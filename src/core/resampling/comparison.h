#pragma once

#include <string>

#include "core/data/study.h"
#include "core/report/report_output.h"
#include "core/resampling/bootstrap_results.h"
#include "core/resampling/comparison_results.h"
#include "core/resampling/treatment2_file.h"

namespace pellmar {

// Compares the bootstrap C0 of this study (treatment 1) with the replicate C0 values of a second
// treatment: its mean, variance and standard error, and the t-value of the difference of the two
// means. A bootstrap without replicates, or variances of 0 in both, raises a UserError titled
// "Compare two bootstraps".
ComparisonResults compareTwoBootstraps(const BootstrapResults& boot, const Treatment2& treatment);

// Writes "_6-Compare2Bs-output.txt".
void writeComparisonFile(const Study& study, const BootstrapResults& boot,
                         const ComparisonResults& comparison, OutputFiles& files);

// The message of the comparison: "The t-value = " with t, what that t divides by, then the
// difference of the means, its standard error from the two bootstrap variances, z and its
// two-sided normal P.
std::string comparisonMessage(const ComparisonResults& comparison);

}  // namespace pellmar
