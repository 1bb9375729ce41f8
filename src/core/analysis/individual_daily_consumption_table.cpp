#include "core/analysis/individual_daily_consumption_table.h"

#include <cstddef>

#include "core/analysis/individual_values.h"
#include "core/data/table_index.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

// The table shows at most the age intervals 0 .. 8; a study that fits gets a total column in
// place of the interval that follows its last one.
constexpr int kLastShownInterval = 8;

class DailyConsumptionTable {
 public:
  DailyConsumptionTable(const Study& study, const BasicRunResults& basic, ReportPages& pages)
      : pages_(pages),
        study_(study),
        r_(basic),
        out_(pages.out),
        lastColumn_(study.lastAgeRead > kLastShownInterval ? kLastShownInterval
                                                           : static_cast<int>(study.lastAgeRead)),
        total_(totalConsumptionStatistic(study, basic)) {}

  void write();

 private:
  enum class Row { kCount, kMean, kSD, kSE };

  static int valueTab(int x) { return 9 * (x - kFirstColumn + 1) + 5; }
  [[nodiscard]] bool isTotalColumn(int x) const { return x == study_.lastAgeRead; }

  void writeRuleLine(char character) {
    writeRule(out_, character, (lastColumn_ - kFirstColumn + 1) * 9 + 8);
  }
  void writeHeadings();
  void writeIndividual(int i);
  void writeStatisticsRow(const char* label, Row row);
  void writeFooter();

  static constexpr int kFirstColumn = 0;

  ReportPages& pages_;
  const Study& study_;
  const BasicRunResults& r_;
  ReportWriter& out_;
  int lastColumn_;
  Statistic total_;
};

void DailyConsumptionTable::write() {
  out_.pageMark();
  writePageLine(out_, pages_.counters, 70);
  writeBlankLines(out_, 4);
  writeStudyLines(out_, study_);
  writeBlankLines(out_, 1);
  ++pages_.counters.tableCounter;
  writeTableTitle(out_, pages_.counters.tableCounter, ". Daily consumption rate of each individual",
                  false);
  writeRuleLine('=');
  writeHeadings();
  writeRuleLine('-');
  for (int i = 1; i <= study_.individualCount; ++i) writeIndividual(i);
  writeStatisticsRow("N", Row::kCount);
  writeStatisticsRow("Mean ", Row::kMean);
  writeStatisticsRow("S.D. ", Row::kSD);
  writeStatisticsRow("S.E. ", Row::kSE);
  writeRuleLine('-');
  out_.tab(5).text("d - dead.").endLine();
  writeFooter();
}

void DailyConsumptionTable::writeHeadings() {
  out_.tab(5).text("Indiv.").repeat(' ', (lastColumn_ + 1) * 8 / 2).text("Age interval").endLine();
  out_.tab(5).text(" no. ");
  for (int x = kFirstColumn; x <= lastColumn_; ++x) {
    out_.tab(valueTab(x));
    if (isTotalColumn(x)) {
      out_.text("    Total");
    } else {
      out_.digits(x * study_.timeUnit).text("-<").digits((x + 1) * study_.timeUnit);
    }
  }
  out_.endLine();
}

void DailyConsumptionTable::writeIndividual(int i) {
  const IndividualRecord& record = study_.individual(i);
  const int death = r_.longevityDays[at(i)];
  out_.tab(5).number(i);
  for (int x = kFirstColumn; x <= lastColumn_; ++x) {
    const int c = valueTab(x);
    const double value = record.consumptionAt(x);
    if (isTotalColumn(x)) {
      out_.tab(c).rounded(r_.totalConsumption[at(i)], 2);
    } else if (x < death) {
      if (value > 0) {
        out_.tab(c).rounded(value, 2);
      } else {
        out_.tab(c + 1).text("0");
      }
    } else if (x == death) {
      // The interval in which the individual died.
      if (value > 0) {
        out_.tab(c).rounded(value, 2).text("d");
      } else {
        out_.tab(c + 1).text("0 d  ");
      }
    } else {
      out_.tab(c + 1).text("-");
    }
  }
  out_.endLine();
}

void DailyConsumptionTable::writeStatisticsRow(const char* label, Row row) {
  writeRuleLine('-');
  out_.tab(5).text(label);
  for (int x = kFirstColumn; x <= lastColumn_; ++x) {
    out_.tab(valueTab(x));
    const bool total = isTotalColumn(x);
    if (!total && row != Row::kCount && r_.dailyCount[at(x)] == 0) {
      out_.text("-");
      continue;
    }
    switch (row) {
      case Row::kCount:
        out_.number(total ? study_.individualCount : r_.dailyCount[at(x)]);
        break;
      case Row::kMean:
        out_.rounded(total ? total_.mean : r_.dailyMean[at(x)], 2);
        break;
      case Row::kSD:
        out_.rounded(total ? total_.sd : r_.dailySD[at(x)], 3);
        break;
      case Row::kSE:
        out_.rounded(total ? total_.se : r_.dailySE[at(x)], 3);
        break;
    }
  }
  out_.endLine();
}

void DailyConsumptionTable::writeFooter() {
  out_.tab(5).text("Maximum consumption rate =").number(r_.maxTotalConsumption).endLine();
  out_.tab(5).text("Maximum daily consumption rate =").number(r_.maxDailyConsumption).endLine();
  writeEffectiveConsumerLines(out_, r_);
}

}  // namespace

void writeIndividualDailyConsumptionTable(const Study& study, const BasicRunResults& basic,
                                          ReportPages& pages) {
  DailyConsumptionTable(study, basic, pages).write();
}

}  // namespace pellmar
