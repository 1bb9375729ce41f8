#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QUrl>
#include <algorithm>

#include "main_window_fixture.h"
#include "ui/charts/chart_picture.h"
#include "ui/views/output_files_window.h"
#include "ui/views/report_viewer.h"

namespace pellmar {

// Takes the URLs that QDesktopServices would hand to the system.
class UrlRecorder : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened.append(url); }
};

namespace {

using test_support::MainWindowTest;
namespace fs = std::filesystem;

class TakeawayWindowTest : public MainWindowTest {
 protected:
  void analyseExample() {
    openExample();
    click("basicRunButton");
  }
  [[nodiscard]] std::string inStudyFolder(const char* name) const {
    return (folder_.folder() / name).string();
  }
  static ChartExportRequest request(const std::string& file, int dpi) {
    ChartExportRequest chosen;
    chosen.file = file;
    chosen.widthMm = 85;
    chosen.heightMm = 60;
    chosen.dpi = dpi;
    return chosen;
  }
};

// Export chart… asks through the dialogs, proposes the last choices and a file named after the
// study and the chart, and draws the same picture whatever the window's size.
TEST_F(TakeawayWindowTest, ExportChartIsTheSamePictureWhateverTheWindowsSize) {
  analyseExample();
  click("showLxButton");
  QAction* exportChart = action("exportChartAction");
  ASSERT_NE(exportChart, nullptr);
  EXPECT_EQ(exportChart->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
  ASSERT_TRUE(exportChart->isEnabled());

  window_.resize(900, 640);
  dialogs_.answerChartExport(request(inStudyFolder("small.png"), 300));
  exportChart->trigger();
  window_.resize(1500, 1000);
  dialogs_.answerChartExport(request(inStudyFolder("large.png"), 300));
  exportChart->trigger();
  dialogs_.answerChartExport(std::nullopt);
  exportChart->trigger();

  const auto& proposals = dialogs_.chartExportProposals();
  ASSERT_EQ(proposals.size(), 3U);
  EXPECT_TRUE(proposals[0].file.ends_with("lady_beetle_lx.png")) << proposals[0].file;
  EXPECT_EQ(proposals[0].dpi, 600);
  EXPECT_EQ(proposals[1].dpi, 300) << "the last choices come back";

  const QImage small(QString::fromStdString(inStudyFolder("small.png")));
  const QImage large(QString::fromStdString(inStudyFolder("large.png")));
  EXPECT_EQ(small.size(), QSize(1004, 709));
  EXPECT_EQ(small, large);
  const QImage expected = chartImage(
      [this](QChart& chart) { drawLifeChart(chart, LifeChart::kLx, window_.desktop().analysis()); },
      request(inStudyFolder("small.png"), 300));
  EXPECT_EQ(small.convertToFormat(QImage::Format_ARGB32),
            expected.convertToFormat(QImage::Format_ARGB32));

  // A request out of range is told and writes nothing.
  ChartExportRequest tooNarrow = request(inStudyFolder("narrow.png"), 300);
  tooNarrow.widthMm = 2;
  dialogs_.answerChartExport(tooNarrow);
  exportChart->trigger();
  ASSERT_EQ(messageTitles().back(), "Export chart");
  EXPECT_FALSE(fs::exists(inStudyFolder("narrow.png")));
  EXPECT_TRUE(dialogs_.scriptUsedUp());
}

// The Files view opens files and the folder in the system's programs, and the Reports view
// shows the reports inside the program with a search.
TEST_F(TakeawayWindowTest, OutputFilesOpenAndReportsCanBeSearched) {
  analyseExample();
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
  click("outputFilesButton");
  auto* screen = page().findChild<OutputFilesWindow*>(QStringLiteral("outputFilesWindow"));
  ASSERT_NE(screen, nullptr);
  QTableWidget& files = *screen->files();
  ASSERT_GT(files.rowCount(), 1);
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  ASSERT_TRUE(screen->isVisible()) << "the Files view is shown";
  const QRect cell = files.visualItemRect(files.item(1, 1));
  ASSERT_TRUE(files.viewport()->rect().contains(cell.center()));
  // A double click is a click and a second press that the view reads as the double click.
  QTest::mouseClick(files.viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(files.viewport(), Qt::LeftButton, {}, cell.center());
  screen->findChild<QPushButton*>(QStringLiteral("openFolderButton"))->click();
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  ASSERT_EQ(recorder.opened.size(), 2);
  EXPECT_EQ(recorder.opened[0], QUrl::fromLocalFile(screen->filePath(1)));
  EXPECT_TRUE(fs::exists(recorder.opened[0].toLocalFile().toStdString()));
  EXPECT_EQ(fs::path(recorder.opened[1].toLocalFile().toStdString()), fs::path(folder_.folder()));

  screen->findChild<QPushButton*>(QStringLiteral("viewReportsButton"))->click();
  auto* viewer = page().findChild<ReportViewer*>();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible()) << "the Reports view is shown";
  EXPECT_EQ(viewer->reports()->itemText(0), QStringLiteral("lady_beetle_0_Basic_Output.txt"));
  const QString report = viewer->text()->toPlainText();
  const std::string file = test_support::readFile(window_.desktop().analysis().basicReportPath());
  EXPECT_EQ(report.count(QLatin1Char('\n')), std::count(file.begin(), file.end(), '\n'));
  EXPECT_TRUE(report.contains(QStringLiteral("Table 1. Stage duration of each individual")));
  // What Qt found, not what was asked for: a requested family may resolve to a font whose
  // glyphs differ in width.
  EXPECT_TRUE(QFontInfo(viewer->text()->font()).fixedPitch())
      << QFontInfo(viewer->text()->font()).family().toStdString();

  // Ctrl+F opens the search; Enter finds the next match in any case, round from the end to the
  // start.
  viewer->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
  QTest::keySequence(viewer, QKeySequence::Find);
  QLineEdit* find = viewer->findText();
  ASSERT_TRUE(find->isVisible());
  QTest::keyClicks(find, QStringLiteral("Table"));
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_EQ(viewer->text()->textCursor().selectedText(), QStringLiteral("Table"));
  const int first = viewer->text()->textCursor().position();
  for (int k = 0; k < report.count(QStringLiteral("Table"), Qt::CaseInsensitive); ++k) {
    QTest::keyClick(find, Qt::Key_Return);
  }
  EXPECT_EQ(viewer->text()->textCursor().position(), first) << "once round the whole report";
  find->clear();
  QTest::keyClicks(find, QStringLiteral("no such words"));
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_EQ(viewer->findChild<QLabel*>(QStringLiteral("findResultLabel"))->text(),
            QStringLiteral("Not found"));
  viewer->close();
}

}  // namespace
}  // namespace pellmar

#include "takeaway_window_test.moc"
