#pragma once

#include <span>
#include <string_view>

#include "core/data/study.h"
#include "core/predation/stage_curves.h"
#include "core/report/report_output.h"

namespace pellmar {

// The file of one curve of the cells (x, j): "<base>_exj.csv" for e(x, j), "<base>_vxj.csv" for
// v(x, j). "age_days,stage,value,ci_low,ci_high,replicates", one line per cell in order of age
// and stage column, the stage named as the summary names it; the band's columns empty without
// a band, a value empty where a cell has none.
void writeStageCurveFile(const Study& study, std::string_view suffix, const CurveCells& cells,
                         std::span<const double> values, const CurveBand* band, OutputFiles& files);

inline constexpr std::string_view kExpectancySuffix = "_exj.csv";
inline constexpr std::string_view kReproductiveValueSuffix = "_vxj.csv";

}  // namespace pellmar
