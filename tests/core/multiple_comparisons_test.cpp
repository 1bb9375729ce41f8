#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/treatment_comparisons.h"
#include "core/numeric/compact_letters.h"
#include "core/numeric/p_adjust.h"

namespace pellmar {
namespace {

// p.adjust(c(0.01, 0.04, 0.03, 0.005, 0.2), method) in R, worked by hand: sorted, the p-values
// are 0.005, 0.01, 0.03, 0.04, 0.2.
TEST(PAdjust, GivesRsAdjustments) {
  const std::vector<double> p = {0.01, 0.04, 0.03, 0.005, 0.2};
  const auto expectAdjusted = [&](PAdjustMethod method, const std::vector<double>& want) {
    const std::vector<double> got = adjustPValues(p, method);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
      EXPECT_DOUBLE_EQ(got[i], want[i]) << pAdjustMethodName(method) << " " << i;
    }
  };
  expectAdjusted(PAdjustMethod::kBonferroni, {0.05, 0.2, 0.15, 0.025, 1.0});
  // 5 x 0.005, 4 x 0.01, 3 x 0.03, then the running maximum keeps 0.09 over 2 x 0.04.
  expectAdjusted(PAdjustMethod::kHolm, {0.04, 0.09, 0.09, 0.025, 0.2});
  // 5/1 x 0.005 and 5/2 x 0.01 are both 0.025; 5/3 x 0.03 and 5/4 x 0.04 both 0.05.
  expectAdjusted(PAdjustMethod::kBenjaminiHochberg, {0.025, 0.05, 0.05, 0.025, 0.2});
  expectAdjusted(PAdjustMethod::kNone, p);
  // Never above 1; a family of one is left as it is by every method.
  EXPECT_EQ(adjustPValues(std::vector<double>{0.6, 0.9}, PAdjustMethod::kHolm),
            (std::vector<double>{1.0, 1.0}));
  for (const PAdjustMethod method :
       {PAdjustMethod::kHolm, PAdjustMethod::kBonferroni, PAdjustMethod::kBenjaminiHochberg}) {
    EXPECT_EQ(adjustPValues(std::vector<double>{0.03}, method), std::vector<double>{0.03});
    EXPECT_EQ(pAdjustMethodNamed(pAdjustMethodName(method)), method);
  }
  EXPECT_FALSE(pAdjustMethodNamed("Holm"));
}

// The smallest p of a pair is 2/(B+1), so Holm and Bonferroni over m pairs can find a pair
// significant only when B > 2m/alpha - 1; the bound is often a whole number.
TEST(PAdjust, SmallestUsefulReplicatesIsTheFirstBAboveTheBound) {
  EXPECT_EQ(smallestUsefulReplicates(45, 0.05), 1800);  // K = 10 at alpha 0.05
  EXPECT_EQ(smallestUsefulReplicates(1, 0.05), 40);
  EXPECT_EQ(smallestUsefulReplicates(3, 0.01), 600);
  EXPECT_EQ(smallestUsefulReplicates(1, 0.03), 66);  // 65.67
}

// The K x K flags of the pairs that differ, given as pairs of treatments.
std::vector<std::uint8_t> differing(std::size_t count,
                                    const std::vector<std::pair<std::size_t, std::size_t>>& pairs) {
  std::vector<std::uint8_t> differ(count * count, 0);
  for (const auto& [a, b] : pairs) {
    differ[a * count + b] = 1;
    differ[b * count + a] = 1;
  }
  return differ;
}

TEST(CompactLetters, GroupsTreatmentsThatDoNotDiffer) {
  using Letters = std::vector<std::string>;
  using Estimates = std::vector<std::optional<double>>;
  // Three treatments, highest first, where only the first and third differ.
  EXPECT_EQ(compactLetters(Estimates{9, 5, 1}, differing(3, {{0, 2}})), (Letters{"a", "ab", "b"}));
  // The same given in another order: letters follow the estimates, not the file.
  EXPECT_EQ(compactLetters(Estimates{1, 9, 5}, differing(3, {{0, 1}})), (Letters{"b", "a", "ab"}));
  // Four treatments in two overlapping groups, {1, 2, 3} and {3, 4}.
  EXPECT_EQ(compactLetters(Estimates{4, 3, 2, 1}, differing(4, {{0, 3}, {1, 3}})),
            (Letters{"a", "a", "ab", "b"}));
  // A chain: each differs from all but its neighbours.
  EXPECT_EQ(compactLetters(Estimates{4, 3, 2, 1}, differing(4, {{0, 2}, {0, 3}, {1, 3}})),
            (Letters{"a", "ab", "bc", "c"}));
  // All equal, and all different.
  EXPECT_EQ(compactLetters(Estimates{2, 2, 2, 2}, differing(4, {})), (Letters{"a", "a", "a", "a"}));
  EXPECT_EQ(compactLetters(Estimates{1, 2, 3, 4},
                           differing(4, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}})),
            (Letters{"d", "c", "b", "a"}));
  // Equal estimates rank in the given order; a treatment without an estimate gets no letters.
  EXPECT_EQ(compactLetters(Estimates{5, std::nullopt, 5}, differing(3, {{0, 2}})),
            (Letters{"a", "", "b"}));
}

}  // namespace
}  // namespace pellmar
