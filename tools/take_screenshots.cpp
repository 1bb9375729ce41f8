// Makes the screenshots of the walk-through in docs/: drives the desktop program through a
// project of three treatments, from opening it and running them all to the guided steps on one
// of them, with scripted answers, and saves a picture of each step. Run on the offscreen platform
// (see scripts/make_screenshots.sh), so that the pictures can be remade after every change to the
// screens.
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/dialogs.h"
#include "core/analysis/basic_run.h"
#include "core/data/study_reader.h"
#include "core/resampling/bootstrap.h"
#include "study_generator.h"
#include "ui/charts/chart_export_dialog.h"
#include "ui/charts/chart_picture.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/life_charts.h"
#include "ui/shell/desktop_settings.h"
#include "ui/shell/main_window.h"
#include "ui/views/experiment_view.h"
#include "ui/views/output_files_window.h"
#include "ui/views/projection_view.h"
#include "ui/views/report_viewer.h"
#include "ui/views/settings_panel.h"
#include "ui/views/treatments_panel.h"

namespace {

namespace fs = std::filesystem;
using pellmar::ChartExportRequest;

constexpr int kSettleMs = 150;
using pellmar::ClockReading;
using pellmar::FileKind;
using pellmar::MessageAnswer;
using pellmar::MessageButtons;
using pellmar::MessageKind;

QString fromStd(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Saves pictures of widgets into the output folder.
class Camera {
 public:
  explicit Camera(QString folder) : folder_(std::move(folder)) {}

  void shoot(QWidget& widget, const QString& name) {
    widget.show();
    // Lets the layouts settle and the charts draw (their old items go by deferred deletion)
    // before the picture is taken.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < kSettleMs) {
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
    }
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path)) std::cerr << "cannot write " << path.toStdString() << '\n';
    std::cout << path.toStdString() << '\n';
  }

  [[nodiscard]] const QString& folder() const { return folder_; }

 private:
  QString folder_;
};

// Answers the program's questions from a script, showing each question as the desktop would and
// taking its picture when one is asked for. A question without a scripted answer takes its
// default answer, or No.
class ScreenshotDialogs : public pellmar::Dialogs {
 public:
  explicit ScreenshotDialogs(Camera& camera) : camera_(camera) {}

  ScreenshotDialogs& answer(std::string text) {
    answers_.push_back(std::move(text));
    return *this;
  }
  ScreenshotDialogs& chooseFile(std::string path) {
    files_.push_back(std::move(path));
    return *this;
  }
  // The next question or message shown is saved under `name`.
  void shootNext(QString name) { shot_ = std::move(name); }

  MessageAnswer messageBox(std::string_view text, MessageButtons buttons, std::string_view title,
                           MessageKind kind) override {
    QMessageBox box(
        kind == MessageKind::kResult ? QMessageBox::Information : QMessageBox::Warning,
        fromStd(title), fromStd(text),
        buttons == MessageButtons::kYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    takeShot(box);
    return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
  }

  std::optional<std::string> inputPrompt(std::string_view prompt, std::string_view title,
                                         std::string_view defaultAnswer) override {
    std::string answer(defaultAnswer);
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
    QInputDialog dialog;
    dialog.setWindowTitle(fromStd(title));
    dialog.setLabelText(fromStd(prompt));
    dialog.setTextValue(fromStd(answer));
    takeShot(dialog);
    return answer;
  }

  std::string openFileDialog(FileKind /*kind*/) override {
    if (files_.empty()) return {};
    std::string path = files_.front();
    files_.pop_front();
    return path;
  }
  // The walk-through opens no project and saves nothing through a dialog.
  std::vector<std::string> openFilesDialog(FileKind /*kind*/) override { return {}; }
  std::string saveFileDialog(FileKind /*kind*/, std::string_view /*proposal*/) override {
    return {};
  }

  std::optional<ChartExportRequest> chartExportDialog(
      const ChartExportRequest& /*proposal*/, const pellmar::ChartPreview* /*preview*/) override {
    return std::nullopt;
  }
  void printWindow(std::string_view /*window*/) override {}
  ClockReading clock() override { return ClockReading{"2026-05-04 10:30:00", 10, 30, 0}; }
  void beep() override {}

 private:
  void takeShot(QWidget& dialog) {
    if (shot_.isEmpty()) return;
    camera_.shoot(dialog, std::exchange(shot_, QString()));
    dialog.hide();
  }

  Camera& camera_;
  std::deque<std::string> answers_;
  std::deque<std::string> files_;
  QString shot_;
};

void click(QWidget& parent, const char* button) {
  auto* found = parent.findChild<QPushButton*>(QString::fromLatin1(button));
  if (found == nullptr) throw std::runtime_error(std::string("no button ") + button);
  found->click();
}

// A treatment beside the example: a cohort like it whose adults live `adultLifeScale` times as
// long, with the eggs of its females. Returns its data file.
std::string generatedTreatment(const fs::path& folder, const char* name, std::uint32_t seed,
                               double adultLifeScale) {
  pellmar::tools::StudyShape shape;
  shape.seed = seed;
  shape.adultLifeScale = adultLifeScale;
  const fs::path study = folder / (std::string(name) + ".txt");
  std::ofstream(study, std::ios::binary) << pellmar::tools::generateStudy(shape);
  std::ofstream(folder / (std::string(name) + "_fecundity.txt"), std::ios::binary)
      << pellmar::tools::generateFecundity(shape);
  return study.string();
}

// The second treatment of the comparison: the second study bootstrapped as the example is, its
// C0 values in the layout the comparison reads.
std::string secondTreatment(const fs::path& study, const fs::path& folder) {
  pellmar::InputFileReader reader;
  const pellmar::Study cohort =
      pellmar::readStudy(reader.read(study.string(), "Open data file"), 1, study.stem().string());
  const pellmar::BootstrapResults bootstrap = pellmar::ownSamplesBootstrap(
      cohort, pellmar::basicRun(cohort),
      pellmar::OwnSamplesOptions{200, cohort.individualCount, 7, false}, nullptr, {});
  const auto& c0 = bootstrap.bootC0;
  std::ostringstream text;
  text.precision(17);
  text << "Short-lived cohort\nPellmar walk-through\n2026-05-04\nn\n100\nK\n200\n";
  for (int k = 1; k <= 200; ++k) text << k << "," << c0[static_cast<std::size_t>(k)] << "\n";
  const fs::path file = folder / "warm_bootstrap_C0.txt";
  std::ofstream(file, std::ios::binary) << text.str();
  return file.string();
}

// The project of the walk-through: the example study and two generated treatments, each with
// its fecundity file, bootstrapped 200 times from seed 2026.
std::string writeProject(const fs::path& work) {
  const fs::path file = work / "beetles.pellmar";
  std::ofstream(file, std::ios::binary) << R"({
  "pellmar_project": 1,
  "title": "Lady beetles at three temperatures",
  "treatments": [
    {"name": "control", "data": "lady_beetle.txt", "fecundity": "lady_beetle_fecundity.txt"},
    {"name": "warm", "data": "warm.txt", "fecundity": "warm_fecundity.txt"},
    {"name": "cold", "data": "cold.txt", "fecundity": "cold_fecundity.txt"}
  ],
  "bootstrap": {"replicates": 200, "seed": 2026}
}
)";
  return file.string();
}

template <typename T>
T& child(QWidget& parent, const char* name) {
  auto* found = parent.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) throw std::runtime_error(std::string("no widget ") + name);
  return *found;
}

void walkThrough(Camera& camera, const fs::path& examples, const fs::path& work) {
  for (const char* name : {"lady_beetle.txt", "lady_beetle_fecundity.txt"}) {
    fs::copy_file(examples / name, work / name, fs::copy_options::overwrite_existing);
  }
  const std::string warm = generatedTreatment(work, "warm", 2027, 0.8);
  generatedTreatment(work, "cold", 2028, 1.25);
  fs::create_directories(work / "compared");
  const std::string warmC0 = secondTreatment(warm, work / "compared");
  const std::string project = writeProject(work);

  pellmar::DesktopSettings settings(QString::fromStdString((work / "pellmar.ini").string()));
  ScreenshotDialogs dialogs(camera);
  pellmar::MainWindow window(dialogs, settings);
  window.resize(1366, 800);
  window.show();
  // The page is made anew with each study opened: its parts are found when they are used.
  const auto page = [&window]() -> QWidget& { return *window.centralWidget(); };
  auto& panel = child<pellmar::SettingsPanel>(window, "settingsPanel");
  auto& treatments = child<pellmar::TreatmentsPanel>(window, "treatmentsPanel");

  // 1. The project: its treatments on the left, the first one's data in front.
  window.openProject(QString::fromStdString(project));
  camera.shoot(window, QStringLiteral("01_project"));

  // 2. The settings of every treatment's run, and the run: the comparison with letters.
  child<QTabWidget>(page(), "stepsOrSettings").setCurrentIndex(1);
  camera.shoot(window, QStringLiteral("02_settings"));
  panel.runButton()->click();
  auto& comparison = child<pellmar::ExperimentView>(page(), "comparisonView");
  comparison.figureBox()->setCurrentIndex(1);
  camera.shoot(window, QStringLiteral("03_every_treatment"));
  // The treatments' l(x) overlaid, exported at one column.
  ChartExportRequest column = settings.chartExportChoices();
  column.dpi = 300;
  const auto exportFigure = [&camera, &column](const pellmar::ChartDrawing& draw,
                                               const char* name) {
    column.file = QDir(camera.folder()).filePath(QString::fromLatin1(name)).toStdString();
    pellmar::exportChartPicture(draw, column);
    std::cout << column.file << '\n';
  };
  exportFigure(comparison.figureDrawing(), "03_treatments_lx.png");

  // 3. A treatment selected: its results in the results pane.
  treatments.select(1);
  camera.shoot(window, QStringLiteral("04_treatment_results"));

  // 4. The guided steps on the control: the Basic Run and a chart of it.
  treatments.select(0);
  child<QTabWidget>(page(), "stepsOrSettings").setCurrentIndex(0);
  click(page(), "basicRunButton");
  window.showChart(pellmar::LifeChart::kSxj);
  camera.shoot(window, QStringLiteral("05_survival_chart"));

  // 5. The chart for a paper: the export dialog and what it writes.
  ChartExportRequest figure = settings.chartExportChoices();
  figure.dpi = 300;
  figure.file = (work / "lady_beetle_sxj.png").string();
  pellmar::ChartExportDialog exportDialog(figure, settings);
  camera.shoot(exportDialog, QStringLiteral("06_export_chart"));
  exportDialog.hide();
  figure.file = QDir(camera.folder()).filePath(QStringLiteral("06_figure_sxj.png")).toStdString();
  pellmar::exportChartPicture(
      [&window](QChart& chart) {
        pellmar::drawLifeChart(chart, pellmar::LifeChart::kSxj, window.desktop().analysis());
      },
      figure);
  std::cout << figure.file << '\n';

  // 6. The life table view, a range selected for Ctrl+C.
  click(page(), "resultsButton");
  auto& matrixS = child<QTableWidget>(page(), "resultTable0");
  matrixS.setRangeSelected(QTableWidgetSelectionRange(12, 1, 18, 3), true);
  camera.shoot(window, QStringLiteral("07_life_table"));

  // 7. The life table from the fecundity: R0, r, lambda, T, psi and omega.
  dialogs.chooseFile((work / "lady_beetle_fecundity.txt").string());
  dialogs.shootNext(QStringLiteral("08_fecundity_message"));
  click(page(), "readFecundityButton");

  // 8. A bootstrap of 200 replicates of the cohort, with a seed to repeat it.
  dialogs.answer("2").answer("200").answer("100").answer("2026");
  click(page(), "bootstrapButton");
  camera.shoot(window, QStringLiteral("09_bootstrap"));
  const pellmar::FrequencyFigure histogram =
      pellmar::bootstrapFrequencyFigure(*window.desktop().analysis().bootstrap());
  exportFigure([&histogram](QChart& chart) { pellmar::drawFrequencyChart(chart, histogram); },
               "09_histogram_85x60.png");

  // The projection from 10 eggs with the band of the bootstrap's replicates.
  auto& projection = child<pellmar::ProjectionView>(page(), "projectionView");
  child<QTabWidget>(page(), "viewTabs").setCurrentWidget(&projection);
  child<QCheckBox>(projection, "projectionBandBox").setChecked(true);
  projection.drawButton()->click();
  camera.shoot(window, QStringLiteral("09_projection"));

  // 9. Two bootstraps compared, then the paired bootstrap test against the warm treatment.
  dialogs.chooseFile(warmC0);
  dialogs.shootNext(QStringLiteral("10_two_bootstraps"));
  click(page(), "compareBootstrapsButton");
  dialogs.chooseFile(warm).chooseFile((work / "warm_fecundity.txt").string());
  click(page(), "pairedBootstrapTestButton");
  camera.shoot(window, QStringLiteral("11_paired_test"));

  // 10. A step again after the bootstrap: the jackknife, with no New analysis.
  click(page(), "jackknifeButton");
  camera.shoot(window, QStringLiteral("12_step_again"));

  // 11. The files written, and the reports read inside the program.
  click(page(), "outputFilesButton");
  camera.shoot(window, QStringLiteral("13_files"));
  auto& viewer = child<pellmar::ReportViewer>(page(), "reportViewer");
  child<QTabWidget>(page(), "viewTabs").setCurrentWidget(&viewer);
  viewer.openFindBar();
  viewer.findText()->setText(QStringLiteral("Jackknife"));
  viewer.find(viewer.findText()->text());
  camera.shoot(window, QStringLiteral("14_reports"));

  // 12. A data file with a fault: the data view shows its lines and selects the one at fault.
  std::string text;
  {
    std::ifstream original(work / "lady_beetle.txt", std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(original), {});
  }
  text.replace(text.find("\n2,"), 4, "\n2,X");
  std::ofstream(work / "typo.txt", std::ios::binary) << text;
  window.openDataFile(QString::fromStdString((work / "typo.txt").string()));
  camera.shoot(window, QStringLiteral("15_data_fault"));
}

}  // namespace

int main(int argc, char* argv[]) {
  // No window is shown on a screen: the pictures are drawn off it.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc < 2 || argc > 3) {
    std::cerr << "Usage: pellmar-screenshots OUTPUT_FOLDER [EXAMPLES_FOLDER]\n";
    return 2;
  }
  const fs::path examples = argc == 3 ? fs::path(argv[2]) : fs::path(PELLMAR_EXAMPLES_DIR);
  QDir().mkpath(QString::fromLocal8Bit(argv[1]));
  Camera camera(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
  // A folder of a fixed name, so that the paths the screens show are the same in every run.
  const fs::path work = fs::temp_directory_path() / "pellmar-walkthrough" / "study";
  fs::remove_all(work);
  fs::create_directories(work);
  int status = 0;
  try {
    walkThrough(camera, examples, work);
  } catch (const std::exception& error) {
    std::cerr << "pellmar-screenshots: " << error.what() << '\n';
    status = 1;
  }
  fs::remove_all(work.parent_path());
  return status;
}
