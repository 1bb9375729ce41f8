#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// Files of each individual's consumption for statistics programs, one file per stage and sex
// group. A stage in which no individual consumed anything gets no file.

// Writes the files with individual numbers ("Ind. no.", value): for every stage in which some
// individual consumed, all individuals that completed it, the females and the males; then the
// male and the female adults when some of them consumed.
void writeNumberedStageConsumptionFiles(const Study& study, OutputFiles& files);

// Writes the same groups as single columns ended by -1, preceded by the lifelong consumption
// of every individual.
void writeTukeyKramerConsumptionFiles(const Study& study, const BasicRunResults& basic,
                                      OutputFiles& files);

}  // namespace pellmar
