#include "core/analysis/individual_stage_duration_table.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "core/analysis/individual_table_summary.h"
#include "core/data/table_index.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

// Tab stops of the values of slot k (1, 2, ... within a section).
int stageDurationTab(int k) { return 9 * k + 10; }
int preadultDurationTab(int k) { return 9 * k + 13; }
int longevityTab(int k) { return 9 * k + 18; }

// A stage's statistics with the largest and smallest duration of those that completed it.
Statistic stageFigures(const BasicRunResults& r, int j) {
  Statistic figures = r.stageDuration[at(j)];
  figures.max = r.maxStageDuration[at(j)];
  figures.min = r.minStageDuration[at(j)];
  if (figures.count > 0) figures.se = figures.sd / std::sqrt(static_cast<double>(figures.count));
  return figures;
}

// The pre-adult column: the time to the end of the last pre-adult stage, or with only one
// pre-adult stage that stage's duration (then its SD and SE print to 3 decimals); extremes
// over the individuals that reached the adult stage.
SummaryColumn preadultColumnSummary(const Study& study, const BasicRunResults& basic) {
  const BasicRunResults& r = basic;
  SummaryColumn column;
  column.countForMean = 0;
  column.dash = "-";
  if (study.stageCount == 2) {
    column.figures = r.stageDuration[1];
    if (column.figures.count > 0) {
      column.figures.se = column.figures.sd / std::sqrt(static_cast<double>(column.figures.count));
    }
    column.seDecimals = 3;
  } else {
    column.figures = r.cumDuration[at(study.stageCount - 1)];
    column.sdDecimals = 2;
  }
  column.figures.max = 0.0;
  column.figures.min = 0.0;
  bool found = false;
  for (int i = 1; i <= study.individualCount; ++i) {
    if (study.individual(i).sex == "N") continue;
    const double duration = r.preadultDuration[at(i)];
    if (!found || duration > column.figures.max) column.figures.max = duration;
    if (!found || duration < column.figures.min) column.figures.min = duration;
    found = true;
  }
  return column;
}

class StageDurationTable {
 public:
  StageDurationTable(const Study& study, const BasicRunResults& basic, ReportPages& pages)
      : pages_(pages),
        study_(study),
        r_(basic),
        out_(pages.out),
        m_(study.stageCount),
        preadult_(preadultColumnSummary(study, basic)) {}

  void write();

 private:
  [[nodiscard]] int preadultColumn() const { return m_ + 1; }

  void writeSection(const TableSection& section, bool continued);
  void writeHeading(const TableSection& section);
  void writeIndividual(const TableSection& section, int i);
  [[nodiscard]] SummaryColumn summaryOf(int column, int k) const;

  ReportPages& pages_;
  const Study& study_;
  const BasicRunResults& r_;
  ReportWriter& out_;
  int m_;
  SummaryColumn preadult_;
};

void StageDurationTable::write() {
  writePageLine(out_, pages_.counters, 70);
  ++pages_.counters.tableCounter;
  writeBlankLines(out_, 3);
  writeStudyLines(out_, study_);
  writeBlankLines(out_, 1);
  const auto sections = splitIntoSections(m_ + 2);
  for (std::size_t s = 0; s < sections.size(); ++s) {
    if (s > 0) writeBlankLines(out_, 3);
    writeSection(sections[s], s > 0);
  }
  writeBlankLines(out_, 1);
  out_.tab(5).text("Max. longevity of male adult =").number(r_.maxMaleLongevity).endLine();
  out_.tab(5).text("Max. longevity of female adult =").number(r_.maxFemaleLongevity).endLine();
}

void StageDurationTable::writeSection(const TableSection& section, bool continued) {
  const int width = section.lastColumn - section.firstColumn + 1;
  const int ruleLength = width * 10 + (section.lastColumn >= m_ ? 10 : 6);
  writeTableTitle(out_, pages_.counters.tableCounter, ". Stage duration of each individual",
                  continued);
  writeRule(out_, '=', ruleLength);
  writeHeading(section);
  writeRule(out_, '-', ruleLength);
  for (int i = 1; i <= study_.individualCount; ++i) writeIndividual(section, i);
  std::vector<SummaryColumn> summary;
  for (int column = section.firstColumn, k = 1; column <= section.lastColumn; ++column, ++k) {
    summary.push_back(summaryOf(column, k));
  }
  writeSummaryRows(out_, ruleLength, summary);
  writeRule(out_, '-', ruleLength);
  out_.tab(5).text("d - dead.").endLine();
}

void StageDurationTable::writeHeading(const TableSection& section) {
  out_.tab(5).text("Indiv.").text(" Sex ");
  for (int column = section.firstColumn, k = 1; column <= section.lastColumn; ++column, ++k) {
    if (column < m_) {
      out_.tab(9 * k + 10).text(study_.name(1, column));
    } else if (column == m_) {
      out_.tab(10 * k + 6).text("Adult");
    } else if (column == preadultColumn()) {
      out_.tab(10 * k + 3).text("Preadult");
    } else {
      out_.tab(10 * k + 5).text("Longevity");
    }
  }
  out_.endLine();
}

void StageDurationTable::writeIndividual(const TableSection& section, int i) {
  const IndividualRecord& record = study_.individual(i);
  out_.tab(5).number(i).tab(13).text(record.sex);
  for (int column = section.firstColumn, k = 1; column <= section.lastColumn; ++column, ++k) {
    if (column <= m_) {
      const double duration = record.stageDuration[at(column)];
      out_.tab(stageDurationTab(k));
      if (duration > 0) {
        out_.number(study_.timeUnit * duration);
      } else if (duration == 0) {
        out_.text(" -");
      } else {
        // The individual died in this stage.
        out_.number(std::fabs(study_.timeUnit * duration)).text("d ");
      }
    } else if (column == preadultColumn()) {
      out_.tab(preadultDurationTab(k));
      if (record.sex == "N") {
        out_.text(" -");
      } else {
        out_.number(r_.preadultDuration[at(i)]);
      }
    } else {
      out_.tab(longevityTab(k)).number(r_.longevity[at(i)]);
    }
  }
  out_.endLine();
}

SummaryColumn StageDurationTable::summaryOf(int column, int k) const {
  SummaryColumn summary;
  if (column <= m_) {
    summary.figures = stageFigures(r_, column);
    summary.valueTab = summary.dashTab = stageDurationTab(k);
  } else if (column == preadultColumn()) {
    summary = preadult_;
    summary.valueTab = preadultDurationTab(k);
    summary.dashTab = preadultDurationTab(k) + 1;
  } else {
    summary.figures = {study_.individualCount, r_.meanLongevity, r_.sdLongevity,
                       r_.seLongevity,         r_.maxLongevity,  r_.minLongevity};
    summary.valueTab = longevityTab(k);
    summary.countForMean = summary.countForSpread = 0;
    summary.seDecimals = 3;
  }
  return summary;
}

}  // namespace

void writeIndividualStageDurationTable(const Study& study, const BasicRunResults& basic,
                                       ReportPages& pages) {
  StageDurationTable(study, basic, pages).write();
}

}  // namespace pellmar
