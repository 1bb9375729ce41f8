// Inputs that once crashed a reader, or the analysis behind it, under the fuzz targets. Each
// stored input is fed through its reader the way the fuzz target feeds it; the cases found
// are also checked for the answer the user now gets.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/analysis/figure_files.h"
#include "core/data/study_reader.h"
#include "core/predation/sasd_reader.h"
#include "core/user_error.h"
#include "reader_inputs.h"
#include "resampling_test_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using test_support::analysedCohort;
using test_support::TemporaryFolder;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct StoredInput {
  std::string target;
  fs::path file;
};

std::vector<StoredInput> storedInputs() {
  std::vector<StoredInput> inputs;
  for (const auto& folder : fs::directory_iterator(fs::path(TEST_DATA_DIR) / "fuzz")) {
    for (const auto& file : fs::directory_iterator(folder.path())) {
      inputs.push_back({folder.path().filename().string(), file.path()});
    }
  }
  return inputs;
}

void PrintTo(const StoredInput& input, std::ostream* out) {
  *out << input.target << "/" << input.file.filename().string();
}

class StoredFuzzInput : public ::testing::TestWithParam<StoredInput> {};

TEST_P(StoredFuzzInput, IsReadCleanlyOrRefusedWithAMessage) {
  const StoredInput& input = GetParam();
  const std::string text = test_support::readFile(input.file.string());
  const std::string& target = input.target;
  if (target == "fuzz_field_reader") {
    EXPECT_NO_THROW(fuzz::feedFieldReader(text));
  } else if (target == "fuzz_study_file") {
    EXPECT_NO_THROW(fuzz::feedStudyFile(text));
  } else if (target == "fuzz_sasd_file") {
    EXPECT_NO_THROW(fuzz::feedSasdFile(text));
  } else if (target == "fuzz_samples_file") {
    EXPECT_NO_THROW(fuzz::feedSamplesFile(text));
  } else if (target == "fuzz_fecundity_file") {
    EXPECT_NO_THROW(fuzz::feedFecundityFile(text));
  } else if (target == "fuzz_treatment2_file") {
    EXPECT_NO_THROW(fuzz::feedTreatment2File(text));
  } else {
    ADD_FAILURE() << "no fuzz target is named " << target;
  }
}

INSTANTIATE_TEST_SUITE_P(Found, StoredFuzzInput, ::testing::ValuesIn(storedInputs()),
                         [](const ::testing::TestParamInfo<StoredInput>& test) {
                           std::string name =
                               test.param.target + "_" + test.param.file.stem().string();
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(FuzzFindings, SerialNumberBeyondEveryIntegerIsTheSerialFault) {
  const std::string file = "T\nU\nD\n1\n1,2\nF,Egg,Adult\nE,A\n99999999999,F,1,1,-1,-1\n";
  try {
    test_support::studyFrom(file);
    ADD_FAILURE() << "read without a fault";
  } catch (const UserError& error) {
    EXPECT_PRED2(contains, error.text(), std::string("Check data of individual no. 0 or 1\n"));
  }
}

TEST(FuzzFindings, CohortWhoseFirstStagesLastNoTimeHasNoAgeRows) {
  // Every first stage lasts 0 time units, so the last age index is -1: the age curve file is
  // its heading and a closing line at age 0.
  TemporaryFolder folder;
  const test_support::AnalysedStudy analysed = test_support::analysedStudy(
      "Starved\nNobody\n2026-04-02\n2\n3,3\nF,Egg,Larva,Female\nM,Egg,Larva,Male\n"
      "N,Egg,Larva,Unknown\nEgg,Larva\n1,F,0,2,2,-1,-1,-1\n2,N,0,-1,-1,-1\n",
      1.0, folder.base());
  EXPECT_EQ(analysed.basic.maxAgeIndex, -1);
  test_support::writeFiles(folder.base(), [&](OutputFiles& files) {
    writeFigureFiles(analysed.study, analysed.basic, files);
  });
  const std::vector<std::string> lines =
      test_support::linesOf(test_support::readFile(folder.base() + "_2_Fig_Age_lx_Kx_qx.txt"));
  ASSERT_EQ(lines.size(), 5U);
  EXPECT_EQ(lines[4], "0,0,0,0,0,0,0");
}

// A stable age-stage distribution of the small cohort (maxAgeIndex 5, five stage columns) with
// the given individual count and female records.
std::string sasdFile(const std::string& individuals, const std::string& records) {
  std::string text =
      "\"SASD\"\n\"Moth\"\n\"Ann\"\n\"2026-01-02\"\n\"lambda\"\n1.2\n\"In Column\"\n";
  text += "\"a(x,j)\"\n";
  for (int value = 0; value < 30; ++value) text += ".01,";
  return text + "\n\"Individuals\"\n" + individuals + "\n\"Females\"\n1\n\"Ind.\"\n" + records;
}

PredationRates readSasdText(const test_support::AnalysedStudy& analysed, const std::string& text) {
  return readSasd(InputFile{"sasd.txt", text, ""}, analysed.study, analysed.basic);
}

TEST(FuzzFindings, SasdNumbersBeyondEveryIntegerAreRefusedOrKeptOutsideTheTables) {
  TemporaryFolder folder;
  const test_support::AnalysedStudy analysed = analysedCohort(folder.base());
  try {
    readSasdText(analysed, sasdFile("99999999999", "1,F,5,1,3,4,0\n"));
    ADD_FAILURE() << "read without a fault";
  } catch (const UserError& error) {
    EXPECT_PRED2(contains, error.text(),
                 std::string("this file describes 99999999999 individuals, the study has 4."));
  }
  try {
    readSasdText(analysed, sasdFile("4", "99999999999,F,5,1,3,4,0\n"));
    ADD_FAILURE() << "read without a fault";
  } catch (const UserError& error) {
    EXPECT_PRED2(contains, error.text(),
                 std::string("individual no. 99999999999 is not in this cohort of 4."));
  }

  // An end age far beyond every table is not the female's lifespan: the file is of another study.
  try {
    readSasdText(analysed, sasdFile("4", "1,F,99999999999,1,3,4,0\n"));
    ADD_FAILURE() << "read without a fault";
  } catch (const UserError& error) {
    EXPECT_PRED2(contains, error.text(),
                 std::string("female no. 1 of this file ends at age 99999999999, but her lifespan "
                             "in the study is 6 time units"));
  }
}

}  // namespace
}  // namespace pellmar
