#include "core/exports/csv_cells.h"

#include <cmath>

namespace pellmar {

void csvTextCell(ReportWriter& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.text(text);
    return;
  }
  out.text("\"");
  for (std::size_t start = 0;;) {
    const std::size_t quote = text.find('"', start);
    out.text(text.substr(start, quote - start));
    if (quote == std::string_view::npos) break;
    out.text("\"\"");
    start = quote + 1;
  }
  out.text("\"");
}

void csvNumberCell(ReportWriter& out, std::optional<double> value) {
  out.text(",");
  if (value && std::isfinite(*value)) out.roundTrip(*value);
}

void csvFloatCell(ReportWriter& out, std::optional<float> value) {
  out.text(",");
  if (value && std::isfinite(*value)) out.roundTripFloat(*value);
}

}  // namespace pellmar
