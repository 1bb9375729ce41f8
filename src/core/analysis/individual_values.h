#pragma once

#include "core/analysis/basic_run_results.h"
#include "core/data/study.h"
#include "core/numeric/statistic.h"
#include "core/report/report_output.h"

namespace pellmar {

// Computes the per-individual values that the individual tables print: longevity in days and
// in time units with its statistics and maxima, each individual's total consumption, the
// effective consumers Nc and their mean consumption Cbar, the daily consumption statistics of
// each age, the largest and smallest duration of each stage, and the pre-adult consumption
// over all individuals and by sex.
void computeIndividualValues(const Study& study, BasicRunResults& basic);

// An individual's consumption in the stages before the adult one.
double preadultConsumptionOf(const IndividualRecord& record, int stageCount);

// Count, mean, SD, SE, largest and smallest of the individuals' total consumption over all
// individuals. The tables print its SD and SE without a guard on the count, so for a cohort of
// one they are 0.
Statistic totalConsumptionStatistic(const Study& study, const BasicRunResults& basic);

// The two lines that close the stage consumption and daily consumption tables: the number of
// effective consumers Nc and their mean consumption Cbar.
void writeEffectiveConsumerLines(ReportWriter& out, const BasicRunResults& results);

}  // namespace pellmar
