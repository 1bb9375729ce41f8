// The workbook writer. Its cells are read back by openpyxl in tests/checks/workbook_cells.py;
// here: how CSV fields become cells, how sheets are named, and that the bytes depend on nothing
// but the sheets (not the system, not the locale).
#include "core/exports/workbook.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>
#include <vector>

#include "core/platform/sha256.h"

namespace pellmar {
namespace {

using Kind = WorkbookCell::Kind;

std::vector<Kind> kinds(const std::vector<WorkbookCell>& row) {
  std::vector<Kind> result;
  for (const WorkbookCell& cell : row) result.push_back(cell.kind);
  return result;
}

std::vector<std::string> texts(const std::vector<WorkbookCell>& row) {
  std::vector<std::string> result;
  for (const WorkbookCell& cell : row) result.push_back(cell.text);
  return result;
}

TEST(Workbook, CsvFieldsBecomeNumbersTextOrEmptyCells) {
  const WorkbookSheet sheet = sheetFromCsv("Summary",
                                           "\xEF\xBB\xBFquantity,value,note\r\n"
                                           "C0,2567.0600000000004,\n"
                                           "\"a, \"\"b\"\"\",-1e-07,\"12\"\n"
                                           "lambda,.5,\"two\nlines\"\n"
                                           "x,1.5.2,inf\n");
  ASSERT_EQ(sheet.rows.size(), 5U);
  EXPECT_EQ(texts(sheet.rows[0]), (std::vector<std::string>{"quantity", "value", "note"}))
      << "the byte-order mark is no part of the first heading";
  EXPECT_EQ(kinds(sheet.rows[1]), (std::vector<Kind>{Kind::kText, Kind::kNumber, Kind::kEmpty}));
  EXPECT_EQ(sheet.rows[1][1].text, "2567.0600000000004") << "every digit";
  // A quoted field is text even when it reads as a number.
  EXPECT_EQ(kinds(sheet.rows[2]), (std::vector<Kind>{Kind::kText, Kind::kNumber, Kind::kText}));
  EXPECT_EQ(texts(sheet.rows[2]), (std::vector<std::string>{"a, \"b\"", "-1e-07", "12"}));
  EXPECT_EQ(sheet.rows[3][1].text, "0.5");
  EXPECT_EQ(sheet.rows[3][2].text, "two\nlines");
  EXPECT_EQ(kinds(sheet.rows[4]), (std::vector<Kind>{Kind::kText, Kind::kText, Kind::kText}));
}

TEST(Workbook, SheetNamesAreOnesASpreadsheetTakesAndUnique) {
  Workbook workbook;
  std::string longAccented;
  for (int i = 0; i < 40; ++i) longAccented += "\xC3\xA9";  // é
  for (const std::string& name :
       {std::string("Summary"), std::string("summary"), std::string("a[1]:b*?/c\\"), longAccented,
        longAccented, std::string(""), std::string("'quoted'"), std::string(30, 'a') + "'bcd"}) {
    workbook.add(WorkbookSheet{name, {}, {}});
  }
  std::string cutAccented;
  for (int i = 0; i < 31; ++i) cutAccented += "\xC3\xA9";
  std::string cutWithNumber;
  for (int i = 0; i < 27; ++i) cutWithNumber += "\xC3\xA9";
  EXPECT_EQ(workbook.sheetNames(),
            (std::vector<std::string>{"Summary", "summary (2)", "a_1__b___c_", cutAccented,
                                      cutWithNumber + " (2)", "Sheet", "_quoted_",
                                      std::string(30, 'a') + "_"}));
  // A treatment's name is cut, never the part that says what the sheet holds.
  EXPECT_EQ(sheetNameOf("Harmonia axyridis on Ephestia eggs", " life table"),
            "Harmonia axyridis on life table");
  EXPECT_EQ(sheetNameOf("Aphis", " replicates"), "Aphis replicates");
}

// The same sheets give the same bytes on every system and under every locale: the digest below
// is the Linux build's, and the Windows build's test run under wine checks it too.
TEST(Workbook, BytesDependOnTheSheetsAloneNotOnTheLocale) {
  const auto bytes = [] {
    Workbook workbook;
    workbook.add(sheetFromCsv("Summary", "quantity,estimate,se\nC0,1.25,0.031\nr,,1e-07\n"));
    workbook.add(
        sheetFromCsv("Table", "quantity,A,B\nC0,2570 \xC2\xB1 160 a,2570 \xC2\xB1 130 a\n"));
    return workbook.bytes();
  };
  const std::string plain = bytes();
  EXPECT_EQ(plain, bytes());
  EXPECT_EQ(sha256Of(plain), "5763c44f830f9ca77e8ab928c350b9e09b4f60f5d455072dc9d4af4e314fae98");

#ifndef _WIN32
  // A German locale writes 1,25 wherever a number goes through it.
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the locale de_DE.UTF-8 is missing: scripts/setup.sh generates it";
  const std::locale before = std::locale::global(std::locale("de_DE.UTF-8"));
  const std::string german = bytes();
  std::locale::global(before);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(german, plain);
#endif
}

}  // namespace
}  // namespace pellmar
