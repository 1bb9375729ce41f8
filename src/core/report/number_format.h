#pragma once

#include <string>

namespace pellmar {

// The general numeric form of the reports: at most 15 significant digits, no trailing zeros,
// no zero before the decimal point of a magnitude below 1 (".5", "-.25"), whole numbers without
// a point. Magnitudes with a decimal exponent below -4 or of 15 and more are written in exponent
// form ("1E-05", "-1.5E-07", "1.25E+20"). This is the "plain digits" form: no sign space, no
// trailing space. Negative zero is written as 0.
std::string formatDigits(double value);
// Appends the digits of formatDigits(value) to `out`.
void appendDigits(std::string& out, double value);

// A number item: a space in the sign position of a value that is not negative, the digits and
// one trailing space (" 5 ", "-.25 ").
std::string formatNumberItem(double value);

// A number item less its trailing space (" 5", "-.25").
std::string formatNumberForm(double value);

// Rounds to `decimals` places: scales by 10^decimals, takes the nearest whole number with ties
// to even and scales back. A result of zero is positive zero.
double roundToDecimals(double value, int decimals);

// A whole number as plain digits, as used in messages ("12", "-3").
std::string formatInteger(long long value);

// The shortest digits that read back as the same double ("0.05", "1e-07").
std::string formatShortest(double value);

}  // namespace pellmar
