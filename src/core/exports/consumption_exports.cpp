#include "core/exports/consumption_exports.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "core/data/stage_label.h"
#include "core/data/table_index.h"

namespace pellmar {
namespace {

// The groups of individuals a stage is exported for.
enum class Group { kAllSexes, kFemale, kMale };

constexpr Group kGroups[] = {Group::kAllSexes, Group::kFemale, Group::kMale};

double consumptionOf(const Study& study, int i, int j) {
  return study.individual(i).stageConsumption[at(j)];
}

// Whether individual i belongs to the group in stage j. The all-sexes group holds only the
// individuals that completed the stage; a sex group holds every individual of that sex.
bool inGroup(const Study& study, int i, int j, Group group) {
  const IndividualRecord& record = study.individual(i);
  switch (group) {
    case Group::kAllSexes:
      return record.stageDuration[at(j)] > 0;
    case Group::kFemale:
      return record.sex == "F";
    case Group::kMale:
      return record.sex == "M";
  }
  return false;
}

// A stage is exported when someone of any sex consumed in it.
bool stageIsExported(const Study& study, int j) {
  for (int i = 1; i <= study.individualCount; ++i) {
    if (consumptionOf(study, i, j) > 0) return true;
  }
  return false;
}

bool someAdultOfSexConsumed(const Study& study, std::string_view sex) {
  for (int i = 1; i <= study.individualCount; ++i) {
    if (study.individual(i).sex == sex && consumptionOf(study, i, study.stageCount) > 0) {
      return true;
    }
  }
  return false;
}

// The stage's part of a file name: its name, or "Adult" for the adult stage.
std::string stageTag(const Study& study, int j) {
  return j >= study.stageCount ? "Adult" : stageLabel(study, j);
}

std::string groupSuffix(const Study& study, int j, Group group, std::string_view tail) {
  static constexpr std::string_view kGroupNames[] = {"_All sexes", "_Female", "_Male"};
  return "_W_" + stageTag(study, j) + std::string(kGroupNames[static_cast<int>(group)]) +
         "_consumption" + std::string(tail) + ".txt";
}

std::string groupLabel(const Study& study, int j, Group group) {
  const bool adult = j >= study.stageCount;
  switch (group) {
    case Group::kAllSexes:
      return adult ? "Adult (All sexes)" : stageLabel(study, j) + "-all sexes";
    case Group::kFemale:
      return adult ? "female adult" : stageLabel(study, j) + " (female)";
    case Group::kMale:
      return adult ? "male adult" : stageLabel(study, j) + " (male)";
  }
  return {};
}

ReportWriter startFile(const Study& study) {
  ReportWriter out;
  out.text("Project: ").text(study.projectTitle).endLine();
  return out;
}

void writeNumberedGroup(const Study& study, OutputFiles& files, int j, Group group) {
  ReportWriter out = startFile(study);
  out.writeLine({"Ind. no.", "Consumption rate"});
  out.writeLine({groupLabel(study, j, group)});
  for (int i = 1; i <= study.individualCount; ++i) {
    if (inGroup(study, i, j, group)) {
      out.writeLine({static_cast<double>(i), consumptionOf(study, i, j)});
    }
  }
  files.save(groupSuffix(study, j, group, ""), out);
}

void writeNumberedAdults(const Study& study, OutputFiles& files, std::string_view sex,
                         std::string_view heading, const std::string& suffix) {
  ReportWriter out = startFile(study);
  out.writeLine({"Ind. no.", heading});
  for (int i = 1; i <= study.individualCount; ++i) {
    if (study.individual(i).sex == sex) {
      out.writeLine({static_cast<double>(i), consumptionOf(study, i, study.stageCount)});
    }
  }
  files.save(suffix, out);
}

void writeColumnGroup(const Study& study, OutputFiles& files, int j, Group group) {
  ReportWriter out = startFile(study);
  out.writeLine({"Consumption rate"});
  for (int i = 1; i <= study.individualCount; ++i) {
    if (inGroup(study, i, j, group)) out.writeLine({consumptionOf(study, i, j)});
  }
  out.writeLine({-1.0});
  files.save(groupSuffix(study, j, group, "_in column"), out);
}

void writeColumnAdults(const Study& study, OutputFiles& files, std::string_view sex,
                       std::string_view heading, const std::string& suffix) {
  ReportWriter out = startFile(study);
  out.writeLine({heading});
  for (int i = 1; i <= study.individualCount; ++i) {
    if (study.individual(i).sex == sex) {
      out.writeLine({consumptionOf(study, i, study.stageCount)});
    }
  }
  out.writeLine({-1.0});
  files.save(suffix, out);
}

void writeLifelongColumn(const Study& study, const BasicRunResults& basic, OutputFiles& files) {
  ReportWriter out = startFile(study);
  out.writeLine({"Lifelong consumption rate"});
  for (int i = 1; i <= study.individualCount; ++i) {
    out.writeLine({basic.totalConsumption[at(i)]});
  }
  out.writeLine({-1.0});
  files.save("_Lifelong consumption_All sexes.txt", out);
}

}  // namespace

void writeNumberedStageConsumptionFiles(const Study& study, OutputFiles& files) {
  for (const Group group : kGroups) {
    for (int j = 1; j <= study.stageCount; ++j) {
      if (stageIsExported(study, j)) writeNumberedGroup(study, files, j, group);
    }
  }
  if (someAdultOfSexConsumed(study, "M")) {
    writeNumberedAdults(study, files, "M", "Male adult consumption rate",
                        "_W_Male adult consumption.txt");
  }
  if (someAdultOfSexConsumed(study, "F")) {
    writeNumberedAdults(study, files, "F", "Female adult consumption rate",
                        "_W_Female adult consumption.txt");
  }
}

void writeTukeyKramerConsumptionFiles(const Study& study, const BasicRunResults& basic,
                                      OutputFiles& files) {
  writeLifelongColumn(study, basic, files);
  for (const Group group : kGroups) {
    for (int j = 1; j <= study.stageCount; ++j) {
      if (stageIsExported(study, j)) writeColumnGroup(study, files, j, group);
    }
  }
  if (someAdultOfSexConsumed(study, "M")) {
    writeColumnAdults(study, files, "M", "Male adult consumption rate",
                      "_W_Male adult consumption_in column.txt");
  }
  if (someAdultOfSexConsumed(study, "F")) {
    writeColumnAdults(study, files, "F", "Female adult consumption rate",
                      "_W_Female adult consumption_in column.txt");
  }
}

}  // namespace pellmar
