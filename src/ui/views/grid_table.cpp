#include "ui/views/grid_table.h"

#include <QHeaderView>
#include <QTableWidget>
#include <memory>

#include "ui/views/table_takeaway.h"
#include "ui/widgets/display_number.h"

namespace pellmar {

void Grid::setNumber(int row, int column, double fullValue, int decimals) {
  setNumber(row, column, fullValue, displayNumber(fullValue, decimals));
}

void showGrid(QTableWidget& table, const Grid& grid) {
  table.clear();
  table.setRowCount(grid.rows());
  table.setColumnCount(grid.columns());
  table.horizontalHeader()->hide();
  table.verticalHeader()->hide();
  table.setEditTriggers(QAbstractItemView::NoEditTriggers);
  const QBrush headingBackground = table.palette().button();
  for (int row = 0; row < grid.rows(); ++row) {
    for (int column = 0; column < grid.columns(); ++column) {
      auto item = std::make_unique<QTableWidgetItem>(grid.at(row, column));
      if (const std::optional<double> value = grid.value(row, column)) {
        item->setData(kFullValueRole, *value);
      }
      if (const auto full = grid.fullTexts.find({row, column}); full != grid.fullTexts.end()) {
        item->setData(kFullTextRole, full->second);
        item->setToolTip(full->second);
      }
      if (row == 0 || column == 0) {
        item->setBackground(headingBackground);
        item->setTextAlignment(Qt::AlignCenter);
      } else {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      }
      table.setItem(row, column, item.release());
    }
  }
  table.resizeColumnsToContents();
  table.setCurrentCell(-1, -1);
  enableTakeaway(table, HeadingRow::kFirstRow);
}

void fitHeightToRows(QTableWidget& table) {
  table.setFixedHeight(table.verticalHeader()->length() + 2 * table.frameWidth());
}

}  // namespace pellmar
