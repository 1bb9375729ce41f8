#include "core/resampling/resampling_page_header.h"

namespace pellmar {

void writeResamplingPageHeader(Session& session, ReportWriter& out, std::string_view title) {
  const StudyData& study = session.study;
  ReportCounters& counters = session.counters;
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
