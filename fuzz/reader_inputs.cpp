#include "reader_inputs.h"

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/analysis/basic_run.h"
#include "core/data/fecundity_file.h"
#include "core/data/field_reader.h"
#include "core/data/input_file.h"
#include "core/data/study_reader.h"
#include "core/exports/results_summary.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/life_table_report.h"
#include "core/predation/sasd_reader.h"
#include "core/predation/stable_distribution_file.h"
#include "core/report/number_format.h"
#include "core/resampling/bootstrap.h"
#include "core/resampling/paired_test.h"
#include "core/resampling/replicate_summary.h"
#include "core/resampling/samples_file.h"
#include "core/resampling/treatment2_file.h"
#include "core/user_error.h"

namespace pellmar::fuzz {
namespace {

InputFile inputOf(std::string_view bytes, const std::string& name) {
  return InputFile{name, std::string(bytes), ""};
}

// A study after its Basic Run: the state in which the later readers are used.
struct AnalysedStudy {
  Study study;
  BasicRunResults basic;
};

AnalysedStudy analysedStudy(const std::string& dataFile) {
  InputFileReader reader;
  AnalysedStudy analysed{readStudy(reader.read(dataFile, "study"), 1.0, "study"), {}};
  analysed.basic = basicRun(analysed.study);
  return analysed;
}

const std::vector<AnalysedStudy>& analysedCohorts() {
  static const std::vector<AnalysedStudy> cohorts = [] {
    std::vector<AnalysedStudy> studies;
    studies.push_back(analysedStudy(EXAMPLES_DIR "/lady_beetle.txt"));
    studies.push_back(analysedStudy(TEST_DATA_DIR "/golden/three_stages_same_samples/study.txt"));
    return studies;
  }();
  return cohorts;
}

// What reading every field gives: texts and numbers in a fixed pattern, each with the line it
// ended on, and the message that ended the reading if one did.
std::vector<std::string> fieldsOf(FieldReader& reader) {
  std::vector<std::string> read;
  try {
    for (int k = 0; k < 100000 && !reader.atEndOfData(); ++k) {
      if (k % 3 == 0) {
        read.push_back("text " + reader.readText());
      } else {
        read.push_back("number " + formatDigits(reader.readNumber()));
      }
      read.back() += " line " + std::to_string(reader.lineNumber());
    }
  } catch (const UserError& error) {
    read.push_back("error " + error.text());
  }
  return read;
}

}  // namespace

void feedFieldReader(std::string_view input) {
  // The fields read, or the refusal of the whole file (UTF-16 text without its mark is refused
  // as the reader starts), must be the same whether the file is read in memory or in blocks.
  const auto readAll = [input](std::size_t blockSize) -> std::vector<std::string> {
    try {
      if (blockSize == 0) {
        FieldReader inMemory{std::string(input)};
        return fieldsOf(inMemory);
      }
      FieldReader streamed(std::make_unique<std::istringstream>(std::string(input)),
                           dataFileErrorStyle(), blockSize);
      return fieldsOf(streamed);
    } catch (const UserError& error) {
      return {"refused " + error.text()};
    }
  };
  const std::vector<std::string> expected = readAll(0);
  for (const std::size_t blockSize : {std::size_t{3}, std::size_t{4}, std::size_t{7}}) {
    if (readAll(blockSize) != expected) {
      throw std::logic_error("Read in blocks of " + std::to_string(blockSize) +
                             " bytes, the fields differ from those read in memory.");
    }
  }
}

void feedStudyFile(std::string_view input) {
  Study study;
  try {
    study = readStudy(inputOf(input, "study.txt"), 1.0, "study");
  } catch (const UserError&) {
    return;
  }
  const BasicRunResults basic = basicRun(study);
  ReportWriter report;
  ReportCounters counters;
  ReportPages pages{report, counters};
  writeBasicReport(study, basic, pages);
}

void feedSasdFile(std::string_view input) {
  for (const AnalysedStudy& analysed : analysedCohorts()) {
    try {
      readSasd(inputOf(input, "sasd.txt"), analysed.study, analysed.basic);
    } catch (const UserError&) {
    }
  }
}

void feedSamplesFile(std::string_view input) {
  std::vector<int> individuals;
  for (const AnalysedStudy& analysed : analysedCohorts()) {
    try {
      SamplesFileReader reader(std::make_unique<std::istringstream>(std::string(input)),
                               analysed.study.individualCount);
      double r0 = 0.0;
      double lambda = 0.0;
      for (int b = 1; b <= reader.replicateCount(); ++b) {
        reader.readReplicate(b, individuals, r0, lambda);
      }
      reader.readClosingFigures();
    } catch (const UserError&) {
    }
  }
}

void feedFecundityFile(std::string_view input) {
  for (const AnalysedStudy& analysed : analysedCohorts()) {
    FecundityData eggs;
    try {
      eggs = parseFecundity(input, "eggs.txt", analysed.study);
    } catch (const UserError&) {
      continue;
    }
    const FecundityLifeTable table =
        computeFecundityLifeTable(analysed.study, analysed.basic, eggs);
    lifeTableReport(analysed.study, table);
    if (!table.growth) continue;
    // The file Pellmar writes for itself must read back to the rates it computes without it; a
    // UserError here escapes as a fault.
    const PredationRates computed = predationRatesOf(analysed.study, analysed.basic, table);
    const PredationRates read =
        readSasd(inputOf(stableDistributionFile(analysed.study, table).contents(), "sasd.txt"),
                 analysed.study, analysed.basic);
    if (read.finiteRate != table.growth->lambda ||
        read.stablePredationRate != computed.stablePredationRate ||
        read.finitePredationRate != computed.finitePredationRate) {
      throw std::logic_error("The stable distribution file reads back other rates.");
    }
  }
}

void feedTreatment2File(std::string_view input) {
  try {
    const Treatment2 treatment = parseTreatment2(std::string(input));
    summarizeReplicates(treatment.values, treatment.count);
  } catch (const UserError&) {
  }
}

void feedSecondStudy(std::string_view input) {
  Study second;
  try {
    second = readStudy(inputOf(input, "second.txt"), 1.0, "second");
  } catch (const UserError&) {
    return;
  }
  const AnalysedStudy& first = analysedCohorts().back();
  const BasicRunResults secondBasic = basicRun(second);
  constexpr int kReplicates = 5;
  const BootstrapResults firstBoot = ownSamplesBootstrap(
      first.study, first.basic,
      OwnSamplesOptions{kReplicates, first.study.individualCount, 1, false}, nullptr, {});
  const BootstrapResults secondBoot = ownSamplesBootstrap(
      second, secondBasic, OwnSamplesOptions{kReplicates, second.individualCount, 2, false},
      nullptr, {});
  pairedBootstrapTest(bootstrapReplicates(StudyResults{first.study, &first.basic, nullptr, nullptr,
                                                       &firstBoot, nullptr}),
                      bootstrapReplicates(StudyResults{second, &secondBasic, nullptr, nullptr,
                                                       &secondBoot, nullptr}),
                      0.95);
}

}  // namespace pellmar::fuzz
