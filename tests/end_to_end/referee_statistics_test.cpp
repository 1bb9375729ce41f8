// Whole runs checked against values worked out by hand: psi over every age, the units of the
// summary when the time unit is not a day, the bootstrap with fecundity that keeps replicates
// without eggs, F without females, and a SASD file of another study.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "read_file.h"
#include "support/command_line_run.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {
// The test programs are unity builds: this file's helpers keep names of their own.
namespace referee {

namespace fs = std::filesystem;
using test_support::readFile;
using test_support::TemporaryFolder;

void write(const std::string& path, const std::string& text) {
  std::ofstream(fs::path(path), std::ios::binary) << text;
}

// The cells of the summary rows of `quantity`, keyed by "stage/sex", each row's cells by column
// name.
using Row = std::map<std::string, std::string>;
std::map<std::string, Row> summaryRows(const std::string& csv, const std::string& quantity) {
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  std::vector<std::string> header;
  {
    std::istringstream cells(line.substr(0, line.size() - 1));
    for (std::string cell; std::getline(cells, cell, ',');) header.push_back(cell);
  }
  std::map<std::string, Row> rows;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::istringstream split(line);
    for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
    if (line.back() == ',') cells.emplace_back();
    if (cells.empty() || cells[0] != quantity) continue;
    Row row;
    for (std::size_t c = 0; c < header.size() && c < cells.size(); ++c) row[header[c]] = cells[c];
    rows[row["stage"] + "/" + row["sex"]] = row;
  }
  return rows;
}

double number(const std::string& cell) { return std::stod(cell); }

// One female: an egg of one time unit that eats 3 from birth, then an adult of two time units
// that eats 5 and 7 and lays 2 eggs in her first adult time unit.
const char* const kEatsFromBirth =
    "Birth\nAnn\n2026-01-02\n1\n1,2\nF,Egg,Female\nEgg,Female\n"
    "1,F,1,2,3,-1,5,7,-1\n";

TEST(RefereeStatistics, PsiSumsEveryAgeFromBirthAndKeepsOneUnitPerNumber) {
  TemporaryFolder folder;
  const std::string data = folder.file("birth.txt");
  write(data, kEatsFromBirth);
  write(folder.file("eggs.txt"), "1,2,0\n");
  test_support::CommandLineRun day =
      test_support::runCommandLine({"run", data, "--fecundity", folder.file("eggs.txt")});
  ASSERT_EQ(day.status, 0) << day.err;

  // lambda^2 = 2 at t = 1; a(x) is proportional to lambda^-(x + 1) s(x), so
  // psi = (3 + 5 / lambda + 7 / lambda^2) / (1 + 1 / lambda + 1 / lambda^2), age 0 included.
  const double lambda = std::sqrt(2.0);
  const double psi = (3 + 5 / lambda + 7 / 2.0) / (1 + 1 / lambda + 1 / 2.0);
  const std::string summary = readFile(folder.file("birth_summary.csv"));
  EXPECT_NEAR(number(summaryRows(summary, "psi")["/all"]["estimate"]), psi, 1e-12 * psi);
  EXPECT_NEAR(number(summaryRows(summary, "omega")["/all"]["estimate"]), psi * lambda, 1e-12);
  EXPECT_EQ(summaryRows(summary, "psi")["/all"]["unit"], "prey per individual per day");
  const std::string omegaFile =
      readFile(folder.file("birth_0_Output_Finite_Predation_Rate_omega.txt"));
  EXPECT_NE(omegaFile.find("Psi = 4.5469"), std::string::npos) << omegaFile;

  // The same numbers at t = 0.5: lambda is 2 per day and lambda^t the same sqrt(2), so the
  // fixed-layout omega file is the same; the summary gives days and rates per day.
  test_support::CommandLineRun half = test_support::runCommandLine(
      {"run", data, "--fecundity", folder.file("eggs.txt"), "--time-unit", "0.5"});
  ASSERT_EQ(half.status, 0) << half.err;
  // lambda^t is sqrt(2) both ways, up to the last bit of the root search, which the 15 digits of
  // the line may show; psi, omega and the rest are the same text.
  std::string halfOmega = readFile(folder.file("birth_0_Output_Finite_Predation_Rate_omega.txt"));
  const auto rateLine = [](std::string& text) {
    const std::size_t start = text.find("Finite rate =");
    const std::size_t end = text.find('\r', start);
    const double rate = std::stod(text.substr(start + 13, end - start - 13));
    text.erase(start, end - start);
    return rate;
  };
  std::string dayOmega = omegaFile;
  EXPECT_NEAR(rateLine(halfOmega), lambda, 1e-13);
  EXPECT_NEAR(rateLine(dayOmega), lambda, 1e-13);
  EXPECT_EQ(halfOmega, dayOmega);
  const std::string halfSummary = readFile(folder.file("birth_summary.csv"));
  EXPECT_NEAR(number(summaryRows(halfSummary, "lambda")["/all"]["estimate"]), 2, 1e-12);
  EXPECT_NEAR(number(summaryRows(halfSummary, "psi")["/all"]["estimate"]), 2 * psi, 1e-11);
  EXPECT_NEAR(number(summaryRows(halfSummary, "omega")["/all"]["estimate"]), 4 * psi, 1e-11);
  EXPECT_NEAR(number(summaryRows(halfSummary, "ln_omega")["/all"]["estimate"]), std::log(4 * psi),
              1e-12);
  EXPECT_EQ(number(summaryRows(halfSummary, "stage_duration")["Egg/all"]["estimate"]), 0.5);
  EXPECT_EQ(summaryRows(halfSummary, "stage_duration")["Egg/all"]["unit"], "day");
  // The egg eats 3 in its time unit of half a day: 6 a day.
  EXPECT_EQ(number(summaryRows(halfSummary, "daily_consumption")["Egg/all"]["estimate"]), 6);
  EXPECT_EQ(summaryRows(halfSummary, "C0")["/all"]["unit"], "prey per individual");
  EXPECT_EQ(summaryRows(halfSummary, "r")["/all"]["unit"], "per day");
  EXPECT_EQ(summaryRows(halfSummary, "ln_omega")["/all"]["unit"], "");
  // Standard output names the unit of psi and omega at this time unit.
  EXPECT_NE(half.out.find("prey per individual per day"), std::string::npos) << half.out;
}

// Thirty individuals, ten of each sex code; only females 1 and 2 lay eggs, so about one
// replicate in eight (28/30)^30 draws neither.
std::string thirtyIndividuals() {
  std::string text =
      "Thirty\nAnn\n2026-01-02\n30\n3,3\nF,Egg,Larva,Female\nM,Egg,Larva,Male\n"
      "N,Egg,Larva,Unknown\nEgg,Larva\n";
  for (int i = 1; i <= 30; ++i) {
    const std::string n = std::to_string(i);
    const int eats = 2 + i % 3;
    if (i <= 20) {
      text += n + (i <= 10 ? ",F" : ",M") + ",2,3,5\n-1\n" + std::to_string(eats) + "," +
              std::to_string(eats) + ",2,-1\n4,4,5,4,4,-1\n";
    } else {
      text += n + ",N,2,-2\n-1\n" + std::to_string(eats) + ",3,-1\n";
    }
  }
  return text;
}

std::string twoLayingFemales() {
  std::string text = "1,0,5,5,3,0\n2,0,0,4,4,1\n";
  for (int i = 3; i <= 10; ++i) text += std::to_string(i) + ",0,0,0,0,0\n";
  return text;
}

std::vector<std::string> filesStartingWith(const fs::path& folder, const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix)) names.push_back(name);
  }
  return names;
}

TEST(RefereeStatistics, TheBootstrapWithFecundityKeepsReplicatesWithoutEggs) {
  TemporaryFolder plainFolder("plain");
  TemporaryFolder eggsFolder("eggs");
  for (const TemporaryFolder* folder : {&plainFolder, &eggsFolder}) {
    write(folder->file("thirty.txt"), thirtyIndividuals());
  }
  write(eggsFolder.file("eggs.txt"), twoLayingFemales());
  const test_support::CommandLineRun plain = test_support::runCommandLine(
      {"run", plainFolder.file("thirty.txt"), "--bootstrap", "400", "--seed", "11"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  const test_support::CommandLineRun eggs = test_support::runCommandLine(
      {"run", eggsFolder.file("thirty.txt"), "--fecundity", eggsFolder.file("eggs.txt"),
       "--bootstrap", "400", "--seed", "11", "--write-samples"});
  ASSERT_EQ(eggs.status, 0) << eggs.err;

  // The replicates are drawn the same way with or without the eggs.
  std::vector<std::string> same;
  for (const char* prefix : {"thirty_4_Bootstrap_C0", "thirty_24_", "thirty_Effective Boots-",
                             "thirty_9_Bootstrap-Co frequency.txt"}) {
    for (const std::string& name : filesStartingWith(plainFolder.path(), prefix)) {
      same.push_back(name);
    }
  }
  ASSERT_GT(same.size(), 10U);
  for (const std::string& name : same) {
    EXPECT_EQ(readFile(eggsFolder.path() / name), readFile(plainFolder.path() / name)) << name;
  }
  const std::string plainSummary = readFile(plainFolder.file("thirty_summary.csv"));
  const std::string eggsSummary = readFile(eggsFolder.file("thirty_summary.csv"));
  for (const char* quantity : {"C0", "stage_consumption", "preadult_consumption",
                               "total_consumption", "daily_consumption"}) {
    EXPECT_EQ(summaryRows(eggsSummary, quantity), summaryRows(plainSummary, quantity)) << quantity;
  }

  // R0 has a value in every replicate, 0 in those without eggs; r only where eggs were laid.
  Row r0 = summaryRows(eggsSummary, "R0")["/all"];
  Row r = summaryRows(eggsSummary, "r")["/all"];
  EXPECT_EQ(r0["replicates"], "400");
  const int barren = 400 - std::stoi(r["replicates"]);
  EXPECT_GT(barren, 20);
  EXPECT_LT(barren, 90);
  const std::string line = std::to_string(barren) + " of 400 replicates drew no laying female";
  EXPECT_NE(eggs.out.find(line + "\n"), std::string::npos) << eggs.out;
  EXPECT_NE(readFile(eggsFolder.file("thirty_0_Bootstrap_Output.txt")).find(line),
            std::string::npos);
  EXPECT_NE(readFile(eggsFolder.file("thirty_run.json"))
                .find("\"barren_replicates\": " + std::to_string(barren)),
            std::string::npos);
  // A samples file cannot hold a replicate without eggs.
  EXPECT_FALSE(fs::exists(eggsFolder.file("thirty_11_Bootstrap_samples_from_fecundity.txt")));
  EXPECT_NE(eggs.err.find("The samples file was not written: " + line), std::string::npos)
      << eggs.err;

  // Drawn again, every replicate has eggs, and the samples file is written.
  const test_support::CommandLineRun redrawn = test_support::runCommandLine(
      {"run", eggsFolder.file("thirty.txt"), "--fecundity", eggsFolder.file("eggs.txt"),
       "--bootstrap", "400", "--seed", "11", "--redraw-barren", "--write-samples"});
  ASSERT_EQ(redrawn.status, 0) << redrawn.err;
  const std::string redrawnSummary = readFile(eggsFolder.file("thirty_summary.csv"));
  EXPECT_EQ(summaryRows(redrawnSummary, "r")["/all"]["replicates"], "400");
  EXPECT_NE(redrawn.out.find(std::to_string(barren) + " replicates were drawn again\n"),
            std::string::npos)
      << redrawn.out;
  EXPECT_TRUE(fs::exists(eggsFolder.file("thirty_11_Bootstrap_samples_from_fecundity.txt")));
  EXPECT_NE(summaryRows(redrawnSummary, "C0"), summaryRows(eggsSummary, "C0"));
}

TEST(RefereeStatistics, WithoutFemalesFHasNoValue) {
  TemporaryFolder folder;
  write(folder.file("males.txt"),
        "Males\nAnn\n2026-01-02\n2\n2,2\nM,Egg,Male\nN,Egg,Unknown\nEgg,Male\n"
        "1,M,1,2,-1,5,7,-1\n2,N,-1,-1\n");
  write(folder.file("none.txt"), "# no female\n");
  const test_support::CommandLineRun run = test_support::runCommandLine(
      {"run", folder.file("males.txt"), "--fecundity", folder.file("none.txt")});
  ASSERT_EQ(run.status, 0) << run.err;
  Row f = summaryRows(readFile(folder.file("males_summary.csv")), "F")["/F"];
  EXPECT_EQ(f["estimate"], "");
  EXPECT_EQ(f["unit"], "eggs per female");
}

const fs::path kThreeStages = fs::path(TEST_DATA_DIR) / "golden" / "three_stages_same_samples";

TEST(RefereeStatistics, ASasdFileOfAnotherStudyIsRefusedNamingFileLineAndCause) {
  TemporaryFolder folder;
  fs::copy_file(kThreeStages / "study.txt", folder.file("study.txt"));
  const std::string sasd = readFile(kThreeStages / "sasd.txt");
  const auto refusal = [&](const std::string& name, const std::string& text) {
    write(folder.file(name), text);
    const test_support::CommandLineRun run = test_support::runCommandLine(
        {"run", folder.file("study.txt"), "--sasd", folder.file(name)});
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_FALSE(fs::exists(folder.file("study_0_Output_Finite_Predation_Rate_omega.txt")));
    return run.err;
  };
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = sasd;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
  };
  // Individual 2 of the study is a male.
  EXPECT_NE(refusal("male.txt", replaced("1,F,4,1", "2,F,4,1"))
                .find("male.txt, line 19, female record 1: female no. 2 of this file is a male "
                      "in the study"),
            std::string::npos);
  EXPECT_NE(refusal("lifespan.txt", replaced("1,F,4,1", "1,F,58,1"))
                .find("female no. 1 of this file ends at age 58, but her lifespan in the study is "
                      "5 time units"),
            std::string::npos);
  EXPECT_NE(refusal("count.txt", replaced("\"Individuals\"\n3", "\"Individuals\"\n80"))
                .find("count.txt, line 15, the number of individuals: this file describes 80 "
                      "individuals, the study has 3"),
            std::string::npos);
  // One age too few, then one too many, for the study's 5 ages and 4 stage columns.
  EXPECT_NE(refusal("short.txt", replaced("0,0,.05,.05\n\"Individuals\"", "\"Individuals\""))
                .find("the distribution ends after 16 values, but this study needs 20 values"),
            std::string::npos);
  EXPECT_NE(refusal("long.txt", replaced("\"Individuals\"", "0,0,0,0\n\"Individuals\""))
                .find("the distribution goes on after the 20 values"),
            std::string::npos);
  EXPECT_NE(refusal("tail.txt", sasd + "4,F,3,1,1,2,0\n")
                .find("something follows the last of the 1 female records"),
            std::string::npos);
}

}  // namespace referee
}  // namespace
}  // namespace pellmar
