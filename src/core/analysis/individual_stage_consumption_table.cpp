#include "core/analysis/individual_stage_consumption_table.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "core/analysis/individual_table_summary.h"
#include "core/analysis/individual_values.h"
#include "core/data/table_index.h"
#include "core/numeric/statistic.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

// Tab stops of the values of slot k (1, 2, ... within a section).
int stageConsumptionTab(int k) { return 10 * k + 10; }
int preadultConsumptionTab(int k) { return 10 * k + 12; }
int totalTab(int k) { return 10 * k + 13; }

class StageConsumptionTable {
 public:
  StageConsumptionTable(const Study& study, const BasicRunResults& basic, ReportPages& pages)
      : pages_(pages),
        study_(study),
        r_(basic),
        out_(pages.out),
        m_(study.stageCount),
        total_(totalConsumptionStatistic(study, basic)) {}

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
  Statistic total_;
};

void StageConsumptionTable::write() {
  out_.pageMark();
  writePageLine(out_, pages_.counters, 70);
  ++pages_.counters.tableCounter;
  writeBlankLines(out_, 1);
  const auto sections = splitIntoSections(m_ + 2);
  for (std::size_t s = 0; s < sections.size(); ++s) {
    if (s > 0) writeBlankLines(out_, 3);
    writeSection(sections[s], s > 0);
  }
  out_.tab(5).text("Max. predation rate of male adult =").number(r_.maxMaleTotalConsumption);
  out_.endLine();
  out_.tab(5).text("Max. predation rate of female adult =").number(r_.maxFemaleTotalConsumption);
  out_.endLine();
  writeEffectiveConsumerLines(out_, r_);
}

void StageConsumptionTable::writeSection(const TableSection& section, bool continued) {
  const int ruleLength = (section.lastColumn + 1) * 10 + 17;
  writeTableTitle(out_, pages_.counters.tableCounter, ". Stage consumption rate of each individual",
                  continued);
  writeHeading(section);
  for (int i = 1; i <= study_.individualCount; ++i) writeIndividual(section, i);
  std::vector<SummaryColumn> summary;
  for (int column = section.firstColumn, k = 1; column <= section.lastColumn; ++column, ++k) {
    summary.push_back(summaryOf(column, k));
  }
  writeSummaryRows(out_, ruleLength, summary);
  writeRule(out_, '-', ruleLength);
  out_.tab(5).text("d - dead.").endLine();
  writeBlankLines(out_, 1);
}

void StageConsumptionTable::writeHeading(const TableSection& section) {
  out_.tab(5).text("Indiv.  Sex ");
  for (int column = section.firstColumn, k = 1; column <= section.lastColumn; ++column, ++k) {
    if (column < m_) {
      out_.tab(10 * k + 11).text(study_.name(1, column));
    } else if (column == m_) {
      out_.tab(10 * k + 11).text("Adult");
    } else if (column == preadultColumn()) {
      out_.tab(10 * k + 12).text("Preadult");
    } else {
      out_.tab(10 * k + 14).text("Total");
    }
  }
  out_.endLine();
}

void StageConsumptionTable::writeIndividual(const TableSection& section, int i) {
  const IndividualRecord& record = study_.individual(i);
  out_.tab(5).number(i).tab(14).text(record.sex);
  for (int column = section.firstColumn, k = 1; column <= section.lastColumn; ++column, ++k) {
    if (column <= m_) {
      const double duration = record.stageDuration[at(column)];
      out_.tab(stageConsumptionTab(k));
      if (duration == 0) {
        out_.text(" -");
      } else {
        out_.rounded(record.stageConsumption[at(column)], 2);
        // The individual died in this stage.
        if (duration < 0) out_.text("d");
      }
    } else if (column == preadultColumn()) {
      out_.tab(preadultConsumptionTab(k)).rounded(preadultConsumptionOf(record, m_), 2);
    } else {
      out_.tab(totalTab(k)).rounded(r_.totalConsumption[at(i)], 2);
    }
  }
  out_.endLine();
}

SummaryColumn StageConsumptionTable::summaryOf(int column, int k) const {
  SummaryColumn summary;
  if (column <= m_) {
    summary.figures = r_.stageConsumption[at(column)];
    const int count = summary.figures.count;
    if (count > 0) summary.figures.se = summary.figures.sd / std::sqrt(static_cast<double>(count));
    summary.valueTab = summary.dashTab = stageConsumptionTab(k);
  } else if (column == preadultColumn()) {
    summary.figures = r_.preadultConsumption;
    summary.valueTab = summary.dashTab = preadultConsumptionTab(k);
    summary.dash = "-";
  } else {
    // Printed without a guard on the count: a cohort of one prints an SD and SE of 0.
    summary.figures = total_;
    summary.valueTab = totalTab(k);
    summary.countForMean = summary.countForSpread = 0;
    summary.seDecimals = 3;
  }
  return summary;
}

}  // namespace

void writeIndividualStageConsumptionTable(const Study& study, const BasicRunResults& basic,
                                          ReportPages& pages) {
  StageConsumptionTable(study, basic, pages).write();
}

}  // namespace pellmar
