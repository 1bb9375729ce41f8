#include "core/data/field_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/analysis/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Values this large are not counts or consumption of any real study; refusing them keeps every
// sum and printed figure finite.
constexpr double kLargestValue = 1e15;

}  // namespace

bool parseDecimal(std::string_view text, double& value) {
  std::string normal;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') normal += '-';
    ++i;
  }
  bool anyDigit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c)) {
      anyDigit = true;
      normal += c;
    } else if (c == '.' && !point) {
      point = true;
      normal += c;
    } else {
      break;
    }
  }
  if (!anyDigit) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    normal += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    bool exponentDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
      exponentDigit = true;
      normal += text[i];
    }
    if (!exponentDigit) return false;
  }
  if (i != text.size()) return false;
  const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = HUGE_VAL;
    return true;
  }
  return result.ec == std::errc() && result.ptr == normal.data() + normal.size();
}

FieldReader::FieldReader(std::string contents) : contents_(std::move(contents)) {
  if (contents_.compare(0, 3, "\xEF\xBB\xBF") == 0) position_ = 3;
}

bool FieldReader::atLineEnd() const { return !atEnd() && (peek() == '\r' || peek() == '\n'); }

void FieldReader::skipLineEnd() {
  if (atEnd()) return;
  if (peek() == '\r') {
    ++position_;
    if (!atEnd() && peek() == '\n') ++position_;
  } else if (peek() == '\n') {
    ++position_;
  } else {
    return;
  }
  ++line_;
}

void FieldReader::skipBlanks() {
  while (!atEnd() && isBlank(peek())) ++position_;
}

void FieldReader::skipBlanksAndLineEnds() {
  while (!atEnd()) {
    if (isBlank(peek())) {
      ++position_;
    } else if (atLineEnd()) {
      skipLineEnd();
    } else {
      break;
    }
  }
}

void FieldReader::startField() {
  skipBlanksAndLineEnds();
  if (atEnd()) failEndOfFile();
}

void FieldReader::failEndOfFile() const {
  throwDataFileError("The data file ends too early, while reading " + context_ + ".");
}

std::string FieldReader::readText() {
  startField();
  std::string field;
  if (peek() == '"') {
    ++position_;
    while (!atEnd() && peek() != '"') {
      if (atLineEnd()) {
        skipLineEnd();
        field += '\n';
      } else {
        field += contents_[position_++];
      }
    }
    while (!atEnd() && peek() != ',' && !atLineEnd()) ++position_;
  } else {
    while (!atEnd() && peek() != ',' && !atLineEnd()) field += contents_[position_++];
    while (!field.empty() && isBlank(field.back())) field.pop_back();
  }
  if (!atEnd() && peek() == ',') {
    ++position_;
  } else {
    skipLineEnd();
  }
  return field;
}

double FieldReader::readNumber() {
  startField();
  const int line = line_;
  std::string token;
  while (!atEnd() && peek() != ',' && !isBlank(peek()) && !atLineEnd()) {
    token += contents_[position_++];
  }
  skipBlanks();
  if (!atEnd() && peek() == ',') {
    ++position_;
  } else {
    skipLineEnd();
  }
  if (token.empty()) return 0.0;
  double value = 0.0;
  if (!parseDecimal(token, value)) {
    throwDataFileError("Line " + formatInteger(line) + ", " + context_ + ": \"" + token +
                       "\" is not a number.");
  }
  if (!(std::fabs(value) < kLargestValue)) {
    throwDataFileError("Line " + formatInteger(line) + ", " + context_ + ": " + token +
                       " is too large.");
  }
  return value;
}

}  // namespace pellmar
