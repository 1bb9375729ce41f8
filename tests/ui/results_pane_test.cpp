// The results pane beside the heading, and the data view beside the chart: what each step adds
// to them, and what Ctrl+C copies.
#include "ui/views/results_pane.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>

#include "core/report/number_format.h"
#include "main_window_fixture.h"
#include "ui/views/data_view.h"

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

// The data view shows every individual as read, and after Read fecundity their eggs; a chart
// button brings the chart back to the front.
TEST_F(MainWindowTest, DataViewShowsTheCohortAsRead) {
  auto* view = page().findChild<DataView*>(QStringLiteral("dataView"));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->grid()->rowCount(), 0);
  openExample();
  const Study& study = window_.desktop().analysis().study();
  QTableWidget& grid = *view->grid();
  ASSERT_EQ(grid.rowCount(), study.individualCount);
  ASSERT_EQ(grid.columnCount(), 2 + study.stageCount + 1) << "no eggs before Read fecundity";
  const IndividualRecord& first = study.individual(1);
  EXPECT_EQ(grid.item(0, 1)->text(), QString::fromStdString(first.sex));
  EXPECT_EQ(grid.item(0, 2)->data(Qt::UserRole).toDouble(), first.stageDuration[1]);
  EXPECT_TRUE(view->summary()->text().startsWith(QStringLiteral("100 individuals (")))
      << view->summary()->text().toStdString();

  click("basicRunButton");
  dialogs_.chooseFile(besideStudy("lady_beetle_fecundity.txt"));
  click("readFecundityButton");
  ASSERT_EQ(grid.columnCount(), 2 + study.stageCount + 2);
  EXPECT_TRUE(view->summary()->text().contains(QStringLiteral(" females laid eggs.")));
  auto* views = page().findChild<QTabWidget*>(QStringLiteral("viewTabs"));
  views->setCurrentWidget(view);
  click("showSxjButton");
  EXPECT_NE(views->currentWidget(), view) << "a chart button shows its chart";
}

}  // namespace
}  // namespace pellmar
