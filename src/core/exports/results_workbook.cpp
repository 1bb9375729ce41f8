#include "core/exports/results_workbook.h"

#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/exports/replicates_file.h"
#include "core/predation/fecundity_life_table.h"

namespace pellmar {
namespace {

double valueAt(const std::vector<double>& values, int x) {
  return x < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(x)] : 0.0;
}

}  // namespace

WorkbookSheet lifeTableSheet(std::string name, const StudyResults& results) {
  WorkbookSheet sheet{std::move(name), {}, {}};
  const Study& study = results.study;
  const BasicRunResults& basic = *results.basic;
  const FecundityLifeTable* table = results.lifeTable;
  std::vector<WorkbookCell> headings = {WorkbookCell::textCell("age_days"),
                                        WorkbookCell::textCell("l(x)")};
  if (table != nullptr) {
    for (const char* heading : {"f(x)", "m(x)", "l(x)m(x)"}) {
      headings.push_back(WorkbookCell::textCell(heading));
    }
  }
  const int columns = study.stageCount + 1;
  for (int j = 1; j <= columns; ++j) {
    headings.push_back(WorkbookCell::textCell("s(x," + study.columnName(j) + ")"));
  }
  sheet.rows.push_back(std::move(headings));
  for (int x = 0; x <= basic.maxAgeIndex; ++x) {
    std::vector<WorkbookCell> row = {WorkbookCell::number(x * study.timeUnit),
                                     WorkbookCell::number(valueAt(basic.l, x))};
    if (table != nullptr) {
      for (const std::vector<double>* curve : {&table->f, &table->m, &table->lm}) {
        row.push_back(WorkbookCell::number(valueAt(*curve, x)));
      }
    }
    for (int j = 1; j <= columns; ++j) row.push_back(WorkbookCell::number(basic.S.at(x, j)));
    sheet.rows.push_back(std::move(row));
  }
  return sheet;
}

void addStudySheets(Workbook& workbook, const std::string& prefix, std::string_view summaryCsv,
                    WorkbookSheet lifeTable, const StudyReplicates* replicates) {
  // A long treatment name is cut so that the sheet still says what it holds.
  const auto names = [&prefix](const char* plain, const char* prefixed) {
    return prefix.empty() ? std::pair(std::string(plain), std::string(plain))
                          : std::pair(sheetNameOf(prefix, prefixed), prefix + prefixed);
  };
  const auto [summaryName, summaryFull] = names("Summary", " summary");
  workbook.addCsv(summaryName, summaryCsv, summaryFull);
  std::tie(lifeTable.name, lifeTable.fullName) = names("Life table", " life table");
  workbook.add(lifeTable);
  if (replicates == nullptr) return;
  if (const std::optional<ReportWriter> text = replicatesText(*replicates)) {
    const auto [name, full] = names("Replicates", " replicates");
    workbook.addCsv(name, text->contents(), full);
  }
}

}  // namespace pellmar
