#pragma once

#include <string_view>
#include <vector>

#include "core/data/study.h"
#include "core/report/report_output.h"
#include "core/report/report_writer.h"

namespace pellmar {

// Pieces of the page frame shared by the paged reports: the page line, the study's header
// lines, blank lines, rule lines, table titles and the split of a wide table into sections.

// Increments the page counter and writes Tab(column) "Page" and the page number as a number
// item, ending the line.
void writePageLine(ReportWriter& out, ReportCounters& counters, int column);

// `count` blank lines, each holding exactly one space.
void writeBlankLines(ReportWriter& out, int count);

// The three header lines of the data file (project, user name, date) at Tab(5).
void writeStudyLines(ReportWriter& out, const Study& study);

// A rule of `length` copies of `character` at Tab(5), ending the line.
void writeRule(ReportWriter& out, char character, int length);

// The title of a table at Tab(5): "Table" with the table number in number form followed by
// `title` (which begins with ". "), or "Table <n>. (Continued)" for a later section.
void writeTableTitle(ReportWriter& out, int tableNumber, std::string_view title, bool continued);

// The columns one section of a wide table holds.
struct TableSection {
  int firstColumn = 1;
  int lastColumn = 1;
};

// A table of more than 11 columns is printed in two sections: the first holds the first half
// (rounded down), the second the rest.
std::vector<TableSection> splitIntoSections(int columnCount);

}  // namespace pellmar
