#include "ui/charts/chart_export_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <algorithm>
#include <array>

#include "ui/shell/desktop_settings.h"

namespace pellmar {

namespace {

constexpr std::array<ChartSizePreset, 2> kPresets = {kOneColumn, kTwoColumns};
constexpr std::array<int, 2> kDpiChoices = {300, 600};
constexpr std::array<ChartFormat, 4> kFormats = {ChartFormat::kPng, ChartFormat::kSvg,
                                                 ChartFormat::kPdf, ChartFormat::kTiff};

QString presetText(const ChartSizePreset& preset) {
  return QStringLiteral("%1, %2 \u00d7 %3 mm")
      .arg(QString::fromLatin1(preset.name))
      .arg(preset.widthMm)
      .arg(preset.heightMm);
}

QString formatText(ChartFormat format) {
  switch (format) {
    case ChartFormat::kSvg:
      return QStringLiteral("SVG drawing");
    case ChartFormat::kPdf:
      return QStringLiteral("PDF document");
    case ChartFormat::kTiff:
      return QStringLiteral("TIFF picture (LZW)");
    case ChartFormat::kPng:
      break;
  }
  return QStringLiteral("PNG picture");
}

int formatIndex(ChartFormat format) {
  return static_cast<int>(std::find(kFormats.begin(), kFormats.end(), format) - kFormats.begin());
}

QDoubleSpinBox* millimetreBox(double value, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(kSmallestChartMm, kLargestChartMm);
  box->setDecimals(1);
  box->setSuffix(QStringLiteral(" mm"));
  box->setValue(value);
  return box;
}

}  // namespace

ChartExportDialog::ChartExportDialog(const ChartExportRequest& proposal, DesktopSettings& settings,
                                     QWidget* parent, const ChartDrawing* preview)
    : QDialog(parent),
      settings_(settings),
      preset_(new QComboBox(this)),
      width_(millimetreBox(proposal.widthMm, this)),
      height_(millimetreBox(proposal.heightMm, this)),
      dpi_(new QComboBox(this)),
      fontPt_(new QSpinBox(this)),
      format_(new QComboBox(this)),
      greyscale_(new QCheckBox(QStringLiteral("&Greys, curves told apart by line style"), this)),
      file_(new QLineEdit(this)),
      preview_(preview != nullptr ? *preview : ChartDrawing()) {
  setObjectName(QStringLiteral("chartExportDialog"));
  setWindowTitle(QStringLiteral("Export chart"));
  preset_->setObjectName(QStringLiteral("sizePresetBox"));
  width_->setObjectName(QStringLiteral("widthBox"));
  height_->setObjectName(QStringLiteral("heightBox"));
  dpi_->setObjectName(QStringLiteral("dpiBox"));
  fontPt_->setObjectName(QStringLiteral("fontSizeBox"));
  format_->setObjectName(QStringLiteral("formatBox"));
  file_->setObjectName(QStringLiteral("fileText"));
  greyscale_->setObjectName(QStringLiteral("greyscaleBox"));
  greyscale_->setChecked(proposal.greyscale);

  for (const ChartSizePreset& preset : kPresets) preset_->addItem(presetText(preset));
  preset_->addItem(QStringLiteral("Other size"));
  for (const int dpi : kDpiChoices) dpi_->addItem(QStringLiteral("%1 dpi").arg(dpi), dpi);
  dpi_->setCurrentIndex(proposal.dpi == kDpiChoices[0] ? 0 : 1);
  fontPt_->setRange(kSmallestFontPt, kLargestFontPt);
  fontPt_->setSuffix(QStringLiteral(" pt"));
  fontPt_->setValue(proposal.fontPt);
  for (const ChartFormat format : kFormats) format_->addItem(formatText(format));
  format_->setCurrentIndex(formatIndex(proposal.format));
  file_->setText(QDir::toNativeSeparators(QString::fromStdString(proposal.file)));
  file_->setMinimumWidth(file_->fontMetrics().averageCharWidth() * 40);
  matchPreset();
  dpi_->setEnabled(isRaster(proposal.format));

  connect(preset_, &QComboBox::activated, this, &ChartExportDialog::choosePreset);
  connect(width_, &QDoubleSpinBox::valueChanged, this, &ChartExportDialog::matchPreset);
  connect(height_, &QDoubleSpinBox::valueChanged, this, &ChartExportDialog::matchPreset);
  connect(format_, &QComboBox::activated, this, &ChartExportDialog::chooseFormat);
  connect(file_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (const auto format = chartFormatOf(text.toStdString())) {
      format_->setCurrentIndex(formatIndex(*format));
      dpi_->setEnabled(isRaster(*format));
    }
  });

  auto* browse = new QPushButton(QStringLiteral("Browse\u2026"), this);
  browse->setObjectName(QStringLiteral("browseButton"));
  connect(browse, &QPushButton::clicked, this, &ChartExportDialog::browse);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Size:"), preset_);
  form->addRow(QStringLiteral("&Width:"), width_);
  form->addRow(QStringLiteral("&Height:"), height_);
  form->addRow(QStringLiteral("&Resolution:"), dpi_);
  form->addRow(QStringLiteral("Font si&ze:"), fontPt_);
  form->addRow(QString(), greyscale_);
  form->addRow(QStringLiteral("&Format:"), format_);
  // The file's row is a layout, so its label is given the line to jump to by hand.
  auto* fileLabel = new QLabel(QStringLiteral("F&ile:"), this);
  fileLabel->setBuddy(file_);
  form->addRow(fileLabel, fileRow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Export"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  auto* choices = new QHBoxLayout;
  choices->addLayout(form);
  if (preview_) {
    // The chart at its printed size on this screen, as the choices lay it out.
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("previewPicture"));
    picture_->setAlignment(Qt::AlignCenter);
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("previewArea"));
    scroller->setWidget(picture_);
    scroller->setWidgetResizable(true);
    scroller->setMinimumSize(360, 260);
    choices->addWidget(scroller, 1);
    for (QDoubleSpinBox* box : {width_, height_}) {
      connect(box, &QDoubleSpinBox::valueChanged, this, &ChartExportDialog::updatePreview);
    }
    connect(fontPt_, &QSpinBox::valueChanged, this, &ChartExportDialog::updatePreview);
    connect(greyscale_, &QCheckBox::toggled, this, &ChartExportDialog::updatePreview);
    updatePreview();
  }
  layout->addLayout(choices);
  layout->addWidget(buttons);
}

void ChartExportDialog::updatePreview() {
  if (!preview_ || picture_ == nullptr) return;
  ChartExportRequest shown = request();
  // Drawn at this screen's dots per inch, the picture has the printed size on the screen.
  shown.dpi = std::max(1, logicalDpiX());
  picture_->setPixmap(QPixmap::fromImage(chartImage(preview_, shown)));
  picture_->setToolTip(
      QStringLiteral("%1 \u00d7 %2 mm, as printed").arg(shown.widthMm).arg(shown.heightMm));
}

ChartExportRequest ChartExportDialog::request() const {
  ChartExportRequest request;
  request.file = QDir::fromNativeSeparators(file_->text().trimmed()).toStdString();
  request.format = kFormats[static_cast<std::size_t>(format_->currentIndex())];
  request.widthMm = width_->value();
  request.heightMm = height_->value();
  request.dpi = dpi_->currentData().toInt();
  request.fontPt = fontPt_->value();
  request.greyscale = greyscale_->isChecked();
  return request;
}

void ChartExportDialog::choosePreset(int index) {
  if (index < 0 || index >= static_cast<int>(kPresets.size())) return;
  const ChartSizePreset& preset = kPresets[static_cast<std::size_t>(index)];
  width_->setValue(preset.widthMm);
  height_->setValue(preset.heightMm);
}

void ChartExportDialog::matchPreset() {
  int match = static_cast<int>(kPresets.size());
  for (std::size_t k = 0; k < kPresets.size(); ++k) {
    if (width_->value() == kPresets[k].widthMm && height_->value() == kPresets[k].heightMm) {
      match = static_cast<int>(k);
    }
  }
  preset_->setCurrentIndex(match);
}

void ChartExportDialog::chooseFormat(int index) {
  const ChartFormat format = kFormats[static_cast<std::size_t>(index)];
  dpi_->setEnabled(isRaster(format));
  QString file = file_->text().trimmed();
  if (file.isEmpty()) return;
  const QFileInfo info(file);
  if (chartFormatOf(file.toStdString())) file.chop(info.suffix().size() + 1);
  file_->setText(file + QString::fromLatin1(chartExtension(format)));
}

void ChartExportDialog::browse() {
  const ChartFormat format = request().format;
  QString start = file_->text().trimmed();
  if (start.isEmpty()) start = settings_.startFolder(SavedFileKind::kChart);
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Export chart"), start,
      formatText(format) + QStringLiteral(" (*") + QString::fromLatin1(chartExtension(format)) +
          QLatin1Char(')'));
  if (path.isEmpty()) return;
  settings_.rememberFolder(SavedFileKind::kChart, path);
  file_->setText(QDir::toNativeSeparators(path));
  if (const auto chosen = chartFormatOf(path.toStdString())) {
    format_->setCurrentIndex(formatIndex(*chosen));
    dpi_->setEnabled(isRaster(*chosen));
  } else {
    chooseFormat(format_->currentIndex());
  }
}

}  // namespace pellmar
