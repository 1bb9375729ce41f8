#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exports/zip_archive.h"

namespace pellmar {

// One cell of a workbook sheet: empty, a number (kept as the shortest digits that read back as
// the same double) or text.
struct WorkbookCell {
  enum class Kind { kEmpty, kNumber, kText };
  Kind kind = Kind::kEmpty;
  std::string text;

  static WorkbookCell number(double value);
  static WorkbookCell textCell(std::string text);
};

// A sheet: rows of cells, the first row its headings.
struct WorkbookSheet {
  std::string name;  // as wished; made valid and unique when the workbook is written
  std::vector<std::vector<WorkbookCell>> rows;
  // The name in full when `name` is a shortened one; shown above the headings.
  std::string fullName;
};

// `prefix` cut short, never inside a character, so that it and `suffix` fit in a sheet's name.
std::string sheetNameOf(std::string_view prefix, std::string_view suffix);

// The sheet of a comma-separated file as Pellmar writes them (a byte-order mark is skipped;
// fields in double quotes may hold commas, doubled quotes and line breaks). A field that reads
// wholly as a finite number is a number, an empty field an empty cell, any other field text.
WorkbookSheet sheetFromCsv(std::string name, std::string_view csv);

// A workbook (.xlsx) built sheet by sheet: numbers as numbers with every digit, text as inline
// strings, the heading row bold and frozen, columns as wide as their headings. A sheet's name is
// made one a spreadsheet takes: at most 31 characters, none of [ ] : * ? / \, unique whatever
// the case; a sheet whose name had to change (cut short, a character replaced, a number added)
// holds the name wished for in a first row above its headings. The same sheets give the same
// bytes on every system: fixed dates, fixed compression, parts in a fixed order.
class Workbook {
 public:
  // Adds `sheet` after those added before. Its cells are written at once and not kept.
  void add(const WorkbookSheet& sheet);
  // Adds the sheet of a comma-separated file, as sheetFromCsv() reads it, without holding its
  // cells: a replicates file has millions. `fullName`, when given, is the name in full.
  void addCsv(const std::string& name, std::string_view csv, const std::string& fullName = {});

  // The names the sheets were given, in order.
  [[nodiscard]] const std::vector<std::string>& sheetNames() const { return names_; }

  // The workbook's bytes.
  [[nodiscard]] std::string bytes() const;

 private:
  // The name the next sheet gets for `wished`, and made its.
  std::string claimName(const std::string& wished);
  void addSheetXml(const std::string& xml);

  ZipArchive sheets_;
  std::vector<std::string> names_;
  std::vector<std::string> taken_;  // in lower case
};

}  // namespace pellmar
