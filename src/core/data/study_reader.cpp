#include "core/data/study_reader.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "core/data/field_reader.h"
#include "core/data/input_file.h"
#include "core/data/stage_label.h"
#include "core/platform/utf8_path.h"
#include "core/report/number_format.h"
#include "core/report/text_encoding.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

std::string individualText(int i) { return "individual no. " + formatInteger(i); }

// How the first three fields were read. A blank line among the first three lines makes no
// field, so every later field moves up one: shown with a fault of the header, it makes the
// shift visible.
std::string headerAsRead(const Study& study) {
  return "The first three lines were read as the project \"" + echoedField(study.projectTitle) +
         "\", the user \"" + echoedField(study.userName) + "\" and the date \"" +
         echoedField(study.studyDate) +
         "\"; a blank or missing line among them moves every later field.";
}

// The first character of `name` that no file system takes in a file name, as the characters of
// a message show it; empty when there is none.
std::string characterNoFileNameTakes(const std::string& name) {
  for (const char c : fileNameText(name)) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F ||
        std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
      return echoedField(std::string(1, c));
    }
  }
  return "";
}

// The names of stage-name line 1 and the sex codes become parts of output file names, and the
// first four characters of each pre-adult stage's name head its table columns and name its
// export files: refuses names that cannot be file names on every system, and two stages whose
// cuts would replace each other's files (Windows and macOS do not tell "Inst" from "inst").
void checkNamesForFiles(FieldReader& fields, const Study& study, int firstNameLine) {
  const std::string forbidden =
      ", which cannot be part of a file name; stage names and sex codes are written in file "
      "names, so they may not hold / \\ : * ? \" < > | or control characters.";
  for (int k = 1; k <= study.sexCount; ++k) {
    const std::string& code = study.sexCode[static_cast<std::size_t>(k)];
    if (const std::string bad = characterNoFileNameTakes(code); !bad.empty()) {
      std::string message = "the sex code \"" + echoedField(code) + "\" of stage-name line ";
      message += formatInteger(k);
      message += " holds \"";
      message += bad;
      message += "\"";
      message += forbidden;
      fields.failAt(firstNameLine, message);
    }
  }
  const int m = study.stageCount;
  for (int j = 1; j <= m; ++j) {
    const std::string& name = study.name(1, j);
    if (const std::string bad = characterNoFileNameTakes(name); !bad.empty()) {
      std::string message = "stage " + formatInteger(j);
      message += " (\"";
      message += echoedField(name);
      message += "\") holds \"";
      message += bad;
      message += "\"";
      message += forbidden;
      fields.failAt(firstNameLine, message);
    }
  }
  const auto folded = [&](int j) {
    std::string cut = fileNameText(stageLabel(study, j));
    for (char& c : cut) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return cut;
  };
  for (int j = 2; j < m; ++j) {
    for (int earlier = 1; earlier < j; ++earlier) {
      if (folded(earlier) != folded(j)) continue;
      fields.failAt(firstNameLine,
                    "stages " + formatInteger(earlier) + " and " + formatInteger(j) + " (\"" +
                        echoedField(study.name(1, earlier)) + "\", \"" +
                        echoedField(study.name(1, j)) + "\") are both written as \"" +
                        echoedField(stageLabel(study, earlier)) +
                        "\" in file names and table headings; give them names that differ in "
                        "their first four characters.");
    }
  }
}

// A span whose first or last stage is not a stage of line 1 has no duration: the file stays
// valid (the span is only reported), but the user is told which name was not found.
void warnOfUnknownSpanStages(Study& study, int line) {
  for (std::size_t e = 1; e <= 2; ++e) {
    const std::string& name = study.spanStageName[e];
    bool found = false;
    for (int j = 1; j <= study.stageCount; ++j) found = found || study.name(1, j) == name;
    if (found) continue;
    study.warnings.push_back("Line " + formatInteger(line) + " of " + study.dataFileName +
                             ": the span line names " + echoedField(name) +
                             ", which is not a stage: no span duration is reported.");
  }
}

void readHeader(FieldReader& fields, Study& study) {
  fields.setContext("the header");
  study.projectTitle = fields.readText();
  study.userName = fields.readText();
  study.studyDate = fields.readText();
  fields.setNote(headerAsRead(study));
  const auto count = [&](std::string_view what, int low, int high) {
    return static_cast<int>(fields.readWholeNumber(what, low, high));
  };
  study.individualCount = count("number of individuals", 1, kMaxIndividuals);
  study.sexCount = count("number of stage-name lines", 1, kMaxStageNameLines);
  study.stageCount = count("number of stages", 2, kMaxStageColumns);
  const int m = study.stageCount;
  study.sexCode.assign(static_cast<std::size_t>(study.sexCount) + 1, std::string());
  study.stageName.assign(static_cast<std::size_t>(study.sexCount) + 1,
                         std::vector<std::string>(static_cast<std::size_t>(m) + 2));
  fields.setContext("the stage-name lines");
  int firstNameLine = 0;
  for (int k = 1; k <= study.sexCount; ++k) {
    study.sexCode[static_cast<std::size_t>(k)] = fields.readText();
    if (k == 1) firstNameLine = fields.lastFieldLine();
    for (int j = 1; j <= m; ++j) {
      study.stageName[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)] = fields.readText();
    }
  }
  fields.setContext("the special grouping line");
  study.spanStageName[1] = fields.readText();
  const int spanLine = fields.lastFieldLine();
  study.spanStageName[2] = fields.readText();
  fields.setNote("");
  fields.setContext("the stage-name lines");
  checkNamesForFiles(fields, study, firstNameLine);
  warnOfUnknownSpanStages(study, spanLine);
}

class IndividualReader {
 public:
  IndividualReader(FieldReader& fields, Study& study)
      : fields_(fields), study_(study), m_(study.stageCount) {}

  void read(int i);

 private:
  // A fault whose message has always had these words: they stay as its first line, and the
  // file, the line and the cause follow on a line of their own.
  [[noreturn]] void failWithCause(const std::string& words, int i, int line,
                                  const std::string& cause) const;
  void checkSerialAndSex(const IndividualRecord& record, double serial, int i, int serialLine,
                         int sexLine);
  void readDurations(IndividualRecord& record, int i);
  void readConsumption(IndividualRecord& record, int i);
  void store(IndividualRecord& record, int j, double value);
  void skipDays(IndividualRecord& record, int count);
  void advance();

  FieldReader& fields_;
  Study& study_;
  int m_;
  int age_ = 0;
  std::vector<int> serialLines_;  // [i]: the line of individual i's serial number
};

void IndividualReader::failWithCause(const std::string& words, int i, int line,
                                     const std::string& cause) const {
  throwDataFileError(words + "\nThe file " + study_.dataFileName + ", line " + formatInteger(line) +
                     ", " + individualText(i) + ": " + cause);
}

void IndividualReader::checkSerialAndSex(const IndividualRecord& record, double serial, int i,
                                         int serialLine, int sexLine) {
  const std::string words =
      "Check data of individual no. " + formatInteger(i - 1) + " or " + formatInteger(i);
  if (serial != i) {
    if (serial >= 1 && serial < i && serial == std::floor(serial)) {
      const int earlier = serialLines_[static_cast<std::size_t>(serial)];
      failWithCause(words, i, serialLine,
                    "serial number " + formatDigits(serial) + " appears twice, lines " +
                        formatInteger(earlier) + " and " + formatInteger(serialLine) + ".");
    }
    failWithCause(words, i, serialLine,
                  "the serial number is " + formatDigits(serial) + " where " + formatInteger(i) +
                      " is due; the individuals are numbered 1, 2, 3 ... in order.");
  }
  const std::string& sex = record.sex;
  if (sex != "F" && sex != "M" && sex != "N") {
    const bool lowerCase = sex == "f" || sex == "m" || sex == "n";
    failWithCause(words, i, sexLine,
                  "sex code " + echoedField(sex) + ": use F, M or N" +
                      (lowerCase ? ", in capital letters." : "."));
  }
}

void IndividualReader::read(int i) {
  fields_.setContext(individualText(i));
  IndividualRecord& record = study_.individuals[static_cast<std::size_t>(i)];
  record = IndividualRecord{};
  const double serial = fields_.readNumber();
  const int serialLine = fields_.lastFieldLine();
  record.sex = fields_.readText();
  checkSerialAndSex(record, serial, i, serialLine, fields_.lastFieldLine());
  serialLines_.resize(static_cast<std::size_t>(i) + 1);
  serialLines_[static_cast<std::size_t>(i)] = serialLine;
  // Only a serial number equal to i gets here, so it fits an int whatever the file held.
  record.serialNumber = i;
  if (record.sex == "M" && m_ + 1 > kMaxStageColumns) {
    fields_.failAt(fields_.lastFieldLine(), "a male, but a study with males can have at most " +
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
      failWithCause(
          "Individual no." + formatInteger(i) + " is type N with adult stage. It is incorrect.", i,
          fields_.lastFieldLine(),
          "sex N is an individual that died before the adult stage, but none of its " +
              formatInteger(m_ - 1) +
              " durations before the adult stage is negative, as the stage of its "
              "death is.");
    }
    const double duration = fields_.readNumber();
    if (duration != std::floor(duration)) {
      fields_.failAt(fields_.lastFieldLine(), "the duration of stage " + formatInteger(j) + " is " +
                                                  formatDigits(duration) +
                                                  "; durations are whole numbers of time units.");
    }
    if (std::fabs(duration) > kMaxAgeCounter) {
      fields_.failAt(fields_.lastFieldLine(),
                     "the duration of stage " + formatInteger(j) + " is longer than " +
                         formatInteger(kMaxAgeCounter) +
                         " time units, the longest life that can be analysed.");
    }
    record.stageDuration[static_cast<std::size_t>(j)] = duration;
    if (duration < 0) {
      if (!isN) {
        failWithCause("Individual no." + formatInteger(i) +
                          " is type F or M without adult stage. It is incorrect.",
                      i, fields_.lastFieldLine(),
                      std::string(record.sex == "F" ? "a female" : "a male") + " dies in stage " +
                          formatInteger(j) + " (its duration is " + formatDigits(duration) +
                          "); only individuals of sex N die before the adult stage.");
      }
      break;
    }
  }
}

void IndividualReader::advance() {
  if (++age_ > kMaxAgeCounter) {
    fields_.failAt(fields_.lastFieldLine(),
                   "this individual lives longer than " + formatInteger(kMaxAgeCounter) +
                       " time units, the longest life that can be analysed.");
  }
}

void IndividualReader::store(IndividualRecord& record, int j, double value) {
  auto& daily = record.dailyConsumption;
  if (static_cast<int>(daily.size()) <= age_) daily.resize(static_cast<std::size_t>(age_) + 1, 0.0);
  daily[static_cast<std::size_t>(age_)] = value;
  record.stageConsumption[static_cast<std::size_t>(j)] += value;
  const int column = (j >= m_ && record.sex == "M") ? m_ + 1 : j;
  study_.T.growRows(age_ + 2);
  study_.T(age_, column) += value;
  record.dailyColumn.resize(daily.size(), 0);
  record.dailyColumn[static_cast<std::size_t>(age_)] = column;
  advance();
}

void IndividualReader::skipDays(IndividualRecord& record, int count) {
  for (int day = 0; day < count; ++day) {
    auto& daily = record.dailyConsumption;
    if (static_cast<int>(daily.size()) <= age_)
      daily.resize(static_cast<std::size_t>(age_) + 1, 0.0);
    advance();
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
      if (duration < 0 && k == days + 1 && value > 0) {
        failWithCause(
            "Error in individual no. " + formatInteger(i) + ".", i, fields_.lastFieldLine(),
            "it died after " + formatInteger(days) + " time units of stage " + formatInteger(j) +
                ", so its record ends there with -1, not with " + formatDigits(value) + ".");
      }
      if (value == -1) {
        ended = true;
        break;
      }
      if (duration >= 0 && value < 0) {
        failWithCause("Individual no." + formatInteger(i) + ", age" + formatInteger(age_) +
                          ". Predation rate <0. It is incorrect.",
                      i, fields_.lastFieldLine(),
                      "a consumption of " + formatDigits(value) + " at age " + formatInteger(age_) +
                          "; consumption is 0 or more, and -1 ends a "
                          "stage.");
      }
      store(record, j, value);
    }
    if (duration >= 0) {
      study_.lastAgeRead = std::max(study_.lastAgeRead, static_cast<double>(age_));
      if (ended) skipDays(record, days - k + 1);
    } else if (ended) {
      // The stage of death ends the individual's record.
      study_.lastAgeRead = std::max(study_.lastAgeRead, static_cast<double>(age_));
      skipDays(record, days - k + 1);
      break;
    }
  }
  record.dailyConsumption.resize(static_cast<std::size_t>(age_) + 2, 0.0);
  record.dailyConsumption[static_cast<std::size_t>(age_) + 1] = -1.0;
  record.dailyColumn.resize(record.dailyConsumption.size(), 0);
}

// The data file's error style, with its name: every message says which study it is about.
FieldErrorStyle styleFor(const InputFile& file) {
  FieldErrorStyle style = dataFileErrorStyle();
  style.fileName = file.path;
  return style;
}

}  // namespace

InputFile readDataFile(InputFileReader& reader, const std::string& path) {
  if (path.empty()) throwDataFileError("The data file \"\" cannot be found.");
  const PathContents contents = inspectPath(path);
  if (!contents.exists) throwDataFileError("The data file \"" + path + "\" cannot be found.");
  if (!contents.regularFile) {
    throwDataFileError("\"" + path + "\" is not a data file: it is " + contents.description + ".");
  }
  try {
    return reader.read(path, kDataFileErrorTitle);
  } catch (const UserError&) {
    throwDataFileError("The data file \"" + path + "\" cannot be read.");
  }
}

void checkStudyHeader(const InputFile& file) {
  FieldReader fields(file.bytes, styleFor(file));
  Study study;
  study.dataFileName = file.path;
  readHeader(fields, study);
}

Study readStudy(const InputFile& file, double timeUnit, std::string outputBaseName) {
  Study study;
  study.dataFileName = file.path;
  study.outputBaseName = std::move(outputBaseName);
  study.timeUnit = timeUnit;
  study.sha256 = file.sha256;
  study.bytes = file.bytes.size();
  FieldReader fields(file.bytes, styleFor(file));
  readHeader(fields, study);
  study.individuals.resize(static_cast<std::size_t>(study.individualCount) + 1);
  study.T.reset(1, study.stageCount + 2);
  IndividualReader reader(fields, study);
  for (int i = 1; i <= study.individualCount; ++i) reader.read(i);
  return study;
}

}  // namespace pellmar
