#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pellmar {

// How the p-values of a family of tests are adjusted for their number m: as R's p.adjust does.
enum class PAdjustMethod {
  kHolm,               // min(1, max over k <= i of (m - k + 1) p(k)), on the sorted p
  kBonferroni,         // min(1, m p)
  kBenjaminiHochberg,  // min(1, min over k >= i of (m / k) p(k)), on the sorted p
  kNone,
};

// "holm", "bonferroni", "bh" or "none".
std::string_view pAdjustMethodName(PAdjustMethod method);
std::optional<PAdjustMethod> pAdjustMethodNamed(std::string_view name);

// The adjusted p-values of one family, in the order of `p`.
std::vector<double> adjustPValues(std::span<const double> p, PAdjustMethod method);

}  // namespace pellmar
