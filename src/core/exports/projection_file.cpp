#include "core/exports/projection_file.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/exports/csv_cells.h"

namespace pellmar {
namespace {

constexpr std::array<const char*, kProjectionSeriesCount> kSeriesNames = {"population", "predation",
                                                                          "cumulative_predation"};

// Calls write(t, day, series, stage, value, v) for every row of `projection`, v being the place
// of the value within its step.
template <typename Write>
void forEveryRow(const Study& study, const Projection& projection, Write write) {
  const int columns = study.stageCount + 1;
  std::vector<std::string> stages;
  for (int j = 1; j <= columns; ++j) stages.push_back(study.columnName(j));
  stages.emplace_back("total");
  std::vector<double> cumulative(static_cast<std::size_t>(columns), 0.0);
  std::vector<double> values(static_cast<std::size_t>(projectionValuesPerStep(columns)));
  for (int t = 0; t <= projection.lastStep(); ++t) {
    projectionStepValues(projection, t, cumulative, values);
    const double day = t * projection.timeUnit;
    for (std::size_t v = 0; v < values.size(); ++v) {
      write(t, day, kSeriesNames[v / stages.size()], stages[v % stages.size()], values[v], v);
    }
  }
}

// The rows of the projection file, each after `treatment` when there is one.
void writeProjectionRows(ReportWriter& out, const std::string_view* treatment, const Study& study,
                         const Projection& projection, const ProjectionBand* band) {
  forEveryRow(study, projection,
              [&](int t, double day, const char* series, const std::string& stage, double value,
                  std::size_t v) {
                if (treatment != nullptr) {
                  csvTextCell(out, *treatment);
                  out.text(",");
                }
                out.roundTrip(day).text(",").text(series).text(",");
                csvTextCell(out, stage);
                csvNumberCell(out, value);
                if (band != nullptr) {
                  const std::size_t cell =
                      static_cast<std::size_t>(t) * static_cast<std::size_t>(band->valuesPerStep) +
                      v;
                  csvNumberCell(out, band->low[cell]);
                  csvNumberCell(out, band->high[cell]);
                } else {
                  out.text(",,");
                }
                out.endLine();
              });
}

}  // namespace

ReportWriter projectionText(const Study& study, const Projection& projection,
                            const ProjectionBand* band) {
  ReportWriter out;
  out.text(kProjectionHeading).endLine();
  writeProjectionRows(out, nullptr, study, projection, band);
  return out;
}

void writeTreatmentProjection(ReportWriter& out, std::string_view treatment, const Study& study,
                              const Projection& projection, const ProjectionBand* band) {
  writeProjectionRows(out, &treatment, study, projection, band);
}

ReportWriter lambdaRanksText(const Study& study, std::span<const LambdaRankProjection> ranks) {
  ReportWriter out;
  out.text("day,rank,lambda,series,stage,value").endLine();
  for (const LambdaRankProjection& rank : ranks) {
    forEveryRow(study, rank.projection,
                [&](int, double day, const char* series, const std::string& stage, double value,
                    std::size_t) {
                  out.roundTrip(day).text(",").text(rank.rank).text(",").roundTrip(rank.lambda);
                  out.text(",").text(series).text(",");
                  csvTextCell(out, stage);
                  csvNumberCell(out, value);
                  out.endLine();
                });
  }
  return out;
}

}  // namespace pellmar
