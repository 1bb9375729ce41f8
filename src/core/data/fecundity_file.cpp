#include "core/data/fecundity_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/data/field_reader.h"
#include "core/data/input_file.h"
#include "core/platform/utf8_path.h"
#include "core/report/number_format.h"
#include "core/report/text_encoding.h"
#include "core/user_error.h"

namespace pellmar {
namespace {

// No female lays this many eggs in a time unit; the limit keeps every sum finite.
constexpr double kLargestEggCount = 1e15;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view field) {
  while (!field.empty() && isBlank(field.front())) field.remove_prefix(1);
  while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
  return field;
}

// The fields of one line, blanks around each removed and empty fields at its end dropped.
std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(trimmed(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

std::string listOf(const std::vector<int>& numbers) {
  std::string text;
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) text += k + 1 == numbers.size() ? " and " : ", ";
    text += formatInteger(numbers[k]);
  }
  return text;
}

class FecundityParser {
 public:
  FecundityParser(const std::string& fileName, const Study& study)
      : fileName_(fileName),
        study_(study),
        lineOf_(static_cast<std::size_t>(study.individualCount) + 1, 0) {}

  void readLine(std::string_view line, int lineNumber, FecundityData& data);
  void checkEveryFemaleListed() const;

 private:
  [[noreturn]] void refuse(int line, std::optional<int> individual, std::string_view cause) const;
  [[nodiscard]] int serialNumber(std::string_view field, int line) const;
  [[nodiscard]] double eggCount(std::string_view field, int k, int line, int i) const;

  const std::string& fileName_;
  const Study& study_;
  std::vector<int> lineOf_;  // [i]: the line of female i, 0 before it is read
};

void FecundityParser::refuse(int line, std::optional<int> individual,
                             std::string_view cause) const {
  std::string text = "The fecundity file " + fileName_;
  if (line > 0) text += ", line " + formatInteger(line);
  if (individual) text += ", individual no. " + formatInteger(*individual);
  text += ": ";
  text += cause;
  throw UserError(std::string(kReadFecundityTitle), std::move(text), ErrorKind::kCommandFailed);
}

int FecundityParser::serialNumber(std::string_view field, int line) const {
  double value = 0.0;
  if (field.empty() || !parseDecimal(field, value)) {
    refuse(line, std::nullopt,
           "\"" + echoedField(field) +
               "\" is not a serial number; a line begins with the serial "
               "number of a female.");
  }
  if (value != std::floor(value) || value < 1 || value > study_.individualCount) {
    refuse(line, std::nullopt,
           "there is no individual no. " + echoedField(field) + " in this study of " +
               formatInteger(study_.individualCount) + " individuals.");
  }
  return static_cast<int>(value);
}

double FecundityParser::eggCount(std::string_view field, int k, int line, int i) const {
  const std::string which = "value " + formatInteger(k);
  double value = 0.0;
  if (field.empty()) refuse(line, i, which + " is empty.");
  if (!parseDecimal(field, value)) {
    refuse(line, i, which + ", \"" + echoedField(field) + "\", is not a number.");
  }
  if (value < 0) {
    refuse(line, i, which + ", " + echoedField(field) + ", is negative; eggs are counted from 0.");
  }
  if (!(value < kLargestEggCount)) {
    refuse(line, i, which + ", " + echoedField(field) + ", is too large.");
  }
  return value;
}

void FecundityParser::readLine(std::string_view line, int lineNumber, FecundityData& data) {
  const std::vector<std::string_view> fields = fieldsOf(line);
  if (fields.empty()) return;  // a blank line, or commas only
  if (fields.front().starts_with('#')) return;

  const int i = serialNumber(fields.front(), lineNumber);
  const IndividualRecord& record = study_.individual(i);
  if (record.sex == "M") refuse(lineNumber, i, "a male has no line; only females lay eggs.");
  if (record.sex != "F") {
    refuse(lineNumber, i,
           "this individual died before the adult stage (sex " + record.sex +
               "); only females have a line.");
  }
  int& firstLine = lineOf_[static_cast<std::size_t>(i)];
  if (firstLine != 0) {
    refuse(lineNumber, i,
           "a second line for this female; her first is line " + formatInteger(firstLine) + ".");
  }
  firstLine = lineNumber;

  const int m = study_.stageCount;
  const double adultDuration = record.stageDuration[static_cast<std::size_t>(m)];
  const auto expected = static_cast<std::size_t>(std::max(adultDuration, 0.0));
  const std::size_t given = fields.size() - 1;
  if (given != expected) {
    refuse(lineNumber, i,
           "her adult stage lasts " + formatDigits(adultDuration) + " time units, so " +
               formatDigits(adultDuration) + " values of eggs are expected; the line gives " +
               formatInteger(static_cast<long long>(given)) + ".");
  }

  FemaleEggs female;
  female.individual = i;
  double preadult = 0.0;
  for (int j = 1; j < m; ++j) preadult += record.stageDuration[static_cast<std::size_t>(j)];
  female.firstAdultAge = static_cast<int>(preadult);
  female.eggs.reserve(given);
  for (std::size_t k = 1; k < fields.size(); ++k) {
    female.eggs.push_back(eggCount(fields[k], static_cast<int>(k), lineNumber, i));
  }
  data.females.push_back(std::move(female));
}

void FecundityParser::checkEveryFemaleListed() const {
  std::vector<int> missing;
  for (int i = 1; i <= study_.individualCount; ++i) {
    if (study_.individual(i).sex == "F" && lineOf_[static_cast<std::size_t>(i)] == 0) {
      missing.push_back(i);
    }
  }
  if (missing.empty()) return;
  const bool one = missing.size() == 1;
  refuse(0, std::nullopt,
         std::string(one ? "female no. " : "the females no. ") + listOf(missing) +
             (one ? " has no line" : " have no line") +
             "; every female of the study has one, a line of zeros when she laid no eggs.");
}

}  // namespace

FecundityData parseFecundity(std::string_view bytes, const std::string& fileName,
                             const Study& study) {
  const std::optional<std::string> text = decodeFileText(std::string(bytes));
  if (!text) {
    throw UserError(std::string(kReadFecundityTitle),
                    "The fecundity file " + fileName + " " + std::string(kUtf16WithoutMarkMessage),
                    ErrorKind::kCommandFailed);
  }
  std::string_view contents = *text;
  if (contents.starts_with("\xEF\xBB\xBF")) contents.remove_prefix(3);
  FecundityParser parser(fileName, study);
  FecundityData data;
  data.fileName = fileName;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < contents.size()) {
    ++lineNumber;
    std::size_t end = contents.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = contents.size();
    parser.readLine(contents.substr(start, end - start), lineNumber, data);
    // Line ends are CR LF, LF or a lone CR.
    start = end + 1;
    if (end < contents.size() && contents[end] == '\r' && start < contents.size() &&
        contents[start] == '\n') {
      ++start;
    }
  }
  parser.checkEveryFemaleListed();
  std::sort(data.females.begin(), data.females.end(),
            [](const FemaleEggs& a, const FemaleEggs& b) { return a.individual < b.individual; });
  return data;
}

EggContributions buildEggContributions(const Study& study, const FecundityData& fecundity) {
  EggContributions contributions;
  contributions.individuals.resize(static_cast<std::size_t>(study.individualCount) + 1);
  for (const FemaleEggs& female : fecundity.females) {
    const auto& eggs = female.eggs;
    const auto laying = [](double value) { return value > 0; };
    const auto first = std::find_if(eggs.begin(), eggs.end(), laying);
    if (first == eggs.end()) continue;
    const auto last = std::find_if(eggs.rbegin(), eggs.rend(), laying).base();
    EggContribution& c = contributions.individuals[static_cast<std::size_t>(female.individual)];
    c.firstAge = female.firstAdultAge + static_cast<int>(first - eggs.begin());
    c.eggs.assign(first, last);
  }
  return contributions;
}

}  // namespace pellmar
