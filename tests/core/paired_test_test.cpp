#include "core/resampling/paired_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/exports/paired_test_files.h"

namespace pellmar {
namespace {

ReplicatedQuantity quantity(std::string name, std::string stage, int column,
                            std::vector<double> values, std::vector<std::uint8_t> valid = {}) {
  ReplicatedQuantity q;
  q.quantity = std::move(name);
  q.stage = std::move(stage);
  q.sex = "all";
  q.stageColumn = column;
  q.estimate = values.empty() ? 0.0 : values.front();
  if (valid.empty()) valid.assign(values.size(), 1);
  q.values = std::move(values);
  q.valid = std::move(valid);
  return q;
}

StudyReplicates study(std::vector<ReplicatedQuantity> quantities,
                      std::vector<std::string> stages = {"Egg", "Larva", "adult", "male adult"}) {
  return StudyReplicates{std::move(stages), std::move(quantities)};
}

TEST(PairedTest, DifferencesGiveTheirIntervalAndAchievedSignificance) {
  // d = 2, 3, 2, 3: every difference above 0.
  const PairedTest test = pairedBootstrapTest(study({quantity("C0", "", 0, {3, 5, 4, 6})}),
                                              study({quantity("C0", "", 0, {1, 2, 2, 3})}), 0.95);
  ASSERT_EQ(test.rows.size(), 1U);
  const PairedTestRow& row = test.rows[0];
  EXPECT_EQ(row.difference, 2);  // the estimates 3 and 1
  ASSERT_TRUE(row.differences);
  EXPECT_DOUBLE_EQ(*row.differences->se, std::sqrt(1.0 / 3.0));
  EXPECT_EQ(row.differences->low, 2);
  EXPECT_EQ(row.differences->high, 3);
  // p = 2 (1 + 0) / (4 + 1): the observed difference counts as one replicate, so p is never 0.
  EXPECT_DOUBLE_EQ(*row.p, 0.4);
  EXPECT_EQ(row.replicates, 4);
  EXPECT_TRUE(test.note.empty());
}

TEST(PairedTest, AchievedSignificanceCountsTiesOnBothSidesAndIsNeverZero) {
  const std::vector<double> symmetric{-1, 1, -2, 2};
  EXPECT_EQ(achievedSignificance(symmetric), 1);
  // A difference of 0 counts on both sides: #{d <= 0} = 1, #{d >= 0} = 4.
  const std::vector<double> oneZero{0, 1, 2, 3};
  EXPECT_DOUBLE_EQ(achievedSignificance(oneZero), 2.0 * 2 / 5);
  const std::vector<double> onlyTies{0, 0, 0};
  EXPECT_EQ(achievedSignificance(onlyTies), 1);
  const std::vector<double> allBelow{-1, -2, -0.5};
  EXPECT_DOUBLE_EQ(achievedSignificance(allBelow), 0.5);
  // Every one of 2000 differences on one side: the smallest p there is, 2 / 2001.
  const std::vector<double> allAbove(2000, 0.25);
  EXPECT_DOUBLE_EQ(achievedSignificance(allAbove), 2.0 / 2001);
  EXPECT_EQ(pValueText(2.0 / 2001), "< 0.001");
  EXPECT_EQ(pValueText(0.001), "= 0.001");
  EXPECT_EQ(pValueText(0.0342), "= 0.0342");
}

TEST(PairedTest, OnlyReplicatesWhereBothStudiesGiveAValueArePaired) {
  const PairedTest test = pairedBootstrapTest(
      study({quantity("stage_duration", "Larva", 2, {5, 99, 7, 9}, {1, 0, 1, 1})}),
      study({quantity("stage_duration", "Larva", 2, {4, 1, 99, 6}, {1, 1, 0, 1})}), 0.5);
  ASSERT_EQ(test.rows.size(), 1U);
  EXPECT_EQ(test.rows[0].replicates, 2);  // b = 1 and 4: d = 1 and 3
  EXPECT_DOUBLE_EQ(test.rows[0].differences->mean, 2);
  EXPECT_DOUBLE_EQ(test.rows[0].differences->low, 1.5);
  EXPECT_DOUBLE_EQ(test.rows[0].differences->high, 2.5);

  // No replicate with both: the estimates without statistics.
  const PairedTest none =
      pairedBootstrapTest(study({quantity("psi", "", 0, {5, 6}, {1, 0})}),
                          study({quantity("psi", "", 0, {4, 3}, {0, 1})}), 0.95);
  ASSERT_EQ(none.rows.size(), 1U);
  EXPECT_EQ(none.rows[0].difference, 1);
  EXPECT_FALSE(none.rows[0].differences);
  EXPECT_FALSE(none.rows[0].p);
  EXPECT_EQ(none.rows[0].replicates, 0);
}

TEST(PairedTest, StagesMustStandAtTheSameColumnUnderTheSameName) {
  const std::vector<double> v{1, 2};
  StudyReplicates first =
      study({quantity("C0", "", 0, v), quantity("stage_duration", "Egg", 1, v),
             quantity("stage_duration", "L1", 2, v), quantity("stage_duration", "adult", 3, v),
             quantity("daily_consumption", "male adult", 4, v), quantity("psi", "", 0, v)},
            {"Egg", "L1", "adult", "male adult"});
  // The second study has one larval stage more: only the egg stands where it stood.
  StudyReplicates second =
      study({quantity("C0", "", 0, v), quantity("stage_duration", "Egg", 1, v),
             quantity("stage_duration", "L2", 2, v), quantity("stage_duration", "L1", 3, v),
             quantity("stage_duration", "adult", 4, v)},
            {"Egg", "L2", "L1", "adult", "male adult"});
  PairedTest test = pairedBootstrapTest(first, second, 0.95);
  ASSERT_EQ(test.rows.size(), 2U);
  EXPECT_EQ(test.rows[0].quantity, "C0");
  EXPECT_EQ(test.rows[1].stage, "Egg");
  EXPECT_EQ(test.note,
            "Left out: the per-stage quantities of L1, adult, male adult, L2, which are not the "
            "same stage at the same position in both studies.");

  // The same stages: a quantity only one study has (psi, a sex nobody of the second has) is
  // no stage difference.
  second.stageColumns = first.stageColumns;
  second.quantities = {quantity("C0", "", 0, v), quantity("stage_duration", "Egg", 1, v),
                       quantity("stage_duration", "L1", 2, v)};
  test = pairedBootstrapTest(first, second, 0.95);
  EXPECT_EQ(test.rows.size(), 3U);
  EXPECT_TRUE(test.note.empty());
}

TEST(PairedTestFiles, NumbersInShortestFormAndEmptyCellsWhereNothingExists) {
  PairedTest test = pairedBootstrapTest(study({quantity("C0", "", 0, {0.3, 5, 4, 6})}),
                                        study({quantity("C0", "", 0, {0.1, 2, 2, 3})}), 0.95);
  PairedTestRow missing;
  missing.quantity = "stage_consumption";
  missing.stage = "Larva, late";
  missing.sex = "F";
  missing.estimateFirst = 7.5;
  test.rows.push_back(missing);
  EXPECT_EQ(pairedTestCsv(test),
            "quantity,stage,sex,estimate_first,estimate_second,difference,se,ci_low,ci_high,"
            "p_value,replicates\r\n"
            // d = 0.2, 3, 2, 3 (0.3 - 0.1 is 0.19999999999999998 in double): SE sqrt(5.23 / 3),
            // the interval 0.2 + 0.075 (2 - 0.2) to 3.
            "C0,,all,0.3,0.1,0.19999999999999998,1.3203534880225574,0.3350000000000003,3,0.4,4\r\n"
            "stage_consumption,\"Larva, late\",F,7.5,,,,,,,0\r\n");
  const std::vector<double> first{1.5, 2};
  const std::vector<double> second{0.25, 3};
  EXPECT_EQ(pairedC0Csv(first, second), "replicate,C0_first,C0_second\r\n1,1.5,0.25\r\n2,2,3\r\n");
}

}  // namespace
}  // namespace pellmar
