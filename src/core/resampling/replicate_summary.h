#pragma once

#include <vector>

#include "core/resampling/bootstrap_results.h"

namespace pellmar {

// The value of replicate b of a 1-based per-replicate table, 0 for a slot the table does not
// hold (own samples leave the Qp, psi and FP tables empty).
double replicateValue(const std::vector<double>& values, int b);

// Mean, variance and standard error of values[1 .. count], or of those with valid[b] not 0 when
// `valid` is given: mean = S1 / K, variance = (S2 - S1^2 / K) / (K - 1) over the K values, the
// formula the fixed-layout reports are known by. One value, or values all equal, give variance
// 0, and a variance that only rounding has pushed below 0 is 0, so the standard error always
// exists.
ReplicateSummary summarizeReplicates(const std::vector<double>& values, int count,
                                     const ReplicateValidity* valid = nullptr);

// Frequency classes of values[1 .. count]: 20 classes of equal width from the smallest value;
// class bounds 0 .. lastBuiltBound are built, and a value counts in class c - 1 for the first
// bound c in 1 .. lastCountedBound above it. With `skipZeros`, values of 0 are not counted.
FrequencyClasses frequencyClasses(const std::vector<double>& values, int count, int lastBuiltBound,
                                  int lastCountedBound, bool skipZeros);

}  // namespace pellmar
