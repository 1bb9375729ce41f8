#pragma once

#include <string>

#include "core/session.h"

namespace pellmar {

// Compares the bootstrap C0 of this study (treatment 1) with the replicate C0 values of a second
// treatment read from `path`: its mean, variance and standard error, and the t-value of the
// difference of the two means. Writes "_6-Compare2Bs-output.txt", fills session.comparison and
// returns the message: "The t-value = " with t, then the difference of the means, its standard
// error from the two bootstrap variances, z and its two-sided normal P. A file that cannot be read
// or does not hold what the comparison needs raises a UserError titled "Compare two bootstraps";
// nothing is written then.
std::string compareTwoBootstraps(Session& session, const std::string& path);

}  // namespace pellmar
