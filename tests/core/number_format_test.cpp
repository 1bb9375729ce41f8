#include "core/report/number_format.h"

#include <gtest/gtest.h>

namespace pellmar {
namespace {

TEST(NumberFormat, NumberItemHasSignSpaceAndTrailingSpace) {
  EXPECT_EQ(formatNumberItem(5), " 5 ");
  EXPECT_EQ(formatNumberItem(-5), "-5 ");
  EXPECT_EQ(formatNumberItem(0), " 0 ");
  EXPECT_EQ(formatNumberItem(-0.0), " 0 ");
  EXPECT_EQ(formatNumberForm(12), " 12");
  EXPECT_EQ(formatDigits(-3), "-3");
}

TEST(NumberFormat, FractionsHaveNoLeadingZero) {
  EXPECT_EQ(formatNumberItem(0.5), " .5 ");
  EXPECT_EQ(formatNumberItem(-0.25), "-.25 ");
  EXPECT_EQ(formatDigits(0.0001), ".0001");
  EXPECT_EQ(formatDigits(12.5), "12.5");
  EXPECT_EQ(formatDigits(100), "100");
}

TEST(NumberFormat, FifteenSignificantDigits) {
  EXPECT_EQ(formatDigits(1.0 / 3.0), ".333333333333333");
  EXPECT_EQ(formatDigits(2.0 / 3.0), ".666666666666667");
  EXPECT_EQ(formatDigits(0.1 + 0.2), ".3");
  EXPECT_EQ(formatDigits(123456789012345.0), "123456789012345");
  EXPECT_EQ(formatDigits(999999999999999.0), "999999999999999");
}

TEST(NumberFormat, ExponentFormOutsidePlainRange) {
  EXPECT_EQ(formatDigits(1e-5), "1E-05");
  EXPECT_EQ(formatDigits(1.5e-7), "1.5E-07");
  EXPECT_EQ(formatDigits(-1.5e-7), "-1.5E-07");
  EXPECT_EQ(formatDigits(1e15), "1E+15");
  EXPECT_EQ(formatDigits(1.25e20), "1.25E+20");
  EXPECT_EQ(formatDigits(1e100), "1E+100");
  EXPECT_EQ(formatDigits(123456789012345678.0), "1.23456789012346E+17");
  // 15 significant digits round this up to the next power of ten.
  EXPECT_EQ(formatDigits(9999999999999999.0), "1E+16");
  EXPECT_EQ(formatNumberItem(1e-5), " 1E-05 ");
}

TEST(NumberFormat, RoundingTiesGoToEven) {
  EXPECT_EQ(roundToDecimals(2.5, 0), 2.0);
  EXPECT_EQ(roundToDecimals(3.5, 0), 4.0);
  EXPECT_EQ(roundToDecimals(-2.5, 0), -2.0);
  EXPECT_EQ(roundToDecimals(0.125, 2), 0.12);
  EXPECT_EQ(roundToDecimals(0.375, 2), 0.38);
  EXPECT_EQ(formatNumberItem(roundToDecimals(2.50, 2)), " 2.5 ");
  EXPECT_EQ(formatNumberItem(roundToDecimals(1.0 / 3.0, 3)), " .333 ");
  EXPECT_EQ(formatNumberItem(roundToDecimals(2.0 / 3.0, 4)), " .6667 ");
}

TEST(NumberFormat, RoundingNearATieFollowsTheScaledValue) {
  // Just below and just above the tie after scaling.
  EXPECT_EQ(roundToDecimals(0.12499999, 2), 0.12);
  EXPECT_EQ(roundToDecimals(0.12500001, 2), 0.13);
  // 1.005 x 100 is a little below the tie, so it rounds down; 2.675 x 100 is the tie itself.
  EXPECT_EQ(formatDigits(roundToDecimals(1.005, 2)), "1");
  EXPECT_EQ(formatDigits(roundToDecimals(2.675, 2)), "2.68");
  // A rounded zero is never negative.
  EXPECT_EQ(formatNumberItem(roundToDecimals(-0.0001, 2)), " 0 ");
}

}  // namespace
}  // namespace pellmar
