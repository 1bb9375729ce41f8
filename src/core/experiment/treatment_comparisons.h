#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/exports/results_summary.h"
#include "core/numeric/p_adjust.h"
#include "core/resampling/paired_test.h"

namespace pellmar {

// One treatment of an experiment after its bootstrap: its summary and its replicates.
struct TreatmentReplicates {
  std::string name;
  std::vector<SummaryRow> summary;
  StudyReplicates replicates;
};

// The paired test of one quantity between treatments `first` < `second`, and its p adjusted
// within the quantity's family (none when the test has no p).
struct PairwiseComparison {
  std::size_t first = 0;
  std::size_t second = 0;
  PairedTestRow test;
  std::optional<double> pAdjusted;
};

// One quantity (with its stage and sex) across the treatments: each one's estimate and
// bootstrap SE, and its letters.
struct QuantityLetters {
  std::string quantity;
  std::string stage;
  std::string sex;
  std::vector<std::optional<double>> estimate;  // [treatment]
  std::vector<std::optional<double>> se;
  std::vector<std::string> letters;
};

struct TreatmentComparisons {
  std::vector<PairwiseComparison> pairs;  // by pair (1, 2), (1, 3), ..., then quantity
  std::vector<QuantityLetters> letters;   // in the order the first treatment's summary has them
  // The most pairs any family holds: with Holm or Bonferroni, nothing can be significant
  // unless B > 2m / alpha - 1.
  std::size_t largestFamily = 0;
};

// Tests every pair of treatments with the paired bootstrap test (replicate b with replicate b,
// every quantity both have), adjusts the p-values of each quantity's family of pairs by
// `adjust`, and gives each quantity's letters: two treatments share a letter exactly when
// their adjusted p is at least `alpha` (or the pair has no p).
TreatmentComparisons compareTreatments(std::span<const TreatmentReplicates> treatments,
                                       double confidence, PAdjustMethod adjust, double alpha);

// The replicates B that Holm and Bonferroni need before a family of `pairs` can have a
// significant pair at `alpha`: the smallest B > 2 pairs / alpha - 1.
long smallestUsefulReplicates(std::size_t pairs, double alpha);

}  // namespace pellmar
