#pragma once

#include <string_view>

#include "core/data/study.h"
#include "core/predation/fecundity_life_table.h"
#include "core/report/report_writer.h"

namespace pellmar {

inline constexpr std::string_view kLifeTableReportSuffix = "_Life_table.txt";

// The life table report: a title block with the study's lines; table 1, the age-specific
// survival rate l(x), fecundity f(x) of the female adults, maternity m(x) and net maternity
// l(x)m(x) at every age x t; table 2, R0, r, lambda, T, GRR and F; table 3, the female periods
// with their n, mean, SD and SE. Without eggs r, lambda and T are shown as "-", and a line says
// why.
ReportWriter lifeTableReport(const Study& study, const FecundityLifeTable& table);

}  // namespace pellmar
