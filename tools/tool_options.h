#pragma once

#include <optional>
#include <string>

namespace pellmar::tools {

// The value of a command-line option of the tools: a whole number from `low` to `high`, or a
// number above 0 and at most `high`; nullopt for anything else, which the tool reports with
// optionFault().
std::optional<long long> wholeNumberOption(const std::string& value, long long low, long long high);
std::optional<double> positiveNumberOption(const std::string& value, double high);

// "--stages needs a whole number from 2 to 12, not "x"".
std::string optionFault(const std::string& option, const std::string& needs,
                        const std::string& value);

}  // namespace pellmar::tools
