#pragma once

#include <optional>
#include <string_view>

#include "core/report/report_writer.h"

namespace pellmar {

// The cells of the comma-separated files for R and spreadsheets.

// A text cell, in double quotes (doubled inside) when it holds a comma, a quote or a line break.
void csvTextCell(ReportWriter& out, std::string_view text);

// A comma, then the number in its shortest exact form; nothing after the comma for a value
// that does not exist or is not finite.
void csvNumberCell(ReportWriter& out, std::optional<double> value);

// The same for a float, in the shortest form that reads back as the same float.
void csvFloatCell(ReportWriter& out, std::optional<float> value);

}  // namespace pellmar
