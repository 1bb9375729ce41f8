#pragma once

#include <string>
#include <variant>
#include <vector>

namespace pellmar {

// One cell of a table written as comma-separated text: empty, text, or a number.
using CsvCell = std::variant<std::monostate, std::string, double>;

// A table as comma-separated text, one line per row ending in CR LF, as the results summary is
// written: numbers in their shortest exact form, text quoted only where it must be, nothing in
// empty cells and in numbers that are not finite.
std::string tableCsv(const std::vector<std::vector<CsvCell>>& rows);

}  // namespace pellmar
