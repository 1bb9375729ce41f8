#include "core/resampling/paired_test.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace pellmar {
namespace {

bool sameQuantity(const ReplicatedQuantity& a, const ReplicatedQuantity& b) {
  return a.quantity == b.quantity && a.stage == b.stage && a.sex == b.sex;
}

const ReplicatedQuantity* find(std::span<const ReplicatedQuantity> quantities,
                               const ReplicatedQuantity& wanted) {
  const auto found =
      std::find_if(quantities.begin(), quantities.end(),
                   [&](const ReplicatedQuantity& q) { return sameQuantity(q, wanted); });
  return found == quantities.end() ? nullptr : &*found;
}

// A stage whose quantities are left out, once each, in the order first met.
void leaveOut(std::vector<std::string>& stages, const std::string& stage) {
  if (std::find(stages.begin(), stages.end(), stage) == stages.end()) stages.push_back(stage);
}

PairedTestRow pair(const ReplicatedQuantity& first, const ReplicatedQuantity& second,
                   double confidence, std::vector<double>& differences,
                   std::vector<double>& scratch) {
  PairedTestRow row;
  row.quantity = first.quantity;
  row.stage = first.stage;
  row.sex = first.sex;
  row.estimateFirst = first.estimate;
  row.estimateSecond = second.estimate;
  if (first.estimate && second.estimate) row.difference = *first.estimate - *second.estimate;
  differences.clear();
  const std::size_t count = std::min(first.values.size(), second.values.size());
  for (std::size_t b = 0; b < count; ++b) {
    if (first.valid[b] != 0 && second.valid[b] != 0) {
      differences.push_back(first.values[b] - second.values[b]);
    }
  }
  row.replicates = static_cast<long>(differences.size());
  if (differences.empty()) return row;
  row.differences = summarizeReplicateValues(differences, {}, confidence, scratch);
  row.p = achievedSignificance(differences);
  return row;
}

}  // namespace

double achievedSignificance(std::span<const double> differences) {
  const auto atMostZero =
      std::count_if(differences.begin(), differences.end(), [](double d) { return d <= 0; });
  const auto atLeastZero =
      std::count_if(differences.begin(), differences.end(), [](double d) { return d >= 0; });
  const auto tail = static_cast<double>(std::min(atMostZero, atLeastZero));
  return std::min(1.0, 2.0 * (1.0 + tail) / (static_cast<double>(differences.size()) + 1.0));
}

std::string pValueText(double p) {
  if (p < 0.001) return "< 0.001";
  std::array<char, 32> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), p, std::chars_format::general, 6);
  return "= " + std::string(buffer.data(), result.ptr);
}

PairedTest pairedBootstrapTest(const StudyReplicates& first, const StudyReplicates& second,
                               double confidence) {
  const auto sameStageAt = [&](int column) {
    const auto j = static_cast<std::size_t>(column);
    return column >= 1 && j <= first.stageColumns.size() && j <= second.stageColumns.size() &&
           first.stageColumns[j - 1] == second.stageColumns[j - 1];
  };
  PairedTest test;
  std::vector<std::string> leftOut;
  std::vector<double> differences;
  std::vector<double> scratch;
  for (const ReplicatedQuantity& ours : first.quantities) {
    if (ours.stageColumn > 0 && !sameStageAt(ours.stageColumn)) {
      leaveOut(leftOut, ours.stage);
      continue;
    }
    const ReplicatedQuantity* theirs = find(second.quantities, ours);
    if (theirs == nullptr) continue;
    if (theirs->stageColumn != ours.stageColumn) {
      leaveOut(leftOut, ours.stage);
      continue;
    }
    test.rows.push_back(pair(ours, *theirs, confidence, differences, scratch));
  }
  for (const ReplicatedQuantity& theirs : second.quantities) {
    if (theirs.stageColumn > 0 && !sameStageAt(theirs.stageColumn)) leaveOut(leftOut, theirs.stage);
  }
  if (!leftOut.empty()) {
    std::string stages;
    for (const std::string& stage : leftOut) stages += (stages.empty() ? "" : ", ") + stage;
    test.note = "Left out: the per-stage quantities of " + stages +
                ", which are not the same stage at the same position in both studies.";
  }
  return test;
}

}  // namespace pellmar
