#include "core/numeric/p_adjust.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

namespace pellmar {
namespace {

constexpr std::array<std::pair<PAdjustMethod, std::string_view>, 4> kMethodNames = {{
    {PAdjustMethod::kHolm, "holm"},
    {PAdjustMethod::kBonferroni, "bonferroni"},
    {PAdjustMethod::kBenjaminiHochberg, "bh"},
    {PAdjustMethod::kNone, "none"},
}};

}  // namespace

std::string_view pAdjustMethodName(PAdjustMethod method) {
  for (const auto& [m, name] : kMethodNames) {
    if (m == method) return name;
  }
  return {};
}

std::optional<PAdjustMethod> pAdjustMethodNamed(std::string_view name) {
  for (const auto& [method, methodName] : kMethodNames) {
    if (name == methodName) return method;
  }
  return std::nullopt;
}

std::vector<double> adjustPValues(std::span<const double> p, PAdjustMethod method) {
  const std::size_t m = p.size();
  std::vector<double> adjusted(p.begin(), p.end());
  if (m == 0 || method == PAdjustMethod::kNone) return adjusted;
  const auto count = static_cast<double>(m);
  if (method == PAdjustMethod::kBonferroni) {
    for (double& value : adjusted) value = std::min(1.0, count * value);
    return adjusted;
  }
  // Ranks 1 .. m of the ascending p-values; equal p-values keep their order.
  std::vector<std::size_t> order(m);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
  if (method == PAdjustMethod::kHolm) {
    double running = 0.0;
    for (std::size_t k = 0; k < m; ++k) {
      running = std::max(running, static_cast<double>(m - k) * p[order[k]]);
      adjusted[order[k]] = std::min(1.0, running);
    }
  } else {
    double running = 1.0;
    for (std::size_t k = m; k-- > 0;) {
      running = std::min(running, count / static_cast<double>(k + 1) * p[order[k]]);
      adjusted[order[k]] = std::min(1.0, running);
    }
  }
  return adjusted;
}

}  // namespace pellmar
