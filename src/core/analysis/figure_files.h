#pragma once

#include "core/session.h"

namespace pellmar {

// Writes the figure data files of the Basic Run, in this order: the age-specific curves
// ("_2_Fig_Age_lx_Kx_qx.txt"), the consumption rate matrix C ("_1_Fig_Cxj.txt"), C by stage for
// the predation-rate program ("_17_Cxj_For_Predation_Prog.txt"), the total consumption by age
// (writeAgeTotalConsumptionFile) and the total consumption matrix T
// ("_3_Fig_Total_age-stage consumption.txt").
void writeFigureFiles(const Session& session, OutputFiles& files);

// Writes "_Age_Total_Consumption.txt": each age with the consumption of all individuals at it.
void writeAgeTotalConsumptionFile(const Session& session, OutputFiles& files);

}  // namespace pellmar
