#include "core/data/study_reader.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "core/analysis/report/number_format.h"
#include "core/data/field_reader.h"
#include "core/platform/utf8_path.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

std::string individualText(int i) { return "individual no. " + formatInteger(i); }

// Reads a count of the header that must be a whole number within [low, high].
int readCount(FieldReader& fields, const std::string& what, int low, int high) {
  const double value = fields.readNumber();
  if (value != std::floor(value) || value < low || value > high) {
    throwDataFileError("The " + what + " is " + formatDigits(value) +
                       "; it must be a whole number from " + formatInteger(low) + " to " +
                       formatInteger(high) + ".");
  }
  return static_cast<int>(value);
}

void readHeader(FieldReader& fields, StudyData& study) {
  fields.setContext("the header");
  study.projectTitle = fields.readText();
  study.userName = fields.readText();
  study.studyDate = fields.readText();
  study.individualCount = readCount(fields, "number of individuals", 1, kMaxIndividuals);
  study.sexCount = readCount(fields, "number of stage-name lines", 1, kMaxStageNameLines);
  study.stageCount = readCount(fields, "number of stages", 2, kMaxStageColumns);
  const int m = study.stageCount;
  study.sexCode.assign(static_cast<std::size_t>(study.sexCount) + 1, std::string());
  study.stageName.assign(static_cast<std::size_t>(study.sexCount) + 1,
                         std::vector<std::string>(static_cast<std::size_t>(m) + 2));
  fields.setContext("the stage-name lines");
  for (int k = 1; k <= study.sexCount; ++k) {
    study.sexCode[static_cast<std::size_t>(k)] = fields.readText();
    for (int j = 1; j <= m; ++j) {
      study.stageName[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)] = fields.readText();
    }
  }
  fields.setContext("the special grouping line");
  study.spanStageName[1] = fields.readText();
  study.spanStageName[2] = fields.readText();
}

class IndividualReader {
 public:
  IndividualReader(FieldReader& fields, StudyData& study, StudyReadMode mode)
      : fields_(fields), study_(study), mode_(mode), m_(study.stageCount) {}

  void read(int i);

 private:
  [[nodiscard]] bool checking() const { return mode_ == StudyReadMode::kOpeningCheck; }
  [[nodiscard]] bool full() const {
    return mode_ != StudyReadMode::kOpeningCheck && mode_ != StudyReadMode::kLightCheck;
  }
  [[nodiscard]] bool checksAdultStage() const { return mode_ != StudyReadMode::kFullRead; }
  // The fault of a record's serial number, sex code or adult stage, in the command's words.
  [[noreturn]] void failRecord(int i, const std::string& openingMessage) const;

  void readDurations(IndividualRecord& record, int i);
  void readConsumption(IndividualRecord& record, int i);
  void store(IndividualRecord& record, int j, double value, int i);
  void skipDays(IndividualRecord& record, int count, int i);
  void advance(int i);

  FieldReader& fields_;
  StudyData& study_;
  StudyReadMode mode_;
  int m_;
  int age_ = 0;
};

void IndividualReader::read(int i) {
  fields_.setContext(individualText(i));
  IndividualRecord& record = study_.individuals[static_cast<std::size_t>(i)];
  record = IndividualRecord{};
  const double serial = fields_.readNumber();
  record.sex = fields_.readText();
  const bool knownSex = record.sex == "F" || record.sex == "M" || record.sex == "N";
  if (serial != i || !knownSex) {
    failRecord(i,
               "Check data of individual no. " + formatInteger(i - 1) + " or " + formatInteger(i));
  }
  // Only a serial number equal to i gets here, so it fits an int whatever the file held.
  record.serialNumber = i;
  if (record.sex == "M" && m_ + 1 > kMaxStageColumns) {
    throwDataFileError("Individual no." + formatInteger(i) +
                       " is a male, but a study with males can have at most " +
                       formatInteger(kMaxStageColumns - 1) + " stages.");
  }
  record.stageDuration.assign(static_cast<std::size_t>(m_) + 2, 0.0);
  record.stageConsumption.assign(static_cast<std::size_t>(m_) + 2, 0.0);
  readDurations(record, i);
  readConsumption(record, i);
}

void IndividualReader::readDurations(IndividualRecord& record, int i) {
  const bool isN = record.sex == "N";
  for (int j = 1; j <= m_; ++j) {
    if (isN && j >= m_) {
      if (!checksAdultStage()) break;
      failRecord(
          i, "Individual no." + formatInteger(i) + " is type N with adult stage. It is incorrect.");
    }
    const double duration = fields_.readNumber();
    if (duration != std::floor(duration)) {
      throwDataFileError("Individual no." + formatInteger(i) + ": the duration of stage " +
                         formatInteger(j) + " is " + formatDigits(duration) +
                         "; durations are whole numbers of time units.");
    }
    if (std::fabs(duration) > kMaxAgeCounter) {
      throwDataFileError("Individual no." + formatInteger(i) + ": the duration of stage " +
                         formatInteger(j) + " is longer than " + formatInteger(kMaxAgeCounter) +
                         " time units, the longest life that can be analysed.");
    }
    record.stageDuration[static_cast<std::size_t>(j)] = duration;
    if (duration < 0) {
      if (checking() && !isN) {
        throwDataFileError("Individual no." + formatInteger(i) +
                           " is type F or M without adult stage. It is incorrect.");
      }
      break;
    }
  }
}

void IndividualReader::failRecord(int i, const std::string& openingMessage) const {
  if (mode_ == StudyReadMode::kJackknifeRead) {
    throw UserError("Error in data file!",
                    "Error in data file, please correct it! Individual no." + formatInteger(i) +
                        "or" + formatInteger(i + 1) + ".",
                    ErrorKind::kProgramEnds);
  }
  if (mode_ == StudyReadMode::kBootstrapRead) {
    throwDataFileError("Check data of individual no. " + formatInteger(i - 1) + " or " +
                       formatInteger(i));
  }
  throwDataFileError(openingMessage);
}

void IndividualReader::advance(int i) {
  if (++age_ > kMaxAgeCounter) {
    throwDataFileError("Individual no." + formatInteger(i) + " lives longer than " +
                       formatInteger(kMaxAgeCounter) +
                       " time units, the longest life that can be analysed.");
  }
}

void IndividualReader::store(IndividualRecord& record, int j, double value, int i) {
  auto& daily = record.dailyConsumption;
  if (static_cast<int>(daily.size()) <= age_) daily.resize(static_cast<std::size_t>(age_) + 1, 0.0);
  daily[static_cast<std::size_t>(age_)] = value;
  if (full()) {
    record.stageConsumption[static_cast<std::size_t>(j)] += value;
    const int column = (j >= m_ && record.sex == "M") ? m_ + 1 : j;
    study_.T.growRows(age_ + 2);
    study_.T(age_, column) += value;
    record.dailyColumn.resize(daily.size(), 0);
    record.dailyColumn[static_cast<std::size_t>(age_)] = column;
  }
  advance(i);
}

void IndividualReader::skipDays(IndividualRecord& record, int count, int i) {
  for (int day = 0; day < count; ++day) {
    auto& daily = record.dailyConsumption;
    if (static_cast<int>(daily.size()) <= age_)
      daily.resize(static_cast<std::size_t>(age_) + 1, 0.0);
    advance(i);
  }
}

void IndividualReader::readConsumption(IndividualRecord& record, int i) {
  age_ = 0;
  for (int j = 1; j <= m_; ++j) {
    const double duration = record.stageDuration[static_cast<std::size_t>(j)];
    const int days = static_cast<int>(std::fabs(duration));
    bool ended = false;
    int k = 1;
    for (; k <= days + 1; ++k) {
      const double value = fields_.readNumber();
      if (duration < 0 && checking() && k == days + 1 && value > 0) {
        throwDataFileError("Error in individual no. " + formatInteger(i) + ".");
      }
      if (value == -1) {
        ended = true;
        break;
      }
      if (duration >= 0 && checking() && value < 0) {
        throwDataFileError("Individual no." + formatInteger(i) + ", age" + formatInteger(age_) +
                           ". Predation rate <0. It is incorrect.");
      }
      store(record, j, value, i);
    }
    if (duration >= 0) {
      study_.lastAgeRead = std::max(study_.lastAgeRead, static_cast<double>(age_));
      if (ended) skipDays(record, days - k + 1, i);
    } else if (ended) {
      // The stage of death ends the individual's record.
      study_.lastAgeRead = std::max(study_.lastAgeRead, static_cast<double>(age_));
      skipDays(record, days - k + 1, i);
      break;
    }
  }
  if (full()) {
    record.dailyConsumption.resize(static_cast<std::size_t>(age_) + 2, 0.0);
    record.dailyConsumption[static_cast<std::size_t>(age_) + 1] = -1.0;
    record.dailyColumn.resize(record.dailyConsumption.size(), 0);
  }
}

}  // namespace

void requireDataFile(const std::string& path) {
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(pathFromUtf8(path), error)) {
    throwDataFileError("The data file \"" + path + "\" cannot be found.");
  }
}

std::string loadDataFile(const std::string& path) {
  requireDataFile(path);
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  if (!in && !in.eof()) throwDataFileError("The data file \"" + path + "\" cannot be read.");
  return std::move(contents).str();
}

StudyData parseStudy(std::string contents, StudyReadMode mode, const StudyData& base) {
  StudyData study;
  study.dataFileName = base.dataFileName;
  study.outputBaseName = base.outputBaseName;
  study.basicOutputFileName = base.basicOutputFileName;
  study.timeUnit = base.timeUnit;
  study.runStartHour = base.runStartHour;
  study.runStartMinute = base.runStartMinute;
  study.runStartSecond = base.runStartSecond;

  FieldReader fields(std::move(contents));
  readHeader(fields, study);
  study.individuals.resize(static_cast<std::size_t>(study.individualCount) + 1);
  study.T.reset(1, study.stageCount + 2);
  IndividualReader reader(fields, study, mode);
  for (int i = 1; i <= study.individualCount; ++i) reader.read(i);
  return study;
}

void checkStudyOnOpen(StudyData& study) {
  study = parseStudy(loadDataFile(study.dataFileName), StudyReadMode::kOpeningCheck, study);
}

void readStudyInFull(StudyData& study) {
  study = parseStudy(loadDataFile(study.dataFileName), StudyReadMode::kFullRead, study);
}

void checkStudyOnRequest(StudyData& study) {
  study = parseStudy(loadDataFile(study.dataFileName), StudyReadMode::kLightCheck, study);
}

}  // namespace pellmar
