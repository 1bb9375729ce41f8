#include "core/predation/sasd_reader.h"

#include <algorithm>
#include <cmath>

#include "core/data/field_reader.h"
#include "core/data/input_file.h"
#include "core/data/table_index.h"
#include "core/numeric/stable_predation_rate.h"
#include "core/numeric/statistic.h"
#include "core/report/number_format.h"
#include "core/report/text_encoding.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

constexpr const char* kTitle = "Read SASD";

// The age index nearest to `value` (ties to even). Ages far outside every table, which a
// damaged file may hold, are brought to just outside it: no sum over the individual's days
// reaches them either way, and the conversion to int stays defined.
int ageIndexNearest(double value) {
  constexpr double kOutside = kMaxAgeIndex + 2;
  return static_cast<int>(std::clamp(std::nearbyint(value), -kOutside, kOutside));
}

// Sum of the individual's daily consumption over ages first .. last; the end marker that
// follows its last day is not consumption and is left out.
double consumptionBetween(const IndividualRecord& record, int first, int last) {
  const int end = static_cast<int>(record.dailyConsumption.size()) - 1;
  double sum = 0.0;
  for (int x = std::max(first, 0); x <= last && x < end; ++x) sum += record.consumptionAt(x);
  return sum;
}

// Reads the a(x, j) that the file's layout promises for this study: every age of every stage
// column in the "In Column" layout, each column's own age range in the "In Row" layout. A file
// written for another study holds fewer or more values, which shows where the text label after
// them should stand.
void readDistribution(FieldReader& fields, const Study& study, const BasicRunResults& r,
                      PredationRates& state) {
  const int m = study.stageCount;
  fields.setContext("the stable age-stage distribution");
  const bool inRow = state.sasdLayout == "In Row";
  long expected = 0;
  for (int j = 1; j <= m + 1; ++j) {
    const auto& range = r.stageAgeRange[at(j)];
    expected += inRow ? range[2] - range[1] + 1 : r.maxAgeIndex + 1;
  }
  const std::string promise = formatInteger(static_cast<int>(expected)) + " values a(x,j) (" +
                              (inRow ? "each stage column over its own ages"
                                     : formatInteger(r.maxAgeIndex + 1) + " ages x " +
                                           formatInteger(m + 1) + " stage columns") +
                              ", " + state.sasdLayout + ")";
  long read = 0;
  const auto readValue = [&](int x, int j) {
    if (!fields.nextFieldLooksNumeric()) {
      fields.fail("the distribution ends after " + formatInteger(static_cast<int>(read)) +
                  " values, but this study needs " + promise +
                  ": the file describes another study.");
    }
    state.stableDistribution(x, j) = fields.readNumber();
    ++read;
  };
  if (inRow) {
    for (int j = 1; j <= m + 1; ++j) {
      const auto& range = r.stageAgeRange[at(j)];
      for (int x = range[1]; x <= range[2]; ++x) readValue(x, j);
    }
  } else {
    for (int x = 0; x <= r.maxAgeIndex; ++x) {
      for (int j = 1; j <= m + 1; ++j) readValue(x, j);
    }
  }
  if (fields.nextFieldLooksNumeric()) {
    fields.fail("the distribution goes on after the " + promise +
                " that this study needs: the file describes another study.");
  }
}

// A female record must be a female of this study, and her end age her lifespan (as Pellmar
// writes it) or her lifespan less one (as hand-made files often have it).
void checkFemaleRecord(const FieldReader& fields, const Study& study, const FemaleRecord& f,
                       int line) {
  const IndividualRecord& individual = study.individual(f.recordNumber);
  const std::string who = "female no. " + formatInteger(f.recordNumber) + " of this file";
  if (f.sasdSex != "F") {
    fields.failAt(line, "record of individual no. " + formatInteger(f.recordNumber) +
                            " gives the sex \"" + echoedField(f.sasdSex) +
                            "\"; the records of this file are of females (F).");
  }
  if (individual.sex != "F") {
    fields.failAt(
        line, who + " is " +
                  (individual.sex == "M" ? std::string("a male") : std::string("an N individual")) +
                  " in the study: the file describes another study.");
  }
  double lifespan = 0.0;
  for (int j = 1; j <= study.stageCount; ++j) lifespan += individual.stageDuration[at(j)];
  if (f.endAge != lifespan && f.endAge != lifespan - 1) {
    fields.failAt(line, who + " ends at age " + formatDigits(f.endAge) +
                            ", but her lifespan in the study is " + formatDigits(lifespan) +
                            " time units: the file describes another study.");
  }
}

void readFemaleRecords(FieldReader& fields, const Study& study, PredationRates& state) {
  const int n = study.individualCount;
  fields.setContext("the female records");
  fields.readText();
  const auto records = static_cast<int>(fields.readWholeNumber("number of female records", 0, n));
  fields.readText();
  state.females.assign(at(n) + 1, FemaleRecord{});
  for (int k = 1; k <= records; ++k) {
    fields.setContext("female record " + formatInteger(k));
    const double number = std::nearbyint(fields.readNumber());
    const int line = fields.lastFieldLine();
    if (number < 1 || number > n) {
      fields.fail("individual no. " + formatDigits(number) + " is not in this cohort of " +
                  formatInteger(n) + ".");
    }
    const auto i = static_cast<int>(number);
    FemaleRecord& record = state.females[at(i)];
    record.recordNumber = i;
    record.sasdSex = fields.readText();
    record.endAge = fields.readNumber();
    record.inclusionValue = fields.readNumber();
    record.tpop = fields.readNumber();
    record.lastOvipositionAge = fields.readNumber();
    record.postOvipositionPeriod = fields.readNumber();
    checkFemaleRecord(fields, study, record, line);
  }
  if (!fields.atEndOfData()) {
    fields.setContext("the end of the file");
    fields.fail("something follows the last of the " + formatInteger(records) +
                " female records: the file describes another study.");
  }
}

void computePeriods(const Study& study, PredationRates& state) {
  std::array<StatisticSums, 6> sums;
  state.femaleCount = 0;
  for (int i = 1; i <= study.individualCount; ++i) {
    FemaleRecord& f = state.females[at(i)];
    if (f.sasdSex != "F" || f.inclusionValue == 0) continue;
    const IndividualRecord& record = study.individual(i);
    f.postOvipositionPeriod = f.endAge - f.lastOvipositionAge - 1;
    f.ovipositionPeriod = f.lastOvipositionAge - f.tpop + 1;
    state.femaleCount += 1;
    f.tpopConsumption = consumptionBetween(record, 1, ageIndexNearest(f.tpop - 1));
    f.ovipositionConsumption =
        consumptionBetween(record, ageIndexNearest(f.tpop), ageIndexNearest(f.lastOvipositionAge));
    f.postOvipositionConsumption = consumptionBetween(
        record, ageIndexNearest(f.lastOvipositionAge + 1), ageIndexNearest(f.endAge));
    const double values[6] = {f.tpop,
                              f.tpopConsumption,
                              f.ovipositionPeriod,
                              f.ovipositionConsumption,
                              f.postOvipositionPeriod,
                              f.postOvipositionConsumption};
    for (std::size_t c = 0; c < 6; ++c) sums[c].add(values[c]);
  }
  state.periodStatistics.assign(6, Statistic{});
  for (std::size_t c = 0; c < 6; ++c) sums[c].storeInto(state.periodStatistics[c]);
}

// psi, omega and ln omega, and the female periods, of a distribution read or computed.
void computeRates(const Study& study, const BasicRunResults& r, PredationRates& state) {
  const double psi = stablePredationRate(
      r.maxAgeIndex, study.stageCount + 1, [&](int x, int j) { return r.C(x, j); },
      [&](int x, int j) { return state.stableDistribution(x, j); });
  state.stablePredationRate = psi;
  state.timeUnitRate = std::pow(state.finiteRate, study.timeUnit);
  state.finitePredationRate = state.timeUnitRate * psi;
  state.intrinsicRateDefined = state.finitePredationRate > 0;
  state.intrinsicPredationRate =
      state.intrinsicRateDefined ? std::log(state.finitePredationRate) : 0.0;
  computePeriods(study, state);
}

}  // namespace

PredationRates readSasd(const InputFile& file, const Study& study, const BasicRunResults& basic) {
  const int n = study.individualCount;
  FieldReader fields(file.bytes, FieldErrorStyle{kTitle, false, "", file.path});
  PredationRates state;
  state.stableDistribution.reset(basic.N.rows(), study.stageCount + 2);
  fields.setContext("the heading");
  for (int skipped = 0; skipped < 5; ++skipped) fields.readText();
  state.finiteRate = fields.readNumber();
  // psi and omega are rates of a growing or shrinking population: lambda is above 0.
  if (!(state.finiteRate > 0)) {
    fields.failAt(fields.lastFieldLine(), "the finite rate of increase (lambda) is " +
                                              formatDigits(state.finiteRate) +
                                              "; it must be a number above 0.");
  }
  state.sasdLayout = fields.readText();
  fields.readText();
  readDistribution(fields, study, basic, state);
  fields.setContext("the number of individuals");
  fields.readText();
  const double individuals = fields.readNumber();
  if (individuals != n) {
    fields.failAt(fields.lastFieldLine(), "this file describes " + formatDigits(individuals) +
                                              " individuals, the study has " + formatInteger(n) +
                                              ".\nPlease choose the file written for this study.");
  }
  state.sasdIndividualCount = n;
  readFemaleRecords(fields, study, state);
  computeRates(study, basic, state);
  return state;
}

PredationRates predationRatesOf(const Study& study, const BasicRunResults& basic,
                                const FecundityLifeTable& table) {
  const int n = study.individualCount;
  PredationRates state;
  state.finiteRate = table.growth->lambda;
  state.sasdLayout = "In Column";
  state.stableDistribution.reset(basic.N.rows(), study.stageCount + 2);
  for (int x = 0; x <= basic.maxAgeIndex; ++x) {
    for (int j = 1; j <= study.stageCount + 1; ++j) {
      state.stableDistribution(x, j) = table.stableDistribution.at(x, j);
    }
  }
  state.sasdIndividualCount = n;
  state.females.assign(at(n) + 1, FemaleRecord{});
  // The records the distribution's file gives every female, as it writes them.
  for (const FemaleOviposition& o : table.females) {
    FemaleRecord& record = state.females[at(o.individual)];
    record.recordNumber = o.individual;
    record.sasdSex = "F";
    record.endAge = o.lifespan;
    record.inclusionValue = o.laid ? 1.0 : 0.0;
    record.tpop = o.firstOviposition;
    record.lastOvipositionAge = o.lastOviposition;
    record.postOvipositionPeriod = o.laid ? o.lifespan - o.lastOviposition - 1 : 0;
  }
  computeRates(study, basic, state);
  return state;
}

}  // namespace pellmar
