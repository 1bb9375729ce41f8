#include "core/analysis/report/number_format.h"

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

struct Decimal {
  bool negative = false;
  std::string digits;  // significant digits, no trailing zeros, at least one
  int exponent = 0;    // value = 0.d1d2d3... x 10^(exponent + 1), i.e. d1 stands for 10^exponent
};

Decimal toDecimal(double value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  const std::size_t e = text.find('e');
  Decimal decimal;
  decimal.negative = std::signbit(value);
  for (const char c : text.substr(0, e)) {
    if (c != '.') decimal.digits += c;
  }
  while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
  decimal.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  return decimal;
}

std::string mantissaText(const std::string& digits) {
  std::string text(1, digits[0]);
  if (digits.size() > 1) {
    text += '.';
    text.append(digits, 1);
  }
  return text;
}

std::string plainText(const Decimal& decimal) {
  const auto& digits = decimal.digits;
  const int e = decimal.exponent;
  if (e < 0) {
    return "." + std::string(static_cast<std::size_t>(-e - 1), '0') + digits;
  }
  const auto integerDigits = static_cast<std::size_t>(e) + 1;
  if (digits.size() <= integerDigits) {
    return digits + std::string(integerDigits - digits.size(), '0');
  }
  return digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

}  // namespace

std::string formatDigits(double value) {
  if (value == 0.0) return "0";
  if (!std::isfinite(value)) {
    // Never reached by valid data; kept readable rather than undefined.
    return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
  }
  const Decimal decimal = toDecimal(value);
  std::string text = decimal.negative ? "-" : "";
  if (decimal.exponent < kSmallestPlainExponent || decimal.exponent > kLargestPlainExponent) {
    const int magnitude = std::abs(decimal.exponent);
    text += mantissaText(decimal.digits);
    text += decimal.exponent < 0 ? "E-" : "E+";
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
  } else {
    text += plainText(decimal);
  }
  return text;
}

std::string formatNumberForm(double value) {
  const bool negative = value < 0;
  return (negative ? "" : " ") + formatDigits(value);
}

std::string formatNumberItem(double value) { return formatNumberForm(value) + " "; }

double roundToDecimals(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  // nearbyint rounds in the default mode, to nearest with ties to even.
  const double rounded = std::nearbyint(value * scale) / scale;
  return rounded == 0.0 ? 0.0 : rounded;
}

std::string formatInteger(long long value) { return std::to_string(value); }

}  // namespace pellmar
