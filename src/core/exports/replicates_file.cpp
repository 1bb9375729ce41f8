#include "core/exports/replicates_file.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exports/csv_cells.h"
#include "core/report/report_writer.h"

namespace pellmar {
namespace {

// The columns first, in this order; any other quantity of the whole cohort follows them.
constexpr std::array<std::string_view, 18> kColumnOrder = {"C0",
                                                           "R0",
                                                           "r",
                                                           "lambda",
                                                           "T",
                                                           "Qp",
                                                           "psi",
                                                           "omega",
                                                           "GRR",
                                                           "F",
                                                           "longevity",
                                                           "adult_longevity",
                                                           "preadult_duration",
                                                           "APOP",
                                                           "TPOP",
                                                           "oviposition_days",
                                                           "oviposition_period",
                                                           "post_oviposition_period"};

std::size_t rank(std::string_view quantity) {
  const auto found = std::find(kColumnOrder.begin(), kColumnOrder.end(), quantity);
  return static_cast<std::size_t>(found - kColumnOrder.begin());
}

}  // namespace

std::optional<ReportWriter> replicatesText(const StudyReplicates& replicates) {
  std::vector<const ReplicatedQuantity*> columns;
  std::map<std::string, int> sexes;
  for (const ReplicatedQuantity& quantity : replicates.quantities) {
    if (!quantity.stage.empty()) continue;
    columns.push_back(&quantity);
    ++sexes[quantity.quantity];
  }
  if (columns.empty()) return std::nullopt;
  std::stable_sort(columns.begin(), columns.end(),
                   [](const ReplicatedQuantity* a, const ReplicatedQuantity* b) {
                     return rank(a->quantity) < rank(b->quantity);
                   });
  ReportWriter out;
  out.text("replicate");
  for (const ReplicatedQuantity* column : columns) {
    std::string name = column->quantity;
    if (sexes[column->quantity] > 1) name += "_" + column->sex;
    out.text(",");
    csvTextCell(out, name);
  }
  out.endLine();
  const std::size_t count = columns.front()->values.size();
  for (std::size_t b = 0; b < count; ++b) {
    out.roundTrip(static_cast<double>(b + 1));
    for (const ReplicatedQuantity* column : columns) {
      const bool has = b < column->values.size() && column->valid[b] != 0;
      // A float keeps the file small (at most 9 significant digits a number) and carries far
      // more precision than the replicates' spread.
      csvFloatCell(out, has ? std::optional(static_cast<float>(column->values[b])) : std::nullopt);
    }
    out.endLine();
  }
  return out;
}

void writeReplicatesFile(const StudyReplicates& replicates, OutputFiles& files) {
  if (const std::optional<ReportWriter> text = replicatesText(replicates)) {
    files.save("_replicates.csv", *text);
  }
}

}  // namespace pellmar
