#include "ui/views/table_takeaway.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QTableView>
#include <algorithm>
#include <map>
#include <vector>

#include "core/exports/table_csv.h"
#include "core/report/number_format.h"
#include "core/report/output_file.h"
#include "core/user_error.h"

namespace pellmar {

namespace {

const char* const kHeadingsProperty = "pellmarHeadingRow";
const char* const kSuggestedCsvProperty = "pellmarSuggestedCsv";

HeadingRow headingsOf(const QTableView& table) {
  return table.property(kHeadingsProperty).toBool() ? HeadingRow::kFirstRow : HeadingRow::kHeader;
}

QString heading(const QTableView& table, int column) {
  const QAbstractItemModel& model = *table.model();
  if (headingsOf(table) == HeadingRow::kFirstRow) {
    const QModelIndex cell = model.index(0, column);
    const QVariant full = cell.data(kFullTextRole);
    return full.isValid() ? full.toString() : cell.data(Qt::DisplayRole).toString();
  }
  return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// A cell as Ctrl+C copies it: a number in its full value, in the shortest form that reads back
// exactly, not its rounded text; a "-" that stands for a value that does not exist as nothing.
QString copiedText(const QModelIndex& index) {
  const QVariant full = index.data(kFullValueRole);
  if (full.isValid()) return QString::fromStdString(formatShortest(full.toDouble()));
  if (const QVariant whole = index.data(kFullTextRole); whole.isValid()) return whole.toString();
  const QString text = index.data(Qt::DisplayRole).toString();
  return text == QStringLiteral("-") ? QString() : text;
}

void askAndExport(QTableView& table) {
  QString suggested = table.property(kSuggestedCsvProperty).toString();
  if (suggested.isEmpty()) suggested = QStringLiteral("table.csv");
  const QString path =
      QFileDialog::getSaveFileName(&table, QStringLiteral("Export to CSV"), suggested,
                                   QStringLiteral("Comma-separated values (*.csv)"));
  if (path.isEmpty()) return;
  try {
    exportTableCsv(table, path);
    // The next export of this table starts where this one went.
    suggestCsvFile(table, path);
  } catch (const UserError& error) {
    QMessageBox::warning(&table, QString::fromStdString(error.title()),
                         QString::fromStdString(error.text()));
  }
}

}  // namespace

void enableTakeaway(QTableView& table, HeadingRow headings) {
  table.setProperty(kHeadingsProperty, headings == HeadingRow::kFirstRow);
  if (table.findChild<QAction*>(QStringLiteral("copyCellsAction"), Qt::FindDirectChildrenOnly)) {
    return;
  }
  auto* copy = new QAction(QStringLiteral("&Copy"), &table);
  copy->setObjectName(QStringLiteral("copyCellsAction"));
  copy->setShortcut(QKeySequence::Copy);
  // Only while the table has the focus: a text field elsewhere keeps its own Ctrl+C.
  copy->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(copy, &QAction::triggered, &table,
                   [&table] { QApplication::clipboard()->setText(selectionText(table)); });
  auto* exportCsv = new QAction(QStringLiteral("&Export to CSV\u2026"), &table);
  exportCsv->setObjectName(QStringLiteral("exportCsvAction"));
  QObject::connect(exportCsv, &QAction::triggered, &table, [&table] { askAndExport(table); });
  table.addAction(copy);
  table.addAction(exportCsv);
  table.setContextMenuPolicy(Qt::ActionsContextMenu);
  // A click on a heading selects its column, as a click on a header section does.
  QObject::connect(&table, &QAbstractItemView::clicked, &table, [&table](const QModelIndex& index) {
    if (headingsOf(table) == HeadingRow::kFirstRow && index.row() == 0 && index.column() > 0) {
      table.selectColumn(index.column());
    }
  });
}

void suggestCsvFile(QTableView& table, const QString& path) {
  table.setProperty(kSuggestedCsvProperty, path);
}

QString selectionText(const QTableView& table) {
  const QModelIndexList selected = table.selectionModel() != nullptr
                                       ? table.selectionModel()->selectedIndexes()
                                       : QModelIndexList();
  if (selected.isEmpty()) return {};
  int top = selected.front().row();
  int bottom = top;
  int left = selected.front().column();
  int right = left;
  // The rows selected in each column, to tell whole columns.
  std::map<int, int> rowsInColumn;
  const int firstValueRow = headingsOf(table) == HeadingRow::kFirstRow ? 1 : 0;
  for (const QModelIndex& index : selected) {
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
    left = std::min(left, index.column());
    right = std::max(right, index.column());
    if (index.row() >= firstValueRow) ++rowsInColumn[index.column()];
  }
  const int valueRows = table.model()->rowCount() - firstValueRow;
  const bool wholeColumns = valueRows > 0 && std::all_of(rowsInColumn.begin(), rowsInColumn.end(),
                                                         [valueRows](const auto& column) {
                                                           return column.second == valueRows;
                                                         });
  // A heading row already inside the selection is not repeated.
  const bool headingFirst = wholeColumns && !rowsInColumn.empty() && top >= firstValueRow;

  const auto width = static_cast<std::size_t>(right - left + 1);
  std::vector<std::vector<QString>> cells(static_cast<std::size_t>(bottom - top + 1),
                                          std::vector<QString>(width));
  for (const QModelIndex& index : selected) {
    cells[static_cast<std::size_t>(index.row() - top)]
         [static_cast<std::size_t>(index.column() - left)] = copiedText(index);
  }
  if (headingFirst) {
    std::vector<QString> headings(width);
    for (const auto& [column, count] : rowsInColumn) {
      headings[static_cast<std::size_t>(column - left)] = heading(table, column);
    }
    cells.insert(cells.begin(), std::move(headings));
  }
  QString text;
  for (const std::vector<QString>& row : cells) {
    text += QStringList(row.begin(), row.end()).join(QLatin1Char('\t'));
    text += QLatin1Char('\n');
  }
  return text;
}

std::string tableCsvText(const QTableView& table) {
  const QAbstractItemModel& model = *table.model();
  std::vector<std::vector<CsvCell>> rows;
  if (headingsOf(table) == HeadingRow::kHeader) {
    std::vector<CsvCell>& headings = rows.emplace_back();
    for (int column = 0; column < model.columnCount(); ++column) {
      headings.emplace_back(heading(table, column).toStdString());
    }
  }
  for (int row = 0; row < model.rowCount(); ++row) {
    std::vector<CsvCell>& cells = rows.emplace_back();
    for (int column = 0; column < model.columnCount(); ++column) {
      const QModelIndex index = model.index(row, column);
      const QVariant full = index.data(kFullValueRole);
      const QVariant whole = index.data(kFullTextRole);
      const QString text =
          whole.isValid() ? whole.toString() : index.data(Qt::DisplayRole).toString();
      if (full.isValid()) {
        cells.emplace_back(full.toDouble());
      } else if (text.isEmpty() || text == QStringLiteral("-")) {
        cells.emplace_back(std::monostate{});
      } else {
        cells.emplace_back(text.toStdString());
      }
    }
  }
  return tableCsv(rows);
}

void exportTableCsv(const QTableView& table, const QString& path) {
  saveReplacing(QDir::toNativeSeparators(path).toStdString(), tableCsvText(table));
}

}  // namespace pellmar
