#include "core/report/report_writer.h"

#include <charconv>

#include "core/report/number_format.h"

namespace pellmar {

void ReportWriter::put(std::string_view item) {
  contents_ += item;
  column_ += static_cast<int>(item.size());
}

ReportWriter& ReportWriter::tab(int column) {
  if (column_ > column) endLine();
  if (column_ < column) put(std::string(static_cast<std::size_t>(column - column_), ' '));
  return *this;
}

ReportWriter& ReportWriter::text(std::string_view item) {
  put(item);
  return *this;
}

void ReportWriter::putDigits(double value) {
  const std::size_t before = contents_.size();
  appendDigits(contents_, value);
  column_ += static_cast<int>(contents_.size() - before);
}

ReportWriter& ReportWriter::number(double value) {
  numberForm(value);
  put(" ");
  return *this;
}

ReportWriter& ReportWriter::numberForm(double value) {
  if (!(value < 0)) put(" ");
  putDigits(value);
  return *this;
}

ReportWriter& ReportWriter::digits(double value) {
  putDigits(value);
  return *this;
}

ReportWriter& ReportWriter::roundTrip(double value) {
  // 32 characters hold the longest shortest form of a double ("-2.2250738585072014e-308").
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  put(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
  return *this;
}

ReportWriter& ReportWriter::roundTripFloat(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  put(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
  return *this;
}

ReportWriter& ReportWriter::rounded(double value, int decimals) {
  return number(roundToDecimals(value, decimals));
}

ReportWriter& ReportWriter::repeat(char character, int count) {
  if (count > 0) put(std::string(static_cast<std::size_t>(count), character));
  return *this;
}

ReportWriter& ReportWriter::endLine() {
  contents_ += "\r\n";
  column_ = 1;
  return *this;
}

ReportWriter& ReportWriter::line(std::string_view item) { return text(item).endLine(); }

ReportWriter& ReportWriter::pageMark() { return line("\x08"); }

ReportWriter& ReportWriter::writeLine(std::initializer_list<WriteItem> items) {
  bool first = true;
  for (const auto& item : items) {
    if (!first) put(",");
    first = false;
    if (const auto* textItem = std::get_if<std::string_view>(&item)) {
      put("\"");
      put(*textItem);
      put("\"");
    } else if (const auto* exact = std::get_if<RoundTripNumber>(&item)) {
      roundTrip(exact->value);
    } else {
      putDigits(std::get<double>(item));
    }
  }
  return endLine();
}

}  // namespace pellmar
