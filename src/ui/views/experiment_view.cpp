#include "ui/views/experiment_view.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "core/experiment/experiment_files.h"
#include "ui/views/grid_table.h"
#include "ui/views/paired_test_window.h"
#include "ui/views/resampling_results_window.h"

namespace pellmar {
namespace {

void fillTable(QTableWidget& table, const Grid& grid) {
  showGrid(table, grid);
  table.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table.show();
}

// The paper's table: a row a quantity, a column a treatment, each cell "estimate ± SE letters".
Grid paperTable(const ExperimentResult& result) {
  const std::vector<QuantityLetters>& rows = result.comparisons.letters;
  const int treatments = static_cast<int>(result.treatments.size());
  Grid grid(static_cast<int>(rows.size()) + 1, 3 + treatments);
  grid.at(0, 0) = QStringLiteral("Quantity");
  grid.at(0, 1) = QStringLiteral("Stage");
  grid.at(0, 2) = QStringLiteral("Sex");
  for (int t = 0; t < treatments; ++t) {
    grid.at(0, 3 + t) = QString::fromStdString(result.treatments[static_cast<std::size_t>(t)].name);
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const QuantityLetters& row = rows[i];
    const int r = static_cast<int>(i) + 1;
    grid.at(r, 0) = quantityLabel(row.quantity);
    grid.at(r, 1) = QString::fromStdString(row.stage);
    grid.at(r, 2) = QString::fromStdString(row.sex);
    for (std::size_t t = 0; t < row.estimate.size(); ++t) {
      if (!row.estimate[t]) continue;
      QString cell = QString::fromStdString(estimateWithSe(*row.estimate[t], row.se[t]));
      if (!row.letters[t].empty()) {
        cell += QLatin1Char(' ') + QString::fromStdString(row.letters[t]);
      }
      grid.setNumber(r, 3 + static_cast<int>(t), *row.estimate[t], cell);
    }
  }
  return grid;
}

// Every pair's test of every quantity: the difference and its p, raw and adjusted.
Grid pairwiseTable(const ExperimentResult& result) {
  const std::vector<PairwiseComparison>& pairs = result.comparisons.pairs;
  Grid grid(static_cast<int>(pairs.size()) + 1, 7);
  const std::array<QString, 7> headings = {QStringLiteral("Pair"),       QStringLiteral("Quantity"),
                                           QStringLiteral("Stage"),      QStringLiteral("Sex"),
                                           QStringLiteral("Difference"), QStringLiteral("p"),
                                           QStringLiteral("p adjusted")};
  for (int column = 0; column < 7; ++column) {
    grid.at(0, column) = headings[static_cast<std::size_t>(column)];
  }
  const auto nameOf = [&result](std::size_t t) {
    return QString::fromStdString(result.treatments[t].name);
  };
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const PairwiseComparison& pair = pairs[i];
    const int r = static_cast<int>(i) + 1;
    grid.at(r, 0) = nameOf(pair.first) + QStringLiteral(" – ") + nameOf(pair.second);
    grid.at(r, 1) = quantityLabel(pair.test.quantity);
    grid.at(r, 2) = QString::fromStdString(pair.test.stage);
    grid.at(r, 3) = QString::fromStdString(pair.test.sex);
    const auto setValue = [&grid, r](int column, const std::optional<double>& value) {
      if (value) grid.setNumber(r, column, *value, QString::number(*value, 'g', 6));
    };
    setValue(4, pair.test.difference);
    setValue(5, pair.test.p);
    setValue(6, pair.pAdjusted);
  }
  return grid;
}

}  // namespace

ExperimentView::ExperimentView(QWidget* parent)
    : QWidget(parent),
      placeholder_(new QLabel(this)),
      outcome_(new QLabel(this)),
      table_(new QTableWidget(this)),
      pairwise_(new QTableWidget(this)),
      figureArea_(new QWidget(this)),
      figure_(new QComboBox(figureArea_)),
      stage_(new QComboBox(figureArea_)),
      figureNote_(new QLabel(figureArea_)),
      figureView_(new QChartView(figureArea_)) {
  setObjectName(QStringLiteral("comparisonView"));
  placeholder_->setObjectName(QStringLiteral("comparisonPlaceholder"));
  placeholder_->setWordWrap(true);
  placeholder_->setAlignment(Qt::AlignCenter);
  placeholder_->setForegroundRole(QPalette::PlaceholderText);
  placeholder_->setText(
      QStringLiteral("Run every treatment of a project (Settings, Run: all treatments) for the "
                     "table with letters, or a paired bootstrap test of this study."));
  outcome_->setObjectName(QStringLiteral("outcomeLabel"));
  outcome_->setWordWrap(true);
  outcome_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  table_->setObjectName(QStringLiteral("paperTableGrid"));
  pairwise_->setObjectName(QStringLiteral("pairwiseGrid"));

  figure_->setObjectName(QStringLiteral("treatmentsFigureBox"));
  figure_->addItems({QStringLiteral("s(x,j) of a stage"), QStringLiteral("l(x)"),
                     QStringLiteral("c(x)"), QStringLiteral("Projection from 10 eggs")});
  stage_->setObjectName(QStringLiteral("treatmentsStageBox"));
  figureNote_->setObjectName(QStringLiteral("treatmentsFigureNote"));
  figureNote_->setWordWrap(true);
  figureView_->setObjectName(QStringLiteral("treatmentsChartView"));
  figureView_->setRenderHint(QPainter::Antialiasing);
  figureView_->setFocusPolicy(Qt::NoFocus);
  figureView_->setMinimumSize(240, 160);
  auto* choices = new QHBoxLayout;
  choices->addWidget(new QLabel(QStringLiteral("Figure:"), figureArea_));
  choices->addWidget(figure_);
  choices->addWidget(stage_);
  choices->addStretch();
  auto* figureLayout = new QVBoxLayout(figureArea_);
  figureLayout->setContentsMargins(0, 0, 0, 0);
  figureLayout->addLayout(choices);
  figureLayout->addWidget(figureNote_);
  figureLayout->addWidget(figureView_, 1);
  connect(figure_, &QComboBox::currentIndexChanged, this, [this] { drawFigure(); });
  connect(stage_, &QComboBox::currentIndexChanged, this, [this] { drawFigure(); });

  auto* tables = new QSplitter(Qt::Vertical, this);
  tables->addWidget(table_);
  tables->addWidget(pairwise_);
  tables->addWidget(figureArea_);
  tables->setStretchFactor(0, 2);
  tables->setStretchFactor(2, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(placeholder_, 1);
  layout->addWidget(outcome_);
  layout->addWidget(tables, 3);
  clear();
}

void ExperimentView::addPairedTest(PairedTestWindow& pairedTest) {
  pairedTest_ = &pairedTest;
  pairedTest.embedIn(*this);
  layout()->addWidget(&pairedTest);
  pairedTest.hide();
}

void ExperimentView::clear() {
  placeholder_->show();
  outcome_->hide();
  for (QTableWidget* table : {table_, pairwise_}) {
    table->clear();
    table->setRowCount(0);
    table->setColumnCount(0);
    table->hide();
  }
  treatments_.reset();
  figureArea_->hide();
}

void ExperimentView::showTreatments(std::vector<TreatmentCurves> treatments) {
  treatments_ = std::make_shared<const std::vector<TreatmentCurves>>(std::move(treatments));
  {
    const QSignalBlocker quiet(stage_);
    stage_->clear();
    if (!treatments_->empty()) {
      const Study& study = treatments_->front().study;
      for (int j = 1; j <= study.stageCount + 1; ++j) stage_->addItem(stageNameOf(study, j), j);
    }
  }
  figureNote_->clear();
  figureArea_->show();
  drawFigure();
}

void ExperimentView::showTreatmentsFault(const QString& fault) {
  treatments_.reset();
  figureView_->chart()->removeAllSeries();
  figureNote_->setText(fault);
  figureArea_->show();
}

ChartDrawing ExperimentView::figureDrawing() const {
  if (!treatments_) return {};
  const auto figure = static_cast<TreatmentFigure>(figure_->currentIndex());
  const int stage = stage_->currentData().toInt();
  return [treatments = treatments_, figure, stage](QChart& chart) {
    drawTreatmentsChart(chart, figure, *treatments, stage);
  };
}

QString ExperimentView::figureName() const {
  constexpr std::array<const char*, 4> kNames = {"treatments_sxj", "treatments_lx", "treatments_cx",
                                                 "treatments_projection"};
  return QString::fromLatin1(
      kNames[static_cast<std::size_t>(std::max(0, figure_->currentIndex()))]);
}

void ExperimentView::drawFigure() {
  stage_->setVisible(figure_->currentIndex() == 0);
  if (const ChartDrawing draw = figureDrawing()) draw(*figureView_->chart());
}

void ExperimentView::showPairedTest() {
  placeholder_->hide();
  if (pairedTest_ != nullptr) pairedTest_->show();
}

void ExperimentView::showResult(const ExperimentResult& result) {
  placeholder_->hide();
  const std::optional<std::uint64_t>& seed = result.project.bootstrap.seed;
  QString outcome =
      QStringLiteral("%1: seed %2. The results are in %3.")
          .arg(QString::fromStdString(result.project.title),
               seed ? QString::number(*seed) : QString(),
               QDir::toNativeSeparators(QString::fromStdString(result.resultsFolder)));
  if (result.warning) outcome += QLatin1Char('\n') + QString::fromStdString(*result.warning);
  outcome_->setText(outcome);
  outcome_->show();
  fillTable(*table_, paperTable(result));
  fillTable(*pairwise_, pairwiseTable(result));
}

}  // namespace pellmar
