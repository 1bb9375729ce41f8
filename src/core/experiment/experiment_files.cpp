#include "core/experiment/experiment_files.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/exports/csv_cells.h"
#include "core/exports/paired_test_files.h"
#include "core/report/number_format.h"

namespace pellmar {
namespace {

void keyCells(ReportWriter& out, const std::string& quantity, const std::string& stage,
              const std::string& sex) {
  csvTextCell(out, quantity);
  out.text(",");
  csvTextCell(out, stage);
  out.text(",");
  csvTextCell(out, sex);
  out.text(",");
  csvTextCell(out, summaryUnit(quantity));
}

// `value` with `decimals` digits after the point, or rounded to 10^-decimals when that is
// negative; never through a locale.
std::string fixed(double value, int decimals) {
  if (decimals < 0) {
    const double scale = std::pow(10.0, -decimals);
    value = std::round(value / scale) * scale;
    decimals = 0;
  }
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ptr);
  // "-0" and "-0.0" read as 0.
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}

}  // namespace

std::string estimateWithSe(double estimate, std::optional<double> se) {
  if (!se || !std::isfinite(*se) || *se <= 0) {
    return se && *se == 0 ? formatShortest(estimate) + " ± 0" : formatShortest(estimate);
  }
  // Two significant digits of the SE: its first digit's place, one more.
  int decimals = 1 - static_cast<int>(std::floor(std::log10(*se)));
  // 0.0996 rounds to 0.10: one decimal fewer keeps two significant digits.
  if (std::fabs(std::stod(fixed(*se, decimals))) >= std::pow(10.0, 2 - decimals)) --decimals;
  return fixed(estimate, decimals) + " ± " + fixed(*se, decimals);
}

ReportWriter experimentSummaryText(std::span<const TreatmentReplicates> treatments) {
  ReportWriter out;
  out.text("treatment,").text(kSummaryColumns).endLine();
  for (const TreatmentReplicates& treatment : treatments) {
    for (const SummaryRow& row : treatment.summary) {
      csvTextCell(out, treatment.name);
      out.text(",");
      summaryCells(out, row);
      out.endLine();
    }
  }
  return out;
}

ReportWriter pairwiseText(std::span<const TreatmentReplicates> treatments,
                          const TreatmentComparisons& comparisons) {
  ReportWriter out;
  out.text(
         "quantity,stage,sex,unit,first,second,estimate_first,estimate_second,difference,se,"
         "ci_low,ci_high,p_value,p_adjusted,replicates")
      .endLine();
  for (const PairwiseComparison& pair : comparisons.pairs) {
    const PairedTestRow& row = pair.test;
    keyCells(out, row.quantity, row.stage, row.sex);
    out.text(",");
    csvTextCell(out, treatments[pair.first].name);
    out.text(",");
    csvTextCell(out, treatments[pair.second].name);
    pairedTestCells(out, row);
    csvNumberCell(out, pair.pAdjusted);
    out.text(",").digits(static_cast<double>(row.replicates));
    out.endLine();
  }
  return out;
}

ReportWriter lettersText(std::span<const TreatmentReplicates> treatments,
                         const TreatmentComparisons& comparisons) {
  ReportWriter out;
  out.text("quantity,stage,sex,unit,treatment,estimate,se,letters").endLine();
  for (const QuantityLetters& quantity : comparisons.letters) {
    for (std::size_t t = 0; t < treatments.size(); ++t) {
      keyCells(out, quantity.quantity, quantity.stage, quantity.sex);
      out.text(",");
      csvTextCell(out, treatments[t].name);
      csvNumberCell(out, quantity.estimate[t]);
      csvNumberCell(out, quantity.se[t]);
      out.text(",");
      csvTextCell(out, quantity.letters[t]);
      out.endLine();
    }
  }
  return out;
}

ReportWriter paperTableText(std::span<const TreatmentReplicates> treatments,
                            const TreatmentComparisons& comparisons) {
  ReportWriter out;
  out.text("\xEF\xBB\xBF").text("quantity,stage,sex,unit");
  for (const TreatmentReplicates& treatment : treatments) {
    out.text(",");
    csvTextCell(out, treatment.name);
  }
  out.endLine();
  for (const QuantityLetters& quantity : comparisons.letters) {
    keyCells(out, quantity.quantity, quantity.stage, quantity.sex);
    for (std::size_t t = 0; t < treatments.size(); ++t) {
      out.text(",");
      if (!quantity.estimate[t]) continue;
      std::string cell = estimateWithSe(*quantity.estimate[t], quantity.se[t]);
      if (!quantity.letters[t].empty()) cell += " " + quantity.letters[t];
      csvTextCell(out, cell);
    }
    out.endLine();
  }
  return out;
}

}  // namespace pellmar
