#pragma once

#include <string>

#include "core/analysis/basic_run_results.h"
#include "core/data/age_stage_table.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// The texts printed with an age-stage table.
struct TableTexts {
  std::string title;
  std::string subtitle;
  std::string footnote;
};

// Prints an age-stage table for ages 0 .. maxAgeIndex and columns 1 .. m + 1 on a page of its
// own: values above 100000 rounded to 2 decimals, the others to 4; "-" outside a column's age
// range, "0" for a value that rounds to 0 or less.
void writeAgeStageMatrixTable(const Study& study, const BasicRunResults& basic, ReportPages& pages,
                              const TableTexts& texts, const AgeStageMatrix& values);

// The stage heading block: a rule, the stage labels at 11-column steps, a rule.
void writeStageNameHeading(const Study& study, ReportWriter& out);

// The page start shared by the age-stage and stage tables: the control-character line, then the
// "Page" line at column 70; both counters go up by one.
void printStageTablePageStart(ReportPages& pages);

// " Table" with the table number in number form, ".", and the title.
void printStageTableTitle(ReportPages& pages, const std::string& title);

}  // namespace pellmar
