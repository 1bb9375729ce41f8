#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

#include "core/user_error.h"
#include "ui/views/grid_table.h"
#include "ui/views/results_window.h"
#include "ui/views/table_takeaway.h"
#include "ui_test_support.h"

namespace pellmar {
namespace {

using test_support::AnalysedStudy;
using test_support::goldenStudy;
using test_support::readFile;
using test_support::TemporaryFolder;

// Ages down, two stages across; the larva's name holds a comma.
Grid smallGrid() {
  Grid grid(4, 3);
  grid.at(0, 0) = QStringLiteral("Age");
  grid.at(0, 1) = QStringLiteral("Egg");
  grid.at(0, 2) = QStringLiteral("Larva, late");
  for (int x = 0; x < 3; ++x) grid.at(x + 1, 0) = QString::number(x);
  grid.setNumber(1, 1, 1.0, 4);
  grid.setNumber(2, 1, 2.0 / 3.0, 4);
  grid.at(3, 1) = QStringLiteral("-");
  grid.setNumber(1, 2, 0.1, 4);
  grid.setNumber(2, 2, 1e-7, 4);
  grid.setNumber(3, 2, 12.5, 2);
  return grid;
}

class TableTakeaway : public ::testing::Test {
 protected:
  TableTakeaway() { showGrid(table_, smallGrid()); }

  void select(int top, int left, int bottom, int right) {
    table_.clearSelection();
    table_.setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
  }

  QTableWidget table_;
};

// Copied as the full values behind the rounded text, a "-" (no value) as nothing.
TEST_F(TableTakeaway, CopiesTheFullValuesOfTheSelectedRange) {
  select(1, 1, 2, 2);
  EXPECT_EQ(selectionText(table_), QStringLiteral("1\t0.1\n0.6666666666666666\t1e-07\n"));

  // Two separate cells: the rest of the rectangle between them stays empty.
  table_.clearSelection();
  table_.setRangeSelected(QTableWidgetSelectionRange(1, 0, 1, 0), true);
  table_.setRangeSelected(QTableWidgetSelectionRange(2, 2, 2, 2), true);
  EXPECT_EQ(selectionText(table_), QStringLiteral("0\t\t\n\t\t1e-07\n"));

  // Whole columns bring their headings; with the heading row selected it is not repeated.
  select(1, 1, 3, 2);
  EXPECT_EQ(selectionText(table_),
            QStringLiteral("Egg\tLarva, late\n1\t0.1\n0.6666666666666666\t1e-07\n\t12.5\n"));
  select(0, 2, 3, 2);
  EXPECT_EQ(selectionText(table_), QStringLiteral("Larva, late\n0.1\n1e-07\n12.5\n"));

  table_.clearSelection();
  EXPECT_TRUE(selectionText(table_).isEmpty());
}

TEST_F(TableTakeaway, CtrlCPutsTheSelectionOnTheClipboard) {
  table_.show();
  table_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&table_));
  table_.setFocus();
  select(2, 0, 3, 1);
  QApplication::clipboard()->clear();
  QTest::keySequence(&table_, QKeySequence::Copy);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1\t0.6666666666666666\n2\t\n"));
  ASSERT_NE(table_.findChild<QAction*>(QStringLiteral("exportCsvAction")), nullptr);
  EXPECT_EQ(table_.contextMenuPolicy(), Qt::ActionsContextMenu);
}

TEST_F(TableTakeaway, CsvHoldsEveryDigitBehindTheCells) {
  EXPECT_EQ(tableCsvText(table_),
            "Age,Egg,\"Larva, late\"\r\n"
            "0,1,0.1\r\n"
            "1,0.6666666666666666,1e-07\r\n"
            "2,,12.5\r\n");

  TemporaryFolder folder;
  const auto path = folder.path() / "table.csv";
  exportTableCsv(table_, QString::fromStdString(path.string()));
  EXPECT_EQ(readFile(path), tableCsvText(table_));
  const auto missing = folder.path() / "no such folder" / "table.csv";
  EXPECT_THROW(exportTableCsv(table_, QString::fromStdString(missing.string())), UserError);
}

TEST(TableTakeawayHeader, TablesWithAHeaderWriteItFirst) {
  QTableWidget table(2, 2);
  table.setHorizontalHeaderLabels({QStringLiteral("What it holds"), QStringLiteral("File")});
  table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("Report")));
  table.setItem(0, 1, new QTableWidgetItem(QStringLiteral("a.txt")));
  table.setItem(1, 1, new QTableWidgetItem(QStringLiteral("b.txt")));
  enableTakeaway(table, HeadingRow::kHeader);
  table.setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 1), true);
  EXPECT_EQ(selectionText(table), QStringLiteral("File\na.txt\nb.txt\n"));
  EXPECT_EQ(tableCsvText(table), "What it holds,File\r\nReport,a.txt\r\n,b.txt\r\n");
}

// A click on a heading selects its column, which copies under the heading's whole text.
TEST_F(TableTakeaway, AHeadingClickSelectsItsColumnUnderItsWholeName) {
  Grid grid = smallGrid();
  grid.setShortened(0, 2, QStringLiteral("Larv"), QStringLiteral("Larva, late"));
  showGrid(table_, grid);
  emit table_.clicked(table_.model()->index(0, 2));
  EXPECT_TRUE(selectionText(table_).startsWith(QStringLiteral("Larva, late\n0.1\n")))
      << selectionText(table_).toStdString();
  EXPECT_EQ(tableCsvText(table_).substr(0, 21), "Age,Egg,\"Larva, late\"");
}

// Every grid of the result window keeps the full values: two larvae of three at age 2.
TEST(ResultWindowTakeaway, MatrixCsvHasTheFullValueOfARoundedCell) {
  AnalysedStudy analysed(goldenStudy("three_stages"));
  ResultsWindow form;
  form.load(analysed.analysis());
  const QTableWidget& matrixS = *form.grid(0);
  EXPECT_EQ(matrixS.item(3, 2)->text(), QStringLiteral("0.6667"));
  const std::string csv = tableCsvText(matrixS);
  // The narrow columns' labels stand for the stages' full names.
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "Age,Egg,Larva,female adult,male adult");
  EXPECT_EQ(matrixS.item(0, 2)->text(), QStringLiteral("Larv"));
  EXPECT_NE(csv.find("\r\n2,,0.6666666666666666,,0.3333333333333333\r\n"), std::string::npos)
      << csv;
}

}  // namespace
}  // namespace pellmar
