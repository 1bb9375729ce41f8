#pragma once

#include <string_view>

namespace pellmar {

// The value of an answer typed at a prompt: leading blanks are skipped and the longest prefix
// that reads as a decimal number (optional sign, digits with at most one decimal point, optional
// exponent) gives the value; an answer without such a prefix, and the empty answer, give 0.
double numericPrefix(std::string_view answer);

}  // namespace pellmar
