#include "app/numeric_prefix.h"

#include <string>

#include "core/data/field_reader.h"

namespace pellmar {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `text` that is a decimal number, 0 when there is none.
std::size_t numberPrefixLength(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false;
  while (i < text.size() && isDigit(text[i])) {
    ++i;
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      ++i;
      digits = true;
    }
  }
  if (!digits) return 0;
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      end = j;
    }
  }
  return end;
}

}  // namespace

double numericPrefix(std::string_view answer) {
  std::size_t start = 0;
  while (start < answer.size() && (answer[start] == ' ' || answer[start] == '\t')) ++start;
  const std::string_view rest = answer.substr(start);
  const std::size_t length = numberPrefixLength(rest);
  double value = 0.0;
  if (length == 0 || !parseDecimal(rest.substr(0, length), value)) return 0.0;
  return value;
}

}  // namespace pellmar
