#include "core/exports/table_csv.h"

#include <cmath>

#include "core/exports/csv_cells.h"
#include "core/report/report_writer.h"

namespace pellmar {

std::string tableCsv(const std::vector<std::vector<CsvCell>>& rows) {
  ReportWriter out;
  for (const std::vector<CsvCell>& row : rows) {
    for (std::size_t column = 0; column < row.size(); ++column) {
      if (column > 0) out.text(",");
      const CsvCell& cell = row[column];
      if (const auto* text = std::get_if<std::string>(&cell)) {
        csvTextCell(out, *text);
      } else if (const auto* number = std::get_if<double>(&cell);
                 number && std::isfinite(*number)) {
        out.roundTrip(*number);
      }
    }
    out.endLine();
  }
  return out.contents();
}

}  // namespace pellmar
