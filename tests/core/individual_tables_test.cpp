#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/analysis/individual_daily_consumption_table.h"
#include "core/analysis/individual_stage_consumption_table.h"
#include "core/analysis/individual_stage_duration_table.h"
#include "core/analysis/individual_values.h"
#include "report_test_support.h"

namespace pellmar {
namespace {

using test_support::analysedStudy;
using test_support::block;
using test_support::indexOfLine;
using test_support::linesOf;

TEST(IndividualTables, CohortOfOneThatAteNothing) {
  const test_support::AnalysedStudy analysed =
      analysedStudy("Z\nA\nd\n1\n1,2\nF,Larva,Female\nLarva,Female\n1,F,1,1,-1,-1\n");
  EXPECT_EQ(analysed.basic.meanRateCbar, 0);
  ReportWriter out;
  ReportCounters counters;
  ReportPages report{out, counters};
  writeIndividualStageDurationTable(analysed.study, analysed.basic, report);
  writeIndividualStageConsumptionTable(analysed.study, analysed.basic, report);
  writeIndividualDailyConsumptionTable(analysed.study, analysed.basic, report);
  EXPECT_EQ(counters.pageCounter, 3);
  EXPECT_EQ(counters.tableCounter, 3);
  const auto lines = linesOf(out.contents());
  for (const std::string_view line : block(R"(
    S.D.           -        -           -             0 |
    Max. longevity of male adult = 0 |
    Table 2. Stage consumption rate of each individual|
    S.D.            -         -          -           0 |
    Max. predation rate of male adult = 0 |
    Table 3. Daily consumption rate of each individual|
    S.E.      0        0 |
    The mean consumption (predation) rate (Cbar or Pbar) of effective consumer (predator) = 0 |)")) {
    EXPECT_GE(indexOfLine(lines, line), 0) << line;
  }
}

}  // namespace
}  // namespace pellmar
