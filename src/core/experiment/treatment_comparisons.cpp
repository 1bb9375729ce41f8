#include "core/experiment/treatment_comparisons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>

#include "core/numeric/compact_letters.h"

namespace pellmar {
namespace {

using QuantityKey = std::tuple<std::string, std::string, std::string>;

QuantityKey keyOf(const PairedTestRow& row) { return {row.quantity, row.stage, row.sex}; }
QuantityKey keyOf(const SummaryRow& row) { return {row.quantity, row.stage, row.sex}; }

}  // namespace

TreatmentComparisons compareTreatments(std::span<const TreatmentReplicates> treatments,
                                       double confidence, PAdjustMethod adjust, double alpha) {
  TreatmentComparisons result;
  const std::size_t count = treatments.size();
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      const PairedTest test =
          pairedBootstrapTest(treatments[i].replicates, treatments[j].replicates, confidence);
      for (const PairedTestRow& row : test.rows) result.pairs.push_back({i, j, row, std::nullopt});
    }
  }
  // Each quantity's family: the pairs that have a p.
  std::map<QuantityKey, std::vector<std::size_t>> families;
  for (std::size_t k = 0; k < result.pairs.size(); ++k) {
    if (result.pairs[k].test.p) families[keyOf(result.pairs[k].test)].push_back(k);
  }
  for (const auto& [key, members] : families) {
    std::vector<double> p;
    for (const std::size_t k : members) p.push_back(*result.pairs[k].test.p);
    const std::vector<double> adjusted = adjustPValues(p, adjust);
    for (std::size_t f = 0; f < members.size(); ++f) {
      result.pairs[members[f]].pAdjusted = adjusted[f];
    }
    result.largestFamily = std::max(result.largestFamily, members.size());
  }

  // Letters for every quantity some pair was tested on, in the first treatment's order.
  std::map<QuantityKey, std::vector<const PairwiseComparison*>> tested;
  for (const PairwiseComparison& pair : result.pairs) tested[keyOf(pair.test)].push_back(&pair);
  std::vector<QuantityKey> order;
  for (const TreatmentReplicates& treatment : treatments) {
    for (const SummaryRow& row : treatment.summary) {
      const QuantityKey key = keyOf(row);
      if (tested.contains(key) && std::find(order.begin(), order.end(), key) == order.end()) {
        order.push_back(key);
      }
    }
  }
  for (const QuantityKey& key : order) {
    QuantityLetters letters;
    std::tie(letters.quantity, letters.stage, letters.sex) = key;
    letters.estimate.resize(count);
    letters.se.resize(count);
    for (std::size_t t = 0; t < count; ++t) {
      for (const SummaryRow& row : treatments[t].summary) {
        if (keyOf(row) != key) continue;
        letters.estimate[t] = row.estimate;
        if (row.resampled) letters.se[t] = row.resampled->se;
      }
    }
    std::vector<std::uint8_t> differ(count * count, 0);
    for (const PairwiseComparison* pair : tested[key]) {
      if (!pair->pAdjusted || *pair->pAdjusted >= alpha) continue;
      differ[pair->first * count + pair->second] = 1;
      differ[pair->second * count + pair->first] = 1;
    }
    letters.letters = compactLetters(letters.estimate, differ);
    result.letters.push_back(std::move(letters));
  }
  return result;
}

long smallestUsefulReplicates(std::size_t pairs, double alpha) {
  // 2m / alpha is a whole number for the usual alphas, which division may put a hair below.
  const double bound = 2.0 * static_cast<double>(pairs) / alpha - 1.0;
  return static_cast<long>(std::floor(bound + 1e-9 * bound)) + 1;
}

}  // namespace pellmar
