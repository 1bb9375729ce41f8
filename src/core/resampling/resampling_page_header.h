#pragma once

#include <string_view>

#include "core/data/study.h"
#include "core/report/report_output.h"
#include "core/report/report_writer.h"

namespace pellmar {

// The page header of the bootstrap and jackknife report tables: the control character 8 with
// "Page" and the page number at column 70 on the same line (the character takes column 1), the
// project, user and date lines, "Analyzed on : " with the date, a blank line, and the title line
// "Table" with the next table number and `title` (which begins with ". "). Both counters go up
// by one.
void writeResamplingPageHeader(const Study& study, ReportPages& pages, std::string_view title);

}  // namespace pellmar
