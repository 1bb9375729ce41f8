#include <gtest/gtest.h>

#include <set>

#include "ui/classic/quotations.h"
#include "ui/classic/title_screen.h"

namespace pellmar {
namespace {

TEST(TitleAnimation, ShowsEachLineOnceThenHoldsTheLastForSevenTicks) {
  TitleAnimation animation;
  std::vector<int> shown;
  for (int tick = 1; tick <= 17; ++tick) shown.push_back(animation.tick());
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 7, 7, 7, 7, 7, 7, 7, 0, 1, 2}));
}

TEST(Quotations, FiftyThreeAttributedSayingsAndTheInstructions) {
  std::set<std::string> texts;
  for (const Quotation& q : quotations()) {
    EXPECT_GT(std::string(q.text).size(), 10U);
    EXPECT_FALSE(std::string(q.author).empty());
    texts.insert(q.text);
  }
  EXPECT_EQ(texts.size(), 53U);
  EXPECT_EQ(quotationText(53), instructionText());
  EXPECT_EQ(instructionText().rfind(
                "1. Open a data file. 2. Press Basic RUN to analyze the raw data and calculate "
                "the age-stage-specific consumption rate. 3. Select a figure to display.  You "
                "can click Jackknife or Bootstrap to estimate the standard errors of the net "
                "predation rate.  ",
                0),
            0U);
}

TEST(Quotations, ChoiceDependsOnTheSecondAndStaysInRange) {
  std::set<int> lines;
  for (int second = 0; second < 60; ++second) {
    const QuotationChoice choice = chooseQuotations(second);
    EXPECT_GE(choice.belowInstructions, 0);
    EXPECT_LE(choice.belowInstructions, 52);
    EXPECT_GE(choice.quotationLine, 0);
    EXPECT_LE(choice.quotationLine, 53);
    lines.insert(choice.quotationLine);
    EXPECT_EQ(chooseQuotations(second).quotationLine, choice.quotationLine);
  }
  EXPECT_GT(lines.size(), 20U);
}

}  // namespace
}  // namespace pellmar
