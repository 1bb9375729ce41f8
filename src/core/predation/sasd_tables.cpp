#include "core/predation/sasd_tables.h"

#include <string_view>

#include "core/data/stage_label.h"
#include "core/numeric/stable_predation_rate.h"
#include "core/report/number_format.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

// Prints one distribution table: `values` holds the rounded value of every age and column.
// Columns are 8 characters apart; an age outside a column's range shows "-", a value that is
// not above 0 shows "0" one column to the right, where "-" stands.
void printDistributionTable(const Study& study, const BasicRunResults& r, ReportPages& pages,
                            std::string_view title, const AgeStageMatrix& values) {
  ReportWriter& out = pages.out;
  const int lastColumn = study.stageCount + 1;
  const int ruleLength = lastColumn * 10 - 1;

  ++pages.counters.tableCounter;
  out.pageMark();
  writePageLine(out, pages.counters, 70);
  out.tab(5).text("Table").numberForm(pages.counters.tableCounter).text(".").text(title);
  out.endLine();

  writeRule(out, '-', ruleLength);
  out.tab(5).text(" Age");
  for (int j = 1; j <= lastColumn; ++j) {
    out.text("   ").tab(8 * j + 5).text(stageLabel(study, j));
  }
  out.text(" ").endLine();
  writeRule(out, '-', ruleLength);
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    out.tab(5).number(x * study.timeUnit);
    for (int j = 1; j <= lastColumn; ++j) {
      const auto& range = r.stageAgeRange[static_cast<std::size_t>(j)];
      if (x < range[1] || x > range[2]) {
        out.tab(8 * j + 6).text("-");
      } else if (const double value = values.at(x, j); value > 0) {
        out.tab(8 * j + 5).number(value);
      } else {
        out.tab(8 * j + 6).text("0");
      }
    }
    out.text(" ").endLine();
  }
  writeRule(out, '-', ruleLength);
  writeBlankLines(out, 1);
}

// A product printed with fewer decimals the larger it is: 4 below 1, 2 below 100, none below
// 10000, and unchanged from there on.
double roundedProduct(double product) {
  if (product < 1) return roundToDecimals(product, 4);
  if (product < 100) return roundToDecimals(product, 2);
  if (product < 10000) return roundToDecimals(product, 0);
  return product;
}

}  // namespace

void writeStableDistributionTable(const Study& study, const BasicRunResults& basic,
                                  const PredationRates& predation, ReportPages& pages) {
  const int rows = basic.maxAgeIndex + 1;
  const int columns = study.stageCount + 2;
  AgeStageMatrix values(rows, columns);
  for (int x = 0; x < rows; ++x) {
    for (int j = 1; j < columns; ++j) {
      values(x, j) = roundToDecimals(predation.stableDistribution.at(x, j), 4);
    }
  }
  printDistributionTable(study, basic, pages,
                         " Stable age-stage distribution (Total population = 1)", values);
}

void writeStablePredationTable(const Study& study, const BasicRunResults& basic,
                               const PredationRates& predation, ReportPages& pages) {
  ReportWriter& out = pages.out;
  const int rows = basic.maxAgeIndex + 1;
  const int columns = study.stageCount + 2;
  const auto share = [&](int x, int j) { return predation.stableDistribution.at(x, j); };
  const auto consumption = [&](int x, int j) { return basic.C.at(x, j); };
  AgeStageMatrix values(rows, columns);
  for (int x = 0; x < rows; ++x) {
    for (int j = 1; j < columns; ++j)
      values(x, j) = roundedProduct(consumption(x, j) * share(x, j));
  }
  const double psi = stablePredationRate(rows - 1, columns - 1, consumption, share);
  printDistributionTable(study, basic, pages, " Product of SASD*Cxj (Total population = 1)",
                         values);
  out.tab(5).text("Stable predation rate (psi):").number(psi).endLine();
  out.tab(5).text("psi: Total consumption of a population at SASD (population size = 1)");
  out.endLine();
  out.tab(5).text("Finite predation rate (omega)=").number(psi * predation.timeUnitRate).endLine();
  writeBlankLines(out, 1);
}

}  // namespace pellmar
