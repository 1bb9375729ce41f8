#include "ui/views/results_pane.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <map>

#include "core/report/number_format.h"
#include "ui/views/table_takeaway.h"
#include "ui/widgets/display_number.h"

namespace pellmar {
namespace {

// The quantities the pane shows, in its order.
constexpr std::array<const char*, 8> kMainQuantities = {"C0", "R0",  "r",     "lambda",
                                                        "T",  "psi", "omega", "Qp"};
constexpr int kShownDecimals = 4;

enum Column { kQuantity, kEstimate, kSe, kLow, kHigh, kUnit, kColumnCount };

QTableWidgetItem* cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

// A number shown rounded, its full value kept for Ctrl+C and the CSV export.
QTableWidgetItem* numberCell(std::optional<double> value) {
  if (!value) return cell({});
  QTableWidgetItem* item = cell(displayNumber(*value, kShownDecimals));
  item->setData(kFullValueRole, *value);
  return item;
}

}  // namespace

ResultsPane::ResultsPane(QWidget* parent)
    : QWidget(parent), heading_(new QLabel(this)), table_(new QTableWidget(this)) {
  setObjectName(QStringLiteral("resultsPane"));
  heading_->setObjectName(QStringLiteral("resultsPaneHeading"));
  heading_->setWordWrap(true);
  table_->setObjectName(QStringLiteral("resultsPaneTable"));
  table_->setColumnCount(kColumnCount);
  table_->setHorizontalHeaderLabels({QStringLiteral("Quantity"), QStringLiteral("Estimate"),
                                     QStringLiteral("SE"), QStringLiteral("Low"),
                                     QStringLiteral("High"), QStringLiteral("Unit")});
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  // Room for every quantity without scrolling down, beside a scroll bar across for the units.
  table_->setMinimumHeight(
      table_->horizontalHeader()->sizeHint().height() +
      static_cast<int>(kMainQuantities.size()) * table_->verticalHeader()->defaultSectionSize() +
      table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * table_->frameWidth());
  table_->setMinimumWidth(320);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(heading_);
  layout->addWidget(table_, 1);
  enableTakeaway(*table_, HeadingRow::kHeader);
  showResults({}, 0.95);
}

void ResultsPane::showResults(const std::vector<SummaryRow>& summary, double confidence,
                              const QString& subject) {
  std::map<std::string, const SummaryRow*> rows;
  for (const SummaryRow& row : summary) {
    if (row.stage.empty() && (row.sex.empty() || row.sex == "all"))
      rows.emplace(row.quantity, &row);
  }
  bool resampled = false;
  table_->setRowCount(0);
  for (const char* quantity : kMainQuantities) {
    const auto found = rows.find(quantity);
    if (found == rows.end() || !found->second->estimate) continue;
    const SummaryRow& row = *found->second;
    const int r = table_->rowCount();
    table_->insertRow(r);
    table_->setItem(r, kQuantity, cell(QString::fromLatin1(quantity)));
    table_->setItem(r, kEstimate, numberCell(row.estimate));
    const std::optional<ResampledEstimate>& spread = row.resampled;
    resampled = resampled || spread.has_value();
    table_->setItem(r, kSe, numberCell(spread ? spread->se : std::nullopt));
    table_->setItem(r, kLow, numberCell(spread ? std::optional(spread->low) : std::nullopt));
    table_->setItem(r, kHigh, numberCell(spread ? std::optional(spread->high) : std::nullopt));
    table_->setItem(r, kUnit,
                    cell(QString::fromUtf8(summaryUnit(quantity).data(),
                                           static_cast<qsizetype>(summaryUnit(quantity).size()))));
  }
  const QString results =
      subject.isEmpty() ? QStringLiteral("Results") : QStringLiteral("Results of %1").arg(subject);
  if (table_->rowCount() == 0) {
    heading_->setText(results + QStringLiteral(": none yet. The Basic Run gives C0."));
  } else if (resampled) {
    heading_->setText(results + QStringLiteral(", with the SE and the %1 % interval")
                                    .arg(QString::fromStdString(formatShortest(confidence * 100))));
  } else {
    heading_->setText(results);
  }
}

}  // namespace pellmar
