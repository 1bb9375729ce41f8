#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/report/report_output.h"

namespace pellmar {

// Writes the figure data files of the Basic Run, in this order: the age-specific curves
// ("_2_Fig_Age_lx_Kx_qx.txt"), the consumption rate matrix C ("_1_Fig_Cxj.txt"), C by stage for
// the predation-rate program ("_17_Cxj_For_Predation_Prog.txt"), the total consumption by age
// (writeAgeTotalConsumptionFile) and the total consumption matrix T
// ("_3_Fig_Total_age-stage consumption.txt").
void writeFigureFiles(const Study& study, const BasicRunResults& basic, OutputFiles& files);

// Writes "_Age_Total_Consumption.txt": each age with the consumption of all individuals at it.
void writeAgeTotalConsumptionFile(const Study& study, const BasicRunResults& basic,
                                  OutputFiles& files);

}  // namespace pellmar
