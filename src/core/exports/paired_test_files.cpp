#include "core/exports/paired_test_files.h"

#include <algorithm>

#include "core/exports/csv_cells.h"

namespace pellmar {

void pairedTestCells(ReportWriter& out, const PairedTestRow& row) {
  csvNumberCell(out, row.estimateFirst);
  csvNumberCell(out, row.estimateSecond);
  csvNumberCell(out, row.difference);
  const auto& d = row.differences;
  csvNumberCell(out, d ? d->se : std::nullopt);
  csvNumberCell(out, d ? std::optional(d->low) : std::nullopt);
  csvNumberCell(out, d ? std::optional(d->high) : std::nullopt);
  csvNumberCell(out, row.p);
}

namespace {

ReportWriter pairedTestText(const PairedTest& test) {
  ReportWriter out;
  out.text(
         "quantity,stage,sex,estimate_first,estimate_second,difference,se,ci_low,ci_high,p_value,"
         "replicates")
      .endLine();
  for (const PairedTestRow& row : test.rows) {
    csvTextCell(out, row.quantity);
    out.text(",");
    csvTextCell(out, row.stage);
    out.text(",");
    csvTextCell(out, row.sex);
    pairedTestCells(out, row);
    out.text(",").digits(static_cast<double>(row.replicates));
    out.endLine();
  }
  return out;
}

ReportWriter pairedC0Text(std::span<const double> first, std::span<const double> second) {
  ReportWriter out;
  out.text("replicate,C0_first,C0_second").endLine();
  const std::size_t count = std::min(first.size(), second.size());
  for (std::size_t b = 0; b < count; ++b) {
    out.digits(static_cast<double>(b + 1));
    csvNumberCell(out, first[b]);
    csvNumberCell(out, second[b]);
    out.endLine();
  }
  return out;
}

}  // namespace

std::string pairedTestCsv(const PairedTest& test) { return pairedTestText(test).contents(); }

std::string pairedC0Csv(std::span<const double> first, std::span<const double> second) {
  return pairedC0Text(first, second).contents();
}

void writePairedTestFiles(const PairedTest& test, std::span<const double> c0First,
                          std::span<const double> c0Second, const std::string& secondName,
                          OutputFiles& files) {
  files.save("_vs_" + secondName + "_paired_test.csv", pairedTestText(test));
  files.save("_vs_" + secondName + "_paired_C0.csv", pairedC0Text(c0First, c0Second));
}

}  // namespace pellmar
