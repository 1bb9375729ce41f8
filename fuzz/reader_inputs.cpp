#include "reader_inputs.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/analysis/basic_run.h"
#include "core/data/fecundity_file.h"
#include "core/data/field_reader.h"
#include "core/data/study_reader.h"
#include "core/platform/platform.h"
#include "core/platform/utf8_path.h"
#include "core/predation/fecundity_life_table.h"
#include "core/predation/life_table_report.h"
#include "core/predation/sasd_reader.h"
#include "core/predation/stable_distribution_file.h"
#include "core/report/number_format.h"
#include "core/resampling/replicate_summary.h"
#include "core/resampling/samples_file.h"
#include "core/resampling/treatment2_file.h"
#include "core/session.h"
#include "core/user_error.h"

namespace pellmar::fuzz {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

// A folder of this process for the files the analysis writes, removed when the process
// ends. Shared memory when there is some: a disk file system may flush every file replaced
// by renaming, which slows each run.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path parent = std::filesystem::is_directory(memory, error)
                                             ? memory
                                             : std::filesystem::temp_directory_path();
    path_ = parent / ("pellmar_fuzz_" + std::to_string(platform::processId()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  [[nodiscard]] std::string path() const { return utf8FromPath(path_); }

 private:
  std::filesystem::path path_;
};

std::string scratchFolder() {
  static const ScratchFolder folder;
  return folder.path();
}

// A session after the Basic Run of the study in `dataFile`: the state in which the later
// readers are used.
Session analysedSession(const std::string& dataFile, const std::string& name) {
  StudyData base;
  base.outputBaseName = scratchFolder() + "/" + name;
  Session session;
  session.study = parseStudy(readFile(dataFile), StudyReadMode::kFullRead, base);
  runBasicRunSteps(session);
  return session;
}

std::vector<Session>& analysedCohorts() {
  static std::vector<Session> cohorts = [] {
    std::vector<Session> sessions;
    sessions.push_back(analysedSession(EXAMPLES_DIR "/lady_beetle.txt", "lady_beetle"));
    sessions.push_back(analysedSession(TEST_DATA_DIR "/golden/three_stages_same_samples/study.txt",
                                       "three_stages"));
    return sessions;
  }();
  return cohorts;
}

bool readsCleanly(std::string_view input, StudyReadMode mode, const StudyData& base,
                  StudyData* into = nullptr) {
  try {
    StudyData study = parseStudy(std::string(input), mode, base);
    if (into != nullptr) *into = std::move(study);
    return true;
  } catch (const UserError&) {
    return false;
  }
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
  StudyData names;
  names.outputBaseName = scratchFolder() + "/study";
  readsCleanly(input, StudyReadMode::kLightCheck, names);
  readsCleanly(input, StudyReadMode::kBootstrapRead, names);
  readsCleanly(input, StudyReadMode::kJackknifeRead, names);
  const bool opens = readsCleanly(input, StudyReadMode::kOpeningCheck, names);
  Session session;
  if (!readsCleanly(input, StudyReadMode::kFullRead, names, &session.study) || !opens) return;
  try {
    runBasicRunSteps(session);
  } catch (const UserError&) {
    // A file that cannot be written is a fault of the folder, not of the data.
  }
}

void feedSasdFile(std::string_view input) {
  for (Session& session : analysedCohorts()) {
    session.predation = PredationState{};
    try {
      readStableDistribution(session, std::make_unique<std::istringstream>(std::string(input)));
    } catch (const UserError&) {
    }
  }
}

void feedSamplesFile(std::string_view input) {
  std::vector<int> individuals;
  for (const Session& session : analysedCohorts()) {
    try {
      SamplesFileReader reader(std::make_unique<std::istringstream>(std::string(input)),
                               session.study.individualCount);
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
  for (Session& session : analysedCohorts()) {
    FecundityData eggs;
    try {
      eggs = parseFecundity(input, "eggs.txt", session.study);
    } catch (const UserError&) {
      continue;
    }
    const FecundityLifeTable table = computeFecundityLifeTable(session.study, session.basic, eggs);
    lifeTableReport(session.study, table);
    if (!table.growth) continue;
    // The file Pellmar writes for itself must read back; a UserError here escapes as a fault.
    session.predation = PredationState{};
    readStableDistribution(session, std::make_unique<std::istringstream>(
                                        stableDistributionFile(session.study, table).contents()));
    if (session.predation.finiteRate != table.growth->lambda) {
      throw std::logic_error("The stable distribution file reads back another lambda.");
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

}  // namespace pellmar::fuzz
