#include "ui/resampling_results_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/display_number.h"
#include "ui/grid_table.h"

namespace pellmar {

namespace {

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

}  // namespace

QString closingInstructionText() {
  return QStringLiteral(
      "Congratulation!\nYour data were analyzed successfully. If you want to run"
      " this program once again, just quit and restart it.\n Ende gut, alles "
      "gut!\nAuf Wiedersehen!");
}

ResamplingResultsWindow::ResamplingResultsWindow(Dialogs& dialogs)
    : ReturnWindow(QStringLiteral("resamplingResultsWindow"), QStringLiteral("Jackknife form")),
      dialogs_(dialogs),
      project_(new QLabel(this)),
      date_(new QLabel(this)),
      time_(new QLabel(this)),
      grid_(new QTableWidget(this)) {
  project_->setObjectName(QStringLiteral("projectLabel"));
  project_->setWordWrap(true);
  date_->setObjectName(QStringLiteral("dateLabel"));
  time_->setObjectName(QStringLiteral("timeLabel"));
  grid_->setObjectName(QStringLiteral("estimateGrid"));

  auto* facts = new QFormLayout;
  facts->addRow(QStringLiteral("Project:"), project_);
  facts->addRow(QStringLiteral("Date:"), date_);
  facts->addRow(QStringLiteral("Time:"), time_);

  auto* caption = new QLabel(QStringLiteral("The net consumption rate"), this);
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);

  auto* print = new QPushButton(QStringLiteral("Print this page"), this);
  print->setObjectName(QStringLiteral("printButton"));
  connect(print, &QPushButton::clicked, this,
          [this] { dialogs_.printWindow(objectName().toStdString()); });
  auto* back = new QPushButton(QStringLiteral("Go back to mainform"), this);
  back->setObjectName(QStringLiteral("backButton"));
  connect(back, &QPushButton::clicked, this, [this] {
    emit wentBack();
    close();
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(print);
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(facts);
  layout->addWidget(caption);
  layout->addWidget(grid_);
  layout->addStretch();
  layout->addLayout(buttons);
  resize(560, 240);
}

void ResamplingResultsWindow::present(const QString& project,
                                      const std::optional<ResamplingEstimate>& estimate) {
  const ClockReading now = dialogs_.clock();
  project_->setText(project);
  date_->setText(QString::fromStdString(now.dateTimeText).section(QLatin1Char(' '), 0, 0));
  time_->setText(twoDigits(now.hour) + QLatin1Char(':') + twoDigits(now.minute) + QLatin1Char(':') +
                 twoDigits(now.second));

  Grid grid(2, 3);
  grid.at(0, 0) = QStringLiteral("Parameter");
  grid.at(0, 1) = QStringLiteral("Estimate");
  grid.at(0, 2) = QStringLiteral("S.E.");
  grid.at(1, 0) = QStringLiteral("The net consumption rate (C0)");
  if (estimate) {
    grid.at(1, 1) = displayNumber(estimate->estimate, 2);
    grid.at(1, 2) = displayNumber(estimate->standardError, 2);
  }
  showGrid(*grid_, grid);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  fitHeightToRows(*grid_);
  dialogs_.beep();
}

}  // namespace pellmar
