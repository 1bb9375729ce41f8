#include "ui/views/experiment_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/data/limits.h"
#include "core/experiment/experiment_files.h"
#include "ui/views/grid_table.h"
#include "ui/views/resampling_results_window.h"
#include "ui/widgets/typed_seed.h"

namespace pellmar {
namespace {

constexpr std::array<PAdjustMethod, 4> kAdjustMethods = {
    PAdjustMethod::kHolm, PAdjustMethod::kBonferroni, PAdjustMethod::kBenjaminiHochberg,
    PAdjustMethod::kNone};

QString shownPath(const std::string& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path));
}

QDoubleSpinBox* probabilityBox(QWidget* parent, const char* name) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setDecimals(4);
  box->setRange(0.0001, 0.9999);
  box->setSingleStep(0.01);
  return box;
}

}  // namespace

ExperimentWindow::ExperimentWindow()
    : ReturnWindow(QStringLiteral("experimentWindow"), QStringLiteral("Experiment")),
      title_(new QLabel(this)),
      file_(new QLabel(this)),
      treatments_(new QTableWidget(this)),
      replicates_(new QSpinBox(this)),
      seed_(new QLineEdit(this)),
      seedFault_(new QLabel(this)),
      confidence_(probabilityBox(this, "confidenceBox")),
      adjust_(new QComboBox(this)),
      alpha_(probabilityBox(this, "alphaBox")),
      redrawBarren_(new QCheckBox(QStringLiteral("Draw again the replicates without a laying "
                                                 "female (redraw barren)"),
                                  this)),
      run_(new QPushButton(QStringLiteral("Run experiment"), this)),
      save_(new QPushButton(QStringLiteral("Save project"), this)),
      stop_(new QPushButton(QStringLiteral("Stop"), this)),
      progress_(new QProgressBar(this)),
      progressText_(new QLabel(this)),
      outcome_(new QLabel(this)),
      table_(new QTableWidget(this)) {
  title_->setObjectName(QStringLiteral("projectTitleLabel"));
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
  title_->setFont(titleFont);
  file_->setObjectName(QStringLiteral("projectFileLabel"));
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  treatments_->setObjectName(QStringLiteral("treatmentsGrid"));
  replicates_->setObjectName(QStringLiteral("replicatesBox"));
  replicates_->setRange(1, kMaxBootstrapReplicates);
  replicates_->setGroupSeparatorShown(false);
  seed_->setObjectName(QStringLiteral("seedBox"));
  seed_->setPlaceholderText(QStringLiteral("from the clock"));
  seed_->setMinimumWidth(seed_->fontMetrics().horizontalAdvance(QStringLiteral("0").repeated(24)));
  seedFault_->setObjectName(QStringLiteral("seedFaultLabel"));
  seedFault_->setStyleSheet(QStringLiteral("color: #b00020"));
  seedFault_->hide();
  adjust_->setObjectName(QStringLiteral("adjustBox"));
  for (const PAdjustMethod method : kAdjustMethods) {
    adjust_->addItem(QString::fromStdString(std::string(pAdjustMethodName(method))));
  }
  redrawBarren_->setObjectName(QStringLiteral("redrawBarrenBox"));
  run_->setObjectName(QStringLiteral("runExperimentButton"));
  run_->setToolTip(
      QStringLiteral("Analyse every treatment with its own bootstrap, test every "
                     "pair and write the results folder"));
  save_->setObjectName(QStringLiteral("saveProjectButton"));
  save_->setToolTip(QStringLiteral("Write these settings into the project file"));
  stop_->setObjectName(QStringLiteral("stopExperimentButton"));
  progress_->setObjectName(QStringLiteral("experimentProgress"));
  progress_->setRange(0, 100);
  progressText_->setObjectName(QStringLiteral("experimentProgressText"));
  outcome_->setObjectName(QStringLiteral("outcomeLabel"));
  outcome_->setWordWrap(true);
  outcome_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  table_->setObjectName(QStringLiteral("paperTableGrid"));

  auto* seedColumn = new QVBoxLayout;
  seedColumn->addWidget(seed_);
  seedColumn->addWidget(seedFault_);
  auto* settings = new QFormLayout;
  settings->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  settings->addRow(QStringLiteral("Bootstrap replicates:"), replicates_);
  settings->addRow(QStringLiteral("Seed:"), seedColumn);
  settings->addRow(QStringLiteral("Confidence:"), confidence_);
  settings->addRow(QStringLiteral("p adjustment:"), adjust_);
  settings->addRow(QStringLiteral("alpha:"), alpha_);
  settings->addRow(QString(), redrawBarren_);

  auto* back = new QPushButton(QStringLiteral("Back to the main window"), this);
  back->setObjectName(QStringLiteral("backButton"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(run_);
  buttons->addWidget(stop_);
  buttons->addWidget(save_);
  buttons->addWidget(progress_, 1);
  buttons->addWidget(progressText_);
  buttons->addStretch();
  buttons->addWidget(back);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(file_);
  layout->addWidget(treatments_);
  layout->addLayout(settings);
  layout->addLayout(buttons);
  layout->addWidget(outcome_);
  layout->addWidget(table_, 1);
  resize(980, 720);

  connect(back, &QPushButton::clicked, this, &QWidget::close);
  connect(run_, &QPushButton::clicked, this, &ExperimentWindow::runRequested);
  connect(save_, &QPushButton::clicked, this, &ExperimentWindow::saveRequested);
  connect(stop_, &QPushButton::clicked, this, &ExperimentWindow::stopRequested);
  connect(seed_, &QLineEdit::textChanged, this, &ExperimentWindow::checkSettings);
  showRunning(false);
}

void ExperimentWindow::present(const Project& project) {
  project_ = project;
  title_->setText(QString::fromStdString(project.title));
  file_->setText(shownPath(project.file));

  const bool extraFile = project.kind != TreatmentKind::kConsumption;
  Grid grid(static_cast<int>(project.treatments.size()) + 1, extraFile ? 3 : 2);
  grid.at(0, 0) = QStringLiteral("Treatment");
  grid.at(0, 1) = QStringLiteral("Data file");
  if (extraFile) {
    grid.at(0, 2) = project.kind == TreatmentKind::kFecundity ? QStringLiteral("Fecundity file")
                                                              : QStringLiteral("SASD file");
  }
  // The files by name; the whole path is the cell's tool tip.
  std::vector<std::pair<int, QString>> paths;
  const auto setFile = [&grid, &paths](int row, int column, const std::string& file) {
    grid.at(row, column) = QFileInfo(QString::fromStdString(file)).fileName();
    paths.emplace_back(row * grid.columns() + column, shownPath(file));
  };
  for (std::size_t i = 0; i < project.treatments.size(); ++i) {
    const Treatment& treatment = project.treatments[i];
    const int row = static_cast<int>(i) + 1;
    grid.at(row, 0) = QString::fromStdString(treatment.name);
    setFile(row, 1, treatment.data);
    if (treatment.fecundity) setFile(row, 2, *treatment.fecundity);
    if (treatment.sasd) setFile(row, 2, *treatment.sasd);
  }
  showGrid(*treatments_, grid);
  for (const auto& [cell, path] : paths) {
    QTableWidgetItem* item = treatments_->item(cell / grid.columns(), cell % grid.columns());
    item->setToolTip(path);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  treatments_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  treatments_->horizontalHeader()->setStretchLastSection(true);
  fitHeightToRows(*treatments_);

  const Project::Bootstrap& bootstrap = project.bootstrap;
  replicates_->setValue(bootstrap.replicates);
  seed_->setText(bootstrap.seed ? QString::number(*bootstrap.seed) : QString());
  confidence_->setValue(bootstrap.confidence);
  adjust_->setCurrentText(
      QString::fromStdString(std::string(pAdjustMethodName(project.comparisons.adjust))));
  alpha_->setValue(project.comparisons.alpha);
  redrawBarren_->setChecked(bootstrap.redrawBarren);

  outcome_->clear();
  outcome_->hide();
  table_->clear();
  table_->setRowCount(0);
  table_->setColumnCount(0);
  table_->hide();
  checkSettings();
}

Project ExperimentWindow::editedProject() const {
  Project project = project_;
  project.bootstrap.replicates = replicates_->value();
  project.bootstrap.seed = typedSeed(seed_->text()).seed;
  project.bootstrap.confidence = confidence_->value();
  project.bootstrap.redrawBarren = redrawBarren_->isChecked();
  project.comparisons.adjust = kAdjustMethods[static_cast<std::size_t>(adjust_->currentIndex())];
  project.comparisons.alpha = alpha_->value();
  return project;
}

ExperimentRequest ExperimentWindow::request() const {
  const Project project = editedProject();
  ExperimentRequest request;
  request.projectFile = project.file;
  request.replicates = project.bootstrap.replicates;
  request.seed = project.bootstrap.seed;
  request.confidence = project.bootstrap.confidence;
  request.adjust = project.comparisons.adjust;
  request.alpha = project.comparisons.alpha;
  request.redrawBarren = project.bootstrap.redrawBarren;
  request.frontEnd = "desktop";
  return request;
}

QString ExperimentWindow::settingsFault() const {
  if (!typedSeed(seed_->text()).valid) {
    return QStringLiteral(
        "The seed must be a whole number from 0 to 18446744073709551615, or "
        "empty for a seed from the clock.");
  }
  return {};
}

void ExperimentWindow::checkSettings() {
  const QString fault = settingsFault();
  seedFault_->setText(fault);
  seedFault_->setVisible(!fault.isEmpty());
  seed_->setStyleSheet(fault.isEmpty() ? QString()
                                       : QStringLiteral("QLineEdit { border: 2px solid #b00020 }"));
  run_->setEnabled(!running_ && fault.isEmpty());
  save_->setEnabled(!running_ && fault.isEmpty());
}

void ExperimentWindow::showRunning(bool running) {
  running_ = running;
  for (QWidget* setting : std::initializer_list<QWidget*>{replicates_, seed_, confidence_, adjust_,
                                                          alpha_, redrawBarren_}) {
    setting->setEnabled(!running);
  }
  stop_->setVisible(running);
  stop_->setEnabled(running);
  progress_->setVisible(running);
  progressText_->setVisible(running);
  if (running) {
    progress_->setValue(0);
    progressText_->clear();
  }
  checkSettings();
}

void ExperimentWindow::showProgress(int percent, const QString& text) {
  progress_->setValue(percent);
  progressText_->setText(text);
}

void ExperimentWindow::showResult(const ExperimentResult& result) {
  project_ = result.project;
  seed_->setText(result.project.bootstrap.seed ? QString::number(*result.project.bootstrap.seed)
                                               : QString());
  QString outcome = QStringLiteral("Seed %1. The results are in %2.")
                        .arg(seed_->text(), shownPath(result.resultsFolder));
  if (result.warning) outcome += QLatin1Char('\n') + QString::fromStdString(*result.warning);
  outcome_->setText(outcome);
  outcome_->show();

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
      if (!row.letters[t].empty())
        cell += QLatin1Char(' ') + QString::fromStdString(row.letters[t]);
      grid.setNumber(r, 3 + static_cast<int>(t), *row.estimate[t], cell);
    }
  }
  showGrid(*table_, grid);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->show();
}

}  // namespace pellmar
