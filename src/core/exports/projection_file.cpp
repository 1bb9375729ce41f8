#include "core/exports/projection_file.h"

#include <cstddef>
#include <string>
#include <vector>

#include "core/exports/csv_cells.h"

namespace pellmar {
namespace {

void writeLine(ReportWriter& out, double day, const char* series, const std::string& stage,
               double value) {
  out.roundTrip(day);
  out.text(",");
  out.text(series);
  out.text(",");
  csvTextCell(out, stage);
  csvNumberCell(out, value);
  out.text(",,");
  out.endLine();
}

void writeSeries(ReportWriter& out, const Study& study, double day, const char* series,
                 const std::vector<double>& values) {
  double total = 0.0;
  for (std::size_t j = 0; j < values.size(); ++j) {
    writeLine(out, day, series, study.columnName(static_cast<int>(j) + 1), values[j]);
    total += values[j];
  }
  writeLine(out, day, series, "total", total);
}

}  // namespace

ReportWriter projectionText(const Study& study, const Projection& projection) {
  ReportWriter out;
  out.text("day,series,stage,value,ci_low,ci_high").endLine();
  std::vector<double> cumulative(projection.predation.empty() ? 0 : projection.predation[0].size());
  for (std::size_t t = 0; t < projection.population.size(); ++t) {
    const double day = static_cast<double>(t) * projection.timeUnit;
    const std::vector<double>& eaten = projection.predation[t];
    std::vector<double> perDay(eaten.size());
    for (std::size_t j = 0; j < eaten.size(); ++j) {
      perDay[j] = eaten[j] / projection.timeUnit;
      cumulative[j] += eaten[j];
    }
    writeSeries(out, study, day, "population", projection.population[t]);
    writeSeries(out, study, day, "predation", perDay);
    writeSeries(out, study, day, "cumulative_predation", cumulative);
  }
  return out;
}

}  // namespace pellmar
