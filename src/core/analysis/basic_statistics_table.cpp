#include "core/analysis/basic_statistics_table.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/analysis/stage_consumption_tables.h"
#include "core/data/stage_label.h"
#include "core/data/table_index.h"
#include "core/report/page_frame.h"

namespace pellmar {
namespace {

constexpr int kRuleLength = 62;

void rule(ReportWriter& out, char character) { writeRule(out, character, kRuleLength); }

// One data row: label, sex label, count, mean, SD and SE. A count of 0 prints dashes (or, with
// `zeroCountShown`, the 0 itself and then dashes); a count of 1 prints dashes for SD and SE.
// The SE is SD / sqrt(count) unless `storedSE` gives the value to print.
void row(ReportWriter& out, const std::string& label, const std::string& sex, const Statistic& st,
         bool zeroCountShown = false, std::optional<double> storedSE = std::nullopt) {
  out.tab(5).text(label).tab(22).text(sex);
  if (st.count != 0 || zeroCountShown) {
    out.tab(28).number(st.count);
  } else {
    out.tab(29).text("-");
  }
  if (st.count == 0) {
    out.tab(37).text("-").tab(47).text("-").tab(61).text("-").endLine();
    return;
  }
  out.tab(36).rounded(st.mean, 2);
  if (st.count == 1) {
    out.tab(47).text("-").tab(61).text("-").endLine();
    return;
  }
  const double se = storedSE ? *storedSE : st.sd / std::sqrt(static_cast<double>(st.count));
  out.tab(46).rounded(st.sd, 3).tab(60).rounded(se, 2).endLine();
}

class StatisticsTable {
 public:
  StatisticsTable(const Study& study, const BasicRunResults& basic, ReportPages& pages)
      : pages_(pages), study_(study), r_(basic), out_(pages.out), m_(study_.stageCount) {}

  void write() {
    header();
    durations();
    cumulativeDurations();
    spans();
    consumption();
    preadultConsumption();
    totalConsumption();
  }

 private:
  [[nodiscard]] std::string name(int j) const { return pellmar::stageLabel(study_, j); }
  [[nodiscard]] const std::string& sexCode(int k) const { return study_.sexCode[at(k)]; }
  [[nodiscard]] std::string stageLabel(int j, const std::string& adult) const {
    return j == m_ ? adult : name(j);
  }
  [[nodiscard]] std::string cumulativeLabel(int j) const {
    return name(1) + " - " + stageLabel(j, "Adult");
  }
  [[nodiscard]] std::string spanLabel(const std::string& adult) const {
    return name(r_.spanFirstStage) + " - " +
           (r_.spanLastStage >= m_ ? adult : name(r_.spanLastStage));
  }

  void header() {
    out_.pageMark();
    writePageLine(out_, pages_.counters, 60);
    ++pages_.counters.tableCounter;
    writeTableTitle(out_, pages_.counters.tableCounter, ". Basic Statistics of Life History Data",
                    false);
    out_.line(" ");
    rule(out_, '=');
    out_.tab(5).text("Stage Duration   Sex     N      Mean       S.D.         S.E.").endLine();
    rule(out_, '-');
  }

  void durations() {
    for (int j = 1; j <= m_; ++j) row(out_, stageLabel(j, "Adult"), "All", r_.stageDuration[at(j)]);
    rule(out_, '-');
    for (int k = 1; k <= study_.sexCount; ++k) {
      for (int j = 1; j <= m_; ++j) {
        row(out_, stageLabel(j, "Adult"), sexCode(k), r_.stageDurationBySex[at(k)][at(j)]);
      }
      rule(out_, '-');
    }
  }

  void cumulativeDurations() {
    for (int j = 2; j <= m_; ++j) row(out_, cumulativeLabel(j), "All", r_.cumDuration[at(j)]);
    rule(out_, '-');
    for (int k = 1; k <= study_.sexCount; ++k) {
      for (int j = 2; j <= m_; ++j) {
        row(out_, cumulativeLabel(j), sexCode(k), r_.cumDurationBySex[at(k)][at(j)]);
      }
      rule(out_, '-');
    }
  }

  void spans() {
    row(out_, spanLabel("Adult"), "All", r_.span);
    for (int k = 1; k <= study_.sexCount; ++k) {
      row(out_, spanLabel("Adult   "), sexCode(k), r_.spanBySex[at(k)]);
    }
    rule(out_, '=');
    out_.tab(28).text("Consumption Rate").endLine();
    rule(out_, '-');
  }

  void consumption() {
    for (int j = 1; j <= m_; ++j) {
      row(out_, stageLabel(j, "Adult "), "All", r_.stageConsumption[at(j)], true);
    }
    rule(out_, '-');
    for (int k = 1; k <= study_.sexCount; ++k) {
      for (int j = 1; j <= m_; ++j) {
        row(out_, stageLabel(j, "Adult "), sexCode(k), r_.stageConsumptionBySex[at(k)][at(j)]);
      }
      rule(out_, '-');
    }
  }

  void preadultConsumption() {
    for (int k = 1; k <= study_.sexCount; ++k) {
      const std::string& code = sexCode(k);
      const int index = code == "F" ? 0 : code == "M" ? 1 : code == "N" ? 2 : -1;
      if (index < 0) {
        out_.tab(5).text("Preadult ").tab(22).text(code).endLine();
        continue;
      }
      const Statistic& st = r_.preadultConsumptionBySex[at(index)];
      row(out_, "Preadult ", code, st, false, st.se);
    }
    rule(out_, '-');
  }

  void totalConsumption() {
    for (int k = 1; k <= study_.sexCount; ++k) {
      row(out_, "All stage", sexCode(k), r_.totalConsumptionBySex[at(k)]);
    }
    rule(out_, '-');
    const int n = study_.individualCount;
    out_.tab(5).text("All stage").tab(22).text("All").tab(28).number(n);
    out_.tab(36).rounded(r_.cohortConsumptionMean, 2);
    if (n > 1) {
      out_.tab(46).rounded(r_.cohortConsumptionSD, 3);
      out_.tab(60).rounded(r_.cohortConsumptionSD / std::sqrt(static_cast<double>(n)), 2);
    } else {
      // A cohort of one has no spread to report.
      out_.tab(47).text("-").tab(61).text("-");
    }
    out_.endLine();
    rule(out_, '-');
  }

  ReportPages& pages_;
  const Study& study_;
  const BasicRunResults& r_;
  ReportWriter& out_;
  int m_;
};

}  // namespace

void writeBasicStatisticsTable(const Study& study, const BasicRunResults& basic,
                               ReportPages& pages) {
  StatisticsTable(study, basic, pages).write();
  writeWeightingTableFromStageMeans(study, basic, pages);
  writeWeightingTableFromMatrices(study, basic, pages);
}

}  // namespace pellmar
