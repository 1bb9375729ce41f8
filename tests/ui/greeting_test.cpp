#include "ui/greeting.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/quotations.h"
#include "ui/title_screen.h"

namespace pellmar {
namespace {

TEST(Greeting, TableByPhaseBandAndHour) {
  EXPECT_EQ(greetingFor(10, 9), "Guten Tag!");
  EXPECT_EQ(greetingFor(35, 4), "Go bed!");
  EXPECT_EQ(greetingFor(0, 6), "Buenos dias!");
  EXPECT_EQ(greetingFor(9, 16), "Buenas tardes!");
  EXPECT_EQ(greetingFor(25, 20), "Good evening!");
  EXPECT_EQ(greetingFor(39, 17), "Hi......!");
  EXPECT_EQ(greetingFor(45, 12), "Alles Gutes!");
  EXPECT_EQ(greetingFor(59, 7), "Como esta Vd.?");
  // The edges of the four parts of the day.
  EXPECT_EQ(greetingFor(20, 5), "Good morning!");
  EXPECT_EQ(greetingFor(20, 8), "Good afternoon!");
  EXPECT_EQ(greetingFor(20, 17), "Good evening!");
  EXPECT_EQ(greetingFor(20, 21), "Good night!");
  EXPECT_EQ(greetingFor(20, 0), "Good night!");
}

TEST(Greeting, TicksAdvanceThePhaseAndSettleAfter2001) {
  Greeting greeting;
  std::string last;
  for (int tick = 1; tick <= 10; ++tick) last = greeting.tick(9);
  EXPECT_EQ(greeting.phase(), 10);
  EXPECT_EQ(last, "Guten Tag!");
  for (int tick = 11; tick <= 60; ++tick) last = greeting.tick(6);
  EXPECT_EQ(greeting.phase(), 0);
  EXPECT_EQ(last, "Buenos dias!");
  for (int tick = 61; tick <= 2001; ++tick) last = greeting.tick(9);
  EXPECT_NE(last, Greeting::kSettled);
  EXPECT_EQ(greeting.tick(9), "Herzlichen Gruessen!");
  EXPECT_EQ(greeting.tick(3), "Herzlichen Gruessen!");
  EXPECT_EQ(greeting.ticks(), 2001);
}

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
                "can click Jackknif or Bootstrap to estimate the standard errors of the net "
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
