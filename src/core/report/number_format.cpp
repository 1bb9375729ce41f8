#include "core/report/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace pellmar {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kSmallestPlainExponent = -4;
constexpr int kLargestPlainExponent = 14;

// The significant digits of |value| (no trailing zeros) and the decimal exponent of the first.
struct Decimal {
  std::array<char, 24> digits{};
  int count = 0;
  int exponent = 0;
};

// Reads the digits and exponent of to_chars' scientific form "d.ddde+XX".
void parseScientific(const char* begin, const char* end, Decimal& decimal) {
  const char* p = begin;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.') decimal.digits[static_cast<std::size_t>(decimal.count++)] = *p;
  }
  int exponent = 0;
  bool negative = false;
  for (++p; p < end; ++p) {
    if (*p == '-') {
      negative = true;
    } else if (*p != '+') {
      exponent = exponent * 10 + (*p - '0');
    }
  }
  decimal.exponent = negative ? -exponent : exponent;
  while (decimal.count > 1 && decimal.digits[static_cast<std::size_t>(decimal.count - 1)] == '0') {
    --decimal.count;
  }
}

Decimal toDecimal(double magnitude) {
  std::array<char, 40> buffer{};
  Decimal decimal;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  parseScientific(buffer.data(), result.ptr, decimal);
  return decimal;
}

}  // namespace

void appendDigits(std::string& out, double value) {
  if (value == 0.0) {
    out += '0';
    return;
  }
  if (!std::isfinite(value)) {
    // Never reached by valid data; kept readable rather than undefined.
    out += std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
    return;
  }
  const Decimal d = toDecimal(std::fabs(value));
  // The text is put together in a local buffer and appended once.
  std::array<char, 48> text{};
  char* p = text.data();
  const char* digits = d.digits.data();
  const int count = d.count;
  if (value < 0) *p++ = '-';
  const int e = d.exponent;
  if (e < kSmallestPlainExponent || e > kLargestPlainExponent) {
    *p++ = digits[0];
    if (count > 1) {
      *p++ = '.';
      for (int k = 1; k < count; ++k) *p++ = digits[k];
    }
    *p++ = 'E';
    *p++ = e < 0 ? '-' : '+';
    const int magnitude = std::abs(e);
    if (magnitude >= 100) *p++ = static_cast<char>('0' + magnitude / 100);
    *p++ = static_cast<char>('0' + magnitude / 10 % 10);
    *p++ = static_cast<char>('0' + magnitude % 10);
  } else if (e < 0) {
    *p++ = '.';
    for (int k = 0; k < -e - 1; ++k) *p++ = '0';
    for (int k = 0; k < count; ++k) *p++ = digits[k];
  } else {
    const int integerDigits = e + 1;
    for (int k = 0; k < integerDigits; ++k) *p++ = k < count ? digits[k] : '0';
    if (count > integerDigits) {
      *p++ = '.';
      for (int k = integerDigits; k < count; ++k) *p++ = digits[k];
    }
  }
  out.append(text.data(), static_cast<std::size_t>(p - text.data()));
}

std::string formatDigits(double value) {
  std::string text;
  appendDigits(text, value);
  return text;
}

std::string formatNumberForm(double value) {
  std::string text(value < 0 ? "" : " ");
  appendDigits(text, value);
  return text;
}

std::string formatNumberItem(double value) { return formatNumberForm(value) + " "; }

double roundToDecimals(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  // nearbyint rounds in the default mode, to nearest with ties to even.
  const double rounded = std::nearbyint(value * scale) / scale;
  return rounded == 0.0 ? 0.0 : rounded;
}

std::string formatInteger(long long value) { return std::to_string(value); }

std::string formatShortest(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return {buffer.data(), result.ptr};
}

}  // namespace pellmar
