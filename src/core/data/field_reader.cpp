#include "core/data/field_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Values this large are not counts or consumption of any real study; refusing them keeps every
// sum and printed figure finite.
constexpr double kLargestValue = 1e15;

}  // namespace

FieldErrorStyle dataFileErrorStyle() {
  return FieldErrorStyle{std::string(kDataFileErrorTitle),
                         true,
                         "Please correct your data and rerun this program.",
                         {}};
}

bool parseDecimal(std::string_view text, double& value) {
  // Plain whole numbers, by far the most common fields, are converted directly.
  {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i < text.size() && text.size() - i <= 15) {
      long long whole = 0;
      std::size_t j = i;
      for (; j < text.size() && isDigit(text[j]); ++j) whole = whole * 10 + (text[j] - '0');
      if (j == text.size()) {
        value = static_cast<double>(text[0] == '-' ? -whole : whole);
        return true;
      }
    }
  }
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

FieldReader::FieldReader(std::string contents, FieldErrorStyle style) : style_(std::move(style)) {
  startReading(std::move(contents));
}

FieldReader::FieldReader(std::unique_ptr<std::istream> stream, FieldErrorStyle style,
                         std::size_t blockSize)
    : stream_(std::move(stream)),
      blockSize_(std::max<std::size_t>(blockSize, 3)),
      style_(std::move(style)) {
  // The first read takes enough bytes to tell the encoding.
  std::string first(std::max(blockSize_, kEncodingSampleSize), '\0');
  if (*stream_) stream_->read(first.data(), static_cast<std::streamsize>(first.size()));
  first.resize(static_cast<std::size_t>(stream_->gcount()));
  startReading(std::move(first));
}

void FieldReader::startReading(std::string firstBytes) {
  const DetectedEncoding detected = detectEncoding(firstBytes);
  switch (detected.encoding) {
    case TextEncoding::kBytes:
      buffer_ = std::move(firstBytes);
      if (buffer_.starts_with("\xEF\xBB\xBF")) position_ = 3;
      return;
    case TextEncoding::kUtf16WithoutMark:
      failWholeFile(kUtf16WithoutMarkMessage);
    case TextEncoding::kUtf16LittleEndian:
    case TextEncoding::kUtf16BigEndian:
      break;
  }
  utf16_.emplace(detected.encoding == TextEncoding::kUtf16BigEndian);
  utf16_->decode(std::string_view(firstBytes).substr(detected.markLength), buffer_);
  if (!stream_ || !*stream_) utf16_->finish(buffer_);
}

bool FieldReader::refill() {
  buffer_.clear();
  position_ = 0;
  // A block of UTF-16 may end inside a character and give no text of its own.
  while (buffer_.empty() && stream_ && *stream_) {
    if (!utf16_) {
      buffer_.resize(blockSize_);
      stream_->read(buffer_.data(), static_cast<std::streamsize>(blockSize_));
      buffer_.resize(static_cast<std::size_t>(stream_->gcount()));
      continue;
    }
    std::string block(blockSize_, '\0');
    stream_->read(block.data(), static_cast<std::streamsize>(blockSize_));
    block.resize(static_cast<std::size_t>(stream_->gcount()));
    utf16_->decode(block, buffer_);
    if (!*stream_) utf16_->finish(buffer_);
  }
  return !buffer_.empty();
}

void FieldReader::fail(std::string_view message) const { failAt(line_, message); }

void FieldReader::failAt(int line, std::string_view message) const {
  std::string text = style_.fileName.empty()
                         ? "Line " + formatInteger(line)
                         : "The file " + style_.fileName + ", line " + formatInteger(line);
  text += ", " + context_ + ": " + std::string(message);
  if (!note_.empty()) text += "\n" + note_;
  if (!style_.closingLine.empty()) text += "\n" + style_.closingLine;
  throw UserError(style_.title, std::move(text),
                  style_.fatal ? ErrorKind::kProgramEnds : ErrorKind::kCommandFailed);
}

void FieldReader::failWholeFile(std::string_view what) const {
  std::string text = !style_.fileName.empty() ? "The file " + style_.fileName
                     : style_.fatal           ? std::string("The data file")
                                              : std::string("The file");
  text += " " + std::string(what);
  if (!style_.closingLine.empty()) text += "\n" + style_.closingLine;
  throw UserError(style_.title, std::move(text),
                  style_.fatal ? ErrorKind::kProgramEnds : ErrorKind::kCommandFailed);
}

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
    } else if (peek() == '\r' || peek() == '\n') {
      skipLineEnd();
    } else {
      break;
    }
  }
}

bool FieldReader::atEndOfData() {
  skipBlanksAndLineEnds();
  return atEnd();
}

bool FieldReader::nextFieldLooksNumeric() {
  skipBlanksAndLineEnds();
  if (atEnd()) return false;
  const char c = peek();
  return isDigit(c) || c == '-' || c == '+' || c == '.';
}

void FieldReader::startField() {
  skipBlanksAndLineEnds();
  if (atEnd()) {
    failAt(line_, style_.fatal ? "the data file ends too early." : "the file ends too early.");
  }
  lastFieldLine_ = line_;
}

void FieldReader::endField() {
  if (!atEnd() && peek() == ',') {
    ++position_;
  } else {
    skipLineEnd();
  }
}

std::string FieldReader::readText() {
  startField();
  std::string field;
  if (peek() == '"') {
    ++position_;
    while (!atEnd() && peek() != '"') {
      if (peek() == '\r' || peek() == '\n') {
        skipLineEnd();
        field += '\n';
      } else {
        field += buffer_[position_++];
      }
    }
    while (!atEnd() && peek() != ',' && peek() != '\r' && peek() != '\n') ++position_;
  } else {
    while (!atEnd() && peek() != ',' && peek() != '\r' && peek() != '\n') {
      field += buffer_[position_++];
    }
    while (!field.empty() && isBlank(field.back())) field.pop_back();
  }
  endField();
  return field;
}

double FieldReader::readNumber() {
  startField();
  const int line = line_;
  const auto isEnd = [](char c) { return c == ',' || isBlank(c) || c == '\r' || c == '\n'; };
  // Most numbers end inside the block in hand: they are read in place, without a copy.
  std::size_t end = position_;
  while (end < buffer_.size() && !isEnd(buffer_[end])) ++end;
  std::string copied;
  std::string_view token;
  if (end < buffer_.size() || !stream_) {
    token = std::string_view(buffer_).substr(position_, end - position_);
    position_ = end;
  } else {
    while (!atEnd() && !isEnd(peek())) copied += buffer_[position_++];
    token = copied;
  }
  double value = 0.0;
  if (!token.empty()) {
    if (!parseDecimal(token, value))
      failAt(line, "\"" + echoedField(token) + "\" is not a number.");
    if (!(std::fabs(value) < kLargestValue)) failAt(line, echoedField(token) + " is too large.");
  }
  skipBlanks();
  endField();
  return value;
}

long long FieldReader::readWholeNumber(std::string_view what, long long low, long long high) {
  const double value = readNumber();
  const int line = lastFieldLine_;
  if (value != std::floor(value) || value < static_cast<double>(low) ||
      value > static_cast<double>(high)) {
    failAt(line, "the " + std::string(what) + " is " + formatDigits(value) +
                     "; it must be a whole number from " + formatInteger(low) + " to " +
                     formatInteger(high) + ".");
  }
  return static_cast<long long>(value);
}

}  // namespace pellmar
