// The main window's menus, toolbar and status bar: each menu item and toolbar button does what a
// control of the page does and takes its state; the recent files; About.
#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "ui/classic/logo.h"
#include "ui/classic/quotations.h"
#include "ui/shell/desktop_settings.h"
#include "ui/shell/main_window.h"
#include "ui/widgets/clickable_label.h"

namespace pellmar {

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
  QAction* saveProjectAction =
      addAction(*file, "saveProjectAction", QStringLiteral("Sa&ve project"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  connect(saveProjectAction, &QAction::triggered, this,
          [this] { perform([this] { saveProjectFile(); }); });
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
  QAction* quiz = addAction(*help, "quizAction", QStringLiteral("&Quiz"));
  quiz->setIcon(quizIcon());
  connect(quiz, &QAction::triggered, this, [this] { showQuiz(); });
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
    // On the right, so that a passing message on the left does not cover them.
    statusBar()->addPermanentWidget(label);
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
        dialogs_.messageBox(QStringLiteral("The file %1 no longer exists; it is taken off the "
                                           "recent files.")
                                .arg(path)
                                .toStdString(),
                            MessageButtons::kOk, "Open recent", MessageKind::kWarning);
        settings_.removeRecentFile(path);
        fillRecentMenu();
        return;
      }
      openDataOrProject(path);
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
