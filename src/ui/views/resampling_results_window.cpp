#include "ui/views/resampling_results_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "ui/views/grid_table.h"

namespace pellmar {

namespace {

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// Six significant digits: enough to read; the summary file holds every digit.
QString shownNumber(double value) { return QString::number(value, 'g', 6); }

}  // namespace

QString quantityLabel(const std::string& quantity) {
  static const std::pair<const char*, const char*> kLabels[] = {
      {"C0", "Net consumption rate (C0)"},
      {"stage_duration", "Stage duration"},
      {"cumulative_duration", "Cumulative duration"},
      {"span_duration", "Span duration"},
      {"stage_consumption", "Stage consumption"},
      {"preadult_consumption", "Preadult consumption"},
      {"total_consumption", "Total consumption"},
      {"daily_consumption", "Daily consumption"},
      {"psi", "Stable predation rate (psi)"},
      {"omega", "Finite predation rate (omega)"},
      {"ln_omega", "ln omega"},
  };
  for (const auto& [name, label] : kLabels) {
    if (quantity == name) return QString::fromUtf8(label);
  }
  return QString::fromStdString(quantity);
}

QString closingInstructionText() {
  return QStringLiteral(
      "Congratulations!\nYour data were analyzed successfully. If you want to analyze"
      " another data file, choose New analysis (Ctrl+N) in the File menu.\n Ende gut, alles "
      "gut!\nAuf Wiedersehen!");
}

ResamplingResultsWindow::ResamplingResultsWindow(Dialogs& dialogs)
    : ReturnWindow(QStringLiteral("resamplingResultsWindow"),
                   QStringLiteral("Bootstrap or jackknife results")),
      dialogs_(dialogs),
      project_(new QLabel(this)),
      date_(new QLabel(this)),
      time_(new QLabel(this)),
      method_(new QLabel(this)),
      seed_(new QLabel(this)),
      grid_(new QTableWidget(this)) {
  project_->setObjectName(QStringLiteral("projectLabel"));
  project_->setWordWrap(true);
  date_->setObjectName(QStringLiteral("dateLabel"));
  time_->setObjectName(QStringLiteral("timeLabel"));
  method_->setObjectName(QStringLiteral("methodLabel"));
  seed_->setObjectName(QStringLiteral("seedLabel"));
  seed_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid_->setObjectName(QStringLiteral("estimateGrid"));

  auto* facts = new QFormLayout;
  facts->addRow(QStringLiteral("Project:"), project_);
  facts->addRow(QStringLiteral("Date:"), date_);
  facts->addRow(QStringLiteral("Time:"), time_);
  facts->addRow(QStringLiteral("Method:"), method_);
  facts->addRow(QStringLiteral("Seed:"), seed_);

  auto* print = new QPushButton(QStringLiteral("Print this page"), this);
  print->setObjectName(QStringLiteral("printButton"));
  connect(print, &QPushButton::clicked, this,
          [this] { dialogs_.printWindow(window()->objectName().toStdString()); });
  auto* back = new QPushButton(QStringLiteral("Back to the main window"), this);
  back->setObjectName(QStringLiteral("backButton"));
  connect(back, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(print);
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(facts);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
  resize(820, 560);
}

void ResamplingResultsWindow::present(const QString& project,
                                      const std::optional<ResamplingShown>& shown) {
  fill(project, shown);
  dialogs_.beep();
}

void ResamplingResultsWindow::clearResults(const QString& project) { fill(project, std::nullopt); }

void ResamplingResultsWindow::fill(const QString& project,
                                   const std::optional<ResamplingShown>& shown) {
  const ClockReading now = dialogs_.clock();
  project_->setText(project);
  date_->setText(QString::fromStdString(now.dateTimeText).section(QLatin1Char(' '), 0, 0));
  time_->setText(twoDigits(now.hour) + QLatin1Char(':') + twoDigits(now.minute) + QLatin1Char(':') +
                 twoDigits(now.second));

  method_->setText(shown ? shown->method : QString());
  seed_->setText(shown && shown->seed ? QString::number(*shown->seed) : QStringLiteral("-"));

  const std::vector<SummaryRow> none;
  const std::vector<SummaryRow>& rows = shown ? shown->rows : none;
  const double confidence = shown ? shown->confidence : kDefaultConfidence;
  constexpr int kColumns = 9;
  Grid grid(static_cast<int>(rows.size()) + 1, kColumns);
  const QString percent = QString::number(confidence * 100, 'g', 6) + QLatin1Char('%');
  const std::array<QString, kColumns> headings = {QStringLiteral("Parameter"),
                                                  QStringLiteral("Stage"),
                                                  QStringLiteral("Sex"),
                                                  QStringLiteral("Estimate"),
                                                  QStringLiteral("Mean"),
                                                  QStringLiteral("S.E."),
                                                  QStringLiteral("Lower ") + percent,
                                                  QStringLiteral("Upper ") + percent,
                                                  QStringLiteral("Replicates")};
  for (int column = 0; column < kColumns; ++column) {
    grid.at(0, column) = headings[static_cast<std::size_t>(column)];
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const SummaryRow& row = rows[i];
    const int r = static_cast<int>(i) + 1;
    grid.at(r, 0) = quantityLabel(row.quantity);
    grid.at(r, 1) = QString::fromStdString(row.stage);
    grid.at(r, 2) = QString::fromStdString(row.sex);
    const auto number = [&grid, r](int column, double value) {
      grid.setNumber(r, column, value, shownNumber(value));
    };
    if (row.estimate) number(3, *row.estimate);
    if (const auto& resampled = row.resampled) {
      number(4, resampled->mean);
      if (resampled->se) number(5, *resampled->se);
      number(6, resampled->low);
      number(7, resampled->high);
      grid.setNumber(r, 8, static_cast<double>(resampled->count),
                     QString::number(resampled->count));
    }
  }
  showGrid(*grid_, grid);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  grid_->horizontalHeader()->setStretchLastSection(true);
}

}  // namespace pellmar
