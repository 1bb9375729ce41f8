#include "core/analysis/figure_files.h"

#include <cmath>
#include <cstddef>

#include "core/data/stage_label.h"
#include "core/data/table_index.h"
#include "core/report/number_format.h"

namespace pellmar {
namespace {

// Plotting programs get three decimals: the whole part is kept and only the fraction rounded.
double toThousandths(double value) {
  const double whole = std::floor(value);
  return whole + roundToDecimals(value - whole, 3);
}

void writeStudyTitleLines(ReportWriter& out, const Study& study) {
  out.writeLine({study.projectTitle});
  out.writeLine({study.studyDate});
  out.writeLine({study.userName});
}

void writeAgeCurves(const Study& study, const BasicRunResults& basic, OutputFiles& files) {
  const BasicRunResults& r = basic;
  ReportWriter out;
  writeStudyTitleLines(out, study);
  out.writeLine({"Age", "l(x)", "k(x)", "q(x)", "cumu. Co", "SD of k(x)", "SE of k(x)"});
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    out.writeLine({x * study.timeUnit, r.l[at(x)], r.k[at(x)], r.q[at(x)], r.cumulativeQ[at(x)],
                   r.dailySD[at(x)], r.dailySE[at(x)]});
  }
  // A cohort whose every first stage lasts 0 time units has no age row at all (maxAgeIndex is
  // -1); its closing line then carries a cumulative consumption of 0.
  const double lastCumulative = r.maxAgeIndex >= 0 ? r.cumulativeQ[at(r.maxAgeIndex)] : 0.0;
  out.writeLine({(r.maxAgeIndex + 1) * study.timeUnit, 0.0, 0.0, 0.0, lastCumulative, 0.0, 0.0});
  files.save("_2_Fig_Age_lx_Kx_qx.txt", out);
}

// An age-stage matrix as comma lines: a heading of stage names, one line per age with the
// values to thousandths and a closing line of zeros one age after the last.
template <typename Matrix>
void writeStageMatrix(const Study& study, const BasicRunResults& basic, OutputFiles& files,
                      const Matrix& matrix, const char* suffix) {
  const int maxAgeIndex = basic.maxAgeIndex;
  const int lastColumn = study.stageCount + 1;
  ReportWriter out;
  out.text("Age,");
  for (int j = 1; j <= lastColumn; ++j) {
    out.text(stageLabel(study, j)).text(j < lastColumn ? "," : " ");
  }
  out.endLine();
  for (int x = 0; x <= maxAgeIndex + 1; ++x) {
    out.digits(x * study.timeUnit).text(",");
    for (int j = 1; j <= lastColumn; ++j) {
      out.number(x <= maxAgeIndex ? toThousandths(matrix.at(x, j)) : 0.0);
      out.text(j < lastColumn ? "," : " ");
    }
    out.endLine();
  }
  files.save(suffix, out);
}

// C(x, j) stage by stage over the ages at which the stage occurs, at most five values a line;
// every stage starts on a new line.
void writeConsumptionForPredationProgram(const Study& study, const BasicRunResults& basic,
                                         OutputFiles& files) {
  const BasicRunResults& r = basic;
  constexpr int kValuesPerLine = 5;
  ReportWriter out;
  for (int j = 1; j <= study.stageCount + 1; ++j) {
    const int first = r.stageAgeRange[at(j)][1];
    const int last = r.stageAgeRange[at(j)][2];
    int onLine = 0;
    for (int x = first; x <= last; ++x) {
      out.number(r.C.at(x, j));
      ++onLine;
      if (x == last || onLine == kValuesPerLine) {
        out.endLine();
        onLine = 0;
      } else {
        out.text(",");
      }
    }
  }
  files.save("_17_Cxj_For_Predation_Prog.txt", out);
}

}  // namespace

void writeAgeTotalConsumptionFile(const Study& study, const BasicRunResults& basic,
                                  OutputFiles& files) {
  const BasicRunResults& r = basic;
  ReportWriter out;
  writeStudyTitleLines(out, study);
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    out.writeLine({x * study.timeUnit, r.ageTotalConsumption[at(x)]});
  }
  out.writeLine({(r.maxAgeIndex + 1) * study.timeUnit, 0.0});
  files.save("_Age_Total_Consumption.txt", out);
}

void writeFigureFiles(const Study& study, const BasicRunResults& basic, OutputFiles& files) {
  writeAgeCurves(study, basic, files);
  writeStageMatrix(study, basic, files, basic.C, "_1_Fig_Cxj.txt");
  writeConsumptionForPredationProgram(study, basic, files);
  writeAgeTotalConsumptionFile(study, basic, files);
  writeStageMatrix(study, basic, files, study.T, "_3_Fig_Total_age-stage consumption.txt");
}

}  // namespace pellmar
