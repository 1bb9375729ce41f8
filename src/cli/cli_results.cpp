#include "cli/cli_results.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace pellmar {
namespace {

using nlohmann::ordered_json;

// Six significant digits are what a reader takes in at a glance; the summary file has them all.
std::string shortNumber(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 6);
  return {buffer.data(), result.ptr};
}

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string percentText(double confidence) { return shortNumber(confidence * 100) + "%"; }

ordered_json numberOrNull(std::optional<double> value) {
  return value && std::isfinite(*value) ? ordered_json(*value) : ordered_json(nullptr);
}

ordered_json textOrNull(const std::string& text) {
  return text.empty() ? ordered_json(nullptr) : ordered_json(text);
}

}  // namespace

void printMainResults(std::ostream& out, const std::vector<SummaryRow>& summary,
                      ResampledBy resampling, double confidence, double timeUnit) {
  if (summary.empty()) return;
  out << "Main results";
  if (resampling == ResampledBy::kBootstrap) {
    out << " (SE and " << percentText(confidence) << " percentile interval of the bootstrap)";
  } else if (resampling == ResampledBy::kJackknife) {
    out << " (SE and " << percentText(confidence) << " t interval of the jackknife)";
  }
  out << ":\n";
  for (const char* quantity : {"C0", "psi", "omega", "Qp"}) {
    const auto row = std::find_if(summary.begin(), summary.end(),
                                  [&](const SummaryRow& r) { return r.quantity == quantity; });
    if (row == summary.end() || !row->estimate) continue;
    std::string line = "  " + padded(quantity, 7) + padded(shortNumber(*row->estimate), 12);
    if (const auto& resampled = row->resampled) {
      if (resampled->se) line += padded("SE " + shortNumber(*resampled->se), 16);
      line += "[" + shortNumber(resampled->low) + ", " + shortNumber(resampled->high) + "]";
      line += "  (" + std::to_string(resampled->count) + " values)";
    }
    // With a time unit other than a day the reader could take psi and omega per time unit,
    // as the fixed-layout files have them.
    if (timeUnit != 1 && (row->quantity == "psi" || row->quantity == "omega")) {
      line += "  " + std::string(summaryUnit(row->quantity));
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

void printPairedTest(std::ostream& out, const PairedTest& test, double confidence) {
  const auto c0 = std::find_if(test.rows.begin(), test.rows.end(),
                               [](const PairedTestRow& row) { return row.quantity == "C0"; });
  if (c0 != test.rows.end()) {
    out << "Paired bootstrap test of C0 (first - second):";
    if (c0->difference) out << " difference " << shortNumber(*c0->difference);
    if (const auto& d = c0->differences) {
      out << ", " << percentText(confidence) << " percentile interval [" << shortNumber(d->low)
          << ", " << shortNumber(d->high) << "], p " << pValueText(*c0->p) << " (" << c0->replicates
          << " replicates)";
    }
    out << '\n';
  }
  if (!test.note.empty()) out << test.note << '\n';
}

std::string resultsJson(const std::vector<SummaryRow>& summary,
                        const std::vector<std::string>& filesWritten,
                        std::optional<std::uint64_t> seed) {
  ordered_json rows = ordered_json::array();
  for (const SummaryRow& row : summary) {
    const auto& resampled = row.resampled;
    rows.push_back(ordered_json{
        {"quantity", row.quantity},
        {"stage", textOrNull(row.stage)},
        {"sex", textOrNull(row.sex)},
        {"unit", textOrNull(std::string(summaryUnit(row.quantity)))},
        {"estimate", numberOrNull(row.estimate)},
        {"boot_mean", numberOrNull(resampled ? std::optional(resampled->mean) : std::nullopt)},
        {"se", numberOrNull(resampled ? resampled->se : std::nullopt)},
        {"ci_low", numberOrNull(resampled ? std::optional(resampled->low) : std::nullopt)},
        {"ci_high", numberOrNull(resampled ? std::optional(resampled->high) : std::nullopt)},
        {"replicates", resampled ? ordered_json(resampled->count) : ordered_json(nullptr)}});
  }
  const ordered_json object{
      {"summary", rows},
      {"files_written", filesWritten},
      {"seed", seed ? ordered_json(std::to_string(*seed)) : ordered_json(nullptr)}};
  return object.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace pellmar
