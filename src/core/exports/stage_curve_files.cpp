#include "core/exports/stage_curve_files.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/data/table_index.h"
#include "core/exports/csv_cells.h"
#include "core/report/report_writer.h"

namespace pellmar {
namespace {

template <typename Value>
std::optional<Value> cell(std::span<const Value> values, std::size_t k) {
  return k < values.size() && std::isfinite(values[k]) ? std::optional(values[k]) : std::nullopt;
}

}  // namespace

void writeStageCurveFile(const Study& study, std::string_view suffix, const CurveCells& cells,
                         std::span<const double> values, const CurveBand* band,
                         OutputFiles& files) {
  ReportWriter out;
  out.text("age_days,stage,value,ci_low,ci_high,replicates").endLine();
  for (std::size_t k = 0; k < values.size(); ++k) {
    out.roundTrip(cells.age[k] * study.timeUnit);
    out.text(",");
    csvTextCell(out, study.columnName(cells.column[k]));
    csvNumberCell(out, cell(values, k));
    csvFloatCell(out, band != nullptr ? cell(std::span<const float>(band->low), k) : std::nullopt);
    csvFloatCell(out, band != nullptr ? cell(std::span<const float>(band->high), k) : std::nullopt);
    out.text(",");
    if (band != nullptr) out.roundTrip(band->count[k]);
    out.endLine();
  }
  files.save(std::string(suffix), out);
}

}  // namespace pellmar
