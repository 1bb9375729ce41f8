#include "core/analysis/age_stage_tables.h"

#include "core/data/stage_label.h"
#include "core/report/number_format.h"
#include "core/report/page_frame.h"

namespace pellmar {

void printStageTablePageStart(ReportPages& pages) {
  pages.out.pageMark();
  writePageLine(pages.out, pages.counters, 70);
  ++pages.counters.tableCounter;
}

void printStageTableTitle(ReportPages& pages, const std::string& title) {
  pages.out.text(" Table").numberForm(pages.counters.tableCounter).text(".").text(title).endLine();
}

void writeAgeStageMatrixTable(const Study& study, const BasicRunResults& basic, ReportPages& pages,
                              const TableTexts& texts, const AgeStageMatrix& values) {
  const BasicRunResults& r = basic;
  ReportWriter& out = pages.out;
  const int m = study.stageCount;
  const int ruleLength = (m + 1) * 10 + 10;

  printStageTablePageStart(pages);
  printStageTableTitle(pages, texts.title);
  out.tab(10).text(texts.subtitle).endLine();
  out.text(" ").repeat('=', ruleLength).endLine();
  out.text(" Age");
  for (int j = 1; j <= m + 1; ++j) out.text("   ").tab(j * 10).text(stageLabel(study, j));
  out.text(" ").endLine();
  out.text(" ").repeat('-', ruleLength).endLine();
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    out.number(x * study.timeUnit);
    for (int j = 1; j <= m + 1; ++j) {
      const auto& range = r.stageAgeRange[static_cast<std::size_t>(j)];
      const double value = roundToDecimals(values(x, j), values(x, j) > 100000 ? 2 : 4);
      if (x < range[1] || x > range[2]) {
        out.tab(j * 10 + 1).text("-");
      } else if (value <= 0) {
        out.tab(j * 10 + 1).text("0");
      } else {
        out.tab(j * 10).number(value);
      }
    }
    out.text(" ").endLine();
  }
  out.text(" ").repeat('-', ruleLength).endLine();
  out.line(texts.footnote);
}

void writeStageNameHeading(const Study& study, ReportWriter& out) {
  const int m = study.stageCount;
  const int ruleLength = (m + 1) * 11 + 2;
  out.text(" ").repeat('-', ruleLength).endLine();
  for (int j = 1; j <= m + 1; ++j) out.tab((j - 1) * 11 + 8).text(stageLabel(study, j));
  out.text(" ").endLine();
  out.text(" ").repeat('-', ruleLength).endLine();
}

}  // namespace pellmar
