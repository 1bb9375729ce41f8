#include "ui/views/result_tables.h"

#include <cmath>
#include <optional>
#include <utility>

#include "core/data/stage_label.h"
#include "ui/widgets/display_number.h"

namespace pellmar {

namespace {

constexpr int kStageMeanRows = 9;

template <typename Vector>
auto element(const Vector& vector, int index) -> typename Vector::value_type {
  if (index < 0 || index >= static_cast<int>(vector.size())) return {};
  return vector[static_cast<std::size_t>(index)];
}

// The heading of stage column j on stage-name line `line`: line 1 gives the stage label of the
// report's tables, the others their names as read.
QString stageName(const Study& study, int line, int j) {
  if (line == 1) return QString::fromStdString(stageLabel(study, j));
  if (line >= static_cast<int>(study.stageName.size())) return QString();
  return QString::fromStdString(element(study.stageName[static_cast<std::size_t>(line)], j));
}

// The standard error shown beside a statistic: SD / sqrt(N).
double standardError(const Statistic& statistic) {
  return statistic.count > 0 ? statistic.sd / std::sqrt(statistic.count) : 0.0;
}

bool outsideAgeRange(const BasicRunResults& r, int x, int j) {
  const std::array<int, 3> range = element(r.stageAgeRange, j);
  return x < range[1] || x > range[2];
}

// An age-stage matrix: ages down, stage columns 1 .. m + 1 across.
Grid matrixGrid(const Analysis& analysis, const AgeStageMatrix& matrix, int decimals,
                bool developmentHeadings) {
  const int m = analysis.study().stageCount;
  const BasicRunResults& r = (*analysis.basic());
  Grid grid(r.maxAgeIndex + 2, m + 2);
  grid.at(0, 0) = QStringLiteral("Age");
  // Narrow columns show the report's labels; copies and exports take the stages' full names.
  for (int j = 1; j <= m + 1; ++j) {
    grid.setShortened(0, j, stageName(analysis.study(), 1, j),
                      QString::fromStdString(analysis.study().columnName(j)));
  }
  if (developmentHeadings && m >= 2) {
    // Columns m - 1 and m hold the development of the last pre-adult stage into each sex.
    const QString last = QString::fromStdString(analysis.study().columnName(m - 1));
    grid.setShortened(0, m - 1, QStringLiteral("P->F"), last + QStringLiteral(" to female adult"));
    grid.setShortened(0, m, QStringLiteral("P->M"), last + QStringLiteral(" to male adult"));
  }
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    grid.at(x + 1, 0) = QString::number(x);
    for (int j = 1; j <= m + 1; ++j) {
      if (outsideAgeRange(r, x, j)) {
        grid.at(x + 1, j) = QStringLiteral("-");
      } else {
        grid.setNumber(x + 1, j, matrix.at(x, j), decimals);
      }
    }
  }
  return grid;
}

// Rows "N", "Mean", "SD", "SE" of one statistic per column.
Grid statisticGrid(const std::vector<std::pair<QString, Statistic>>& columns) {
  Grid grid(5, static_cast<int>(columns.size()) + 1);
  const std::array<QString, 4> labels = {QStringLiteral("N"), QStringLiteral("Mean"),
                                         QStringLiteral("SD"), QStringLiteral("SE")};
  for (int row = 1; row <= 4; ++row) grid.at(row, 0) = labels[static_cast<std::size_t>(row - 1)];
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const int column = static_cast<int>(c) + 1;
    const Statistic& s = columns[c].second;
    grid.at(0, column) = columns[c].first;
    grid.setNumber(1, column, s.count, QString::number(s.count));
    grid.setNumber(2, column, s.mean, 2);
    grid.setNumber(3, column, s.sd, 2);
    grid.setNumber(4, column, standardError(s), 2);
  }
  return grid;
}

Grid consumptionGrid(const Analysis& analysis) {
  const int m = analysis.study().stageCount;
  const BasicRunResults& r = (*analysis.basic());
  std::vector<std::pair<QString, Statistic>> columns;
  for (int j = 1; j < m; ++j) {
    columns.emplace_back(stageName(analysis.study(), 1, j), element(r.stageConsumption, j));
  }
  // The adult stage is split by sex: the female and male columns take the statistics of
  // stage-name lines 1 and 2, whose adult names head them.
  for (int line = 1; line <= 2; ++line) {
    columns.emplace_back(stageName(analysis.study(), line, m),
                         element(element(r.stageConsumptionBySex, line), m));
  }
  return statisticGrid(columns);
}

Grid stageDurationGrid(const Analysis& analysis) {
  const int m = analysis.study().stageCount;
  std::vector<std::pair<QString, Statistic>> columns;
  for (int j = 1; j <= m; ++j) {
    columns.emplace_back(j == m ? QStringLiteral("Adult") : stageName(analysis.study(), 1, j),
                         element((*analysis.basic()).stageDuration, j));
  }
  return statisticGrid(columns);
}

// One value per age, with the ages in column 0.
template <typename ValueAt>
Grid ageCurveGrid(const BasicRunResults& r, const QString& heading, ValueAt valueAt) {
  Grid grid(r.maxAgeIndex + 2, 2);
  grid.at(0, 0) = QStringLiteral("Age");
  grid.at(0, 1) = heading;
  for (int x = 0; x <= r.maxAgeIndex; ++x) {
    grid.at(x + 1, 0) = QString::number(x);
    grid.setNumber(x + 1, 1, valueAt(x), 4);
  }
  return grid;
}

Grid meanConsumptionGrid(const BasicRunResults& r) {
  Grid grid(2, 4);
  grid.at(0, 1) = QStringLiteral("Mean");
  grid.at(0, 2) = QStringLiteral("SD");
  grid.at(0, 3) = QStringLiteral("SE");
  grid.at(1, 0) = QStringLiteral("Total consumption");
  grid.setNumber(1, 1, r.cohortConsumptionMean, 2);
  grid.setNumber(1, 2, r.cohortConsumptionSD, 2);
  grid.setNumber(1, 3, r.cohortConsumptionSE, 2);
  return grid;
}

// The age table of the life table with fecundity.
Grid lifeTableGrid(const FecundityLifeTable& table) {
  Grid grid(table.maxAgeIndex + 2, 5);
  const std::array<QString, 5> headings = {QStringLiteral("Age"), QStringLiteral("l(x)"),
                                           QStringLiteral("f(x)"), QStringLiteral("m(x)"),
                                           QStringLiteral("l(x)m(x)")};
  for (int c = 0; c < 5; ++c) grid.at(0, c) = headings[static_cast<std::size_t>(c)];
  for (int x = 0; x <= table.maxAgeIndex; ++x) {
    grid.at(x + 1, 0) = QString::number(x);
    grid.setNumber(x + 1, 1, element(table.l, x), 4);
    grid.setNumber(x + 1, 2, element(table.f, x), 4);
    grid.setNumber(x + 1, 3, element(table.m, x), 4);
    grid.setNumber(x + 1, 4, element(table.lm, x), 4);
  }
  return grid;
}

// R0, r, lambda, T, GRR, F and the predation rates that follow from the life table; "-" for
// what a life table without eggs does not have.
// psi and omega per day: psi per time unit / t, and omega = psi(day) x lambda(day).
Grid populationParameterGrid(const FecundityLifeTable& table, const PredationRates* predation,
                             double timeUnit) {
  const auto& growth = table.growth;
  const bool rates = growth.has_value() && predation != nullptr;
  const double psiPerDay = rates ? predation->stablePredationRate / timeUnit : 0.0;
  const std::array<std::pair<QString, std::optional<double>>, 8> rows = {{
      {QStringLiteral("R0"), table.R0},
      {QStringLiteral("r (1/day)"), growth ? std::optional(growth->r) : std::nullopt},
      {QStringLiteral("lambda (1/day)"), growth ? std::optional(growth->lambda) : std::nullopt},
      {QStringLiteral("T (days)"), growth ? std::optional(growth->T) : std::nullopt},
      {QStringLiteral("GRR"), table.GRR},
      {QStringLiteral("F (eggs/female)"),
       table.femaleCount > 0 ? std::optional(table.F) : std::nullopt},
      {QStringLiteral("psi (prey/individual/day)"),
       rates ? std::optional(psiPerDay) : std::nullopt},
      {QStringLiteral("omega (prey/individual/day)"),
       rates ? std::optional(psiPerDay * predation->finiteRate) : std::nullopt},
  }};
  Grid grid(static_cast<int>(rows.size()) + 1, 2);
  grid.at(0, 0) = QStringLiteral("Parameter");
  grid.at(0, 1) = QStringLiteral("Value");
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const int row = static_cast<int>(k) + 1;
    grid.at(row, 0) = rows[k].first;
    if (rows[k].second) {
      grid.setNumber(row, 1, *rows[k].second, 4);
    } else {
      grid.at(row, 1) = QStringLiteral("-");
    }
  }
  return grid;
}

Grid femalePeriodGrid(const FecundityLifeTable& table) {
  const std::array<QString, kFemalePeriodCount> names = {
      QStringLiteral("APOP"), QStringLiteral("TPOP"), QStringLiteral("Oviposition days"),
      QStringLiteral("Oviposition period"), QStringLiteral("Post-oviposition period")};
  std::vector<std::pair<QString, Statistic>> columns;
  for (std::size_t c = 0; c < names.size(); ++c) columns.emplace_back(names[c], table.periods[c]);
  return statisticGrid(columns);
}

}  // namespace

std::vector<ResultTab> resultTabs(const Analysis& analysis) {
  const BasicRunResults& r = (*analysis.basic());
  std::vector<ResultTab> tabs;
  tabs.push_back({QStringLiteral("Matrix S"), matrixGrid(analysis, r.S, 4, false)});
  tabs.push_back({QStringLiteral("Matrix G"), matrixGrid(analysis, r.G, 4, false)});
  tabs.push_back({QStringLiteral("Matrix D"), matrixGrid(analysis, r.D, 4, true)});
  tabs.push_back({QStringLiteral("Matrix C"), matrixGrid(analysis, r.C, 2, false)});
  tabs.push_back({QStringLiteral("Consumption"), consumptionGrid(analysis)});
  tabs.push_back({QStringLiteral("Stage mean"), stageDurationGrid(analysis)});
  tabs.push_back(
      {QStringLiteral("&l(x): survival rate"),
       ageCurveGrid(r, QStringLiteral("l(x)"), [&r](int x) { return element(r.l, x); })});
  tabs.push_back(
      {QStringLiteral("&c(x): age-specific "),
       ageCurveGrid(r, QStringLiteral("c(x)"), [&r](int x) { return element(r.k, x); })});
  tabs.push_back({QStringLiteral("k(x)=c(x)*l(x)"),
                  ageCurveGrid(r, QStringLiteral("k(x)"),
                               [&r](int x) { return element(r.k, x) * element(r.l, x); })});
  tabs.push_back({QStringLiteral(" Mean consumption"), meanConsumptionGrid(r)});
  if (analysis.lifeTable()) {
    const FecundityLifeTable& table = *analysis.lifeTable();
    tabs.push_back({QStringLiteral("Life table"), lifeTableGrid(table)});
    tabs.push_back(
        {QStringLiteral("R0, r, lambda, T"),
         populationParameterGrid(table, analysis.predation() ? &*analysis.predation() : nullptr,
                                 analysis.study().timeUnit)});
    tabs.push_back({QStringLiteral("Female periods"), femalePeriodGrid(table)});
  }
  return tabs;
}

Grid stageMeanGrid(const Analysis& analysis) {
  const int m = analysis.study().stageCount;
  Grid grid(std::max(kStageMeanRows, m) + 1, 3);
  grid.at(0, 0) = QStringLiteral("Stage");
  grid.at(0, 1) = QStringLiteral("Mean");
  grid.at(0, 2) = QStringLiteral("SE");
  for (int j = 1; j <= m; ++j) {
    const Statistic duration = element((*analysis.basic()).stageDuration, j);
    grid.at(j, 0) = j == m ? QStringLiteral("Adult") : stageName(analysis.study(), 1, j);
    grid.setNumber(j, 1, duration.mean, 2);
    grid.setNumber(j, 2, standardError(duration), 2);
  }
  return grid;
}

QString stageMeanHeading(const Analysis& analysis) {
  return QString::fromStdString(analysis.study().projectTitle) +
         QStringLiteral(" (detailed results see ") +
         QString::fromStdString(analysis.basicReportPath()) + QStringLiteral(").");
}

}  // namespace pellmar
