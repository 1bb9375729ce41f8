#include "core/resampling/resampling_page_header.h"

namespace pellmar {

void writeResamplingPageHeader(const Study& study, ReportPages& pages, std::string_view title) {
  ReportCounters& counters = pages.counters;
  ReportWriter& out = pages.out;
  ++counters.pageCounter;
  out.text("\x08").tab(70).text("Page").number(counters.pageCounter).endLine();
  out.tab(5).text(study.projectTitle).endLine();
  out.tab(5).text(study.userName).endLine();
  out.tab(5).text(study.studyDate).endLine();
  out.tab(5).text("Analyzed on : ").text(study.studyDate).endLine();
  out.line(" ");
  ++counters.tableCounter;
  out.tab(5).text("Table").numberForm(counters.tableCounter).text(title).endLine();
}

}  // namespace pellmar
