#include "ui/views/results_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/views/result_tables.h"
#include "ui/views/table_takeaway.h"

namespace pellmar {

namespace {

// "<base>_Matrix_S.csv" for the tab "Matrix S": the caption without its accelerator, with a
// line between words.
QString csvFileFor(const Analysis& analysis, QString caption) {
  caption.remove(QLatin1Char('&'));
  caption.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9()]+")), QStringLiteral("_"));
  caption.remove(QRegularExpression(QStringLiteral("^_+|_+$")));
  return QString::fromStdString(analysis.study().outputBaseName) + QLatin1Char('_') + caption +
         QStringLiteral(".csv");
}

}  // namespace

ResultsWindow::ResultsWindow()
    : ReturnWindow(QStringLiteral("resultsWindow"), QStringLiteral("Results")),
      tabs_(new QTabWidget(this)) {
  tabs_->setObjectName(QStringLiteral("resultTabs"));
  auto* back = new QPushButton(QStringLiteral("Back to the main window"), this);
  back->setObjectName(QStringLiteral("backButton"));
  connect(back, &QPushButton::clicked, this, &QWidget::close);
  auto* workbook = new QPushButton(QStringLiteral("Save workbook"), this);
  workbook->setObjectName(QStringLiteral("saveWorkbookButton"));
  workbook->setToolTip(QStringLiteral(
      "Write the results summary, the life table and the bootstrap replicates into one "
      "spreadsheet workbook (.xlsx) beside the other output files"));
  connect(workbook, &QPushButton::clicked, this, &ResultsWindow::workbookRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(workbook);
  buttons->addStretch();
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
  resize(900, 620);
}

QTableWidget* ResultsWindow::grid(int k) const {
  return qobject_cast<QTableWidget*>(tabs_->widget(k));
}

void ResultsWindow::load(const Analysis& analysis) {
  const int current = tabs_->currentIndex();
  while (tabs_->count() > 0) {
    QWidget* page = tabs_->widget(0);
    tabs_->removeTab(0);
    page->deleteLater();
  }
  int k = 0;
  for (const ResultTab& tab : resultTabs(analysis)) {
    auto* table = new QTableWidget(tabs_);
    table->setObjectName(QStringLiteral("resultTable%1").arg(k++));
    showGrid(*table, tab.grid);
    suggestCsvFile(*table, csvFileFor(analysis, tab.caption));
    tabs_->addTab(table, tab.caption);
  }
  tabs_->setCurrentIndex(std::max(current, 0));
}

}  // namespace pellmar
