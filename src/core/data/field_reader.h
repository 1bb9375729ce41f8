#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/report/text_encoding.h"

namespace pellmar {

// How a reader reports a fault of its file: the message box title, whether the fault ends the
// program, the line that closes the message (empty for none), and the file's name when the
// message should give it (a file the user picked for a command; the raw data file's messages
// keep their own words).
struct FieldErrorStyle {
  std::string title;
  bool fatal = false;
  std::string closingLine;
  std::string fileName;
};

// The style of the raw data file: "Error in data file", ends the program, asks for a correction.
FieldErrorStyle dataFileErrorStyle();

// Reads a text file as a stream of fields separated by commas or line ends, the way sequential
// text input does:
// - blanks and line ends before a field are skipped, so blank lines and a comma at the end of a
//   line make no empty field; a comma met first gives an empty field;
// - a number field ends at a comma, a blank or a line end; the blanks after it and one following
//   comma or line end belong to it;
// - a text field ends at a comma or a line end and loses its trailing blanks; in double quotes it
//   is read whole, commas included, and everything after the closing quote up to the next comma
//   or line end is ignored.
// Line ends are CR LF, LF or a lone CR; tabs count as blanks; a UTF-8 byte-order mark at the
// start is skipped. Bytes above 127 pass through unchanged. UTF-16 that starts with a byte-order
// mark is read as the same text in UTF-8; UTF-16 without one is refused with a message that says
// so. The text is read from memory or streamed from a file in blocks, so a large file is never
// held whole.
//
// A file that ends early, or text where a number belongs, raises a UserError in the reader's
// error style, naming the line and what was being read (set with setContext()).
class FieldReader {
 public:
  explicit FieldReader(std::string contents, FieldErrorStyle style = dataFileErrorStyle());
  // Reads the stream in blocks of `blockSize` bytes (at least 3, so that the first block holds a
  // whole byte-order mark); the block size changes nothing but the memory used.
  explicit FieldReader(std::unique_ptr<std::istream> stream,
                       FieldErrorStyle style = dataFileErrorStyle(),
                       std::size_t blockSize = kDefaultBlockSize);

  static constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 16;

  // What is being read, for messages: "the header", "individual no. 5".
  void setContext(std::string context) { context_ = std::move(context); }
  // A line added to every message until it is cleared: what the reader has made of the file so
  // far, where that helps to see why a field is wrong.
  void setNote(std::string note) { note_ = std::move(note); }

  std::string readText();
  double readNumber();
  // A number that must be a whole number from `low` to `high`; `what` names it in the message.
  long long readWholeNumber(std::string_view what, long long low, long long high);
  // True when only blanks and line ends are left.
  bool atEndOfData();
  // True when the next field begins as a number does (a digit, a sign or a decimal point),
  // without reading it: a file whose counts of numbers depend on another file can tell where
  // its numbers end.
  bool nextFieldLooksNumeric();

  [[nodiscard]] int lineNumber() const { return line_; }
  // The line on which the last field read began.
  [[nodiscard]] int lastFieldLine() const { return lastFieldLine_; }

  // Raises the reader's error with the line number and context in front of `message`.
  [[noreturn]] void fail(std::string_view message) const;
  [[noreturn]] void failAt(int line, std::string_view message) const;

 private:
  void startReading(std::string firstBytes);
  [[noreturn]] void failWholeFile(std::string_view what) const;
  bool refill();
  [[nodiscard]] bool atEnd() { return position_ >= buffer_.size() && !refill(); }
  [[nodiscard]] char peek() const { return buffer_[position_]; }
  [[nodiscard]] bool atLineEnd() { return !atEnd() && (peek() == '\r' || peek() == '\n'); }
  void skipLineEnd();
  void skipBlanks();
  void skipBlanksAndLineEnds();
  void startField();
  void endField();

  std::unique_ptr<std::istream> stream_;
  std::optional<Utf16Decoder> utf16_;
  std::size_t blockSize_ = kDefaultBlockSize;
  std::string buffer_;
  std::size_t position_ = 0;
  int line_ = 1;
  int lastFieldLine_ = 1;
  std::string context_;
  std::string note_;
  FieldErrorStyle style_;
};

// Parses a whole field as a decimal number: optional sign, digits with at most one decimal
// point, optional exponent (E or D). Returns false when the text is not such a number.
bool parseDecimal(std::string_view text, double& value);

}  // namespace pellmar
