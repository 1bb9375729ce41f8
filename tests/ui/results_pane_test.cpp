// The results pane beside the heading: what each step adds to it, and what Ctrl+C copies.
#include "ui/views/results_pane.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTableWidget>

#include "core/report/number_format.h"
#include "main_window_fixture.h"

namespace pellmar {
namespace {

using test_support::MainWindowTest;

// The quantities in the pane's first column, top to bottom.
QStringList quantitiesShown(const ResultsPane& pane) {
  QStringList names;
  for (int r = 0; r < pane.table()->rowCount(); ++r) names << pane.table()->item(r, 0)->text();
  return names;
}

TEST_F(MainWindowTest, ResultsPaneFollowsEveryStepAndCopiesFullValues) {
  const auto pane = [this] {
    return page().findChild<ResultsPane*>(QStringLiteral("resultsPane"));
  };
  ASSERT_NE(pane(), nullptr);
  EXPECT_EQ(pane()->table()->rowCount(), 0);
  openExample();
  click("basicRunButton");
  EXPECT_EQ(quantitiesShown(*pane()), QStringList{QStringLiteral("C0")});

  dialogs_.chooseFile(besideStudy("lady_beetle_fecundity.txt"));
  click("readFecundityButton");
  EXPECT_EQ(quantitiesShown(*pane()),
            (QStringList{"C0", "R0", "r", "lambda", "T", "psi", "omega", "Qp"}));
  QTableWidget& table = *pane()->table();
  EXPECT_EQ(table.item(3, 5)->text(), QStringLiteral("per day"));
  EXPECT_TRUE(table.item(0, 2)->text().isEmpty()) << "no SE before a bootstrap";

  // The whole C0 row, at full precision, its empty cells empty.
  const std::vector<SummaryRow> summary = window_.desktop().analysis().summary();
  table.setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 5), true);
  table.findChild<QAction*>(QStringLiteral("copyCellsAction"))->trigger();
  const QString c0 = QString::fromStdString(formatShortest(*summary[0].estimate));
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("C0\t") + c0 + QStringLiteral("\t\t\t\tprey per individual\n"));
  ASSERT_NE(table.findChild<QAction*>(QStringLiteral("exportCsvAction")), nullptr);
  EXPECT_NE(table.item(0, 1)->text(), c0) << "shown rounded, copied in full";
}

}  // namespace
}  // namespace pellmar
