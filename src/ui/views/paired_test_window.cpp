#include "ui/views/paired_test_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "ui/views/grid_table.h"
#include "ui/views/resampling_results_window.h"

namespace pellmar {
namespace {

// Six significant digits: enough to read; the paired-test file holds every digit.
QString shownNumber(std::optional<double> value) {
  return value ? QString::number(*value, 'g', 6) : QString();
}

}  // namespace

PairedTestWindow::PairedTestWindow()
    : ReturnWindow(QStringLiteral("pairedTestWindow"), QStringLiteral("Paired bootstrap test")),
      first_(new QLabel(this)),
      second_(new QLabel(this)),
      method_(new QLabel(this)),
      note_(new QLabel(this)),
      grid_(new QTableWidget(this)) {
  first_->setObjectName(QStringLiteral("firstStudyLabel"));
  second_->setObjectName(QStringLiteral("secondStudyLabel"));
  method_->setObjectName(QStringLiteral("methodLabel"));
  note_->setObjectName(QStringLiteral("noteLabel"));
  note_->setWordWrap(true);
  for (QLabel* label : {first_, second_}) {
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  grid_->setObjectName(QStringLiteral("pairedTestGrid"));

  auto* facts = new QFormLayout;
  facts->addRow(QStringLiteral("First study:"), first_);
  facts->addRow(QStringLiteral("Second study:"), second_);
  facts->addRow(QStringLiteral("Method:"), method_);
  auto* explanation = new QLabel(
      QStringLiteral("Replicate b of the first study is paired with replicate b of the second. "
                     "The interval is that of the paired differences; p is the two-sided "
                     "achieved significance level, twice the share of differences on the "
                     "smaller side of 0."),
      this);
  explanation->setWordWrap(true);

  auto* back = new QPushButton(QStringLiteral("Back to the main window"), this);
  back->setObjectName(QStringLiteral("backButton"));
  connect(back, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(back);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(facts);
  layout->addWidget(explanation);
  layout->addWidget(grid_, 1);
  layout->addWidget(note_);
  layout->addLayout(buttons);
  resize(980, 560);
}

void PairedTestWindow::present(const PairedTestShown& shown) {
  first_->setText(shown.firstStudy);
  second_->setText(shown.secondStudy);
  method_->setText(shown.method);
  note_->setText(QString::fromStdString(shown.test.note));
  note_->setVisible(!shown.test.note.empty());

  const std::vector<PairedTestRow>& rows = shown.test.rows;
  constexpr int kColumns = 11;
  Grid grid(static_cast<int>(rows.size()) + 1, kColumns);
  const QString percent = QString::number(shown.confidence * 100, 'g', 6) + QLatin1Char('%');
  const std::array<QString, kColumns> headings = {QStringLiteral("Parameter"),
                                                  QStringLiteral("Stage"),
                                                  QStringLiteral("Sex"),
                                                  QStringLiteral("First"),
                                                  QStringLiteral("Second"),
                                                  QStringLiteral("Difference"),
                                                  QStringLiteral("S.E."),
                                                  QStringLiteral("Lower ") + percent,
                                                  QStringLiteral("Upper ") + percent,
                                                  QStringLiteral("p"),
                                                  QStringLiteral("Replicates")};
  for (int column = 0; column < kColumns; ++column) {
    grid.at(0, column) = headings[static_cast<std::size_t>(column)];
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const PairedTestRow& row = rows[i];
    const int r = static_cast<int>(i) + 1;
    grid.at(r, 0) = quantityLabel(row.quantity);
    grid.at(r, 1) = QString::fromStdString(row.stage);
    grid.at(r, 2) = QString::fromStdString(row.sex);
    // Every cell keeps its full value for copies and exports.
    const auto number = [&grid, r](int column, std::optional<double> value) {
      if (value) grid.setNumber(r, column, *value, shownNumber(value));
    };
    number(3, row.estimateFirst);
    number(4, row.estimateSecond);
    number(5, row.difference);
    if (const auto& d = row.differences) {
      number(6, d->se);
      number(7, d->low);
      number(8, d->high);
    }
    // Below 0.001 the screen shows "< 0.001"; the cell keeps the number.
    if (row.p) {
      grid.setNumber(r, 9, *row.p, *row.p < 0.001 ? QStringLiteral("< 0.001") : shownNumber(row.p));
    }
    grid.setNumber(r, 10, static_cast<double>(row.replicates), QString::number(row.replicates));
  }
  showGrid(*grid_, grid);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  grid_->horizontalHeader()->setStretchLastSection(true);
}

}  // namespace pellmar
