#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

class QTableWidget;

namespace pellmar {

// The text of a result grid, row by row. Row 0 holds the column headings and column 0 the row
// headings, as the fixed row and column of the grid. A cell that shows a number rounded keeps
// the full value beside its text, for copies that need every digit.
struct Grid {
  std::vector<std::vector<QString>> cells;
  std::vector<std::vector<std::optional<double>>> values;

  Grid(int rows, int columns)
      : cells(static_cast<std::size_t>(rows),
              std::vector<QString>(static_cast<std::size_t>(columns))),
        values(static_cast<std::size_t>(rows),
               std::vector<std::optional<double>>(static_cast<std::size_t>(columns))) {}

  [[nodiscard]] int rows() const { return static_cast<int>(cells.size()); }
  [[nodiscard]] int columns() const {
    return cells.empty() ? 0 : static_cast<int>(cells[0].size());
  }
  QString& at(int row, int column) {
    return cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  [[nodiscard]] const QString& at(int row, int column) const {
    return cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  [[nodiscard]] std::optional<double> value(int row, int column) const {
    return values[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  // A number shown as `text`, with its full value kept.
  void setNumber(int row, int column, double fullValue, QString text) {
    at(row, column) = std::move(text);
    values[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = fullValue;
  }
  // A number shown rounded to `decimals` places, with its full value kept.
  void setNumber(int row, int column, double fullValue, int decimals);
  // A text shown as `shown`, its whole form `full` kept for copies and exports.
  void setShortened(int row, int column, QString shown, QString full) {
    at(row, column) = std::move(shown);
    fullTexts[{row, column}] = std::move(full);
  }

  std::map<std::pair<int, int>, QString> fullTexts;
};

// Shows a grid in a table widget: the heading row and column shaded and centred like fixed
// cells, the values right-aligned, nothing editable. The full values stay in the items'
// kFullValueRole, a shortened text's whole form in kFullTextRole (and its tool tip), and the
// table copies and exports what it shows (see table_takeaway.h).
void showGrid(QTableWidget& table, const Grid& grid);

// Makes a short table exactly as high as its rows, with no room left below them.
void fitHeightToRows(QTableWidget& table);

}  // namespace pellmar
