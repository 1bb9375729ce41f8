// The results summary that a run writes beside its data: its rows on the example study after
// each step, how they agree with the fixed-layout reports, and its text.
#include "core/exports/results_summary.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "core/data/table_index.h"
#include "core/predation/sasd_reader.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/jackknife.h"
#include "read_file.h"
#include "report_test_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::readFile;

// The cells of a summary file by (quantity, stage, sex), each line split at its commas (the
// example's names hold none). Checks the header and that every line ends with CR LF.
using RowKey = std::tuple<std::string, std::string, std::string>;
std::map<RowKey, std::vector<std::string>> cellsOf(const std::string& text) {
  std::map<RowKey, std::vector<std::string>> rows;
  std::size_t start = 0;
  bool header = true;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "a line without CR LF";
    if (end == std::string::npos) break;
    const std::string line = text.substr(start, end - start);
    start = end + 2;
    if (header) {
      EXPECT_EQ(line, "quantity,stage,sex,unit,estimate,boot_mean,se,ci_low,ci_high,replicates");
      header = false;
      continue;
    }
    std::vector<std::string> cells;
    std::istringstream in(line + ",");
    for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
    EXPECT_EQ(cells.size(), 10U) << line;
    cells.resize(10);
    EXPECT_TRUE(rows.emplace(RowKey{cells[0], cells[1], cells[2]}, cells).second) << line;
  }
  return rows;
}

std::string shortest(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return {buffer.data(), result.ptr};
}

enum Column { kUnit = 3, kEstimate, kBootMean, kSE, kLow, kHigh, kReplicates };

// The example study after its Basic Run, and the results of each step the tests take.
class Summary : public ::testing::Test {
 protected:
  void SetUp() override { analysed_ = test_support::analysedStudy(example("lady_beetle.txt")); }
  static std::string example(const std::string& name) {
    return readFile(fs::path(EXAMPLES_DIR) / name);
  }
  [[nodiscard]] const BasicRunResults& basic() const { return analysed_.basic; }
  [[nodiscard]] StudyResults results() const {
    StudyResults results{analysed_.study};
    results.basic = &analysed_.basic;
    results.lifeTable = lifeTable_ ? &*lifeTable_ : nullptr;
    results.predation = predation_ ? &*predation_ : nullptr;
    results.bootstrap = boot_ ? &*boot_ : nullptr;
    results.jackknife = jack_ ? &*jack_ : nullptr;
    return results;
  }
  // The summary's text, as its file holds it.
  [[nodiscard]] std::map<RowKey, std::vector<std::string>> written(double confidence = 0.95) const {
    return cellsOf(summaryCsv(summarizeResults(results(), confidence)));
  }
  void readSasdFile() {
    predation_ = readSasd(InputFile{"sasd.txt", example("lady_beetle_10_SASD.txt"), ""},
                          analysed_.study, analysed_.basic);
  }
  void readFecundity(const std::string& text) {
    eggs_ = parseFecundity(text, "eggs.txt", analysed_.study);
    lifeTable_ = computeFecundityLifeTable(analysed_.study, analysed_.basic, *eggs_);
    predation_.reset();
    if (lifeTable_->growth) {
      predation_ = predationRatesOf(analysed_.study, analysed_.basic, *lifeTable_);
    }
  }
  void sameSamples(const std::string& text) {
    readSasdFile();
    SamplesFileReader samples(text, 100, "samples.txt");
    boot_ = sameSamplesBootstrap(analysed_.study, analysed_.basic, samples, {});
  }
  void ownSamples(int replicates, int sampleSize, std::uint64_t seed) {
    const OwnSamplesOptions options{replicates, sampleSize, seed, false};
    const std::optional<StudyFecundity> fecundity =
        lifeTable_ ? std::optional(StudyFecundity{*eggs_, *lifeTable_}) : std::nullopt;
    boot_ = ownSamplesBootstrap(analysed_.study, analysed_.basic, options,
                                fecundity ? &*fecundity : nullptr, {});
  }

  test_support::AnalysedStudy analysed_;
  std::optional<FecundityData> eggs_;
  std::optional<FecundityLifeTable> lifeTable_;
  std::optional<PredationRates> predation_;
  std::optional<BootstrapResults> boot_;
  std::optional<JackknifeResults> jack_;
};

TEST_F(Summary, BasicRunGivesTheCohortsValuesWithoutResampledCells) {
  const std::string text = summaryCsv(summarizeResults(results(), 0.95));
  ASSERT_EQ(text.rfind("quantity,", 0), 0U) << "no byte-order mark before the header";
  const auto rows = written();
  const BasicRunResults& r = basic();
  EXPECT_EQ(rows.at({"C0", "", "all"}),
            (std::vector<std::string>{"C0", "", "all", "prey per individual", shortest(r.C0ByCell),
                                      "", "", "", "", ""}));
  // Stage names whole, "adult" for the adult stage, the sex codes of the data.
  EXPECT_EQ(rows.at({"stage_duration", "Egg", "all"})[kEstimate],
            shortest(r.stageDuration[1].mean));
  EXPECT_EQ(rows.at({"stage_duration", "adult", "F"})[kEstimate],
            shortest(r.stageDurationBySex[1][7].mean));
  EXPECT_EQ(rows.at({"cumulative_duration", "Pupa", "M"})[kEstimate],
            shortest(r.cumDurationBySex[2][6].mean));
  EXPECT_EQ(rows.at({"stage_consumption", "L4", "N"})[kEstimate],
            shortest(r.stageConsumptionBySex[3][5].mean));
  EXPECT_EQ(rows.at({"span_duration", "L1-L4", "all"})[kEstimate], shortest(r.span.mean));
  EXPECT_EQ(rows.at({"total_consumption", "", "all"})[kEstimate],
            shortest(r.cohortConsumptionMean));
  EXPECT_EQ(rows.at({"preadult_consumption", "", "F"})[kEstimate],
            shortest(r.preadultConsumptionBySex[0].mean));
  EXPECT_EQ(rows.at({"daily_consumption", "female adult", "all"})[kEstimate],
            shortest(r.stageDailyMeanConsumption[7]));
  EXPECT_EQ(rows.at({"daily_consumption", "male adult", "all"})[kEstimate],
            shortest(r.stageDailyMeanConsumption[8]));
  // Lines of the statistics table without an individual have no row: no N reaches the adult.
  EXPECT_EQ(rows.count({"stage_duration", "adult", "N"}), 0U);
  EXPECT_EQ(rows.count({"psi", "", "all"}), 0U);
  for (const auto& [key, cells] : rows) EXPECT_EQ(cells[kReplicates], "") << std::get<0>(key);
}

TEST_F(Summary, LifeTableWithFecundityGivesItsRowsAndNoEggsLeavesTheRatesEmpty) {
  readFecundity(example("lady_beetle_fecundity.txt"));
  const FecundityLifeTable& table = *lifeTable_;
  auto rows = written();
  EXPECT_EQ(rows.at({"R0", "", "all"})[kEstimate], shortest(table.R0));
  EXPECT_EQ(rows.at({"r", "", "all"})[kEstimate], shortest(table.growth->r));
  EXPECT_EQ(rows.at({"lambda", "", "all"})[kEstimate], shortest(table.growth->lambda));
  EXPECT_EQ(rows.at({"T", "", "all"})[kEstimate], shortest(table.growth->T));
  EXPECT_EQ(rows.at({"GRR", "", "all"})[kEstimate], shortest(table.GRR));
  EXPECT_EQ(rows.at({"Qp", "", "all"})[kEstimate], shortest(basic().C0ByCell / table.R0));
  EXPECT_EQ(rows.at({"F", "", "F"})[kEstimate], shortest(table.F));
  EXPECT_EQ(rows.at({"APOP", "", "F"})[kEstimate], shortest(table.periods[kAPOP].mean));
  EXPECT_EQ(rows.at({"post_oviposition_period", "", "F"})[kEstimate],
            shortest(table.periods[kPostOvipositionPeriod].mean));
  EXPECT_EQ(rows.at({"psi", "", "all"})[kEstimate], shortest(predation_->stablePredationRate));

  // Every female without eggs: R0 = 0 and empty cells where nothing is defined.
  readFecundity(readFile(fs::path(TEST_DATA_DIR) / "cli_runs" / "no_eggs.txt"));
  rows = written();
  EXPECT_EQ(rows.at({"R0", "", "all"})[kEstimate], "0");
  for (const char* empty : {"r", "lambda", "T", "Qp"}) {
    EXPECT_EQ(rows.at({empty, "", "all"})[kEstimate], "") << empty;
  }
  EXPECT_EQ(rows.count({"APOP", "", "F"}), 0U);
  EXPECT_EQ(rows.count({"psi", "", "all"}), 0U);
}

TEST_F(Summary, SameSamplesAgreeWithTheBootstrapReport) {
  sameSamples(example("lady_beetle_11_Bootstrap_samples.txt"));
  const auto rows = written();
  const BootstrapResults& boot = *boot_;
  const PredationRates& predation = *predation_;
  const auto expectReport = [&](const RowKey& key, double estimate,
                                const ReplicateSummary& report) {
    const auto& cells = rows.at(key);
    EXPECT_EQ(cells[kEstimate], shortest(estimate)) << std::get<0>(key);
    EXPECT_EQ(cells[kBootMean], shortest(report.mean)) << std::get<0>(key);
    // The summary's SE comes from two passes, the report's from Q - S^2 / n: they agree to the
    // digits the report's formula keeps.
    EXPECT_NEAR(std::stod(cells[kSE]), report.se, 1e-9 * report.se) << std::get<0>(key);
    EXPECT_EQ(cells[kReplicates], "200") << std::get<0>(key);
  };
  expectReport({"C0", "", "all"}, basic().C0ByCell, boot.c0);
  expectReport({"psi", "", "all"}, predation.stablePredationRate, boot.psi);
  expectReport({"omega", "", "all"}, predation.finitePredationRate, boot.fp);
  expectReport({"Qp", "", "all"}, boot.Qp, boot.qp);
  expectReport({"stage_consumption", "L2", "all"}, basic().stageConsumption[3].mean,
               boot.stageConsumption[3]);
  expectReport({"stage_consumption", "adult", "F"}, basic().stageConsumptionBySex[1][7].mean,
               boot.stageConsumptionBySex[1][7]);
  EXPECT_EQ(rows.at({"R0", "", "all"})[kEstimate], "132.07");
  EXPECT_EQ(rows.at({"lambda", "", "all"})[kEstimate], "1.1419420381654068");
  // Rows the replicates do not compute keep empty resampled cells.
  EXPECT_EQ(rows.at({"ln_omega", "", "all"})[kBootMean], "");
  EXPECT_EQ(rows.at({"stage_duration", "L1", "M"})[kBootMean], "");
  // The interval holds the replicate mean of a spread quantity and has the order of p.
  const auto& c0 = rows.at({"C0", "", "all"});
  EXPECT_LT(std::stod(c0[kLow]), std::stod(c0[kBootMean]));
  EXPECT_GT(std::stod(c0[kHigh]), std::stod(c0[kBootMean]));
}

TEST_F(Summary, ReplicatesOfTheWholeCohortGiveAnIntervalOfNoWidth) {
  std::ostringstream out;
  {
    out << "Bootstrap samples\nTest\nTest\nBootstrap number,\n5\nSample size,\n100\n";
    for (int b = 1; b <= 5; ++b) {
      out << "Bootstrap " << b << '\n';
      for (int i = 1; i <= 100; ++i) out << i << (i % 20 == 0 ? '\n' : ',');
      out << "Ro,\n138.7\nlambda,\n1.17869800563379\n";
    }
    for (const char* label : {"R0 mean", "R0 variance", "R0 SE", "R0", "lambda mean",
                              "lambda variance", "lambda SE", "lambda"}) {
      out << label << ",1\n";
    }
  }
  sameSamples(out.str());
  const auto rows = written();
  const auto& c0 = rows.at({"C0", "", "all"});
  EXPECT_EQ(c0[kSE], "0");
  EXPECT_EQ(c0[kLow], c0[kHigh]);
  EXPECT_EQ(c0[kLow], c0[kBootMean]);
  EXPECT_EQ(c0[kReplicates], "5");
}

TEST_F(Summary, OwnSamplesOfFewIndividualsCountOnlyTheReplicatesWithAValue) {
  readSasdFile();
  ownSamples(400, 2, 11);
  const auto rows = written();
  const BootstrapResults& boot = *boot_;
  // Two individuals drawn often hold no male: those replicates give no male adult consumption.
  long withMale = 0;
  for (int b = 1; b <= 400; ++b) withMale += boot.bootStageBySexValid[2][7][at(b)];
  ASSERT_GT(withMale, 0);
  ASSERT_LT(withMale, 400);
  EXPECT_EQ(rows.at({"stage_consumption", "adult", "M"})[kReplicates], std::to_string(withMale));
  EXPECT_EQ(rows.at({"C0", "", "all"})[kReplicates], "400");
  // Own samples have no replicate psi or omega, and no Qp row.
  EXPECT_EQ(rows.at({"psi", "", "all"})[kBootMean], "");
  EXPECT_EQ(rows.at({"omega", "", "all"})[kReplicates], "");
  EXPECT_EQ(rows.count({"Qp", "", "all"}), 0U);
}

TEST_F(Summary, OwnSamplesWithFecundityGiveTheLifeTableRowsTheirReplicates) {
  readFecundity(example("lady_beetle_fecundity.txt"));
  ownSamples(20, 100, 5);
  const auto rows = written();
  for (const char* quantity : {"R0", "r", "lambda", "T", "Qp", "psi", "omega"}) {
    EXPECT_EQ(rows.at({quantity, "", "all"})[kReplicates], "20") << quantity;
  }
  EXPECT_EQ(rows.at({"R0", "", "all"})[kBootMean], shortest(boot_->lifeTable.lifeTableR0Mean));
  // The figures that are means over individuals have their replicates too.
  for (const auto& [quantity, sex] :
       {std::pair{"GRR", "all"}, std::pair{"F", "F"}, std::pair{"APOP", "F"},
        std::pair{"longevity", "all"}, std::pair{"adult_longevity", "M"}}) {
    EXPECT_EQ(rows.at({quantity, "", sex})[kReplicates], "20") << quantity;
  }

  // A replicate without eggs has R0 = 0, a value like any other, and no r, lambda, T or Qp:
  // those are left out, not counted as 0.
  boot_->bootR0[3] = 0;
  boot_->bootR[3] = 0;
  for (const SummaryRow& row : summarizeResults(results(), 0.95)) {
    if (row.quantity == "r" || row.quantity == "T" || row.quantity == "Qp") {
      ASSERT_TRUE(row.resampled) << row.quantity;
      EXPECT_EQ(row.resampled->count, 19) << row.quantity;
    }
    if (row.quantity == "C0" || row.quantity == "R0") {
      EXPECT_EQ(row.resampled->count, 20);
    }
    if (row.quantity == "r") {
      EXPECT_GT(row.resampled->low, 0);
    }
  }
}

TEST_F(Summary, JackknifeGivesTheTIntervalOfC0) {
  jack_ = jackknife(analysed_.study, analysed_.basic, nullptr, nullptr, {});
  const auto rows = written();
  const JackknifeResults& jack = *jack_;
  const auto& c0 = rows.at({"C0", "", "all"});
  EXPECT_EQ(c0[kBootMean], shortest(jack.jackMean));
  EXPECT_EQ(c0[kSE], shortest(jack.jackSE));
  EXPECT_EQ(c0[kReplicates], "100");
  const ResampledEstimate expected = jackknifeEstimate(jack.jackMean, jack.jackSE, 100, 0.95);
  EXPECT_EQ(c0[kLow], shortest(expected.low));
  EXPECT_EQ(rows.at({"stage_consumption", "L1", "all"})[kReplicates], "");
}

TEST_F(Summary, TheSameSeedGivesTheSameSummaryAndConfidenceSetsTheInterval) {
  const auto run = [&](std::uint64_t seed, double confidence) {
    ownSamples(300, 100, seed);
    return summaryCsv(summarizeResults(results(), confidence));
  };
  const std::string first = run(42, 0.95);
  EXPECT_EQ(run(42, 0.95), first);
  EXPECT_NE(run(43, 0.95), first);
  const auto wide = cellsOf(first).at({"C0", "", "all"});
  const auto narrow = cellsOf(run(42, 0.5)).at({"C0", "", "all"});
  EXPECT_EQ(narrow[kBootMean], wide[kBootMean]);
  EXPECT_GT(std::stod(narrow[kLow]), std::stod(wide[kLow]));
  EXPECT_LT(std::stod(narrow[kHigh]), std::stod(wide[kHigh]));
}

TEST(SummaryText, QuotesWhatNeedsQuotingAndLeavesMissingValuesEmpty) {
  SummaryRow named{"stage_duration", "Larva, \"late\"", "F", 2.5, std::nullopt};
  SummaryRow resampled{"C0", "", "all", 0.1, ResampledEstimate{3e-5, std::nullopt, -1, 1e21, 1}};
  EXPECT_EQ(summaryCsv({named, resampled}),
            "quantity,stage,sex,unit,estimate,boot_mean,se,ci_low,ci_high,replicates\r\n"
            "stage_duration,\"Larva, \"\"late\"\"\",F,day,2.5,,,,,\r\n"
            "C0,,all,prey per individual,0.1,3e-05,,-1,1e+21,1\r\n");
}

}  // namespace
}  // namespace pellmar
