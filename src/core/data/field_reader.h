#pragma once

#include <string>
#include <string_view>

namespace pellmar {

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
// start is skipped. Bytes above 127 pass through unchanged.
//
// A file that ends early, or text where a number belongs, raises the data file error, naming
// the line and what was being read (set with setContext()).
class FieldReader {
 public:
  explicit FieldReader(std::string contents);

  // What is being read, for messages: "the header", "individual no. 5".
  void setContext(std::string context) { context_ = std::move(context); }

  std::string readText();
  double readNumber();

  [[nodiscard]] int lineNumber() const { return line_; }

 private:
  [[nodiscard]] bool atEnd() const { return position_ >= contents_.size(); }
  [[nodiscard]] char peek() const { return contents_[position_]; }
  [[nodiscard]] bool atLineEnd() const;
  void skipLineEnd();
  void skipBlanks();
  void skipBlanksAndLineEnds();
  void startField();
  [[noreturn]] void failEndOfFile() const;

  std::string contents_;
  std::size_t position_ = 0;
  int line_ = 1;
  std::string context_;
};

// Parses a whole field as a decimal number: optional sign, digits with at most one decimal
// point, optional exponent (E or D). Returns false when the text is not such a number.
bool parseDecimal(std::string_view text, double& value);

}  // namespace pellmar
