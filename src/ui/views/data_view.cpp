#include "ui/views/data_view.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

#include "core/data/study.h"
#include "core/predation/fecundity_life_table.h"
#include "core/report/number_format.h"
#include "ui/views/table_takeaway.h"
#include "ui/widgets/display_number.h"

namespace pellmar {
namespace {

constexpr int kShownDecimals = 2;

QTableWidgetItem* cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

QTableWidgetItem* numberCell(double value) {
  QTableWidgetItem* item = cell(displayNumber(value, kShownDecimals));
  item->setData(kFullValueRole, value);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

// An individual's life in time units: every stage it went through, the one it died in counted by
// its days there.
double lifeOf(const IndividualRecord& individual) {
  double life = 0.0;
  for (std::size_t j = 1; j < individual.stageDuration.size(); ++j) {
    life += std::abs(individual.stageDuration[j]);
  }
  return life;
}

}  // namespace

DataView::DataView(QWidget* parent)
    : QWidget(parent),
      summary_(new QLabel(this)),
      faults_(new QListWidget(this)),
      grid_(new QTableWidget(this)) {
  setObjectName(QStringLiteral("dataView"));
  summary_->setObjectName(QStringLiteral("dataSummaryLabel"));
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid_->setObjectName(QStringLiteral("dataGrid"));
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  enableTakeaway(*grid_, HeadingRow::kHeader);
  faults_->setObjectName(QStringLiteral("dataFaultsList"));
  faults_->setWordWrap(true);
  faults_->setMaximumHeight(faults_->fontMetrics().height() * 6);
  connect(faults_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    const int line = faults_->item(row)->data(Qt::UserRole).toInt();
    if (line > 0 && line <= grid_->rowCount()) {
      grid_->selectRow(line - 1);
      grid_->scrollToItem(grid_->item(line - 1, 0), QAbstractItemView::PositionAtCenter);
    }
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(faults_);
  layout->addWidget(grid_, 1);
  showStudy(nullptr, nullptr);
}

void DataView::showFault(const std::string& dataFile, const std::string& fault) {
  faultShown_ = true;
  const QString path = QString::fromStdString(dataFile);
  summary_->setText(QStringLiteral("The data file %1 could not be read. Click the fault to see "
                                   "its line; correct the file and open it again.")
                        .arg(QFileInfo(path).fileName()));
  faults_->clear();
  const QString text = QString::fromStdString(fault).simplified();
  auto* item = new QListWidgetItem(text, faults_);
  const QRegularExpressionMatch line =
      QRegularExpression(QStringLiteral("line (\\d+)")).match(text);
  item->setData(Qt::UserRole, line.hasMatch() ? line.captured(1).toInt() : 0);
  faults_->show();

  // The file as it is, a row a line, so that the fault can be seen in its place.
  grid_->clear();
  grid_->setColumnCount(2);
  grid_->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("Text")});
  QStringList lines;
  if (QFile file(path); file.open(QIODevice::ReadOnly)) {
    lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  }
  grid_->setRowCount(static_cast<int>(lines.size()));
  for (int row = 0; row < lines.size(); ++row) {
    grid_->setItem(row, 0, numberCell(row + 1));
    QString shown = lines[row];
    shown.remove(QLatin1Char('\r'));
    grid_->setItem(row, 1, cell(shown));
  }
  grid_->resizeColumnsToContents();
  faults_->setCurrentRow(0);
}

void DataView::showStudy(const Study* study, const FecundityLifeTable* lifeTable) {
  // A fault stays in view until a study opens.
  if (study == nullptr && faultShown_) return;
  faultShown_ = false;
  faults_->clear();
  faults_->hide();
  grid_->clear();
  grid_->setRowCount(0);
  if (study == nullptr) {
    grid_->setColumnCount(0);
    summary_->setText(QStringLiteral("Open a data file to see its individuals here."));
    return;
  }
  const int m = study->stageCount;
  std::map<int, double> eggs;  // by serial number
  if (lifeTable != nullptr) {
    for (const FemaleOviposition& female : lifeTable->females) {
      eggs[female.individual] = female.eggs;
    }
  }
  QStringList headings{QStringLiteral("Individual"), QStringLiteral("Sex")};
  for (int j = 1; j <= m; ++j) {
    headings << QString::fromStdString(study->name(1, j)) + QStringLiteral(" (time units)");
  }
  headings << QStringLiteral("Consumption (prey)");
  if (lifeTable != nullptr) headings << QStringLiteral("Eggs");
  grid_->setColumnCount(static_cast<int>(headings.size()));
  grid_->setHorizontalHeaderLabels(headings);

  std::map<std::string, int> bySex;
  double longest = 0.0;
  int laying = 0;
  grid_->setRowCount(study->individualCount);
  for (int i = 1; i <= study->individualCount; ++i) {
    const IndividualRecord& individual = study->individual(i);
    const int row = i - 1;
    int column = 0;
    grid_->setItem(row, column++, numberCell(individual.serialNumber));
    grid_->setItem(row, column++, cell(QString::fromStdString(individual.sex)));
    double consumed = 0.0;
    for (int j = 1; j <= m; ++j) {
      const auto ji = static_cast<std::size_t>(j);
      grid_->setItem(row, column++,
                     ji < individual.stageDuration.size() ? numberCell(individual.stageDuration[ji])
                                                          : cell({}));
      if (ji < individual.stageConsumption.size()) consumed += individual.stageConsumption[ji];
    }
    grid_->setItem(row, column++, numberCell(consumed));
    if (lifeTable != nullptr) {
      const auto found = eggs.find(individual.serialNumber);
      grid_->setItem(row, column++, found != eggs.end() ? numberCell(found->second) : cell({}));
      if (found != eggs.end() && found->second > 0) ++laying;
    }
    ++bySex[individual.sex];
    longest = std::max(longest, lifeOf(individual));
  }
  grid_->resizeColumnsToContents();

  QStringList sexes;
  for (const auto& [sex, count] : bySex) {
    sexes << QStringLiteral("%1 %2").arg(count).arg(QString::fromStdString(sex));
  }
  QStringList stages;
  for (int j = 1; j <= m; ++j) stages << QString::fromStdString(study->name(1, j));
  QString text = QStringLiteral("%1 individuals (%2); %3 stages: %4. The longest life: %5 days.")
                     .arg(study->individualCount)
                     .arg(sexes.join(QStringLiteral(", ")))
                     .arg(m)
                     .arg(stages.join(QStringLiteral(", ")))
                     .arg(QString::fromStdString(formatShortest(longest * study->timeUnit)));
  if (lifeTable != nullptr) text += QStringLiteral(" %1 females laid eggs.").arg(laying);
  text += QStringLiteral(
      " The data file was read and checked: it looks OK. A negative duration is the stage in "
      "which the individual died.");
  summary_->setText(text);
}

}  // namespace pellmar
