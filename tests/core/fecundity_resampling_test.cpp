// Resampling a study with fecundity: own-sample bootstraps whose replicates have their own R0 and
// lambda, and the jackknife's pseudo-values of R0, r, lambda and T.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/data/table_index.h"
#include "core/exports/results_summary.h"
#include "core/predation/sasd_reader.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/jackknife.h"
#include "core/resampling/jackknife_report.h"
#include "core/resampling/replicate_summary.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;

// A study after its Basic Run with the life table its eggs give.
struct StudyWithEggs {
  test_support::AnalysedStudy analysed;
  FecundityData eggs;
  FecundityLifeTable lifeTable;
};

StudyWithEggs withEggs(const std::string& study, const std::string& eggs) {
  StudyWithEggs result{test_support::analysedStudy(study), {}, {}};
  result.eggs = parseFecundity(eggs, "eggs.txt", result.analysed.study);
  result.lifeTable =
      computeFecundityLifeTable(result.analysed.study, result.analysed.basic, result.eggs);
  return result;
}

std::string example(const std::string& name) { return readFile(fs::path(EXAMPLES_DIR) / name); }

TEST(FecundityBootstrap, ReplicatesPairTheirOwnR0AndLambdaWithTheirC0) {
  const StudyWithEggs study =
      withEggs(example("lady_beetle.txt"), example("lady_beetle_fecundity.txt"));
  const StudyFecundity fecundity{study.eggs, study.lifeTable};
  const BootstrapResults boot =
      ownSamplesBootstrap(study.analysed.study, study.analysed.basic,
                          OwnSamplesOptions{40, 100, 7, false}, &fecundity, {});
  ASSERT_TRUE(boot.ownLifeTable);
  for (int b = 1; b <= 40; ++b) {
    const auto bi = at(b);
    ASSERT_GT(boot.bootR0[bi], 0) << b;
    EXPECT_DOUBLE_EQ(boot.bootLambda[bi], std::exp(boot.bootR[bi])) << b;
    EXPECT_NEAR(boot.bootT[bi], std::log(boot.bootR0[bi]) / boot.bootR[bi], 1e-9) << b;
    EXPECT_EQ(boot.bootQp[bi], boot.bootC0[bi] / boot.bootR0[bi]) << b;
    EXPECT_EQ(boot.bootFP[bi], boot.bootPsi[bi] * boot.bootLambda[bi]) << b;
  }
  // The R0 and lambda rows of the report come from the replicates, the originals from the
  // cohort's life table.
  const ReplicateSummary r0 = summarizeReplicates(boot.bootR0, 40);
  EXPECT_EQ(boot.lifeTable.lifeTableR0Mean, r0.mean);
  EXPECT_EQ(boot.lifeTable.lifeTableR0SE, r0.se);
  EXPECT_EQ(boot.lifeTable.R0, study.lifeTable.R0);
  EXPECT_EQ(boot.lifeTable.lifeTableLambda, study.lifeTable.growth->lambda);
  EXPECT_EQ(boot.Qp, study.analysed.basic.C0ByCell / study.lifeTable.R0);

  const test_support::TemporaryFolder folder;
  const PredationRates predation =
      predationRatesOf(study.analysed.study, study.analysed.basic, study.lifeTable);
  const BootstrapReport report{study.analysed.study, study.analysed.basic, &predation, boot};
  ReportCounters counters;
  test_support::writeFiles(
      folder.base(), [&](OutputFiles& files) { writeBootstrapFiles(report, counters, files); });
  const std::string text = readFile(folder.base() + "_0_Bootstrap_Output.txt");
  EXPECT_NE(text.find(" FP (FC)"), std::string::npos);
  EXPECT_EQ(text.find("you cannot estimate the standard errors of Qp"), std::string::npos);
  // The Qp, psi and omega files hold the replicates' values, not zeros.
  const std::string psi = readFile(folder.base() + "_4_Bootstrap_Psi_in column.txt");
  EXPECT_EQ(psi.find("\r\n0\r\n"), std::string::npos);
}

// The three-stage cohort: female 1 lays 4.5 eggs at age index 4, so R0 = 4.5 / 3 = 1.5. Without
// her no eggs are left (R0 = 0, pseudo-value 3 x 1.5 - 2 x 0 = 4.5); without individual 2 or 3,
// R0 = 4.5 / 2 and the pseudo-value is 3 x 1.5 - 2 x 2.25 = 0. r, lambda and T have none.
TEST(FecundityJackknife, PseudoValuesOfR0OnAHandWorkedCohort) {
  const fs::path golden = fs::path(TEST_DATA_DIR) / "golden" / "three_stages_fecundity";
  const StudyWithEggs study =
      withEggs(readFile(golden / "study.txt"), readFile(golden / "fecundity.txt"));
  const JackknifeResults jack =
      jackknife(study.analysed.study, study.analysed.basic, &study.eggs, &study.lifeTable, {});
  EXPECT_EQ(jackknifeNote(jack),
            "Without individual 1 no eggs are left, so r, lambda and T have no "
            "jackknife pseudo-values or SE; R0 has them.");
  const test_support::TemporaryFolder folder;
  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeJackknifePseudoValuesFile(
        JackknifeReport{study.analysed.study, study.analysed.basic, jack}, files);
  });
  EXPECT_EQ(readFile(folder.base() + "_jackknife_pseudo_values.csv"),
            "individual,C0,R0,r,lambda,T\r\n"
            "1,32,4.5,,,\r\n"
            "2,29,0,,,\r\n"
            "3,6,0,,,\r\n");
  StudyResults results{study.analysed.study};
  results.basic = &study.analysed.basic;
  results.lifeTable = &study.lifeTable;
  results.jackknife = &jack;
  for (const SummaryRow& row : summarizeResults(results, 0.95)) {
    if (row.quantity == "R0") {
      ASSERT_TRUE(row.resampled);
      EXPECT_EQ(row.resampled->mean, 1.5);
      // Pseudo-values 4.5, 0, 0: variance 6.75, SE sqrt(6.75 / 3) = 1.5.
      EXPECT_NEAR(*row.resampled->se, 1.5, 1e-15);
    }
    if (row.quantity == "r" || row.quantity == "lambda" || row.quantity == "T") {
      EXPECT_FALSE(row.resampled) << row.quantity;
    }
  }
}

// With the example's eggs every reduced cohort has eggs: every pseudo-value column is full, and
// the pseudo-values of lambda average near the cohort's lambda.
TEST(FecundityJackknife, EveryOmissionOfTheExampleKeepsEggs) {
  const StudyWithEggs study =
      withEggs(example("lady_beetle.txt"), example("lady_beetle_fecundity.txt"));
  const JackknifeResults jack =
      jackknife(study.analysed.study, study.analysed.basic, &study.eggs, &study.lifeTable, {});
  EXPECT_EQ(jackknifeNote(jack), "");
  ASSERT_TRUE(jack.growthForEveryOmission());
  EXPECT_NEAR(summarizeReplicates(jack.pseudoLambda, 100).mean, study.lifeTable.growth->lambda,
              0.01);
  // Without eggs the file has the C0 column alone.
  const JackknifeResults plain =
      jackknife(study.analysed.study, study.analysed.basic, nullptr, nullptr, {});
  const test_support::TemporaryFolder folder;
  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeJackknifePseudoValuesFile(
        JackknifeReport{study.analysed.study, study.analysed.basic, plain}, files);
  });
  const std::string csv = readFile(folder.base() + "_jackknife_pseudo_values.csv");
  EXPECT_EQ(csv.rfind("individual,C0\r\n1,", 0), 0U);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 101);
}

}  // namespace
}  // namespace pellmar
