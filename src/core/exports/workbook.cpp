#include "core/exports/workbook.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "core/report/number_format.h"

namespace pellmar {
namespace {

constexpr std::size_t kMaxSheetName = 31;
constexpr std::string_view kXmlHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr std::string_view kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The number a CSV field holds, when the whole field is one finite number.
std::optional<double> numberIn(std::string_view field) {
  if (field.empty()) return std::nullopt;
  double value = 0.0;
  const char* end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(field.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

WorkbookCell cellOfField(std::string field, bool quoted) {
  if (!quoted) {
    if (field.empty()) return {};
    if (const std::optional<double> value = numberIn(field)) return WorkbookCell::number(*value);
  }
  if (field.empty()) return {};
  return WorkbookCell::textCell(std::move(field));
}

// Characters of a UTF-8 text as a spreadsheet counts them: UTF-16 code units.
std::size_t utf16Length(std::string_view text) {
  std::size_t length = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0U) != 0x80U) length += byte >= 0xF0U ? 2 : 1;
  }
  return length;
}

// `text` cut to at most `limit` UTF-16 code units, never inside a character.
std::string cutTo(std::string_view text, std::size_t limit) {
  std::size_t length = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const std::size_t units = byte >= 0xF0U ? 2 : 1;
    if (length + units > limit) break;
    length += units;
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0U) == 0x80U) ++at;
  }
  return std::string(text.substr(0, at));
}

std::string lowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return text;
}

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // XML 1.0 has no place for the other control characters.
        if (static_cast<unsigned char>(c) >= 0x20U || c == '\t' || c == '\n' || c == '\r') {
          out += c;
        }
    }
  }
  return out;
}

std::string columnLetters(std::size_t column) {
  std::string name;
  for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26) {
    name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return name;
}

void appendCell(std::string& out, const WorkbookCell& cell, std::size_t column, std::size_t row,
                bool bold) {
  // Empty text, such as the name in full of a sheet wished for without one, is an empty cell.
  if (cell.kind == WorkbookCell::Kind::kEmpty || cell.text.empty()) return;
  out += "<c r=\"";
  out += columnLetters(column);
  out += std::to_string(row);
  out += '"';
  if (bold) out += " s=\"1\"";
  if (cell.kind == WorkbookCell::Kind::kNumber) {
    out += "><v>";
    out += cell.text;
    out += "</v></c>";
    return;
  }
  const bool spaced = cell.text.front() == ' ' || cell.text.back() == ' ' ||
                      cell.text.find('\n') != std::string::npos;
  out += spaced ? R"( t="inlineStr"><is><t xml:space="preserve">)" : R"( t="inlineStr"><is><t>)";
  out += escaped(cell.text);
  out += "</t></is></c>";
}

// A sheet's XML, row by row: the first row added is the headings.
class SheetXml {
 public:
  // `fullName` is the name wished for, `givenName` the one the sheet got.
  SheetXml(std::string fullName, const std::string& givenName)
      : fullName_(std::move(fullName)), renamed_(givenName != fullName_) {}

  void addRow(const std::vector<WorkbookCell>& cells) {
    if (row_ == 0) begin(cells);
    ++row_;
    out_ += "<row r=\"" + std::to_string(row_) + "\">";
    for (std::size_t column = 0; column < cells.size(); ++column) {
      appendCell(out_, cells[column], column, row_, !headingsDone_);
    }
    out_ += "</row>";
    headingsDone_ = true;
  }

  std::string finish() {
    if (row_ == 0) begin({});
    out_ += "</sheetData></worksheet>";
    return std::move(out_);
  }

 private:
  void begin(const std::vector<WorkbookCell>& headings) {
    // A renamed sheet holds the name wished for above its headings.
    const std::size_t headingRow = renamed_ ? 2 : 1;
    out_ = kXmlHead;
    out_ += "<worksheet xmlns=\"";
    out_ += kMain;
    out_ += R"("><sheetViews><sheetView workbookViewId="0"><pane ySplit=")";
    out_ += std::to_string(headingRow);
    out_ += "\" topLeftCell=\"A";
    out_ += std::to_string(headingRow + 1);
    out_ += R"(" activePane="bottomLeft" state="frozen"/></sheetView></sheetViews>)";
    out_ += "<sheetFormatPr defaultRowHeight=\"15\"/>";
    if (!headings.empty()) {
      out_ += "<cols>";
      for (std::size_t column = 0; column < headings.size(); ++column) {
        // Wide enough for the heading in bold, and never narrower than the default.
        const double width =
            std::max(9.0, static_cast<double>(utf16Length(headings[column].text)) * 1.15 + 2.0);
        const std::string number = std::to_string(column + 1);
        out_ += R"(<col min=")";
        out_ += number;
        out_ += R"(" max=")";
        out_ += number;
        out_ += R"(" width=")";
        out_ += formatShortest(std::round(width * 100.0) / 100.0);
        out_ += R"(" customWidth="1"/>)";
      }
      out_ += "</cols>";
    }
    out_ += "<sheetData>";
    if (renamed_) {
      out_ += "<row r=\"1\">";
      appendCell(out_, WorkbookCell::textCell(fullName_), 0, 1, true);
      out_ += "</row>";
      row_ = 1;
    }
  }

  std::string fullName_;
  bool renamed_;
  bool headingsDone_ = false;
  std::size_t row_ = 0;
  std::string out_;
};

// Calls `sink` with each row of a comma-separated file as Pellmar writes them.
template <typename RowSink>
void forEachCsvRow(std::string_view csv, RowSink&& sink) {
  if (csv.starts_with("\xEF\xBB\xBF")) csv.remove_prefix(3);
  std::vector<WorkbookCell> row;
  std::string field;
  bool quoted = false;
  bool inQuotes = false;
  const auto endField = [&] {
    row.push_back(cellOfField(std::exchange(field, {}), quoted));
    quoted = false;
  };
  for (std::size_t at = 0; at < csv.size(); ++at) {
    const char c = csv[at];
    if (inQuotes) {
      if (c != '"') {
        field += c;
      } else if (at + 1 < csv.size() && csv[at + 1] == '"') {
        field += '"';
        ++at;
      } else {
        inQuotes = false;
      }
    } else if (c == '"') {
      inQuotes = true;
      quoted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && at + 1 < csv.size() && csv[at + 1] == '\n') ++at;
      endField();
      sink(row);
      row.clear();
    } else {
      field += c;
    }
  }
  if (!field.empty() || !row.empty() || quoted) {
    endField();
    sink(row);
  }
}

std::string contentTypes(std::size_t sheets) {
  std::string out(kXmlHead);
  out +=
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
      "<Override PartName=\"/xl/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
  for (std::size_t i = 1; i <= sheets; ++i) {
    out += "<Override PartName=\"/xl/worksheets/sheet" + std::to_string(i) +
           ".xml\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
  }
  out +=
      "<Override PartName=\"/docProps/core.xml\" "
      "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
      "<Override PartName=\"/docProps/app.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
      "</Types>";
  return out;
}

std::string packageRelationships() {
  std::string out(kXmlHead);
  out +=
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "officeDocument\" Target=\"xl/workbook.xml\"/>"
      "<Relationship Id=\"rId2\" "
      "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
      "core-properties\" Target=\"docProps/core.xml\"/>"
      "<Relationship Id=\"rId3\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "extended-properties\" Target=\"docProps/app.xml\"/>"
      "</Relationships>";
  return out;
}

// Fixed dates: the same results give the same bytes whenever they are written.
std::string coreProperties() {
  std::string out(kXmlHead);
  out +=
      "<cp:coreProperties "
      "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator>Pellmar</dc:creator>"
      "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2000-01-01T00:00:00Z</dcterms:created>"
      "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2000-01-01T00:00:00Z</dcterms:modified>"
      "</cp:coreProperties>";
  return out;
}

std::string appProperties() {
  std::string out(kXmlHead);
  out +=
      "<Properties "
      "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
      "<Application>Pellmar</Application></Properties>";
  return out;
}

std::string workbookXml(const std::vector<std::string>& names) {
  std::string out(kXmlHead);
  out += "<workbook xmlns=\"";
  out += kMain;
  out += "\" xmlns:r=\"";
  out += kRelationships;
  out += "\"><bookViews><workbookView/></bookViews><sheets>";
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string id = std::to_string(i + 1);
    out += R"(<sheet name=")";
    out += escaped(names[i]);
    out += R"(" sheetId=")";
    out += id;
    out += R"(" r:id="rId)";
    out += id;
    out += R"("/>)";
  }
  out += "</sheets></workbook>";
  return out;
}

std::string workbookRelationships(std::size_t sheets) {
  std::string out(kXmlHead);
  out += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  for (std::size_t i = 1; i <= sheets; ++i) {
    const std::string id = std::to_string(i);
    out += "<Relationship Id=\"rId" + id + "\" Type=\"";
    out += kRelationships;
    out += "/worksheet\" Target=\"worksheets/sheet" + id + ".xml\"/>";
  }
  out += "<Relationship Id=\"rId" + std::to_string(sheets + 1) + "\" Type=\"";
  out += kRelationships;
  out += R"(/styles" Target="styles.xml"/></Relationships>)";
  return out;
}

// Two cell formats: 0 the default, 1 bold for the headings.
std::string styles() {
  std::string out(kXmlHead);
  out += "<styleSheet xmlns=\"";
  out += kMain;
  out +=
      "\"><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
      "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
      "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
      "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
      "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
      "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
      "</cellStyleXfs><cellXfs count=\"2\">"
      "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
      "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
      "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
      "</cellStyles></styleSheet>";
  return out;
}

}  // namespace

WorkbookCell WorkbookCell::number(double value) {
  return WorkbookCell{Kind::kNumber, formatShortest(value)};
}

WorkbookCell WorkbookCell::textCell(std::string text) {
  return WorkbookCell{Kind::kText, std::move(text)};
}

WorkbookSheet sheetFromCsv(std::string name, std::string_view csv) {
  WorkbookSheet sheet{std::move(name), {}, {}};
  forEachCsvRow(csv, [&sheet](const std::vector<WorkbookCell>& row) { sheet.rows.push_back(row); });
  return sheet;
}

std::string sheetNameOf(std::string_view prefix, std::string_view suffix) {
  const std::size_t room = kMaxSheetName - std::min(kMaxSheetName, utf16Length(suffix));
  return cutTo(prefix, room) + std::string(suffix);
}

std::string Workbook::claimName(const std::string& wished) {
  std::string name = wished;
  std::replace_if(
      name.begin(), name.end(),
      [](char c) {
        return std::string_view("[]:*?/\\").find(c) != std::string_view::npos ||
               static_cast<unsigned char>(c) < 0x20U;
      },
      '_');
  if (name.empty()) name = "Sheet";
  // A sheet's name may not begin or end with an apostrophe, cut short or not.
  const auto noEndApostrophes = [](std::string text) {
    if (text.starts_with('\'')) text.front() = '_';
    if (text.ends_with('\'')) text.back() = '_';
    return text;
  };
  std::string candidate = noEndApostrophes(cutTo(name, kMaxSheetName));
  for (int n = 2; std::find(taken_.begin(), taken_.end(), lowerAscii(candidate)) != taken_.end();
       ++n) {
    const std::string suffix = " (" + std::to_string(n) + ")";
    candidate = noEndApostrophes(cutTo(name, kMaxSheetName - suffix.size())) + suffix;
  }
  taken_.push_back(lowerAscii(candidate));
  names_.push_back(candidate);
  return candidate;
}

void Workbook::addSheetXml(const std::string& xml) {
  sheets_.add("xl/worksheets/sheet" + std::to_string(names_.size()) + ".xml", xml);
}

void Workbook::add(const WorkbookSheet& sheet) {
  const std::string& fullName = sheet.fullName.empty() ? sheet.name : sheet.fullName;
  SheetXml xml(fullName, claimName(sheet.name));
  for (const std::vector<WorkbookCell>& row : sheet.rows) xml.addRow(row);
  addSheetXml(xml.finish());
}

void Workbook::addCsv(const std::string& name, std::string_view csv, const std::string& fullName) {
  SheetXml xml(fullName.empty() ? name : fullName, claimName(name));
  forEachCsvRow(csv, [&xml](const std::vector<WorkbookCell>& row) { xml.addRow(row); });
  addSheetXml(xml.finish());
}

std::string Workbook::bytes() const {
  ZipArchive zip = sheets_;
  zip.add("[Content_Types].xml", contentTypes(names_.size()));
  zip.add("_rels/.rels", packageRelationships());
  zip.add("docProps/core.xml", coreProperties());
  zip.add("docProps/app.xml", appProperties());
  zip.add("xl/workbook.xml", workbookXml(names_));
  zip.add("xl/_rels/workbook.xml.rels", workbookRelationships(names_.size()));
  zip.add("xl/styles.xml", styles());
  return zip.finish();
}

}  // namespace pellmar
