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

using test_support::block;
using test_support::indexOfLine;
using test_support::linesOf;
using test_support::sessionFor;

TEST(IndividualTables, CohortOfOneThatAteNothing) {
  Session session = sessionFor("Z\nA\nd\n1\n1,2\nF,Larva,Female\nLarva,Female\n1,F,1,1,-1,-1\n");
  BasicRunResults& r = session.basic;
  r.stageDuration[1] = r.stageDuration[2] = {1, 1.0};
  r.stageConsumption[1] = r.stageConsumption[2] = {1, 0.0};
  r.preadultDuration[1] = 1.0;
  computeIndividualValues(session);
  EXPECT_EQ(r.meanRateCbar, 0);
  ReportPages report = session.basicReportPages();
  writeIndividualStageDurationTable(session, report);
  writeIndividualStageConsumptionTable(session, report);
  writeIndividualDailyConsumptionTable(session, report);
  EXPECT_EQ(session.counters.pageCounter, 3);
  EXPECT_EQ(session.counters.tableCounter, 3);
  const auto lines = linesOf(session.basicReport.contents());
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
