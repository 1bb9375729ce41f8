#include "core/report/report_writer.h"

#include <gtest/gtest.h>

namespace pellmar {
namespace {

TEST(ReportWriter, TabPadsToTheColumn) {
  ReportWriter out;
  out.tab(5).text("Page").tab(10).number(3).endLine();
  EXPECT_EQ(out.contents(), "    Page  3 \r\n");
}

TEST(ReportWriter, TabAtTheCurrentColumnWritesNothing) {
  ReportWriter out;
  out.text("abcd").tab(5).text("e").endLine();
  EXPECT_EQ(out.contents(), "abcde\r\n");
}

TEST(ReportWriter, TabPastTheColumnStartsANewLine) {
  ReportWriter out;
  out.text("123456").tab(3).text("x").endLine();
  EXPECT_EQ(out.contents(), "123456\r\n  x\r\n");
  EXPECT_EQ(out.column(), 1);
}

TEST(ReportWriter, NumbersAndRounding) {
  ReportWriter out;
  out.number(0.5).number(-0.25).rounded(2.0 / 3.0, 2).numberForm(7).digits(-1.5).endLine();
  EXPECT_EQ(out.contents(), " .5 -.25  .67  7-1.5\r\n");
}

TEST(ReportWriter, PageMarkIsALineWithControlCharacterEight) {
  ReportWriter out;
  out.pageMark().line("x");
  EXPECT_EQ(out.contents(), std::string("\x08\r\nx\r\n"));
}

TEST(ReportWriter, WriteFormQuotesTextAndWritesPlainNumbers) {
  ReportWriter out;
  out.writeLine({"Age", 0.5, -0.25, 12.0, "l(x)"});
  EXPECT_EQ(out.contents(), "\"Age\",.5,-.25,12,\"l(x)\"\r\n");
}

TEST(ReportWriter, RoundTripNumbersReadBackAsTheSameDouble) {
  ReportWriter out;
  out.writeLine({RoundTripNumber{0.1}, RoundTripNumber{1.0 / 3}, RoundTripNumber{3.2e-5}, -2.0});
  out.roundTrip(1.1419420381654068).roundTrip(-0.0).endLine();
  EXPECT_EQ(out.contents(), "0.1,0.3333333333333333,3.2e-05,-2\r\n1.1419420381654068-0\r\n");
}

TEST(ReportWriter, RepeatWritesRules) {
  ReportWriter out;
  out.tab(5).repeat('=', 3).repeat('-', 0).endLine();
  EXPECT_EQ(out.contents(), "    ===\r\n");
}

}  // namespace
}  // namespace pellmar
