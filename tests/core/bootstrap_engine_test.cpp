#include "core/resampling/bootstrap_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/data/study_reader.h"
#include "core/numeric/replicate_random.h"
#include "core/user_error.h"
#include "replicate_reference.h"
#include "study_generator.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

Study studyOf(const std::string& text, double timeUnit = 1.0) {
  return readStudy(InputFile{"study.txt", text, ""}, timeUnit, "study");
}

SamplesFileReader samplesReader(const std::string& path, int cohortSize) {
  return SamplesFileReader(std::make_unique<std::ifstream>(path, std::ios::binary), cohortSize,
                           path);
}

// The generated study with every consumption value v replaced by v x 0.37 + 0.013, so that no
// sum is a whole number.
std::string withFractionalConsumption(const std::string& text) {
  std::istringstream in(text);
  std::ostringstream out;
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    const bool record = line.find(",F,") != std::string::npos ||
                        line.find(",M,") != std::string::npos ||
                        line.find(",N,") != std::string::npos;
    if (lineNumber <= 9 || record) {
      out << line << '\n';
      continue;
    }
    std::istringstream values(line);
    std::string value;
    bool first = true;
    while (std::getline(values, value, ',')) {
      out << (first ? "" : ",");
      first = false;
      const double v = std::stod(value);
      if (v == -1) {
        out << "-1";
      } else {
        std::ostringstream number;
        number.precision(17);
        number << v * 0.37 + 0.013;
        out << number.str();
      }
    }
    out << '\n';
  }
  return out.str();
}

void expectSame(double fast, double literal, bool exact, const std::string& what) {
  if (exact) {
    EXPECT_EQ(fast, literal) << what;
  } else {
    EXPECT_NEAR(fast, literal, 1e-12 * std::max(1.0, std::fabs(literal))) << what;
  }
}

void compareReplicate(const BootstrapResults& state, int b, const reference::ReplicateValues& ref,
                      const Study& master, bool exact, bool predation) {
  const auto bi = static_cast<std::size_t>(b);
  const std::string at = " of replicate " + std::to_string(b);
  expectSame(state.bootC0[bi], ref.c0, exact, "C0" + at);
  for (int j = 1; j <= master.stageCount; ++j) {
    const auto jj = static_cast<std::size_t>(j);
    expectSame(state.bootStageDuration[jj][bi], ref.stageDuration[jj], exact, "duration" + at);
    expectSame(state.bootStageConsumption[jj][bi], ref.stageConsumption[jj], exact,
               "consumption" + at);
    if (j >= 2) expectSame(state.bootCumDuration[jj][bi], ref.cumDuration[jj], exact, "cum" + at);
    EXPECT_EQ(state.bootStageValid[jj][bi] != 0, ref.stageValid[jj]) << "stage valid" << at;
    if (j >= 2) {
      EXPECT_EQ(state.bootCumValid[jj][bi] != 0, ref.cumValid[jj]) << "cum valid" << at;
    }
    for (int k = 1; k <= master.sexCount; ++k) {
      const auto kk = static_cast<std::size_t>(k);
      expectSame(state.bootStageConsumptionBySex[kk][jj][bi], ref.stageConsumptionBySex[kk][jj],
                 exact, "by sex" + at);
      EXPECT_EQ(state.bootStageBySexValid[kk][jj][bi] != 0, ref.stageBySexValid[kk][jj])
          << "by sex valid" << at;
    }
  }
  for (int j = 1; j <= master.stageCount + 1; ++j) {
    const auto jj = static_cast<std::size_t>(j);
    expectSame(state.bootStageDailyMean[jj][bi], ref.stageDailyMean[jj], exact, "daily" + at);
    EXPECT_EQ(state.bootDailyMeanValid[jj][bi] != 0, ref.dailyMeanValid[jj]) << "daily valid" << at;
  }
  if (predation) {
    EXPECT_EQ(state.bootPsiValid[bi], 1) << "psi valid" << at;
    expectSame(state.bootPsi[bi], ref.psi, false, "psi" + at);
    expectSame(state.bootFP[bi], ref.fp, false, "FP" + at);
  }
}

// Own samples: the fast engine and the literal analysis give the same values for the same
// draws, exactly on whole-number consumption and to 1e-12 on fractional consumption.
void checkOwnSamples(const std::string& text, double timeUnit, int sampleSize, bool exact) {
  const Study master = studyOf(text, timeUnit);
  const CohortContributions cohort = buildCohortContributions(master);
  BootstrapResults state;
  state.bootCount = 25;
  state.bootSampleSize = sampleSize;
  state.seed = 99;
  sizeBootstrapTables(state, state.bootCount, master.stageCount, master.sexCount);
  runOwnSampleReplicates(cohort, state, ProgressAndStop{});
  for (int b = 1; b <= state.bootCount; ++b) {
    ReplicateRandom random(state.seed, static_cast<std::uint64_t>(b));
    std::vector<int> drawn(static_cast<std::size_t>(sampleSize));
    for (int& i : drawn) i = drawIndividual(random, master.individualCount);
    compareReplicate(state, b, reference::analyseReplicate(master, drawn, 0.0), master, exact,
                     false);
  }
}

TEST(BootstrapEngine, OwnSamplesMatchTheLiteralAnalysis) {
  const std::string text = tools::generateStudy(tools::StudyShape{60, 7, 11, 0.5});
  checkOwnSamples(text, 1.0, 60, true);
  checkOwnSamples(text, 0.5, 75, true);  // more draws than individuals: repeats
  checkOwnSamples(withFractionalConsumption(text), 1.0, 60, false);
  // Two individuals a replicate: many replicates miss a stage or a sex.
  checkOwnSamples(text, 1.0, 2, true);
}

TEST(BootstrapEngine, StagesOfZeroDurationAndDeathsAtAgeZero) {
  checkOwnSamples(
      "P\nU\nD\n4\n3,4\nF,Egg,Larva,Pupa,Female\nM,Egg,Larva,Pupa,Male\nN,Egg,Larva,Pupa,X\n"
      "Larva,Pupa\n1,F,2,0,2,3,-1,-1,-1,4,5,6,-1\n2,N,-1,-1\n3,M,1,2,1,2,-1,3,3,3,-1,5,5,-1\n"
      "4,N,1,-3,-1,2,2,2,-1\n",
      1.0, 4, true);
}

// Writes a samples file of `replicates` replicates drawn with a fixed generator.
std::string samplesFile(const fs::path& path, int cohortSize, int replicates, bool wholeCohort) {
  std::ofstream out(path, std::ios::binary);
  out << "Bootstrap samples\nTest cohort\nTest\nBootstrap number,\n"
      << replicates << "\nSample size,\n"
      << cohortSize << '\n';
  for (int b = 1; b <= replicates; ++b) {
    ReplicateRandom random(7, static_cast<std::uint64_t>(b));
    out << "Bootstrap " << b << '\n';
    for (int k = 1; k <= cohortSize; ++k) {
      out << (wholeCohort ? k : drawIndividual(random, cohortSize)) << (k % 20 == 0 ? '\n' : ',');
    }
    out << "\nRo,\n" << 10 + b % 7 << "\nlambda,\n" << 1.05 + 0.01 * (b % 5) << '\n';
  }
  const char* labels[] = {"R0 mean",     "R0 variance",     "R0 SE",     "R0",
                          "lambda mean", "lambda variance", "lambda SE", "lambda"};
  for (int k = 0; k < 8; ++k) out << labels[k] << "," << k + 1 << '\n';
  return path.string();
}

TEST(BootstrapEngine, SameSamplesMatchTheLiteralAnalysis) {
  const test_support::TemporaryFolder temporary;
  const fs::path& folder = temporary.path();
  for (const bool fractional : {false, true}) {
    std::string text = tools::generateStudy(tools::StudyShape{40, 7, 5, 0.5});
    if (fractional) text = withFractionalConsumption(text);
    const Study master = studyOf(text);
    const CohortContributions cohort = buildCohortContributions(master);
    const std::string path = samplesFile(folder / "samples.txt", 40, 1500, false);
    SamplesFileReader samples = samplesReader(path, 40);
    BootstrapResults state;
    state.bootCount = samples.replicateCount();
    state.bootSampleSize = 40;
    sizeBootstrapTables(state, state.bootCount, master.stageCount, master.sexCount);
    runSameSampleReplicates(cohort, state, samples, ProgressAndStop{});
    EXPECT_EQ(state.lifeTable.lifeTableLambda, 8);
    for (const int b : {1, 2, 1024, 1025, 1500}) {
      SamplesFileReader again = samplesReader(path, 40);
      std::vector<int> drawn;
      double r0 = 0;
      double lambda = 0;
      for (int k = 1; k <= b; ++k) again.readReplicate(k, drawn, r0, lambda);
      EXPECT_EQ(state.bootLambda[static_cast<std::size_t>(b)], lambda);
      compareReplicate(state, b, reference::analyseReplicate(master, drawn, lambda), master,
                       !fractional, true);
    }
  }
}

TEST(BootstrapEngine, EveryReplicateTheWholeCohortGivesTheCohortC0) {
  const test_support::TemporaryFolder temporary;
  const fs::path& folder = temporary.path();
  const Study master = studyOf(tools::generateStudy(tools::StudyShape{30, 7, 3, 0.5}));
  const CohortContributions cohort = buildCohortContributions(master);
  BootstrapResults state;
  state.bootCount = 12;
  sizeBootstrapTables(state, 12, master.stageCount, master.sexCount);
  {
    // Closed before the folder is removed: Windows removes no open file.
    SamplesFileReader samples = samplesReader(samplesFile(folder / "s.txt", 30, 12, true), 30);
    runSameSampleReplicates(cohort, state, samples, ProgressAndStop{});
  }
  const double c0 = reference::analyseReplicate(
                        master,
                        [] {
                          std::vector<int> all(30);
                          for (int k = 0; k < 30; ++k) all[static_cast<std::size_t>(k)] = k + 1;
                          return all;
                        }(),
                        0.0)
                        .c0;
  for (int b = 1; b <= 12; ++b) EXPECT_EQ(state.bootC0[static_cast<std::size_t>(b)], c0);
}

TEST(BootstrapEngine, SameSeedSameReplicatesOtherSeedOthers) {
  const Study master = studyOf(tools::generateStudy(tools::StudyShape{50, 7, 1, 0.5}));
  const CohortContributions cohort = buildCohortContributions(master);
  const auto run = [&](std::uint64_t seed) {
    BootstrapResults state;
    state.bootCount = 3000;
    state.bootSampleSize = 50;
    state.seed = seed;
    sizeBootstrapTables(state, 3000, master.stageCount, master.sexCount);
    long reported = 0;
    runOwnSampleReplicates(cohort, state,
                           ProgressAndStop{[&](long done, long) { reported = done; }, {}});
    EXPECT_EQ(reported, 3000);
    return state.bootC0;
  };
  EXPECT_EQ(run(5), run(5));
  EXPECT_NE(run(5), run(6));
}

// One female of 30 laid 6 eggs at age index 40: a replicate of one individual has eggs only when
// it drew her. Kept as drawn, nearly every replicate has R0 = 0 and no r or psi; drawn again
// (the conditional bootstrap), every one has R0 = 6 and r = ln 6 / (41 t).
TEST(BootstrapEngine, OwnSamplesWithFecundityKeepOrRedrawReplicatesWithoutEggs) {
  const Study master = studyOf(tools::generateStudy(tools::StudyShape{30, 7, 3, 0.5}), 0.5);
  const CohortContributions cohort = buildCohortContributions(master);
  constexpr int kLayer = 17;
  EggContributions eggs;
  eggs.individuals.resize(31);
  eggs.individuals[kLayer] = EggContribution{40, {6.0}};
  const OwnSampleFecundity fecundity{eggs, RateBracket{0.01, 0.02}};
  const auto run = [&](bool redraw, const OwnSampleFecundity* withEggs) {
    BootstrapResults state;
    state.bootCount = 50;
    state.bootSampleSize = 1;
    state.seed = 4;
    state.redrawBarren = redraw;
    sizeBootstrapTables(state, 50, master.stageCount, master.sexCount);
    runOwnSampleReplicates(cohort, state, ProgressAndStop{}, withEggs);
    return state;
  };

  const BootstrapResults kept = run(false, &fecundity);
  // The eggs change nothing of what the replicates draw and eat.
  EXPECT_EQ(kept.bootC0, run(false, nullptr).bootC0);
  std::vector<int> drawn(1);
  int withEggs = 0;
  for (int b = 1; b <= 50; ++b) {
    const auto bi = static_cast<std::size_t>(b);
    drawOwnSample(4, b, 30, nullptr, drawn);
    const bool layer = drawn[0] == kLayer;
    withEggs += layer ? 1 : 0;
    EXPECT_EQ(kept.bootR0[bi], layer ? 6.0 : 0.0) << b;
    EXPECT_EQ(kept.bootPsiValid[bi], layer ? 1 : 0) << b;
  }
  EXPECT_EQ(kept.barrenReplicates, 50 - withEggs);
  EXPECT_GT(kept.barrenReplicates, 40);

  const BootstrapResults redrawn = run(true, &fecundity);
  int again = 0;
  for (int b = 1; b <= 50; ++b) {
    const auto bi = static_cast<std::size_t>(b);
    const int tries = drawOwnSample(4, b, 30, &eggs, drawn);
    ASSERT_GT(tries, 0);
    again += tries > 1 ? 1 : 0;
    EXPECT_EQ(drawn[0], kLayer);
    EXPECT_EQ(redrawn.bootR0[bi], 6.0);
    EXPECT_NEAR(redrawn.bootR[bi], std::log(6.0) / (41 * 0.5), 1e-15);
    EXPECT_EQ(redrawn.bootPsiValid[bi], 1);
  }
  EXPECT_EQ(redrawn.barrenReplicates, again);
  EXPECT_EQ(again, kept.barrenReplicates);
  // The draws of a replicate without eggs come first in its stream: the same seed without
  // fecundity draws the individual of the first try.
  drawOwnSample(4, 1, 30, nullptr, drawn);
  ReplicateRandom random(4, 1);
  EXPECT_EQ(drawn[0], drawIndividual(random, 30));

  // Nobody laid eggs: drawn again, the first replicate gives up after 1,000 draws and nothing is
  // kept.
  EggContributions none;
  none.individuals.resize(31);
  const OwnSampleFecundity barren{none, RateBracket{}};
  BootstrapResults state = redrawn;
  try {
    runOwnSampleReplicates(cohort, state, ProgressAndStop{}, &barren);
    ADD_FAILURE() << "no refusal";
  } catch (const UserError& error) {
    EXPECT_EQ(error.title(), "Bootstrap");
    EXPECT_EQ(error.text(),
              "In 1000 draws, replicate 1 never drew a female that laid eggs: too few laying "
              "females (0 of 30 individuals) for every replicate of 1 to have an R0. No file was "
              "written.");
  }
}

TEST(BootstrapEngine, SamplesFileFaults) {
  const test_support::TemporaryFolder temporary;
  const fs::path& folder = temporary.path();
  const auto write = [&](const std::string& text) {
    std::ofstream(folder / "f.txt", std::ios::binary) << text;
    return (folder / "f.txt").string();
  };
  const auto message = [&](const std::string& text, int cohort) -> std::string {
    try {
      SamplesFileReader samples = samplesReader(write(text), cohort);
      std::vector<int> drawn;
      double r0 = 0;
      double lambda = 0;
      for (int b = 1; b <= samples.replicateCount(); ++b)
        samples.readReplicate(b, drawn, r0, lambda);
      samples.readClosingFigures();
    } catch (const UserError& error) {
      return error.title() + ": " + error.text();
    }
    return "";
  };
  const std::string head = "a\nb\nc\nB,\n2\nn,\n3\n";
  EXPECT_EQ(message(head + "s1\n1,2,3\nRo,\n5\nl,\n1.1\ns2\n3,2,1\nRo,\n0\nl,\n1\n", 3),
            "Bootstrap Ro = 0: Bootstrap no. 2.  Ro = 0.  Please reanalyze your life table and "
            "make sure all bootstrap samples are effective.");
  const std::string file = "Bootstrap samples: The file " + (folder / "f.txt").string() + ", ";
  EXPECT_EQ(message(head + "s1\n1,4,3\n", 3),
            file +
                "line 9, bootstrap sample 1: the individual number is 4; it must be a whole "
                "number from 1 to 3.");
  EXPECT_EQ(message(head, 4).substr(0, 59),
            "Bootstrap samples: The bootstrap samples in this file have ");
  EXPECT_EQ(message("a\nb\nc\nB,\n0\n", 3),
            file +
                "line 5, the heading: the number of bootstrap samples is 0; it must be a "
                "whole number from 1 to 200010.");
  EXPECT_EQ(message(head + "s1\n1,2,3\nRo,\n5\nl,\n1.1\ns2\n3,x", 3),
            file + "line 15, bootstrap sample 2: \"x\" is not a number.");
  EXPECT_EQ(message(head + "s1\n1,2,3\nRo,\n5\nl,\n1.1\n", 3),
            file + "line 14, bootstrap sample 2: the file ends too early.");
  // psi and FP are rates of a population that grows or shrinks by lambda each time unit.
  EXPECT_EQ(message(head + "s1\n1,2,3\nRo,\n5\nl,\n0\n", 3),
            file +
                "line 13, bootstrap sample 1: lambda is 0; the finite rate of increase must be "
                "a number above 0.");
}

}  // namespace
}  // namespace pellmar
