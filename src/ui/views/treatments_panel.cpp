#include "ui/views/treatments_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "core/user_error.h"

namespace pellmar {
namespace {

constexpr std::string_view kPanelTitle = "Treatments";

QString fileName(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName();
}

QString shownPath(const std::string& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path));
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

TreatmentKind kindOf(const Treatment& treatment) {
  if (treatment.fecundity) return TreatmentKind::kFecundity;
  if (treatment.sasd) return TreatmentKind::kSasd;
  return TreatmentKind::kConsumption;
}

}  // namespace

TreatmentsPanel::TreatmentsPanel(QWidget* parent)
    : QWidget(parent),
      title_(new QLabel(this)),
      list_(new QListWidget(this)),
      add_(new QPushButton(QStringLiteral("Add…"), this)),
      remove_(new QPushButton(QStringLiteral("Remove"), this)),
      rename_(new QPushButton(QStringLiteral("Rename…"), this)),
      up_(new QPushButton(QStringLiteral("Up"), this)),
      down_(new QPushButton(QStringLiteral("Down"), this)) {
  setObjectName(QStringLiteral("treatmentsPanel"));
  title_->setObjectName(QStringLiteral("projectTitleLabel"));
  title_->setWordWrap(true);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  list_->setObjectName(QStringLiteral("treatmentsList"));
  list_->setAccessibleName(QStringLiteral("Treatments"));
  add_->setObjectName(QStringLiteral("addTreatmentButton"));
  add_->setToolTip(QStringLiteral("Add a data file as a treatment of the project"));
  remove_->setObjectName(QStringLiteral("removeTreatmentButton"));
  rename_->setObjectName(QStringLiteral("renameTreatmentButton"));
  up_->setObjectName(QStringLiteral("moveTreatmentUpButton"));
  up_->setToolTip(QStringLiteral("Move the treatment up"));
  down_->setObjectName(QStringLiteral("moveTreatmentDownButton"));
  down_->setToolTip(QStringLiteral("Move the treatment down"));

  auto* edit = new QHBoxLayout;
  edit->addWidget(add_);
  edit->addWidget(remove_);
  edit->addWidget(rename_);
  auto* order = new QHBoxLayout;
  order->addWidget(up_);
  order->addWidget(down_);
  order->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(list_, 1);
  layout->addLayout(edit);
  layout->addLayout(order);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    updateButtons();
    if (row >= 0) emit treatmentSelected(static_cast<std::size_t>(row));
  });
  connect(add_, &QPushButton::clicked, this, &TreatmentsPanel::addRequested);
  connect(rename_, &QPushButton::clicked, this, &TreatmentsPanel::renameRequested);
  connect(remove_, &QPushButton::clicked, this, [this] { removeSelected(); });
  connect(up_, &QPushButton::clicked, this, [this] { moveSelected(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { moveSelected(1); });
  clear();
}

void TreatmentsPanel::showProject(const Project& project) {
  project_ = project;
  analysed_.assign(project.treatments.size(), false);
  modified_ = false;
  fill();
  if (!project_.treatments.empty()) select(0);
}

void TreatmentsPanel::showDataFile(const std::string& dataFile, double timeUnit) {
  Project alone = projectOf({}, {dataFile});
  alone.title = fileName(dataFile).toStdString();
  alone.timeUnit = timeUnit;
  project_ = std::move(alone);
  analysed_.assign(1, false);
  modified_ = false;
  fill();
  const QSignalBlocker quiet(list_);
  list_->setCurrentRow(0);
  updateButtons();
}

void TreatmentsPanel::clear() {
  project_ = Project{};
  analysed_.clear();
  modified_ = false;
  fill();
}

std::optional<std::size_t> TreatmentsPanel::selected() const {
  const int row = list_->currentRow();
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void TreatmentsPanel::select(std::size_t treatment) {
  if (list_->currentRow() == static_cast<int>(treatment)) {
    emit treatmentSelected(treatment);
  } else {
    list_->setCurrentRow(static_cast<int>(treatment));
  }
}

std::string TreatmentsPanel::nameFault(const std::string& name,
                                       std::optional<std::size_t> except) const {
  if (std::string fault = folderNameFault(name); !fault.empty()) return fault;
  for (std::size_t i = 0; i < project_.treatments.size(); ++i) {
    if (i != except && lowered(project_.treatments[i].name) == lowered(name)) {
      return "\"" + name + "\" names another treatment too";
    }
  }
  return {};
}

void TreatmentsPanel::addTreatment(Treatment treatment) {
  if (const std::string fault = nameFault(treatment.name, std::nullopt); !fault.empty()) {
    throw UserError(std::string(kPanelTitle), "The treatment cannot be added: " + fault + ".",
                    ErrorKind::kInvalidRequest);
  }
  if (project_.treatments.empty()) {
    project_.kind = kindOf(treatment);
  } else if (kindOf(treatment) != project_.kind) {
    throw UserError(std::string(kPanelTitle),
                    "The treatments of a project all bring the same files beside their data: "
                    "every one a fecundity file, every one a SASD file, or none.",
                    ErrorKind::kInvalidRequest);
  }
  project_.treatments.push_back(std::move(treatment));
  analysed_.push_back(false);
  changedByUser();
  select(project_.treatments.size() - 1);
}

void TreatmentsPanel::removeSelected() {
  const std::optional<std::size_t> row = selected();
  if (!row) return;
  project_.treatments.erase(project_.treatments.begin() + static_cast<std::ptrdiff_t>(*row));
  analysed_.erase(analysed_.begin() + static_cast<std::ptrdiff_t>(*row));
  changedByUser();
  if (!project_.treatments.empty()) select(std::min(*row, project_.treatments.size() - 1));
}

void TreatmentsPanel::renameSelected(const std::string& name) {
  const std::optional<std::size_t> row = selected();
  if (!row) return;
  if (const std::string fault = nameFault(name, row); !fault.empty()) {
    throw UserError(std::string(kPanelTitle), "The treatment cannot be renamed: " + fault + ".",
                    ErrorKind::kInvalidRequest);
  }
  project_.treatments[*row].name = name;
  changedByUser();
  const QSignalBlocker quiet(list_);
  list_->setCurrentRow(static_cast<int>(*row));
}

void TreatmentsPanel::moveSelected(int by) {
  const std::optional<std::size_t> row = selected();
  if (!row) return;
  const long target = static_cast<long>(*row) + by;
  if (target < 0 || target >= static_cast<long>(project_.treatments.size())) return;
  const auto to = static_cast<std::size_t>(target);
  std::swap(project_.treatments[*row], project_.treatments[to]);
  const bool analysed = analysed_[*row];
  analysed_[*row] = analysed_[to];
  analysed_[to] = analysed;
  changedByUser();
  // The same treatment stays selected, and its study open.
  const QSignalBlocker quiet(list_);
  list_->setCurrentRow(static_cast<int>(to));
  updateButtons();
}

void TreatmentsPanel::markAnalysed(std::size_t treatment) {
  if (treatment >= analysed_.size()) return;
  analysed_[treatment] = true;
  fill();
}

void TreatmentsPanel::markAllAnalysed() {
  std::fill(analysed_.begin(), analysed_.end(), true);
  fill();
}

bool TreatmentsPanel::isAnalysed(std::size_t treatment) const {
  return treatment < analysed_.size() && analysed_[treatment];
}

void TreatmentsPanel::markSaved(const Project& saved) {
  project_ = saved;
  modified_ = false;
  fill();
}

void TreatmentsPanel::changedByUser() {
  modified_ = true;
  fill();
  emit changed();
}

void TreatmentsPanel::fill() {
  const QSignalBlocker quiet(list_);
  const int row = list_->currentRow();
  list_->clear();
  if (project_.treatments.empty()) {
    title_->setText(QStringLiteral("No project open"));
    title_->setToolTip({});
  } else {
    QString title = QString::fromStdString(project_.title);
    if (modified_) title += QStringLiteral(" (not saved)");
    title_->setText(title);
    title_->setToolTip(project_.file.empty() ? QString() : shownPath(project_.file));
  }
  for (std::size_t i = 0; i < project_.treatments.size(); ++i) {
    const Treatment& treatment = project_.treatments[i];
    QString files = fileName(treatment.data);
    QString paths = shownPath(treatment.data);
    for (const std::optional<std::string>& beside : {treatment.fecundity, treatment.sasd}) {
      if (!beside) continue;
      files += QStringLiteral(", ") + fileName(*beside);
      paths += QLatin1Char('\n') + shownPath(*beside);
    }
    const QString state =
        analysed_[i] ? QStringLiteral("analysed") : QStringLiteral("not analysed");
    auto* item = new QListWidgetItem(QString::fromStdString(treatment.name) + QLatin1Char('\n') +
                                         files + QLatin1Char('\n') + state,
                                     list_);
    item->setToolTip(paths);
    item->setIcon(
        style()->standardIcon(analysed_[i] ? QStyle::SP_DialogApplyButton : QStyle::SP_FileIcon));
  }
  if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
  updateButtons();
}

void TreatmentsPanel::updateButtons() {
  const std::optional<std::size_t> row = selected();
  const std::size_t count = project_.treatments.size();
  remove_->setEnabled(row.has_value() && count > 1);
  rename_->setEnabled(row.has_value());
  up_->setEnabled(row.has_value() && *row > 0);
  down_->setEnabled(row.has_value() && *row + 1 < count);
}

}  // namespace pellmar
