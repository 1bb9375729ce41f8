#pragma once

#include "core/data/study.h"
#include "core/predation/projection.h"
#include "core/report/report_writer.h"

namespace pellmar {

// "<base>_projection.csv": day,series,stage,value,ci_low,ci_high. Each step gives the
// population, the predation in prey per day (the prey of the step divided by its days) and the
// cumulative predation in prey, each for every stage column in order (named as the summary
// names them) and then in total. Numbers in their shortest exact form; the band columns are
// empty, the projection having no bootstrap.
ReportWriter projectionText(const Study& study, const Projection& projection);

}  // namespace pellmar
