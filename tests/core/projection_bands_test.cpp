// The projection of a bootstrap's replicates: its band and the life tables at the ranks of
// lambda, held against each replicate projected alone from a study of its drawn individuals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/analysis/basic_run.h"
#include "core/data/fecundity_file.h"
#include "core/data/table_index.h"
#include "core/numeric/egg_contributions.h"
#include "core/numeric/replicate_draws.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/projection_replicates.h"
#include "replicate_reference.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

// A study with its eggs, its life table and an own-samples bootstrap of it.
struct BootstrappedStudy {
  test_support::AnalysedStudy analysed;
  FecundityData eggs;
  FecundityLifeTable lifeTable;
  BootstrapResults boot;

  BootstrappedStudy(const std::string& data, const std::string& eggText, int replicates,
                    int sampleSize, bool redrawBarren)
      : analysed(test_support::analysedStudy(data)),
        eggs(parseFecundity(eggText, "eggs.txt", analysed.study)),
        lifeTable(computeFecundityLifeTable(analysed.study, analysed.basic, eggs)) {
    const StudyFecundity fecundity{eggs, lifeTable};
    boot = ownSamplesBootstrap(analysed.study, analysed.basic,
                               OwnSamplesOptions{replicates, sampleSize, 29, redrawBarren},
                               &fecundity, {});
  }

  [[nodiscard]] ProjectionBootstrap source(double confidence = 0.95) const {
    return {boot.seed,         boot.bootCount,  boot.bootSampleSize,
            boot.redrawBarren, boot.bootLambda, confidence};
  }

  [[nodiscard]] Projection cohort(const ProjectionStart& start, int lastStep) const {
    return projectPopulation(projectionLifeTableOf(analysed.basic, lifeTable), start, lastStep,
                             "Projection");
  }

  // Replicate b projected on its own: its individuals drawn again and copied into a study of
  // their own, which gets the ordinary Basic Run; its eggs laid as the life table lays them.
  [[nodiscard]] Projection replicateAlone(int b, const ProjectionStart& start, int lastStep) const {
    const Study& study = analysed.study;
    const EggContributions contributions = buildEggContributions(study, eggs);
    std::vector<int> drawn(at(boot.bootSampleSize));
    drawOwnSample(boot.seed, b, study.individualCount, boot.redrawBarren ? &contributions : nullptr,
                  drawn);
    const BasicRunResults basic = basicRun(reference::drawnStudy(study, drawn));
    std::vector<int> counts(at(study.individualCount) + 1, 0);
    ReplicateDraws draws;
    collectDraws(drawn, counts, draws);
    FecundityLifeTable table;
    table.timeUnit = study.timeUnit;
    table.lm.assign(at(basic.maxAgeIndex) + 1, 0.0);
    netMaternityOf(contributions, draws, boot.bootSampleSize, table.lm);
    if (boot.bootLambda[at(b)] > 0) table.growth = GrowthRates{0, boot.bootLambda[at(b)], 0};
    return projectPopulation(projectionLifeTableOf(basic, table), start, lastStep, "Projection");
  }
};

std::string exampleFile(const std::string& name) {
  return test_support::readFile(fs::path(EXAMPLES_DIR) / name);
}

// The values of a projection's file rows, step by step.
std::vector<double> rowValues(const Projection& projection) {
  const auto columns = static_cast<int>(projection.population[0].size());
  std::vector<double> cumulative(at(columns), 0.0);
  std::vector<double> step(at(projectionValuesPerStep(columns)));
  std::vector<double> values;
  for (int t = 0; t <= projection.lastStep(); ++t) {
    projectionStepValues(projection, t, cumulative, step);
    values.insert(values.end(), step.begin(), step.end());
  }
  return values;
}

void expectClose(double actual, double expected, const std::string& where) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << where;
    return;
  }
  EXPECT_NEAR(actual, expected, 1e-12 * std::abs(expected) + 1e-300) << where;
}

// The band at every value is the type-7 interval of the replicates projected one by one, from
// eggs and from the stable distribution, in one block of steps and in blocks of one step.
TEST(ProjectionBands, EveryValueIsTheIntervalOfTheReplicatesProjectedAlone) {
  const BootstrappedStudy study(exampleFile("lady_beetle.txt"),
                                exampleFile("lady_beetle_fecundity.txt"), 60, 100, false);
  const int last = 40;
  for (const ProjectionStart start : {ProjectionStart{ProjectionStart::Kind::kEggs, 10.0},
                                      ProjectionStart{ProjectionStart::Kind::kStable, 50.0}}) {
    std::vector<std::vector<double>> alone;
    for (int b = 1; b <= 60; ++b) alone.push_back(rowValues(study.replicateAlone(b, start, last)));
    const Projection cohort = study.cohort(start, last);
    for (const std::size_t blockBytes : {std::size_t{1} << 28U, std::size_t{1}}) {
      ProjectionBootstrap source = study.source(0.9);
      source.blockBytes = blockBytes;
      const ProjectionReplicates replicates =
          projectReplicates(study.analysed.study, study.eggs, source, start, cohort, {});
      ASSERT_EQ(replicates.band.replicates, 60);
      ASSERT_EQ(replicates.band.low.size(), alone[0].size());
      for (std::size_t k = 0; k < alone[0].size(); ++k) {
        std::vector<double> values;
        for (const std::vector<double>& replicate : alone) values.push_back(replicate[k]);
        const PercentileBounds bounds = percentileBounds(values, 0.05, 0.95);
        const std::string where =
            "value " + std::to_string(k) + ", block of " + std::to_string(blockBytes) + " bytes";
        expectClose(replicates.band.low[k], bounds.low, where);
        expectClose(replicates.band.high[k], bounds.high, where);
      }
    }
  }
}

// The same seed gives the same band and the same ranked life tables on one thread or three;
// each ranked life table is its replicate projected alone, at the ranks (1 - P)/2, the median
// and (1 + P)/2 of the sorted lambdas; from the stable distribution the total at step 0 is
// exactly N0 in every replicate.
TEST(ProjectionBands, ReproducibleOnAnyThreadsAndRanksAreReplicates) {
  const BootstrappedStudy study(exampleFile("lady_beetle.txt"),
                                exampleFile("lady_beetle_fecundity.txt"), 40, 100, false);
  const ProjectionStart start{ProjectionStart::Kind::kStable, 2.5};
  const Projection cohort = study.cohort(start, 30);
  ProjectionBootstrap source = study.source();
  source.threads = 1;
  const ProjectionReplicates one =
      projectReplicates(study.analysed.study, study.eggs, source, start, cohort, {});
  source.threads = 3;
  const ProjectionReplicates three =
      projectReplicates(study.analysed.study, study.eggs, source, start, cohort, {});
  EXPECT_EQ(one.band.low, three.band.low);
  EXPECT_EQ(one.band.high, three.band.high);

  const int totalAtStart = study.analysed.study.stageCount + 1;
  EXPECT_EQ(one.band.low[at(totalAtStart)], 2.5);
  EXPECT_EQ(one.band.high[at(totalAtStart)], 2.5);

  std::vector<double> lambdas(study.boot.bootLambda.begin() + 1, study.boot.bootLambda.end());
  std::sort(lambdas.begin(), lambdas.end());
  // 40 replicates at P = 0.95: ranks ceil(1) = 1, ceil(20) = 20 and ceil(39) = 39.
  ASSERT_EQ(one.ranks.size(), 3U);
  const std::vector<std::pair<std::string, double>> expected = {
      {"low", lambdas[0]}, {"median", lambdas[19]}, {"high", lambdas[38]}};
  for (std::size_t r = 0; r < 3; ++r) {
    const LambdaRankProjection& rank = one.ranks[r];
    EXPECT_EQ(rank.rank, expected[r].first);
    EXPECT_EQ(rank.lambda, expected[r].second);
    EXPECT_EQ(three.ranks[r].replicate, rank.replicate);
    const std::vector<double> alone = rowValues(study.replicateAlone(rank.replicate, start, 30));
    const std::vector<double> ranked = rowValues(rank.projection);
    ASSERT_EQ(ranked.size(), alone.size());
    for (std::size_t k = 0; k < alone.size(); ++k) {
      expectClose(ranked[k], alone[k], rank.rank + " value " + std::to_string(k));
    }
  }
}

// Replicates that drew no laying female: from eggs they take part as cohorts that die out, from
// the stable distribution they have no lambda and are left out.
TEST(ProjectionBands, BarrenReplicatesDieOutOrAreLeftOut) {
  const BootstrappedStudy study(test_support::kSmallCohort, "1,0,128\n2,64\n", 200, 4, false);
  const auto barren =
      std::count(study.boot.bootLambda.begin() + 1, study.boot.bootLambda.end(), 0.0);
  ASSERT_GT(barren, 0) << "the seed should leave some replicates without eggs";
  for (const auto kind : {ProjectionStart::Kind::kEggs, ProjectionStart::Kind::kStable}) {
    const ProjectionStart start{kind, 4.0};
    const ProjectionReplicates replicates = projectReplicates(
        study.analysed.study, study.eggs, study.source(), start, study.cohort(start, 12), {});
    EXPECT_EQ(replicates.band.replicates,
              kind == ProjectionStart::Kind::kEggs ? 200 : 200 - static_cast<int>(barren));
  }
}

}  // namespace
}  // namespace pellmar
