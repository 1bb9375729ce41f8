#include "core/predation/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "core/data/fecundity_file.h"
#include "core/predation/sasd_reader.h"
#include "core/user_error.h"
#include "read_file.h"
#include "resampling_test_support.h"
#include "study_generator.h"

namespace pellmar {
namespace {

using test_support::analysedStudy;
using test_support::AnalysedStudy;
using test_support::TemporaryFolder;

double sum(const std::vector<double>& values) {
  return std::accumulate(values.begin(), values.end(), 0.0);
}

struct ProjectedStudy {
  AnalysedStudy analysed;
  FecundityLifeTable lifeTable;
  ProjectionLifeTable table;
};

ProjectedStudy projectedStudy(const std::string& data, const std::string& eggs, double timeUnit,
                              const std::string& base) {
  AnalysedStudy analysed = analysedStudy(data, timeUnit, base);
  FecundityLifeTable lifeTable = computeFecundityLifeTable(
      analysed.study, analysed.basic, parseFecundity(eggs, "eggs.txt", analysed.study));
  ProjectionLifeTable table = projectionLifeTableOf(analysed.basic, lifeTable);
  return {std::move(analysed), std::move(lifeTable), std::move(table)};
}

// The projection as its definition states it, cell by cell: the shares G stay in their column,
// the shares D step into the next (the males out of column m - 1 counted in column m of D), the
// eggs f(x, female adult) N(x, j) enter column 1 at age 0 a step later. A reference to hold the
// fast projection against.
std::vector<std::vector<double>> projectCellByCell(const ProjectedStudy& study,
                                                   const ProjectionStart& start, int lastStep) {
  const BasicRunResults& basic = study.analysed.basic;
  const int m = study.analysed.study.stageCount;
  const int ages = basic.maxAgeIndex + 1;
  AgeStageMatrix n(ages, m + 2);
  if (start.kind == ProjectionStart::Kind::kEggs) {
    n(0, 1) = start.count;
  } else {
    for (int x = 0; x < ages; ++x) {
      for (int j = 1; j <= m + 1; ++j) {
        n(x, j) = start.count * study.lifeTable.stableDistribution.at(x, j);
      }
    }
  }
  std::vector<std::vector<double>> totals;
  for (int t = 0; t <= lastStep; ++t) {
    std::vector<double> row(static_cast<std::size_t>(m + 1), 0.0);
    for (int x = 0; x < ages; ++x) {
      for (int j = 1; j <= m + 1; ++j) row[static_cast<std::size_t>(j - 1)] += n(x, j);
    }
    totals.push_back(row);
    AgeStageMatrix next(ages, m + 2);
    for (int x = 0; x < ages; ++x) {
      const auto xi = static_cast<std::size_t>(x);
      if (xi < study.lifeTable.f.size()) next(0, 1) += study.lifeTable.f[xi] * n(x, m);
      if (x + 1 == ages) continue;
      for (int j = 1; j <= m + 1; ++j) next(x + 1, j) += basic.G.at(x, j) * n(x, j);
      for (int j = 1; j < m; ++j) next(x + 1, j + 1) += basic.D.at(x, j) * n(x, j);
      if (m > 1) next(x + 1, m + 1) += basic.D.at(x, m) * n(x, m - 1);
    }
    n = next;
  }
  return totals;
}

ProjectedStudy ladyBeetle(const std::string& base) {
  return projectedStudy(
      test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle.txt"),
      test_support::readFile(std::string(EXAMPLES_DIR) + "/lady_beetle_fecundity.txt"), 1.0, base);
}

TEST(Projection, StartsAreReadAsWritten) {
  const auto eggs = parseProjectionStart("eggs:10");
  ASSERT_TRUE(eggs);
  EXPECT_EQ(eggs->kind, ProjectionStart::Kind::kEggs);
  EXPECT_EQ(eggs->count, 10.0);
  const auto stable = parseProjectionStart("stable:2.5");
  ASSERT_TRUE(stable);
  EXPECT_EQ(stable->kind, ProjectionStart::Kind::kStable);
  EXPECT_EQ(stable->count, 2.5);
  for (const char* bad : {"eggs:0", "eggs:-1", "eggs:", "stable:x", "adults:5", "10", "eggs:1e400",
                          "eggs:nan", "eggs: 5"}) {
    EXPECT_FALSE(parseProjectionStart(bad)) << bad;
  }
  EXPECT_EQ(projectionSteps(60, 1), 60);
  EXPECT_EQ(projectionSteps(45.5, 1), 45);
  EXPECT_EQ(projectionSteps(0.3, 0.1), 3) << "0.3 / 0.1 is a hair below 3";
  EXPECT_EQ(projectionSteps(3, 0.5), 6);
  EXPECT_EQ(projectionSteps(3650, 0.5), 7300);
  EXPECT_FALSE(projectionSteps(3650, 1e-4)) << "36.5 million steps";
  EXPECT_FALSE(projectionSteps(3650, 1e-300)) << "more steps than an int holds";
}

// Four individuals, worked by hand. Ages (time units): 1 and 2 are females, egg at 0, larva 1-2,
// pupa 3, adult from 4 (1 lays 128 eggs at 5, 2 lays 64 at 4 and dies); 3 is a male, larva at 1,
// pupa at 2, adult 3-5; 4 dies in the larva after age 2. From the four as eggs, the cohort itself
// walks through the columns, and its eggs come in at age 0 a step after they are laid.
TEST(Projection, SmallCohortWorkedByHand) {
  TemporaryFolder folder;
  for (const double t : {1.0, 0.5}) {
    const ProjectedStudy study =
        projectedStudy(test_support::kSmallCohort, "1,0,128\n2,64\n", t, folder.base());
    const Projection projection = projectPopulation(
        study.table, ProjectionStart{ProjectionStart::Kind::kEggs, 4.0}, 6, "Projection");
    ASSERT_EQ(projection.lastStep(), 6);
    // Columns: egg, larva, pupa, female adult, male adult.
    const std::vector<std::vector<double>> expected = {
        {4, 0, 0, 0, 0}, {0, 4, 0, 0, 0},  {0, 3, 1, 0, 0},   {0, 0, 2, 0, 1},
        {0, 0, 0, 2, 1}, {64, 0, 0, 1, 1}, {128, 64, 0, 0, 0}};
    for (std::size_t step = 0; step < expected.size(); ++step) {
      ASSERT_EQ(projection.population[step].size(), 5U);
      for (std::size_t j = 0; j < 5; ++j) {
        EXPECT_NEAR(projection.population[step][j], expected[step][j], 1e-12)
            << "t = " << t << ", step " << step << ", column " << j + 1;
      }
    }
    ASSERT_TRUE(projection.finalGrowth);
    EXPECT_NEAR(*projection.finalGrowth, 192.0 / 66.0, 1e-12);
    EXPECT_FALSE(projection.stepsAsked);
  }
}

// The projection through the newborns of each step gives what the stage-by-stage recurrence
// gives, from eggs and from the stable distribution, over many generations: on the lady beetle,
// and on a generated seven-stage study with a time unit of half a day.
TEST(Projection, EqualsTheStageByStageRecurrence) {
  TemporaryFolder folder;
  const tools::StudyShape shape{60, 7, 17, 1.0};
  const std::vector<ProjectedStudy> studies = {
      ladyBeetle(folder.base()),
      projectedStudy(tools::generateStudy(shape), tools::generateFecundity(shape), 0.5,
                     folder.base())};
  for (const ProjectedStudy& study : studies) {
    for (const ProjectionStart start : {ProjectionStart{ProjectionStart::Kind::kEggs, 10.0},
                                        ProjectionStart{ProjectionStart::Kind::kStable, 10.0}}) {
      const int last = 300;
      const Projection projection = projectPopulation(study.table, start, last, "Projection");
      const auto expected = projectCellByCell(study, start, last);
      ASSERT_EQ(projection.lastStep(), last);
      for (int t = 0; t <= last; ++t) {
        const auto ti = static_cast<std::size_t>(t);
        for (std::size_t j = 0; j < expected[ti].size(); ++j) {
          ASSERT_NEAR(projection.population[ti][j], expected[ti][j], 1e-12 * sum(expected[ti]))
              << "step " << t << ", column " << j + 1;
        }
      }
    }
  }
}

// One newborn and no births walks through the cohort's own survival: at step x it is s(x, j),
// and all it eats is C0.
TEST(Projection, OneEggWithoutBirthsIsTheCohort) {
  TemporaryFolder folder;
  ProjectedStudy study = ladyBeetle(folder.base());
  std::fill(study.table.netMaternity.begin(), study.table.netMaternity.end(), 0.0);
  const int last = study.table.ages + 2;
  const Projection projection = projectPopulation(
      study.table, ProjectionStart{ProjectionStart::Kind::kEggs, 1.0}, last, "Projection");
  const BasicRunResults& basic = study.analysed.basic;
  double eaten = 0.0;
  for (int x = 0; x <= last; ++x) {
    const auto& population = projection.population[static_cast<std::size_t>(x)];
    for (int j = 1; j <= study.table.columns; ++j) {
      EXPECT_NEAR(population[static_cast<std::size_t>(j - 1)], basic.S.at(x, j), 1e-12)
          << "x = " << x << ", j = " << j;
    }
    eaten += sum(projection.predation[static_cast<std::size_t>(x)]);
  }
  EXPECT_NEAR(eaten, basic.C0ByCell, 1e-12 * basic.C0ByCell);
  EXPECT_EQ(sum(projection.population.back()), 0.0) << "the cohort dies out";
  EXPECT_EQ(sum(projection.predation.back()), 0.0) << "and its predation ends with it";
}

// From the stable distribution the population grows by lambda^t every step from the start, and
// eats psi per individual.
TEST(Projection, StableStartGrowsByLambdaAndEatsPsi) {
  TemporaryFolder folder;
  const ProjectedStudy study = ladyBeetle(folder.base());
  ASSERT_TRUE(study.table.lambdaStep);
  const double psi = predationRatesOf(study.analysed.study, study.analysed.basic, study.lifeTable)
                         .stablePredationRate;
  const Projection projection = projectPopulation(
      study.table, ProjectionStart{ProjectionStart::Kind::kStable, 1000.0}, 60, "Projection");
  EXPECT_NEAR(sum(projection.population[0]), 1000.0, 1e-9);
  for (int t = 0; t < 60; ++t) {
    const double now = sum(projection.population[static_cast<std::size_t>(t)]);
    const double next = sum(projection.population[static_cast<std::size_t>(t + 1)]);
    EXPECT_NEAR(next / now, *study.table.lambdaStep, 1e-12 * *study.table.lambdaStep)
        << "step " << t;
    EXPECT_NEAR(sum(projection.predation[static_cast<std::size_t>(t)]) / now, psi, 1e-12 * psi)
        << "step " << t;
  }
  ASSERT_TRUE(projection.convergenceDay);
  EXPECT_EQ(*projection.convergenceDay, 0.0);
}

// From eggs the growth ratio and the stage shares settle on lambda^t and the stable
// distribution, after many generations.
TEST(Projection, FromEggsTheGrowthSettlesOnLambda) {
  TemporaryFolder folder;
  const ProjectedStudy study = ladyBeetle(folder.base());
  const Projection projection = projectPopulation(
      study.table, ProjectionStart{ProjectionStart::Kind::kEggs, 10.0}, 1500, "Projection");
  ASSERT_TRUE(projection.finalGrowth);
  EXPECT_NEAR(*projection.finalGrowth, *study.table.lambdaStep, 1e-6);
  ASSERT_TRUE(projection.convergenceDay);
  EXPECT_GT(*projection.convergenceDay, 0.0);
}

// Eggs only at ages 1 and 3: the ages at which they are laid plus one, 2 and 4, share the
// divisor 2, so the population swings between two shapes for ever and never settles.
TEST(Projection, EggsAtAgesOneAndThreeSwingForEver) {
  // One preadult column at age 0, then females (column 2) from age 1 to 3, laying one egg at ages
  // 1 and 3; everyone eats one prey a time unit.
  ProjectionLifeTable table;
  const auto occupied = [](int x, int j) { return (x == 0) == (j == 1) && j < 3 ? 1.0 : 0.0; };
  fillProjectionColumns(table, 4, 3, occupied, occupied);
  table.netMaternity = {0.0, 1.0, 0.0, 1.0};
  // lambda^-2 + lambda^-4 = 1.
  const double lambda = std::sqrt((1.0 + std::sqrt(5.0)) / 2.0);
  table.lambdaStep = lambda;

  const Projection stable = projectPopulation(
      table, ProjectionStart{ProjectionStart::Kind::kStable, 1.0}, 30, "Projection");
  for (int t = 0; t < 30; ++t) {
    EXPECT_NEAR(sum(stable.population[static_cast<std::size_t>(t + 1)]) /
                    sum(stable.population[static_cast<std::size_t>(t)]),
                lambda, 1e-12);
  }

  const Projection swinging = projectPopulation(
      table, ProjectionStart{ProjectionStart::Kind::kEggs, 1.0}, 400, "Projection");
  const auto ratio = [&swinging](int t) {
    return sum(swinging.population[static_cast<std::size_t>(t + 1)]) /
           sum(swinging.population[static_cast<std::size_t>(t)]);
  };
  EXPECT_GT(std::abs(ratio(398) - ratio(399)), 0.1) << "the ratio still swings";
  EXPECT_FALSE(swinging.convergenceDay);
}

TEST(Projection, WithoutEggsTheCohortDiesOutAndStableIsRefused) {
  TemporaryFolder folder;
  const ProjectedStudy study =
      projectedStudy(test_support::kSmallCohort, "1,0,0\n2,0\n", 1.0, folder.base());
  EXPECT_FALSE(study.table.lambdaStep);
  const Projection projection = projectPopulation(
      study.table, ProjectionStart{ProjectionStart::Kind::kEggs, 4.0}, 10, "Projection");
  EXPECT_EQ(sum(projection.population[10]), 0.0);
  EXPECT_EQ(sum(projection.predation[10]), 0.0);
  EXPECT_FALSE(projection.convergenceDay);
  EXPECT_FALSE(projection.finalGrowth) << "nobody is left to grow";
  EXPECT_THROW(projectPopulation(study.table, ProjectionStart{ProjectionStart::Kind::kStable, 1.0},
                                 10, "Projection"),
               UserError);
}

// A population that would pass what a double holds ends at the last step below 1e300.
TEST(Projection, ValuesPastWhatADoubleHoldsEndTheProjection) {
  TemporaryFolder folder;
  const ProjectedStudy study = ladyBeetle(folder.base());
  const Projection projection = projectPopulation(
      study.table, ProjectionStart{ProjectionStart::Kind::kEggs, 1e200}, 3650, "Projection");
  ASSERT_TRUE(projection.stepsAsked);
  EXPECT_EQ(*projection.stepsAsked, 3650);
  EXPECT_LT(projection.lastStep(), 3650);
  EXPECT_LT(sum(projection.population.back()), 1e300);
  EXPECT_TRUE(std::isfinite(sum(projection.predation.back())));
  // A start already past it is refused.
  EXPECT_THROW(projectPopulation(study.table, ProjectionStart{ProjectionStart::Kind::kEggs, 1e301},
                                 10, "Projection"),
               UserError);
}

}  // namespace
}  // namespace pellmar
