// The life-table figures that are means over individuals (longevity, F, the female periods,
// GRR) with their bootstrap SEs, the curves e(x, j) and v(x, j) with their bands, and the table
// of every replicate.
#include "core/predation/life_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/data/table_index.h"
#include "core/exports/replicates_file.h"
#include "core/exports/results_summary.h"
#include "core/predation/stage_curves.h"
#include "core/resampling/bootstrap.h"
#include "report_test_support.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

using test_support::analysedStudy;
using test_support::readFile;

// A study after its Basic Run with the life table of its eggs.
struct StudyWithEggs {
  test_support::AnalysedStudy analysed;
  FecundityData eggs;
  FecundityLifeTable table;
};

StudyWithEggs studyWithEggs(const std::string& study, const std::string& eggs,
                            double timeUnit = 1.0) {
  StudyWithEggs result{analysedStudy(study, timeUnit), {}, {}};
  result.eggs = parseFecundity(eggs, "eggs.txt", result.analysed.study);
  result.table =
      computeFecundityLifeTable(result.analysed.study, result.analysed.basic, result.eggs);
  return result;
}

std::string golden(const std::string& file) {
  return readFile(std::string(TEST_DATA_DIR) + "/golden/three_stages_fecundity/" + file);
}
std::string example(const std::string& file) {
  return readFile(std::string(EXAMPLES_DIR) + "/" + file);
}

// The three-stage cohort: a female alive 5 days (eggs 4.5, 2 adult days), a male alive 5 days
// (3 adult days) and an individual that died as a larva after 3 days.
TEST(LifeFigures, ReplicatesOfAHandWorkedCohortAndTheirStandardErrors) {
  const StudyWithEggs cohort = studyWithEggs(golden("study.txt"), golden("fecundity.txt"));
  const Study& study = cohort.analysed.study;
  const CohortContributions contributions = buildCohortContributions(study);
  const CohortFigures figures = buildCohortFigures(study, contributions, &cohort.table);
  const EggContributions eggs = buildEggContributions(study, cohort.eggs);
  // Four replicates: the female thrice; one of each; the male and the larva twice; the larva
  // thrice.
  const std::vector<ReplicateDraws> draws = {
      {{1, 3}}, {{1, 1}, {2, 1}, {3, 1}}, {{2, 1}, {3, 2}}, {{3, 3}}};
  BootstrapResults boot;
  boot.bootCount = 4;
  sizeBootstrapTables(boot, 4, study.stageCount, study.sexCount);
  boot.ownLifeTable = true;
  std::vector<double> alive;
  std::vector<double> lm(at(contributions.ageRows));
  // Each cohort's figures with its own l(x)m(x), as a replicate works them out.
  const auto figuresOf = [&](const ReplicateDraws& drawn, LifeFigureValues& values) {
    int size = 0;
    for (const auto& [i, times] : drawn) size += times;
    netMaternityOf(eggs, drawn, size, lm);
    lifeFiguresOf(figures, drawn, lm, size, alive, values);
  };
  for (std::size_t r = 0; r < draws.size(); ++r) {
    LifeFigureValues values;
    figuresOf(draws[r], values);
    for (int f = 0; f < kLifeFigureCount; ++f) {
      boot.bootLifeFigures[at(f)][r + 1] = values.value[at(f)];
      boot.bootLifeFigureValid[at(f)][r + 1] = values.valid[at(f)] ? 1 : 0;
    }
  }
  // Longevity of all: 5, 13/3, 11/3 and 3 days, mean 4; deviations 1, 1/3, -1/3, -1.
  EXPECT_DOUBLE_EQ(boot.bootLifeFigures[kLongevityAll][2], 13.0 / 3);
  // F: 4.5 in the two replicates with the female, none in the others.
  EXPECT_EQ(boot.bootLifeFigureValid[kFecundityF], (ReplicateValidity{0, 1, 1, 0, 0}));
  // GRR: 4.5 eggs at age 4, where the female and the male are alive; the female alone lives to
  // age 4 in the first.
  EXPECT_DOUBLE_EQ(boot.bootLifeFigures[kGrossReproductiveRate][1], 4.5);
  EXPECT_DOUBLE_EQ(boot.bootLifeFigures[kGrossReproductiveRate][2], 2.25);

  const StudyResults results{study, &cohort.analysed.basic, &cohort.table, nullptr, &boot, nullptr};
  for (const SummaryRow& row : summarizeResults(results, 0.95)) {
    if (row.quantity == "longevity" && row.sex == "all") {
      ASSERT_TRUE(row.resampled);
      EXPECT_DOUBLE_EQ(*row.estimate, 13.0 / 3);
      EXPECT_NEAR(row.resampled->mean, 4, 1e-15);
      EXPECT_NEAR(*row.resampled->se, std::sqrt(20.0 / 27), 1e-15);
    }
    if (row.quantity == "F") {
      ASSERT_TRUE(row.resampled);
      EXPECT_EQ(row.resampled->count, 2);
      EXPECT_EQ(*row.resampled->se, 0);
    }
    if (row.quantity == "GRR") {
      EXPECT_EQ(*row.estimate, cohort.table.GRR);
    }
  }
  // The cohort's figures are the table's.
  ReplicateDraws everyone = {{1, 1}, {2, 1}, {3, 1}};
  LifeFigureValues whole;
  figuresOf(everyone, whole);
  EXPECT_NEAR(whole.value[kGrossReproductiveRate], cohort.table.GRR, 1e-12 * cohort.table.GRR);
  EXPECT_EQ(whole.value[kFecundityF], cohort.table.F);
  EXPECT_EQ(whole.value[at(kFirstPeriodFigure + static_cast<int>(kTPOP))],
            cohort.table.periods[kTPOP].mean);
}

// Two females and two males, adults from age 1 to 2; each female lays 2 eggs at ages 1 and 2:
// l(x)m(x) = 1 at both, so lambda^-2 + lambda^-3 = 1 and v(0, 1) = lambda^-1 + lambda^-2 = lambda.
constexpr const char* kTinyCohort =
    "Tiny\nAnn\n2026-01-05\n4\n3,2\nF,Egg,Female\nM,Egg,Male\nN,Egg,Unknown\nEgg,Egg\n"
    "1,F,1,2,-1,3,3,-1\n2,F,1,2,-1,3,3,-1\n3,M,1,2,-1,3,3,-1\n4,M,1,2,-1,3,3,-1\n";
constexpr const char* kTinyEggs = "1,2,2\n2,2,2\n";

TEST(StageCurves, ReproductiveValueAtBirthIsTheGrowthOfOneTimeUnit) {
  for (const double timeUnit : {1.0, 0.5}) {
    SCOPED_TRACE(timeUnit);
    const StudyWithEggs tiny = studyWithEggs(kTinyCohort, kTinyEggs, timeUnit);
    ASSERT_TRUE(tiny.table.growth);
    const double step = std::pow(tiny.table.growth->lambda, timeUnit);
    EXPECT_NEAR(step, 1.324717957244746, 1e-12);
    const EggContributions eggs = buildEggContributions(tiny.analysed.study, tiny.eggs);
    const StageCurves curves = stageCurvesOf(buildCohortContributions(tiny.analysed.study), &eggs,
                                             tiny.table.growth->lambda);
    ASSERT_EQ(curves.cells.age[0], 0);
    EXPECT_NEAR(curves.reproductiveValue[0], step, 1e-12 * step);
    // Life expectancy at birth: 3 time units.
    EXPECT_NEAR(curves.expectancy[0], 3 * timeUnit, 1e-15);
  }
}

TEST(StageCurves, ExpectancyAtBirthIsTheMeanLongevity) {
  const StudyWithEggs lady =
      studyWithEggs(example("lady_beetle.txt"), example("lady_beetle_fecundity.txt"));
  const BasicRunResults& basic = lady.analysed.basic;
  double sumOfL = 0.0;
  for (int x = 0; x <= basic.maxAgeIndex; ++x) sumOfL += basic.l[at(x)];
  const StageCurves curves =
      stageCurvesOf(buildCohortContributions(lady.analysed.study), nullptr, 0.0);
  EXPECT_NEAR(curves.expectancy[0], sumOfL, 1e-12 * sumOfL);
  EXPECT_TRUE(curves.reproductiveValue.empty());
  for (const SummaryRow& row : summarizeResults(
           StudyResults{lady.analysed.study, &basic, nullptr, nullptr, nullptr, nullptr}, 0.95)) {
    if (row.quantity == "longevity" && row.sex == "all") {
      EXPECT_NEAR(*row.estimate, sumOfL, 1e-12 * sumOfL);
    }
  }
}

// A bootstrap of the example with its eggs: the bands hold the cohort's curves, and the table of
// replicates holds what the summary summarises.
TEST(StageCurves, BandsHoldTheCurvesAndTheReplicatesTableTheSummarysValues) {
  const StudyWithEggs lady =
      studyWithEggs(example("lady_beetle.txt"), example("lady_beetle_fecundity.txt"));
  const Study& study = lady.analysed.study;
  const StudyFecundity fecundity{lady.eggs, lady.table};
  const BootstrapResults boot = ownSamplesBootstrap(
      study, lady.analysed.basic, OwnSamplesOptions{200, 100, 11, false, 0.95}, &fecundity, {});
  ASSERT_TRUE(boot.expectancyBand && boot.reproductiveValueBand);
  const EggContributions eggs = buildEggContributions(study, lady.eggs);
  const StageCurves curves =
      stageCurvesOf(buildCohortContributions(study), &eggs, lady.table.growth->lambda);
  // The band has the precision of a float.
  const auto holds = [](const CurveBand& band, std::size_t k, double value) {
    const double slack = 1e-6 * std::fabs(value);
    return static_cast<double>(band.low[k]) <= value + slack &&
           value - slack <= static_cast<double>(band.high[k]);
  };
  std::size_t held = 0;
  const std::size_t cells = curves.expectancy.size();
  for (std::size_t k = 0; k < cells; ++k) {
    if (holds(*boot.expectancyBand, k, curves.expectancy[k])) ++held;
  }
  EXPECT_TRUE(holds(*boot.expectancyBand, 0, curves.expectancy[0]));
  EXPECT_TRUE(holds(*boot.reproductiveValueBand, 0, curves.reproductiveValue[0]));
  EXPECT_GT(held, cells * 9 / 10);
  EXPECT_EQ(boot.expectancyBand->count[0], 200);

  const StudyResults results{study, &lady.analysed.basic, &lady.table, nullptr, &boot, nullptr};
  const test_support::TemporaryFolder folder;
  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeReplicatesFile(bootstrapReplicates(results), files);
  });
  std::istringstream table(readFile(folder.base() + "_replicates.csv"));
  std::string header;
  std::getline(table, header);
  std::vector<std::string> names;
  std::istringstream split(header.substr(0, header.size() - 1));
  for (std::string name; std::getline(split, name, ',');) names.push_back(name);
  std::vector<double> sums(names.size(), 0.0);
  std::vector<int> counts(names.size(), 0);
  int lines = 0;
  for (std::string line; std::getline(table, line); ++lines) {
    std::istringstream values(line.substr(0, line.size() - 1) + ",");
    std::size_t c = 0;
    for (std::string cell; std::getline(values, cell, ','); ++c) {
      if (cell.empty() || c >= names.size()) continue;
      sums[c] += std::stod(cell);
      ++counts[c];
    }
  }
  EXPECT_EQ(lines, 200);
  const std::vector<SummaryRow> summary = summarizeResults(results, 0.95);
  int compared = 0;
  for (const SummaryRow& row : summary) {
    if (!row.stage.empty() || !row.resampled) continue;
    for (std::size_t c = 1; c < names.size(); ++c) {
      if (names[c] != row.quantity && names[c] != row.quantity + "_" + row.sex) continue;
      // The table's values are floats.
      EXPECT_NEAR(sums[c] / counts[c], row.resampled->mean, 1e-7 * std::fabs(row.resampled->mean))
          << names[c];
      EXPECT_EQ(counts[c], row.resampled->count) << names[c];
      ++compared;
    }
  }
  EXPECT_EQ(compared, static_cast<int>(names.size()) - 1);
}

}  // namespace
}  // namespace pellmar
