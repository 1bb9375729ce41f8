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
#include <array>

#include "app/dialogs.h"
#include "core/data/limits.h"
#include "core/numeric/p_adjust.h"
#include "core/numeric/replicate_interval.h"
#include "ui/widgets/typed_seed.h"

namespace pellmar {
namespace {

enum LifeTableChoice { kNoFile, kFecundityFile, kSasdFile };
enum ScopeChoice { kThisTreatment, kEveryTreatment };

constexpr std::array<PAdjustMethod, 4> kAdjustMethods = {
    PAdjustMethod::kHolm, PAdjustMethod::kBonferroni, PAdjustMethod::kBenjaminiHochberg,
    PAdjustMethod::kNone};
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
      scope_(new QComboBox(this)),
      adjust_(new QComboBox(this)),
      alpha_(new QDoubleSpinBox(this)),
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
  scope_->setObjectName(QStringLiteral("runScopeBox"));
  scope_->setEnabled(false);
  scope_->addItems({QStringLiteral("This treatment"), QStringLiteral("Every treatment")});
  scope_->setToolTip(
      QStringLiteral("Every treatment: each with its own bootstrap, every pair tested, into the "
                     "project's results folder"));
  adjust_->setObjectName(QStringLiteral("adjustBox"));
  for (const PAdjustMethod method : kAdjustMethods) {
    adjust_->addItem(QString::fromStdString(std::string(pAdjustMethodName(method))));
  }
  alpha_->setObjectName(QStringLiteral("alphaBox"));
  alpha_->setDecimals(4);
  alpha_->setRange(0.0001, 0.9999);
  alpha_->setSingleStep(0.01);
  alpha_->setValue(0.05);
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
  form->addRow(QStringLiteral("Run:"), scope_);
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
  form->addRow(QStringLiteral("p adjustment:"), adjust_);
  form->addRow(QStringLiteral("alpha:"), alpha_);
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
  connect(timeUnit_, &QDoubleSpinBox::editingFinished, this, [this] {
    if (studyOpen_ && !runsEveryTreatment()) emit timeUnitEdited(timeUnit_->value());
  });
  for (QComboBox* box : {lifeTable_, resampling_, scope_, adjust_}) {
    connect(box, &QComboBox::currentIndexChanged, this, [this] { checkSettings(); });
  }
  for (QSpinBox* box : {replicates_, sampleSize_}) {
    connect(box, &QSpinBox::valueChanged, this, [this] { checkSettings(); });
  }
  for (QDoubleSpinBox* box : {timeUnit_, confidence_, alpha_}) {
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

void SettingsPanel::showProject(const Project& project) {
  const bool several = project.treatments.size() > 1;
  scope_->setEnabled(several);
  scope_->setCurrentIndex(several ? kEveryTreatment : kThisTreatment);
  const Project::Bootstrap& bootstrap = project.bootstrap;
  replicates_->setValue(bootstrap.replicates);
  seed_->setText(bootstrap.seed ? QString::number(*bootstrap.seed) : QString());
  confidence_->setValue(bootstrap.confidence);
  redrawBarren_->setChecked(bootstrap.redrawBarren);
  const auto method =
      std::find(kAdjustMethods.begin(), kAdjustMethods.end(), project.comparisons.adjust);
  adjust_->setCurrentIndex(static_cast<int>(method - kAdjustMethods.begin()));
  alpha_->setValue(project.comparisons.alpha);
  if (several) resampling_->setCurrentIndex(kBootstrap);
  lastRun_.clear();
  checkSettings();
}

void SettingsPanel::showTreatmentFiles(const Treatment& treatment) {
  const std::optional<std::string>& file =
      treatment.fecundity ? treatment.fecundity : treatment.sasd;
  lifeTable_->setCurrentIndex(treatment.fecundity ? kFecundityFile
                              : treatment.sasd    ? kSasdFile
                                                  : kNoFile);
  lifeTableFile_->setText(file ? QDir::toNativeSeparators(QString::fromStdString(*file))
                               : QString());
}

bool SettingsPanel::runsEveryTreatment() const {
  return scope_->isEnabled() && scope_->currentIndex() == kEveryTreatment;
}

Project SettingsPanel::appliedTo(Project project) const {
  project.bootstrap.replicates = replicates_->value();
  project.bootstrap.seed = typedSeed(seed_->text()).seed;
  project.bootstrap.confidence = confidence_->value();
  project.bootstrap.redrawBarren = redrawBarren_->isChecked();
  project.comparisons.adjust = kAdjustMethods[static_cast<std::size_t>(adjust_->currentIndex())];
  project.comparisons.alpha = alpha_->value();
  return project;
}

ExperimentRequest SettingsPanel::experimentRequest(const Project& project) const {
  const Project applied = appliedTo(project);
  ExperimentRequest request;
  request.projectFile = applied.file;
  request.replicates = applied.bootstrap.replicates;
  request.seed = applied.bootstrap.seed;
  request.confidence = applied.bootstrap.confidence;
  request.adjust = applied.comparisons.adjust;
  request.alpha = applied.comparisons.alpha;
  request.redrawBarren = applied.bootstrap.redrawBarren;
  request.frontEnd = "desktop";
  return request;
}

void SettingsPanel::ranExperiment(std::uint64_t seed, std::size_t treatments) {
  lastRun_ = signature();
  QString text =
      QStringLiteral("The results are those of these settings; %1 treatments run.").arg(treatments);
  if (!typedSeed(seed_->text()).seed) text += QStringLiteral(" Seed used: %1.").arg(seed);
  status_->setText(text);
}

QString SettingsPanel::fileFault() const {
  if (runsEveryTreatment() || lifeTable_->currentIndex() == kNoFile) return {};
  const QString kind = lifeTable_->currentIndex() == kFecundityFile ? QStringLiteral("fecundity")
                                                                    : QStringLiteral("SASD");
  const QString file = lifeTableFile_->text().trimmed();
  if (file.isEmpty()) return QStringLiteral("Choose the %1 file, or No file.").arg(kind);
  if (!QFileInfo(file).isFile())
    return QStringLiteral("The %1 file %2 is not there.").arg(kind, file);
  return {};
}

QString SettingsPanel::seedFault() const {
  if ((!runsEveryTreatment() && resampling_->currentIndex() != kBootstrap) ||
      typedSeed(seed_->text()).valid) {
    return {};
  }
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
  // Every treatment runs with its own bootstrap and the files its project names; the time unit
  // is the project's.
  const bool every = runsEveryTreatment();
  if (every && resampling_->currentIndex() != kBootstrap) resampling_->setCurrentIndex(kBootstrap);
  const bool bootstrap = resampling_->currentIndex() == kBootstrap;
  const bool resampled = resampling_->currentIndex() != kNoResampling;
  const bool file = lifeTable_->currentIndex() != kNoFile;
  for (QWidget* setting : std::initializer_list<QWidget*>{replicates_, seed_}) {
    setting->setEnabled(bootstrap);
  }
  for (QWidget* setting : std::initializer_list<QWidget*>{sampleSize_, normalDensity_}) {
    setting->setEnabled(bootstrap && !every);
  }
  for (QWidget* setting : std::initializer_list<QWidget*>{timeUnit_, lifeTable_, resampling_}) {
    setting->setEnabled(!every);
  }
  adjust_->setEnabled(every);
  alpha_->setEnabled(every);
  confidence_->setEnabled(resampled);
  redrawBarren_->setEnabled(bootstrap && (every || lifeTable_->currentIndex() == kFecundityFile));
  lifeTableFile_->setEnabled(file && !every);
  browse_->setEnabled(file && !every);
  const QString why = fault();
  fault_->setText(why);
  fault_->setVisible(!why.isEmpty());
  frame(*lifeTableFile_, !fileFault().isEmpty());
  frame(*seed_, !seedFault().isEmpty());
  run_->setEnabled(studyOpen_ && why.isEmpty());
  run_->setText(every ? QStringLiteral("Run every treatment") : QStringLiteral("Run"));
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
                    QString::number(static_cast<int>(normalDensity_->isChecked())),
                    QString::number(scope_->currentIndex()),
                    QString::number(adjust_->currentIndex()),
                    QString::number(alpha_->value(), 'g', 17)};
  return parts.join(QLatin1Char('\n'));
}

}  // namespace pellmar
