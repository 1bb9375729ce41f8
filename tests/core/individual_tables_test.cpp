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

using testing::block;
using testing::indexOfLine;
using testing::linesOf;
using testing::sessionFor;
using testing::slice;

// Egg, larva, pupa, adult: a female (2, 3, 2, 4), a male (2, 2, 3, 2) and an N that died
// after 1 time unit as a larva. The stage statistics are filled in as the stage statistics
// step leaves them, worked out by hand.
Session mothSession() {
  Session session = sessionFor(
      "Moth 1\nAnn\n2026-01-05\n3\n3,4\n"
      "F,Egg,Larva,Pupa,Female\nM,Egg,Larva,Pupa,Male\nN,Egg,Larva,Pupa,Unknown\nLarva,Pupa\n"
      "1,F,2,3,2,4,-1,2,4,3,-1,-1,5,6,6,5,-1\n"
      "2,M,2,2,3,2,-1,3,3,-1,-1,4,4,-1\n"
      "3,N,2,-1,-1,1,-1\n");
  BasicRunResults& r = session.basic;
  r.stageDuration[1] = {3, 2.0, 0.0};
  r.stageDuration[2] = r.stageDuration[3] = {2, 2.5, std::sqrt(0.5)};
  r.stageDuration[4] = {2, 3.0, std::sqrt(2.0)};
  r.cumDuration[3] = {2, 7.0, 0.0, 0.0};
  r.preadultDuration = {0.0, 7.0, 7.0, 0.0};
  r.stageConsumption[1] = {3, 0.0};
  r.stageConsumption[3] = {2, 0.0};
  r.stageConsumption[2] = {2, 7.5, std::sqrt(4.5), 0.0, 9.0, 6.0};
  r.stageConsumption[4] = {2, 15.0, std::sqrt(98.0), 0.0, 22.0, 8.0};
  life10(session);
  return session;
}

TEST(StageDurationTable, OneSectionWithDeathAndNoPreadultForN) {
  Session session = mothSession();
  life11(session);
  auto lines = linesOf(session.basicReport.contents());
  ASSERT_EQ(lines.size(), 32U);
  // Frame, heading and the individual lines; then from the S.D. row on.
  lines.erase(lines.begin() + 16, lines.begin() + 24);
  EXPECT_EQ(lines, block(R"(
                                                                     Page 1 |
 |
 |
 |
    Project: Moth 1|
    Name   : Ann|
    Date   : 2026-01-05|
 |
    Table 1. Stage duration of each individual|
    ======================================================================|
    Indiv. Sex    Egg      Larva    Pupa     Adult  Preadult    Longevity|
    ----------------------------------------------------------------------|
     1      F      2        3        2        4           7             11 |
     2      M      2        2        3        2           7             9 |
     3      N      2        1 d      -        -           -             3 |
    ----------------------------------------------------------------------|
    S.D.           0        .707     .707     1.414       0             4.163 |
    ----------------------------------------------------------------------|
    S.E.           0        .5       .5       1           0             2.404 |
    ----------------------------------------------------------------------|
    d - dead.|
 |
    Max. longevity of male adult = 9 |
    Max. longevity of female adult = 11 |)"));
}

// Ten stages, so the tables have 12 columns and two sections: a female of 1 time unit in
// every stage (eating 2 in stage 4) and an N that died after 1 time unit in stage 2.
Session wideSession() {
  Session session = sessionFor(
      "Wide\nAnn\nd\n2\n1,10\nF,S1,S2,S3,S4,S5,S6,S7,S8,S9,Ad\nS2,S3\n"
      "1,F,1,1,1,1,1,1,1,1,1,1,-1,-1,-1,2,-1,-1,-1,-1,-1,-1,-1\n"
      "2,N,1,-1,-1,-1\n");
  BasicRunResults& r = session.basic;
  for (int j = 1; j <= 10; ++j) {
    r.stageDuration[static_cast<std::size_t>(j)] = {j == 1 ? 2 : 1, 1.0};
    r.stageConsumption[static_cast<std::size_t>(j)] = {j == 1 ? 2 : 1, 0.0};
  }
  r.cumDuration[9] = {1, 9.0};
  r.preadultDuration[1] = 9.0;
  life10(session);
  return session;
}

TEST(StageDurationTable, TwelveColumnsPrintInTwoSections) {
  Session session = wideSession();
  life11(session);
  const auto lines = linesOf(session.basicReport.contents());
  EXPECT_EQ(slice(lines, 8, 6), block(R"(
    Table 1. Stage duration of each individual|
    ==================================================================|
    Indiv. Sex    S1       S2       S3       S4       S5       S6|
    ------------------------------------------------------------------|
     1      F      1        1        1        1        1        1 |
     2      N      1        1 d      -        -        -        -|)"));
  // Three blank lines and the second section, without a new page header; one individual
  // completed the pre-adult stages, so their S.D. and S.E. are dashes one column further.
  const int second = indexOfLine(lines, "    Table 1. (Continued)");
  EXPECT_EQ(slice(lines, second - 4, 10), block(R"(
    d - dead.|
 |
 |
 |
    Table 1. (Continued)|
    ======================================================================|
    Indiv. Sex    S7       S8       S9       Adult  Preadult    Longevity|
    ----------------------------------------------------------------------|
     1      F      1        1        1        1           9             10 |
     2      N      -        -        -        -           -             2 |)"));
  EXPECT_EQ(slice(lines, second + 15, 3), block(R"(
    S.D.           -        -        -        -           -             5.657 |
    ----------------------------------------------------------------------|
    S.E.           -        -        -        -           -             4 |)"));
  EXPECT_EQ(session.counters.pageCounter, 1);
  EXPECT_EQ(session.counters.tableCounter, 1);
}

TEST(StageConsumptionTable, OneSectionAndPreadultStatisticsBySex) {
  Session session = mothSession();
  PrintStageConsumption(session);
  auto lines = linesOf(session.basicReport.contents());
  ASSERT_EQ(lines.size(), 27U);
  EXPECT_EQ(lines[0], "\x08");
  // Frame, heading and individual lines (no rules between them); then from S.D. to the end.
  lines.erase(lines.begin() + 8, lines.begin() + 16);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), block(R"(
                                                                     Page 1 |
 |
    Table 1. Stage consumption rate of each individual|
    Indiv.  Sex     Egg       Larva     Pupa      Adult      Preadult    Total|
     1       F      0         9         0         22          9          31 |
     2       M      0         6         0         8           6          14 |
     3       N      0         1 d       -         -           1          1 |
    ---------------------------------------------------------------------------------------|
    S.D.            0         2.121     0         9.899       4.041      15.044 |
    ---------------------------------------------------------------------------------------|
    S.E.            0         1.5       0         7           2.33       8.686 |
    ---------------------------------------------------------------------------------------|
    d - dead.|
 |
    Max. predation rate of male adult = 14 |
    Max. predation rate of female adult = 31 |
    The effective consumer (predator) (Nc or Np) = 3 |
    The mean consumption (predation) rate (Cbar or Pbar) of effective consumer (predator) = 15.33 |)"));
  const BasicRunResults& r = session.basic;
  EXPECT_EQ(r.preadultConsumption.count, 3);
  EXPECT_EQ(r.preadultConsumptionBySex[0].mean, 9);  // F
  EXPECT_EQ(r.preadultConsumptionBySex[1].mean, 6);  // M
  EXPECT_EQ(r.preadultConsumptionBySex[2].mean, 1);  // N
}

TEST(StageConsumptionTable, TwelveColumnsPrintInTwoSections) {
  Session session = wideSession();
  PrintStageConsumption(session);
  const auto lines = linesOf(session.basicReport.contents());
  const int second = indexOfLine(lines, "    Table 1. (Continued)");
  EXPECT_EQ(slice(lines, second - 6, 11), block(R"(
    ---------------------------------------------------------------------------------------|
    d - dead.|
 |
 |
 |
 |
    Table 1. (Continued)|
    Indiv.  Sex     S7        S8        S9        Adult      Preadult    Total|
     1       F      0         0         0         0           2          2 |
     2       N      -         -         -         -           0          0 |
    ---------------------------------------------------------------------------------------------------------------------------------------------------|)"));
}

TEST(DailyConsumptionTable, NineIntervalsWithoutTotalAndDeathMarks) {
  Session session = mothSession();
  life12(session);
  const auto lines = linesOf(session.basicReport.contents());
  ASSERT_EQ(lines.size(), 32U);
  EXPECT_EQ(lines[0], "\x08");
  EXPECT_EQ(slice(lines, 5, 13), block(R"(
 |
    Project: Moth 1|
    Name   : Ann|
    Date   : 2026-01-05|
 |
    Table 1. Daily consumption rate of each individual|
    =========================================================================================|
    Indiv.                                    Age interval|
     no.     0-<1     1-<2     2-<3     3-<4     4-<5     5-<6     6-<7     7-<8     8-<9|
    -----------------------------------------------------------------------------------------|
     1        0        0        2        4        3        0        0        5        6 |
     2        0        0        3        3        0        0        0        4        4 |
     3        0        0        1        0 d      -        -        -        -        -|)"));
  EXPECT_EQ(slice(lines, 25, 7), block(R"(
    S.E.      0        0        .577     .5       1.5      0        0        .5       1 |
    -----------------------------------------------------------------------------------------|
    d - dead.|
    Maximum consumption rate = 31 |
    Maximum daily consumption rate = 6 |
    The effective consumer (predator) (Nc or Np) = 3 |
    The mean consumption (predation) rate (Cbar or Pbar) of effective consumer (predator) = 15.33 |)"));
}

// Time unit 0.5: a female of 2 and 3 time units whose last stage holds all its values, and a
// male of 1 and 1. The study fits the table, so the interval after the last one is the total.
// Alive at age index x means longevity - 1 >= x * 0.5: nobody at 4.
TEST(DailyConsumptionTable, HalfTimeUnitWithTotalColumn) {
  Session session = sessionFor(
      "Bug\nBo\nd\n2\n2,2\nF,Larva,Female\nM,Larva,Male\nLarva,Female\n"
      "1,F,2,3,1,2,-1,3,2,4,-1\n2,M,1,1,4,-1,5,-1\n",
      0.5);
  life10(session);
  life12(session);
  EXPECT_EQ(slice(linesOf(session.basicReport.contents()), 11, 15), block(R"(
    ==============================================================|
    Indiv.                        Age interval|
     no.     0-<.5    .5-<1    1-<1.5   1.5-<2   2-<2.5       Total|
    --------------------------------------------------------------|
     1        1        2        3        2        4        12 |
     2        4        5        0 d      -        -        9 |
    --------------------------------------------------------------|
    N         2        1        1        1        0        2 |
    --------------------------------------------------------------|
    Mean      2.5      2        3        2       -         10.5 |
    --------------------------------------------------------------|
    S.D.      2.121    0        0        0       -         2.121 |
    --------------------------------------------------------------|
    S.E.      1.5      0        0        0       -         1.5 |
    --------------------------------------------------------------|)"));
}

// One female (1 and 1 time units) that ate nothing: no effective consumer, no male, and the
// spreads of a cohort of one. With one pre-adult stage the pre-adult column is that stage's.
TEST(IndividualTables, CohortOfOneThatAteNothing) {
  Session session = sessionFor("Z\nA\nd\n1\n1,2\nF,Larva,Female\nLarva,Female\n1,F,1,1,-1,-1\n");
  BasicRunResults& r = session.basic;
  r.stageDuration[1] = r.stageDuration[2] = {1, 1.0};
  r.stageConsumption[1] = r.stageConsumption[2] = {1, 0.0};
  r.preadultDuration[1] = 1.0;
  life10(session);
  EXPECT_EQ(r.meanRateCbar, 0);
  life11(session);
  PrintStageConsumption(session);
  life12(session);
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
