#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/data/age_stage_table.h"
#include "core/data/limits.h"

namespace pellmar {

// One individual of the cohort. Stage arrays are indexed by stage j = 1 .. m (index 0 unused).
struct IndividualRecord {
  int serialNumber = 0;
  std::string sex;  // "F", "M" or "N"
  std::vector<double> stageDuration;
  // Consumption by age index x from 0; after the full read it ends with the end marker -1 at
  // L + 1, where L is the age counter after the individual's last stage.
  std::vector<double> dailyConsumption;
  // The column of T that each stored daily value went to (0 for the days filled in).
  std::vector<int> dailyColumn;
  // Sum of the values read for each stage; the adult stage of males stays in column m.
  std::vector<double> stageConsumption;

  // Consumption at age index x, 0 beyond the values stored.
  [[nodiscard]] double consumptionAt(int x) const {
    return x >= 0 && x < static_cast<int>(dailyConsumption.size())
               ? dailyConsumption[static_cast<std::size_t>(x)]
               : 0.0;
  }
};

// One study as its raw data file holds it, read and checked once when the file is opened: the
// header texts, the stage names, every individual's record and the age-stage consumption totals.
// Every analysis reads it as a value; nothing reads the file again.
struct Study {
  std::string dataFileName;    // the path as the user gave it
  std::string outputBaseName;  // what every output file's name begins with
  double timeUnit = 1.0;       // days per time unit of the data
  std::string sha256;          // of the file's bytes, for the run record
  std::uintmax_t bytes = 0;
  // What the file holds that the analysis goes on without, each a line naming the file's line
  // and the cause (a span line naming no stage).
  std::vector<std::string> warnings;

  std::string projectTitle;
  std::string userName;
  std::string studyDate;
  int individualCount = 0;
  int sexCount = 0;
  int stageCount = 0;
  std::vector<std::string> sexCode;                 // k = 1 .. sexCount
  std::vector<std::vector<std::string>> stageName;  // [k][j], j = 1 .. m + 1
  std::array<std::string, 3> spanStageName;         // indices 1 and 2

  std::vector<IndividualRecord> individuals;  // i = 1 .. n (index 0 unused)

  // Age-stage consumption totals, columns 0 .. m + 1 (adult males in column m + 1).
  AgeStageMatrix T;
  double lastAgeRead = 0.0;

  [[nodiscard]] const IndividualRecord& individual(int i) const {
    return individuals[static_cast<std::size_t>(i)];
  }
  [[nodiscard]] const std::string& name(int k, int j) const {
    return stageName[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)];
  }
  // The name of stage column j in the tidy files: the stage's name, "female adult" or
  // "male adult".
  [[nodiscard]] std::string columnName(int j) const {
    return j < stageCount ? name(1, j) : j == stageCount ? "female adult" : "male adult";
  }
};

}  // namespace pellmar
