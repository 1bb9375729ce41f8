#include "tool_options.h"

#include <cmath>

#include "core/data/field_reader.h"
#include "core/report/text_encoding.h"

namespace pellmar::tools {

std::optional<long long> wholeNumberOption(const std::string& value, long long low,
                                           long long high) {
  double number = 0.0;
  if (!parseDecimal(value, number) || number != std::floor(number) ||
      number < static_cast<double>(low) || number > static_cast<double>(high)) {
    return std::nullopt;
  }
  return static_cast<long long>(number);
}

std::optional<double> positiveNumberOption(const std::string& value, double high) {
  double number = 0.0;
  if (!parseDecimal(value, number) || !(number > 0) || number > high) return std::nullopt;
  return number;
}

std::string optionFault(const std::string& option, const std::string& needs,
                        const std::string& value) {
  return option + " needs " + needs + ", not \"" + echoedField(value) + "\"";
}

}  // namespace pellmar::tools
