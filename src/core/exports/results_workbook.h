#pragma once

#include <string>
#include <string_view>

#include "core/exports/results_summary.h"
#include "core/exports/workbook.h"

namespace pellmar {

// A study's life table as a sheet: age in days, l(x), after the life table with fecundity f(x),
// m(x) and l(x)m(x), then s(x, j) for every stage column (the preadult stages, female adult,
// male adult). Needs the Basic Run.
WorkbookSheet lifeTableSheet(std::string name, const StudyResults& results);

// Adds a study's sheets to `workbook`: its summary (`summaryCsv`, the text of its results
// summary), its life table (from lifeTableSheet()) and, when it has them, its replicates. Named
// "Summary", "Life table" and "Replicates", or after `prefix` ("Aphis summary") when one is
// given.
void addStudySheets(Workbook& workbook, const std::string& prefix, std::string_view summaryCsv,
                    WorkbookSheet lifeTable, const StudyReplicates* replicates);

}  // namespace pellmar
