#include "core/analysis/individual_table_summary.h"

#include "core/report/page_frame.h"

namespace pellmar {
namespace {

enum class SummaryRow { kCount, kMean, kMaximum, kMinimum, kSD, kSE };

void writeCell(ReportWriter& out, const SummaryColumn& column, SummaryRow row) {
  const Statistic& s = column.figures;
  const bool spread = row == SummaryRow::kSD || row == SummaryRow::kSE;
  const int needed =
      row == SummaryRow::kCount ? 0 : (spread ? column.countForSpread : column.countForMean);
  if (s.count < needed) {
    out.tab(column.dashTab).text(column.dash);
    return;
  }
  out.tab(column.valueTab);
  switch (row) {
    case SummaryRow::kCount:
      out.number(s.count);
      break;
    case SummaryRow::kMean:
      out.rounded(s.mean, 2);
      break;
    case SummaryRow::kMaximum:
      out.number(s.max);
      break;
    case SummaryRow::kMinimum:
      out.number(s.min);
      break;
    case SummaryRow::kSD:
      out.rounded(s.sd, column.sdDecimals);
      break;
    case SummaryRow::kSE:
      out.rounded(s.se, column.seDecimals);
      break;
  }
}

}  // namespace

void writeSummaryRows(ReportWriter& out, int ruleLength,
                      const std::vector<SummaryColumn>& columns) {
  struct Labelled {
    const char* label;
    SummaryRow row;
  };
  static constexpr Labelled kRows[] = {
      {"N", SummaryRow::kCount},         {"Mean", SummaryRow::kMean},
      {"Maximum", SummaryRow::kMaximum}, {"Minimum", SummaryRow::kMinimum},
      {"S.D.", SummaryRow::kSD},         {"S.E.", SummaryRow::kSE}};
  for (const Labelled& labelled : kRows) {
    writeRule(out, '-', ruleLength);
    out.tab(5).text(labelled.label);
    for (const SummaryColumn& column : columns) writeCell(out, column, labelled.row);
    out.endLine();
  }
}

}  // namespace pellmar
