#include "ui/widgets/display_number.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/report/number_format.h"

namespace pellmar {

QString displayNumber(double value, int decimals) {
  if (!std::isfinite(value)) return QString();
  const double rounded = roundToDecimals(value, decimals);
  std::array<char, 64> buffer{};
  // The shortest fixed form that reads back as the rounded value has no trailing zeros.
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                          rounded == 0.0 ? 0.0 : rounded, std::chars_format::fixed);
  if (error != std::errc{}) return QString::number(rounded, 'g', 15);
  return QString::fromLatin1(buffer.data(), static_cast<int>(end - buffer.data()));
}

}  // namespace pellmar
