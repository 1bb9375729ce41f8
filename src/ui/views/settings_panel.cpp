#include "ui/views/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "core/data/limits.h"
#include "core/numeric/replicate_interval.h"
#include "ui/widgets/typed_seed.h"

namespace pellmar {
namespace {

enum LifeTableChoice { kNoFile, kFecundityFile, kSasdFile };
enum ResamplingChoice { kNoResampling, kBootstrap, kJackknife };

constexpr int kDefaultReplicates = 1000;
const char* const kFaultFrame = "QLineEdit { border: 2px solid #b00020 }";

// A number of days as typed, without the trailing zeros of a fixed count of decimals.
class DaysBox : public QDoubleSpinBox {
 public:
  using QDoubleSpinBox::QDoubleSpinBox;
  [[nodiscard]] QString textFromValue(double value) const override {
    return QString::number(value, 'g', 10);
  }
};

void frame(QLineEdit& box, bool fault) {
  box.setStyleSheet(fault ? QString::fromLatin1(kFaultFrame) : QString());
}

}  // namespace

SettingsPanel::SettingsPanel(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      timeUnit_(new DaysBox(this)),
      lifeTable_(new QComboBox(this)),
      lifeTableFile_(new QLineEdit(this)),
      browse_(new QPushButton(QStringLiteral("Browse…"), this)),
      resampling_(new QComboBox(this)),
      replicates_(new QSpinBox(this)),
      sampleSize_(new QSpinBox(this)),
      seed_(new QLineEdit(this)),
      confidence_(new QDoubleSpinBox(this)),
      redrawBarren_(new QCheckBox(QStringLiteral("Draw barren replicates again"), this)),
      normalDensity_(new QCheckBox(QStringLiteral("Normal density curves"), this)),
      fault_(new QLabel(this)),
      status_(new QLabel(this)),
      run_(new QPushButton(QStringLiteral("Run"), this)) {
  setObjectName(QStringLiteral("settingsPanel"));
  timeUnit_->setObjectName(QStringLiteral("timeUnitBox"));
  timeUnit_->setDecimals(6);
  timeUnit_->setRange(0.000001, kLongestTimeUnit);
  timeUnit_->setValue(1.0);
  lifeTable_->setObjectName(QStringLiteral("lifeTableBox"));
  lifeTable_->addItems(
      {QStringLiteral("No file"), QStringLiteral("Fecundity file"), QStringLiteral("SASD file")});
  lifeTableFile_->setObjectName(QStringLiteral("lifeTableFileBox"));
  browse_->setObjectName(QStringLiteral("browseLifeTableButton"));
  resampling_->setObjectName(QStringLiteral("resamplingBox"));
  resampling_->addItems(
      {QStringLiteral("None"), QStringLiteral("Bootstrap"), QStringLiteral("Jackknife")});
  replicates_->setObjectName(QStringLiteral("replicatesBox"));
  replicates_->setRange(1, kMaxBootstrapReplicates);
  replicates_->setValue(kDefaultReplicates);
  replicates_->setGroupSeparatorShown(false);
  sampleSize_->setObjectName(QStringLiteral("sampleSizeBox"));
  sampleSize_->setRange(0, kMaxBootstrapSampleSize);
  sampleSize_->setSpecialValueText(QStringLiteral("the cohort's size"));
  seed_->setObjectName(QStringLiteral("seedBox"));
  seed_->setPlaceholderText(QStringLiteral("from the clock"));
  confidence_->setObjectName(QStringLiteral("confidenceBox"));
  confidence_->setDecimals(4);
  confidence_->setRange(0.0001, 0.9999);
  confidence_->setSingleStep(0.01);
  confidence_->setValue(kDefaultConfidence);
  redrawBarren_->setObjectName(QStringLiteral("redrawBarrenBox"));
  normalDensity_->setObjectName(QStringLiteral("normalDensityBox"));
  fault_->setObjectName(QStringLiteral("settingsFaultLabel"));
  fault_->setWordWrap(true);
  fault_->setStyleSheet(QStringLiteral("color: #b00020"));
  status_->setObjectName(QStringLiteral("settingsStatusLabel"));
  status_->setWordWrap(true);
  run_->setObjectName(QStringLiteral("runSettingsButton"));
  run_->setToolTip(QStringLiteral("Run the whole analysis these settings ask for"));

  auto* file = new QHBoxLayout;
  file->addWidget(lifeTableFile_, 1);
  file->addWidget(browse_);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Time unit (days):"), timeUnit_);
  form->addRow(QStringLiteral("Life table:"), lifeTable_);
  form->addRow(QString(), file);
  form->addRow(QStringLiteral("Resampling:"), resampling_);
  form->addRow(QStringLiteral("Replicates:"), replicates_);
  form->addRow(QStringLiteral("Sample size:"), sampleSize_);
  form->addRow(QStringLiteral("Seed:"), seed_);
  form->addRow(QStringLiteral("Confidence:"), confidence_);
  form->addRow(QString(), redrawBarren_);
  form->addRow(QString(), normalDensity_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(fault_);
  layout->addWidget(run_);
  layout->addWidget(status_);
  layout->addStretch();

  connect(browse_, &QPushButton::clicked, this, [this] { chooseLifeTableFile(); });
  for (QLineEdit* box : {lifeTableFile_, seed_}) {
    connect(box, &QLineEdit::textChanged, this, [this] { checkSettings(); });
  }
  for (QComboBox* box : {lifeTable_, resampling_}) {
    connect(box, &QComboBox::currentIndexChanged, this, [this] { checkSettings(); });
  }
  for (QSpinBox* box : {replicates_, sampleSize_}) {
    connect(box, &QSpinBox::valueChanged, this, [this] { checkSettings(); });
  }
  for (QDoubleSpinBox* box : {timeUnit_, confidence_}) {
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { checkSettings(); });
  }
  for (QCheckBox* box : {redrawBarren_, normalDensity_}) {
    connect(box, &QCheckBox::toggled, this, [this] { checkSettings(); });
  }
  showNoStudy();
}

void SettingsPanel::showStudy(const std::string& dataFile, double timeUnit) {
  studyOpen_ = true;
  timeUnit_->setValue(timeUnit);
  // A fecundity file named after the data, as new projects find it, is proposed.
  const QString study = QString::fromStdString(dataFile);
  const QString eggs = study.left(study.size() - 4) + QStringLiteral("_fecundity.txt");
  if (lifeTableFile_->text().isEmpty() && QFileInfo(eggs).isFile()) {
    lifeTable_->setCurrentIndex(kFecundityFile);
    lifeTableFile_->setText(QDir::toNativeSeparators(eggs));
  }
  lastRun_.clear();
  status_->clear();
  checkSettings();
}

void SettingsPanel::showNoStudy() {
  studyOpen_ = false;
  lastRun_.clear();
  status_->setText(QStringLiteral("Open a data file to run it with these settings."));
  checkSettings();
}

QString SettingsPanel::fileFault() const {
  if (lifeTable_->currentIndex() == kNoFile) return {};
  const QString kind = lifeTable_->currentIndex() == kFecundityFile ? QStringLiteral("fecundity")
                                                                    : QStringLiteral("SASD");
  const QString file = lifeTableFile_->text().trimmed();
  if (file.isEmpty()) return QStringLiteral("Choose the %1 file, or No file.").arg(kind);
  if (!QFileInfo(file).isFile())
    return QStringLiteral("The %1 file %2 is not there.").arg(kind, file);
  return {};
}

QString SettingsPanel::seedFault() const {
  if (resampling_->currentIndex() != kBootstrap || typedSeed(seed_->text()).valid) return {};
  return QStringLiteral(
      "The seed must be a whole number from 0 to 18446744073709551615, or empty for a seed from "
      "the clock.");
}

QString SettingsPanel::fault() const {
  const QString file = fileFault();
  return file.isEmpty() ? seedFault() : file;
}

std::optional<RunRequest> SettingsPanel::request(const std::string& dataFile,
                                                 std::uint64_t clockSeed) const {
  if (!fault().isEmpty()) return std::nullopt;
  RunRequest request;
  request.open = OpenRequest{dataFile, timeUnit_->value()};
  const std::string file =
      QDir::fromNativeSeparators(lifeTableFile_->text().trimmed()).toStdString();
  if (lifeTable_->currentIndex() == kFecundityFile)
    request.readFecundity = ReadFecundityRequest{file};
  if (lifeTable_->currentIndex() == kSasdFile) request.readSasd = ReadSasdRequest{file};
  if (resampling_->currentIndex() == kBootstrap) {
    BootstrapRequest bootstrap;
    bootstrap.replicates = replicates_->value();
    if (sampleSize_->value() > 0) bootstrap.sampleSize = sampleSize_->value();
    bootstrap.seed = typedSeed(seed_->text()).seed.value_or(clockSeed);
    bootstrap.redrawBarren = request.readFecundity && redrawBarren_->isChecked();
    request.bootstrap = bootstrap;
    request.normalDensity = normalDensity_->isChecked();
  }
  request.jackknife = resampling_->currentIndex() == kJackknife;
  if (confidence_->value() != kDefaultConfidence) request.confidence = confidence_->value();
  return request;
}

void SettingsPanel::ranWith(const RunRequest& request, std::size_t files) {
  lastRun_ = signature();
  QString text =
      QStringLiteral("The results are those of these settings; %1 files written.").arg(files);
  if (request.bootstrap && typedSeed(seed_->text()).seed == std::nullopt) {
    text += QStringLiteral(" Seed used: %1.").arg(request.bootstrap->seed);
  }
  status_->setText(text);
}

void SettingsPanel::checkSettings() {
  const bool bootstrap = resampling_->currentIndex() == kBootstrap;
  const bool resampled = resampling_->currentIndex() != kNoResampling;
  const bool file = lifeTable_->currentIndex() != kNoFile;
  for (QWidget* setting :
       std::initializer_list<QWidget*>{replicates_, sampleSize_, seed_, normalDensity_}) {
    setting->setEnabled(bootstrap);
  }
  confidence_->setEnabled(resampled);
  redrawBarren_->setEnabled(bootstrap && lifeTable_->currentIndex() == kFecundityFile);
  lifeTableFile_->setEnabled(file);
  browse_->setEnabled(file);
  const QString why = fault();
  fault_->setText(why);
  fault_->setVisible(!why.isEmpty());
  frame(*lifeTableFile_, !fileFault().isEmpty());
  frame(*seed_, !seedFault().isEmpty());
  run_->setEnabled(studyOpen_ && why.isEmpty());
  if (!lastRun_.isEmpty() && signature() != lastRun_) {
    status_->setText(
        QStringLiteral("The settings changed since the last run: Run again to bring "
                       "the results up to date."));
  }
}

void SettingsPanel::chooseLifeTableFile() {
  const bool eggs = lifeTable_->currentIndex() == kFecundityFile;
  const std::string chosen = dialogs_.openFileDialog(eggs ? FileKind::kFecundity : FileKind::kSasd);
  if (!chosen.empty())
    lifeTableFile_->setText(QDir::toNativeSeparators(QString::fromStdString(chosen)));
}

QString SettingsPanel::signature() const {
  QStringList parts{QString::number(timeUnit_->value(), 'g', 17),
                    QString::number(lifeTable_->currentIndex()),
                    lifeTableFile_->text(),
                    QString::number(resampling_->currentIndex()),
                    QString::number(replicates_->value()),
                    QString::number(sampleSize_->value()),
                    seed_->text(),
                    QString::number(confidence_->value(), 'g', 17),
                    QString::number(static_cast<int>(redrawBarren_->isChecked())),
                    QString::number(static_cast<int>(normalDensity_->isChecked()))};
  return parts.join(QLatin1Char('\n'));
}

}  // namespace pellmar
