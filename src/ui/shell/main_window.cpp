#include "ui/shell/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/system_clock.h"
#include "core/report/output_file.h"
#include "core/user_error.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/palette_colours.h"
#include "ui/classic/help_screen.h"
#include "ui/classic/help_texts.h"
#include "ui/classic/logo.h"
#include "ui/classic/quiz_screen.h"
#include "ui/classic/quotations.h"
#include "ui/classic/title_screen.h"
#include "ui/shell/desktop_settings.h"
#include "ui/views/data_format_window.h"
#include "ui/views/data_view.h"
#include "ui/views/experiment_window.h"
#include "ui/views/large_graph_window.h"
#include "ui/views/output_files_window.h"
#include "ui/views/paired_test_window.h"
#include "ui/views/resampling_results_window.h"
#include "ui/views/results_pane.h"
#include "ui/views/results_window.h"
#include "ui/views/settings_panel.h"
#include "ui/views/stage_means_window.h"
#include "ui/widgets/clickable_label.h"
#include "ui/widgets/wrap_button.h"

namespace pellmar {

namespace {

// The window's size in the first program run, where the screen has room for it.
constexpr QSize kFirstSize(1240, 800);

// The last step of the analysis done: the steps go in this order, so it is the furthest.
QString lastStepDone(const Analysis& analysis) {
  if (analysis.comparison()) return QStringLiteral("Compare two bootstraps");
  if (analysis.jackknife()) return QStringLiteral("Jackknife");
  if (analysis.bootstrap()) return QStringLiteral("Bootstrap");
  if (analysis.lifeTable()) return QStringLiteral("Read fecundity");
  if (analysis.predation()) return QStringLiteral("Read SASD");
  if (analysis.basic()) return QStringLiteral("Basic Run");
  return QStringLiteral("Open data file");
}

// The one local file a drag carries, or the empty text.
QString draggedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl& url = data->urls().front();
  if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) return {};
  return url.toLocalFile();
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, DesktopSettings& settings)
    : dialogs_(dialogs), settings_(settings) {
  setObjectName(QStringLiteral("mainWindow"));
  setAcceptDrops(true);
  buildMenus();
  buildToolBar();
  buildStatusBar();
  startNewAnalysis();

  if (!restoreGeometry(settings_.mainWindowGeometry())) {
    const QRect screen = QApplication::primaryScreen() != nullptr
                             ? QApplication::primaryScreen()->availableGeometry()
                             : QRect(QPoint(0, 0), kFirstSize);
    resize(kFirstSize.boundedTo(screen.size() * 0.9));
    move(screen.center() - rect().center());
  }
  restoreState(settings_.mainWindowState());
}

MainWindow::~MainWindow() = default;

void MainWindow::afterCommand() {
  applyCommandStates();
  showStudy();
}

void MainWindow::applyCommandStates() {
  const CommandStates states = commandStatesFor(*desktop_);
  for (std::size_t i = 0; i < commandWidgets_.size(); ++i) {
    const auto command = static_cast<Command>(i);
    QWidget* widget = commandWidgets_[i];
    widget->setEnabled(states.isEnabled(command));
    widget->setVisible(states.isVisible(command));
  }
  if (lastFocus_ != states.focused()) {
    lastFocus_ = states.focused();
    commandWidget(*lastFocus_)->setFocus();
  }
}

void MainWindow::showStudy() {
  if (desktop_->isOpen()) {
    const Analysis& analysis = desktop_->analysis();
    resultsPane_->showResults(analysis.summary(), analysis.confidence());
    dataView_->showStudy(&analysis.study(),
                         analysis.lifeTable() ? &*analysis.lifeTable() : nullptr);
    if (!settingsTookStudy_) {
      const Study& study = desktop_->analysis().study();
      settingsPanel_->showStudy(study.dataFileName, study.timeUnit);
      settingsTookStudy_ = true;
    }
  } else {
    resultsPane_->showResults({}, kDefaultConfidence);
    dataView_->showStudy(nullptr, nullptr);
  }
  if (!desktop_->isOpen()) {
    settings_.setStudyFolder({});
    setWindowTitle(QStringLiteral("Pellmar"));
    studyStatus_->setText(QStringLiteral("No data file open"));
    studyStatus_->setToolTip({});
    timeUnitStatus_->hide();
    lastStepStatus_->hide();
    return;
  }
  const Study& study = desktop_->analysis().study();
  const QString path = QString::fromStdString(study.dataFileName);
  const QString name = QFileInfo(path).fileName();
  settings_.setStudyFolder(QFileInfo(path).absolutePath());
  setWindowTitle(name + QStringLiteral(" - Pellmar"));
  studyStatus_->setText(QStringLiteral("Study: ") + name);
  studyStatus_->setToolTip(QDir::toNativeSeparators(path));
  timeUnitStatus_->setText(
      QStringLiteral("Time unit: %1 %2")
          .arg(QString::number(study.timeUnit, 'g', 6))
          .arg(study.timeUnit == 1.0 ? QStringLiteral("day") : QStringLiteral("days")));
  timeUnitStatus_->show();
  lastStepStatus_->setText(QStringLiteral("Last step: ") + lastStepDone(desktop_->analysis()));
  lastStepStatus_->show();
}

void MainWindow::startNewAnalysis() {
  destroyScreens();
  // The analysis before goes, and with it whatever it holds on its files.
  desktop_ = std::make_unique<DesktopAnalysis>();
  bootstrapBegan_.clear();
  bootstrapEnded_.clear();
  lastFocus_.reset();
  settingsTookStudy_ = false;
  lockedDuringWork_.clear();
  stepLabels_.clear();
  // The page of the analysis before goes once the event that started this one is done with it.
  setCentralWidget(buildPage());
  loadTexts();
  applyColours();
  bindActionsToPage();
  applyCommandStates();
  showStudy();
}

void MainWindow::destroyScreens() {
  titleScreen_.reset();
  resultsWindow_.reset();
  stageMeansWindow_.reset();
  resamplingResultsWindow_.reset();
  pairedTestWindow_.reset();
  // Its Run button may be what started the command now ending: it goes once that is done.
  if (experimentWindow_) experimentWindow_.release()->deleteLater();
  dataFormatWindow_.reset();
  outputFilesWindow_.reset();
  largeGraphWindow_.reset();
  quizScreen_.reset();
  for (auto& screen : helpScreens_) screen.reset();
}

void MainWindow::openDataFile(const QString& path) {
  whenIdle(QStringLiteral("Open data file"), [this, path] {
    perform([this, &path] {
      const auto request =
          path.isEmpty() ? askOpen(dialogs_)
                         : askOpenNamed(dialogs_, QDir::toNativeSeparators(path).toStdString());
      // Cancelling the dialogs leaves the study open as it was; a file chosen while one is
      // open starts a new analysis with it.
      if (!request) return;
      if (desktop_->isOpen()) startNewAnalysis();
      const QString chosen = QString::fromStdString(request->dataFile);
      settings_.addRecentFile(chosen);
      settings_.rememberFolder(FileKind::kDataFile, chosen);
      fillRecentMenu();
      const std::optional<std::string> outputFolder = outputFolderFor(request->dataFile);
      if (!outputFolder) return;
      try {
        desktop_->open(*request, outputFolder->empty() ? std::nullopt : outputFolder);
      } catch (const UserError& error) {
        // A fault in the data ends the analysis, not the program: a fresh window takes its
        // place, as a restarted program would show it.
        if (error.fatal()) startNewAnalysis();
        throw;
      }
      // What the data file holds that is worth a word but no refusal (a span of an unknown stage).
      for (const std::string& warning : desktop_->analysis().study().warnings) {
        statusBar()->showMessage(QString::fromStdString(warning));
      }
    });
  });
}

std::optional<std::string> MainWindow::outputFolderFor(const std::string& dataFile) {
  const QString dataPath = QString::fromStdString(dataFile);
  if (const QString remembered = settings_.outputFolderFor(dataPath); !remembered.isEmpty()) {
    return remembered.toStdString();
  }
  if (folderTakesNewFiles(outputBaseNameFor(dataFile))) return std::string();
  // A study on a read-only share, or among the examples a package installs.
  const MessageAnswer answer = dialogs_.messageBox(
      "The folder of " + QFileInfo(dataPath).fileName().toStdString() +
          " cannot be written, so its results cannot go beside it. Choose another folder for "
          "them?",
      MessageButtons::kYesNo, "Open data file", MessageKind::kWarning);
  if (answer != MessageAnswer::kYes) return std::nullopt;
  const std::string folder = dialogs_.openFileDialog(FileKind::kOutputFolder);
  if (folder.empty()) return std::nullopt;
  settings_.rememberOutputFolder(dataPath, QString::fromStdString(folder));
  return folder;
}

void MainWindow::newAnalysis() {
  whenIdle(QStringLiteral("New analysis"), [this] { startNewAnalysis(); });
}

void MainWindow::quit() {
  whenIdle(QStringLiteral("Quit"), [this] { endProgram(); });
}

void MainWindow::whenIdle(const QString& title, std::function<void()> action) {
  if (!backgroundTask_.running()) {
    action();
    return;
  }
  const QString work = runningWork_.isEmpty() ? QStringLiteral("The analysis") : runningWork_;
  const QString question = QStringLiteral(
                               "%1 is still running. Stop it? Its files will not be "
                               "written.")
                               .arg(work);
  if (dialogs_.messageBox(question.toStdString(), MessageButtons::kYesNo, title.toStdString(),
                          MessageKind::kResult) != MessageAnswer::kYes) {
    return;
  }
  afterWork_ = std::move(action);
  stopWork();
}

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  backgroundTask_.requestStop();
  if (isHidden() && !placeWhileHidden_.isEmpty()) restoreGeometry(placeWhileHidden_);
  settings_.saveMainWindow(saveGeometry(), saveState());
  for (QWidget* window : std::initializer_list<QWidget*>{
           titleScreen_.get(), resultsWindow_.get(), stageMeansWindow_.get(),
           resamplingResultsWindow_.get(), pairedTestWindow_.get(), dataFormatWindow_.get(),
           outputFilesWindow_.get(), largeGraphWindow_.get(), quizScreen_.get()}) {
    if (window != nullptr) window->hide();
  }
  for (const auto& screen : helpScreens_) {
    if (screen) screen->hide();
  }
  hide();
  emit programEnded();
}

void MainWindow::start() {
  // The title screen and the introduction greet the first start alone; Help > Introduction
  // shows the introduction again.
  if (settings_.introductionShown()) {
    returnToMain();
    return;
  }
  settings_.rememberIntroductionShown();
  titleScreen_ = std::make_unique<TitleScreen>();
  connect(titleScreen_.get(), &TitleScreen::dismissed, this,
          [this] { showHelp(Help::kIntroduction); });
  titleScreen_->show();
}

void MainWindow::startWithFile(const std::string& path) {
  returnToMain();
  openDataOrProject(QString::fromStdString(path));
}

void MainWindow::openDataOrProject(const QString& path) {
  if (QFileInfo(path).suffix().compare(QStringLiteral("pellmar"), Qt::CaseInsensitive) == 0) {
    openProject(path);
  } else {
    openDataFile(path);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (backgroundTask_.running()) {
    event->ignore();
    whenIdle(QStringLiteral("Quit"), [this] { close(); });
    return;
  }
  QMainWindow::closeEvent(event);
  endProgram();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if ((event->type() == QEvent::PaletteChange ||
       event->type() == QEvent::ApplicationPaletteChange) &&
      title_ != nullptr) {
    applyColours();
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!draggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString file = draggedFile(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  // The drop ends before the file is opened, so that its prompts do not hold the dragging
  // program.
  QMetaObject::invokeMethod(
      this, [this, file] { openDataOrProject(file); }, Qt::QueuedConnection);
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* open = addAction(*file, "openDataFileAction", QStringLiteral("&Open data file\u2026"),
                            QKeySequence::Open);
  connect(open, &QAction::triggered, this, [this] { openDataFile(); });
  recentMenu_ = file->addMenu(QStringLiteral("Open &recent"));
  recentMenu_->setObjectName(QStringLiteral("openRecentMenu"));
  fillRecentMenu();
  QAction* fresh =
      addAction(*file, "newAnalysisAction", QStringLiteral("&New analysis"), QKeySequence::New);
  connect(fresh, &QAction::triggered, this, [this] { newAnalysis(); });
  file->addSeparator();
  QAction* openProjectAction =
      addAction(*file, "openProjectAction", QStringLiteral("Open pro&ject\u2026"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  connect(openProjectAction, &QAction::triggered, this, [this] { openProject(); });
  QAction* newProjectAction =
      addAction(*file, "newProjectAction", QStringLiteral("New projec&t from data files\u2026"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
  connect(newProjectAction, &QAction::triggered, this, [this] { newProject(); });
  file->addSeparator();
  addControlAction(*file, "saveChartButton", QStringLiteral("&Save chart\u2026"),
                   QKeySequence::Save);
  addControlAction(*file, "exportChartButton", QStringLiteral("&Export chart\u2026"),
                   QKeySequence(Qt::CTRL | Qt::Key_E));
  addControlAction(*file, "printPageButton", QStringLiteral("&Print page\u2026"),
                   QKeySequence::Print);
  file->addSeparator();
  QAction* quitAction =
      addAction(*file, "quitAction", QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  quitAction->setMenuRole(QAction::QuitRole);
  connect(quitAction, &QAction::triggered, this, [this] { quit(); });

  QMenu* analysis = menuBar()->addMenu(QStringLiteral("&Analysis"));
  addControlAction(*analysis, "checkDataFileStep", QStringLiteral("&Check data file"));
  analysis->addSeparator();
  addControlAction(*analysis, "basicRunButton", QStringLiteral("&Basic Run"));
  addControlAction(*analysis, "readSasdButton", QStringLiteral("Read &SASD"));
  addControlAction(*analysis, "readFecundityButton", QStringLiteral("Read &fecundity"));
  addControlAction(*analysis, "bootstrapButton", QStringLiteral("B&ootstrap\u2026"));
  addControlAction(*analysis, "jackknifeButton", QStringLiteral("&Jackknife"));
  analysis->addSeparator();
  addControlAction(*analysis, "compareBootstrapsButton",
                   QStringLiteral("Co&mpare two bootstraps\u2026"));
  addControlAction(*analysis, "pairedBootstrapTestButton",
                   QStringLiteral("&Paired bootstrap test\u2026"));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  addControlAction(*view, "resultsButton", QStringLiteral("&Results"));
  addControlAction(*view, "stageMeansButton", QStringLiteral("&Means"));
  addControlAction(*view, "resamplingResultsButton", QStringLiteral("&B or J results"));
  addControlAction(*view, "outputFilesButton", QStringLiteral("&Output files"));
  addControlAction(*view, "largeGraphButton", QStringLiteral("&Large graph"));
  view->addSeparator();
  const std::array<std::pair<const char*, const char*>, 8> figures = {{
      {"showSxjButton", "Survival rate s(x,j)"},
      {"showGxjButton", "Growth probability g(x,j)"},
      {"showDxjButton", "Development probability d(x,j)"},
      {"showCxjButton", "Consumption rate c(x,j)"},
      {"showLxButton", "Survival rate l(x)"},
      {"showCxButton", "Consumption rate c(x)"},
      {"showLxCxButton", "Net consumption l(x)c(x)"},
      {"showFecundityButton", "Fecundity l(x), f(x), m(x), l(x)m(x)"},
  }};
  int key = Qt::Key_1;
  for (const auto& [control, text] : figures) {
    addControlAction(*view, control, QString::fromLatin1(text),
                     QKeySequence(Qt::CTRL | static_cast<Qt::Key>(key++)));
  }

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  QAction* introduction = addAction(*help, "introductionAction", QStringLiteral("&Introduction"),
                                    QKeySequence::HelpContents);
  connect(introduction, &QAction::triggered, this, [this] { showHelp(Help::kIntroduction); });
  addControlAction(*help, "dataFormatButton", QStringLiteral("&Data format"));
  addControlAction(*help, "notesButton", QStringLiteral("&Note well"));
  addControlAction(*help, "referencesButton", QStringLiteral("&References"));
  QAction* hints = addAction(*help, "printingHintsAction",
                             QStringLiteral("&What you should know about these files"));
  connect(hints, &QAction::triggered, this, [this] { showHelp(Help::kPrintingHints); });
  addControlAction(*help, "quizButton", QStringLiteral("&Quiz"));
  QAction* saying = addAction(*help, "quotationAction", QStringLiteral("A &saying"));
  connect(saying, &QAction::triggered, this, [this] {
    const QuotationChoice choice = chooseQuotations(dialogs_.clock().second);
    showNotice(Notice{"A saying", quotationText(choice.belowInstructions)});
  });
  help->addSeparator();
  QAction* about = addAction(*help, "aboutAction", QStringLiteral("&About Pellmar"));
  about->setMenuRole(QAction::AboutRole);
  connect(about, &QAction::triggered, this, [this] { showAbout(); });
}

QAction* MainWindow::addAction(QMenu& menu, const char* name, const QString& text,
                               const QKeySequence& shortcut) {
  QAction* action = menu.addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  return action;
}

QAction* MainWindow::addControlAction(QMenu& menu, const char* control, const QString& text,
                                      const QKeySequence& shortcut) {
  QString name = QString::fromLatin1(control);
  name.replace(QRegularExpression(QStringLiteral("(Button|Step)$")), QStringLiteral("Action"));
  QAction* action = addAction(menu, name.toLatin1().constData(), text, shortcut);
  bindings_.push_back(ActionBinding{action, control, nullptr});
  connect(action, &QAction::triggered, this, [this, action] {
    for (const ActionBinding& binding : bindings_) {
      if (binding.action != action || !binding.bound || !binding.bound->isEnabled()) continue;
      if (auto* button = qobject_cast<QAbstractButton*>(binding.bound)) {
        button->click();
      } else if (auto* label = qobject_cast<ClickableLabel*>(binding.bound)) {
        label->click();
      }
    }
  });
  return action;
}

void MainWindow::buildToolBar() {
  QToolBar* tools = addToolBar(QStringLiteral("Steps"));
  tools->setObjectName(QStringLiteral("stepsToolBar"));
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tools->setMovable(false);
  tools->setIconSize(QSize(16, 16));
  const auto take = [this, tools](const char* name, std::optional<QStyle::StandardPixmap> icon) {
    auto* action = findChild<QAction*>(QString::fromLatin1(name));
    if (icon) action->setIcon(style()->standardIcon(*icon));
    tools->addAction(action);
  };
  take("openDataFileAction", QStyle::SP_DialogOpenButton);
  take("newAnalysisAction", QStyle::SP_FileIcon);
  tools->addSeparator();
  take("basicRunAction", std::nullopt);
  take("readSasdAction", std::nullopt);
  take("readFecundityAction", std::nullopt);
  take("bootstrapAction", std::nullopt);
  take("jackknifeAction", std::nullopt);
  tools->addSeparator();
  take("saveChartAction", QStyle::SP_DialogSaveButton);
  take("exportChartAction", std::nullopt);
  take("printPageAction", std::nullopt);
}

void MainWindow::buildStatusBar() {
  studyStatus_ = new QLabel(this);
  studyStatus_->setObjectName(QStringLiteral("studyStatus"));
  timeUnitStatus_ = new QLabel(this);
  timeUnitStatus_->setObjectName(QStringLiteral("timeUnitStatus"));
  lastStepStatus_ = new QLabel(this);
  lastStepStatus_->setObjectName(QStringLiteral("lastStepStatus"));
  for (QLabel* label : {studyStatus_, timeUnitStatus_, lastStepStatus_}) {
    label->setContentsMargins(6, 0, 6, 0);
    statusBar()->addWidget(label);
  }
}

void MainWindow::bindActionsToPage() {
  for (ActionBinding& binding : bindings_) {
    if (binding.bound) binding.bound->removeEventFilter(this);
    binding.bound = centralWidget()->findChild<QWidget*>(QString::fromLatin1(binding.control));
    if (binding.bound) binding.bound->installEventFilter(this);
    updateAction(binding);
  }
}

void MainWindow::updateAction(const ActionBinding& binding) {
  binding.action->setEnabled(binding.bound && binding.bound->isEnabled() &&
                             !binding.bound->isHidden());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::EnabledChange || type == QEvent::ShowToParent ||
      type == QEvent::HideToParent) {
    for (const ActionBinding& binding : bindings_) {
      if (binding.bound == watched) updateAction(binding);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList files = settings_.recentFiles();
  for (int i = 0; i < files.size(); ++i) {
    const QString& path = files[i];
    // The first nine are chosen by their digit.
    const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("1&0 ");
    QAction* action = recentMenu_->addAction(number + QFileInfo(path).fileName());
    action->setToolTip(path);
    action->setStatusTip(path);
    connect(action, &QAction::triggered, this, [this, path] {
      if (!QFileInfo(path).isFile()) {
        dialogs_.messageBox(QStringLiteral("The data file %1 no longer exists; it is taken off the "
                                           "recent files.")
                                .arg(path)
                                .toStdString(),
                            MessageButtons::kOk, "Open recent", MessageKind::kWarning);
        settings_.removeRecentFile(path);
        fillRecentMenu();
        return;
      }
      openDataFile(path);
    });
  }
  if (files.isEmpty()) {
    recentMenu_->addAction(QStringLiteral("No recent files"))->setEnabled(false);
    return;
  }
  recentMenu_->addSeparator();
  connect(recentMenu_->addAction(QStringLiteral("&Clear the list")), &QAction::triggered, this,
          [this] {
            settings_.clearRecentFiles();
            fillRecentMenu();
          });
}

void MainWindow::showAbout() {
  QMessageBox::about(
      this, QStringLiteral("About Pellmar"),
      QStringLiteral(
          "<h3>Pellmar %1</h3>"
          "<p>Consumption and predation rates from the age-stage, two-sex life table.</p>"
          "<p>Comments and suggestions: pellmar-feedback@example.org</p>"
          "<p>Pellmar is free software: you can redistribute it and modify it under the terms of "
          "the GNU General Public License as published by the Free Software Foundation, either "
          "version 3 of the License or (at your option) any later version "
          "(GPL-3.0-or-later). It comes with no warranty.</p>"
          "<p>Built with Qt %2.</p>")
          .arg(QStringLiteral(PELLMAR_VERSION), QString::fromLatin1(qVersion())));
}

}  // namespace pellmar
