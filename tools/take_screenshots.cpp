// Makes the screenshots of the walk-through in docs/: drives the desktop program through one
// analysis of the example study, from opening it to the comparison of two treatments, with
// scripted answers, and saves a picture of each step. Run on the offscreen platform (see
// scripts/make_screenshots.sh), so that the pictures can be remade after every change to the
// screens.
#include <QApplication>
#include <QChart>
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
#include "ui/charts/life_charts.h"
#include "ui/shell/desktop_settings.h"
#include "ui/shell/main_window.h"
#include "ui/views/output_files_window.h"
#include "ui/views/report_viewer.h"
#include "ui/views/settings_panel.h"

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
      const ChartExportRequest& /*proposal*/) override {
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

QWidget* topLevel(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name)) return widget;
  }
  throw std::runtime_error(std::string("no window ") + name);
}

void click(QWidget& parent, const char* button) {
  auto* found = parent.findChild<QPushButton*>(QString::fromLatin1(button));
  if (found == nullptr) throw std::runtime_error(std::string("no button ") + button);
  found->click();
}

// A second study: a cohort like the example's that lives shorter, with the eggs of its females.
std::string secondStudy(const fs::path& folder) {
  pellmar::tools::StudyShape shape;
  shape.seed = 2027;
  shape.adultLifeScale = 0.8;
  const fs::path study = folder / "short_lived.txt";
  std::ofstream(study, std::ios::binary) << pellmar::tools::generateStudy(shape);
  std::ofstream(folder / "short_lived_fecundity.txt", std::ios::binary)
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
  const fs::path file = folder / "short_lived_bootstrap_C0.txt";
  std::ofstream(file, std::ios::binary) << text.str();
  return file.string();
}

void walkThrough(Camera& camera, const fs::path& examples, const fs::path& work) {
  for (const char* name : {"lady_beetle.txt", "lady_beetle_fecundity.txt"}) {
    fs::copy_file(examples / name, work / name, fs::copy_options::overwrite_existing);
  }
  fs::create_directories(work / "treatment2");
  fs::create_directories(work / "second");
  const std::string secondStudyFile = secondStudy(work / "second");
  const std::string treatment2 = secondTreatment(secondStudyFile, work / "treatment2");

  pellmar::DesktopSettings settings(QString::fromStdString((work / "pellmar.ini").string()));
  ScreenshotDialogs dialogs(camera);
  pellmar::MainWindow window(dialogs, settings);
  window.resize(1240, 800);
  window.show();

  // 1. Open the study: the time unit, then the file.
  dialogs.answer("1").chooseFile((work / "lady_beetle.txt").string());
  dialogs.shootNext(QStringLiteral("01_time_unit"));
  window.openDataFile();
  camera.shoot(window, QStringLiteral("02_opened"));

  // 2. Basic Run, then a chart of it.
  click(*window.centralWidget(), "basicRunButton");
  camera.shoot(window, QStringLiteral("03_basic_run"));
  window.showChart(pellmar::LifeChart::kSxj);
  camera.shoot(window, QStringLiteral("04_survival_chart"));

  // 3. The chart for a paper: the export dialog and what it writes.
  ChartExportRequest figure = settings.chartExportChoices();
  figure.dpi = 300;
  figure.file = (work / "lady_beetle_sxj.png").string();
  pellmar::ChartExportDialog exportDialog(figure, settings);
  camera.shoot(exportDialog, QStringLiteral("05_export_chart"));
  exportDialog.hide();
  figure.file = QDir(camera.folder()).filePath(QStringLiteral("05_figure_sxj.png")).toStdString();
  pellmar::exportChartPicture(
      [&window](QChart& chart) {
        pellmar::drawLifeChart(chart, pellmar::LifeChart::kSxj, window.desktop().analysis(),
                               pellmar::ChartPlace::kMainWindow);
      },
      figure);
  std::cout << figure.file << '\n';

  // 4. The result tables, a range selected for Ctrl+C.
  click(*window.centralWidget(), "resultsButton");
  QWidget* results = topLevel("resultsWindow");
  results->resize(900, 560);
  auto* matrixS = results->findChild<QTableWidget*>(QStringLiteral("resultTable0"));
  matrixS->setRangeSelected(QTableWidgetSelectionRange(12, 1, 18, 3), true);
  camera.shoot(*results, QStringLiteral("06_results"));
  results->close();

  // 5. The life table from the fecundity: R0, r, lambda, T, psi and omega.
  dialogs.chooseFile((work / "lady_beetle_fecundity.txt").string());
  dialogs.shootNext(QStringLiteral("07_fecundity_message"));
  click(*window.centralWidget(), "readFecundityButton");
  camera.shoot(window, QStringLiteral("08_fecundity_chart"));

  // 6. A bootstrap of 200 replicates of the cohort, with a seed to repeat it.
  dialogs.answer("2").answer("200").answer("100").answer("2026");
  click(*window.centralWidget(), "bootstrapButton");
  QWidget* resampling = topLevel("resamplingResultsWindow");
  resampling->resize(980, 560);
  camera.shoot(*resampling, QStringLiteral("09_bootstrap_results"));
  click(*resampling, "backButton");
  camera.shoot(window, QStringLiteral("10_bootstrap_chart"));

  // 7. The comparison with a second treatment.
  dialogs.chooseFile(treatment2);
  dialogs.shootNext(QStringLiteral("11_comparison"));
  click(*window.centralWidget(), "compareBootstrapsButton");

  // 8. The paired bootstrap test against the second study with its fecundity, bootstrapped as
  // this one was.
  dialogs.chooseFile(secondStudyFile)
      .chooseFile((work / "second" / "short_lived_fecundity.txt").string());
  click(*window.centralWidget(), "pairedBootstrapTestButton");
  QWidget* paired = topLevel("pairedTestWindow");
  paired->resize(1100, 560);
  camera.shoot(*paired, QStringLiteral("12_paired_test"));
  paired->close();

  // 9. The files written, and the reports read inside the program.
  click(*window.centralWidget(), "outputFilesButton");
  auto* files = dynamic_cast<pellmar::OutputFilesWindow*>(topLevel("outputFilesWindow"));
  camera.shoot(*files, QStringLiteral("13_output_files"));
  files->viewReports();
  pellmar::ReportViewer& viewer = *files->reportViewer();
  viewer.reports()->setCurrentIndex(
      viewer.reports()->findText(QStringLiteral("lady_beetle_6-Compare2Bs-output.txt")));
  viewer.resize(900, 560);
  viewer.openFindBar();
  viewer.findText()->setText(QStringLiteral("t-value"));
  viewer.find(viewer.findText()->text());
  camera.shoot(viewer, QStringLiteral("14_report_viewer"));
  viewer.close();
  files->close();

  // 10. The same study run again from the settings, here with the jackknife: no New analysis.
  auto* modes = window.centralWidget()->findChild<QTabWidget*>(QStringLiteral("stepsOrSettings"));
  modes->setCurrentIndex(1);
  auto* panel =
      window.centralWidget()->findChild<pellmar::SettingsPanel*>(QStringLiteral("settingsPanel"));
  panel->lifeTableBox()->setCurrentText(QStringLiteral("Fecundity file"));
  panel->lifeTableFileBox()->setText(
      QString::fromStdString((work / "lady_beetle_fecundity.txt").string()));
  panel->resamplingBox()->setCurrentText(QStringLiteral("Jackknife"));
  panel->runButton()->click();
  camera.shoot(window, QStringLiteral("15_settings_run"));

  // 11. The data as read, beside the chart.
  auto* views = window.centralWidget()->findChild<QTabWidget*>(QStringLiteral("viewTabs"));
  views->setCurrentIndex(1);
  camera.shoot(window, QStringLiteral("16_data_view"));
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
