#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace pellmar {

// A number written in the shortest form that reads back as the same double, for files that
// Pellmar or other programs read back ("0.1", "1.1786980056337902", "3.2e-05").
struct RoundTripNumber {
  double value;
};

// One item of a comma-separated (Write form) line: text is quoted, numbers are plain digits.
using WriteItem = std::variant<std::string_view, double, RoundTripNumber>;

// Writes a text file the way a line printer is driven: items are placed on the current line,
// Tab(n) pads with spaces to column n, and every line ends with CR LF. Every report and data
// file of the program is written through this class, so that numbers are formatted in one place.
// The text is collected in memory; the caller saves it with saveReplacing().
class ReportWriter {
 public:
  // Moves to column n (counting from 1) by writing spaces. When the current position is already
  // beyond n, the line is ended and the new line is filled with spaces up to column n.
  ReportWriter& tab(int column);
  // A text item, written unchanged.
  ReportWriter& text(std::string_view item);
  // A number item: sign space, digits, trailing space (" 5 ", "-.25 ").
  ReportWriter& number(double value);
  // A number item less its trailing space (" 5").
  ReportWriter& numberForm(double value);
  // Plain digits without sign space or trailing space ("5", "-.25").
  ReportWriter& digits(double value);
  // The shortest digits that read back as the same double, without spaces ("0.1", "-2e-07").
  ReportWriter& roundTrip(double value);
  // The shortest digits that read back as the same float ("3.6666667").
  ReportWriter& roundTripFloat(float value);
  // A number item of the value rounded to `decimals` places, ties to even.
  ReportWriter& rounded(double value, int decimals);
  // `count` copies of one character.
  ReportWriter& repeat(char character, int count);
  // Ends the line with CR LF.
  ReportWriter& endLine();
  // A whole line of text.
  ReportWriter& line(std::string_view item);
  // The line holding the single control character 8 that begins a page of a table.
  ReportWriter& pageMark();
  // A comma-separated line: text items in double quotes, numbers as plain digits.
  ReportWriter& writeLine(std::initializer_list<WriteItem> items);

  // The column the next character goes to (1 at the start of a line).
  [[nodiscard]] int column() const { return column_; }
  [[nodiscard]] const std::string& contents() const { return contents_; }

 private:
  void put(std::string_view item);
  void putDigits(double value);

  std::string contents_;
  int column_ = 1;
};

}  // namespace pellmar
