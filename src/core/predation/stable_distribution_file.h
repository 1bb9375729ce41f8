#pragma once

#include <string_view>

#include "core/data/study.h"
#include "core/predation/fecundity_life_table.h"
#include "core/report/report_writer.h"

namespace pellmar {

inline constexpr std::string_view kStableDistributionFileSuffix = "_10_SASD_from_fecundity.txt";

// The stable age-stage distribution file of a life table with a lambda, item by item in the
// layout the SASD reader reads ("In Column"): five heading items, lambda, the layout word, a
// label, a(x, j) for every age x and stage column j, N, and one record per female with her
// lifespan L(i), whether she laid, her first and last oviposition age index and L(i) - last - 1.
// Numbers are in the shortest form that reads back as the same double, and every text item is
// quoted, so reading the file gives exactly the values of the life table.
ReportWriter stableDistributionFile(const Study& study, const FecundityLifeTable& table);

}  // namespace pellmar
