#include "core/report/page_frame.h"

namespace pellmar {

namespace {
constexpr int kMaxColumnsInOneSection = 11;
}  // namespace

void writePageLine(ReportWriter& out, ReportCounters& counters, int column) {
  ++counters.pageCounter;
  out.tab(column).text("Page").number(counters.pageCounter).endLine();
}

void writeBlankLines(ReportWriter& out, int count) {
  for (int line = 0; line < count; ++line) out.line(" ");
}

void writeStudyLines(ReportWriter& out, const Study& study) {
  out.tab(5).text("Project: ").text(study.projectTitle).endLine();
  out.tab(5).text("Name   : ").text(study.userName).endLine();
  out.tab(5).text("Date   : ").text(study.studyDate).endLine();
}

void writeRule(ReportWriter& out, char character, int length) {
  out.tab(5).repeat(character, length).endLine();
}

void writeTableTitle(ReportWriter& out, int tableNumber, std::string_view title, bool continued) {
  out.tab(5);
  if (continued) {
    out.text("Table ").digits(tableNumber).text(". (Continued)");
  } else {
    out.text("Table").numberForm(tableNumber).text(title);
  }
  out.endLine();
}

std::vector<TableSection> splitIntoSections(int columnCount) {
  if (columnCount <= kMaxColumnsInOneSection) return {{1, columnCount}};
  const int half = columnCount / 2;
  return {{1, half}, {half + 1, columnCount}};
}

}  // namespace pellmar
