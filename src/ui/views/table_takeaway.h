#pragma once

#include <QString>
#include <Qt>
#include <string>

class QTableView;

namespace pellmar {

// The item data role that holds the full value behind a number shown rounded.
inline constexpr int kFullValueRole = Qt::UserRole;
// The whole text of a cell shown shortened (a stage's full name above a narrow column): what
// copies and exports take in its place.
inline constexpr int kFullTextRole = Qt::UserRole + 1;

// Where the column headings of a table are: in its first row, as in the result grids, or in its
// horizontal header.
enum class HeadingRow { kFirstRow, kHeader };

// Lets a table's numbers be taken away: Ctrl+C and "Copy" in the context menu copy the selected
// cells as tab-separated text, and "Export to CSV…" writes the whole table to a file chosen in a
// dialog. Calling it again only updates where the headings are.
void enableTakeaway(QTableView& table, HeadingRow headings);

// The file the export dialog proposes first for this table.
void suggestCsvFile(QTableView& table, const QString& path);

// The selected cells as tab-separated text, one line per row of the smallest rectangle that holds
// them, each number in its full value and a "-" for a value that does not exist as nothing; a
// cell of the rectangle that is not selected stays empty. When every selected column is
// selected from its first value to its last, the headings of those columns come first.
QString selectionText(const QTableView& table);

// The whole table as comma-separated text, headings included: each number in its full value, in
// the shortest form that reads back exactly, not its rounded text; a "-" that stands for a value
// that does not exist is an empty cell.
std::string tableCsvText(const QTableView& table);

// Writes tableCsvText() to `path`, replacing it; a failure raises the "File error".
void exportTableCsv(const QTableView& table, const QString& path);

}  // namespace pellmar
