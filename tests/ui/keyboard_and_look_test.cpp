// Working by the keyboard alone, and a window that stays readable: the help screens' keys, the
// focus frame, colours in light and dark palettes, and the smallest window size.
#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QFocusFrame>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineSeries>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QValueAxis>
#include <functional>

#include "main_window_fixture.h"
#include "ui/charts/life_charts.h"
#include "ui/charts/palette_colours.h"
#include "ui/classic/help_screen.h"
#include "ui/widgets/focus_frame.h"

namespace pellmar {
namespace {

using test_support::MainWindowTest;

QPalette darkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
  dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
  dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
  return dark;
}

// Sets the application's palette for one test and puts the one before back.
class ApplicationPalette {
 public:
  explicit ApplicationPalette(const QPalette& palette) : before_(QApplication::palette()) {
    QApplication::setPalette(palette);
    QApplication::processEvents();
  }
  ~ApplicationPalette() {
    QApplication::setPalette(before_);
    QApplication::processEvents();
  }
  ApplicationPalette(const ApplicationPalette&) = delete;
  ApplicationPalette& operator=(const ApplicationPalette&) = delete;

 private:
  QPalette before_;
};

TEST(HelpScreenKeys, ReturnPressesTheButtonAndEscCloses) {
  HelpScreen screen(QStringLiteral("notesScreen"), QStringLiteral("Note well"),
                    QStringLiteral("<p>Text</p>"), QStringLiteral("Back to the main window"));
  int pressed = 0;
  QObject::connect(screen.button(), &QPushButton::clicked, [&pressed] { ++pressed; });
  int returned = 0;
  QObject::connect(&screen, &ReturnWindow::returned, [&returned] { ++returned; });
  screen.show();
  // Return reaches the button from the page of text as well.
  QTest::keyClick(screen.page(), Qt::Key_Return);
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(returned, 1);
  EXPECT_FALSE(screen.isVisible());
  screen.show();
  QTest::keyClick(screen.page(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(pressed, 2);
  screen.show();
  QTest::keyClick(&screen, Qt::Key_Escape);
  EXPECT_EQ(pressed, 2);
  EXPECT_EQ(returned, 3);
  EXPECT_FALSE(screen.isVisible());
}

TEST_F(MainWindowTest, ReturnOnTheIntroductionLeadsToTheMainWindow) {
  window_.start();
  QTest::keyClick(test_support::window("titleScreen"), Qt::Key_Space);
  QWidget* introduction = test_support::window("introductionScreen");
  ASSERT_NE(introduction, nullptr);
  QTest::keyClick(introduction, Qt::Key_Return);
  EXPECT_FALSE(introduction->isVisible());
  EXPECT_TRUE(window_.isVisible());
}

TEST_F(MainWindowTest, TheFocusFrameFollowsTheKeyboardFocus) {
  FocusFrame frame;
  window_.show();
  QApplication::setActiveWindow(&window_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QWidget* open = window_.commandWidget(Command::kOpenDataFile);
  open->setFocus();
  EXPECT_EQ(frame.framed(), open);
  auto* shownFrame = window_.findChild<QFocusFrame*>();
  ASSERT_NE(shownFrame, nullptr);
  EXPECT_TRUE(shownFrame->isVisible());
  // The frame lies around the control, outside it.
  EXPECT_TRUE(shownFrame->geometry().contains(open->geometry()));
  EXPECT_NE(shownFrame->geometry(), open->geometry());

  QWidget* quit = page().findChild<QWidget*>(QStringLiteral("quitButton"));
  quit->setFocus();
  EXPECT_EQ(frame.framed(), quit);
}

TEST(ReadableColours, EveryLineColourReadsOnLightAndDarkBackgrounds) {
  const std::vector<QColor> backgrounds = {QColor(0xef, 0xef, 0xef), Qt::white,
                                           QColor(0x2d, 0x2d, 0x2d), QColor(0x1e, 0x1e, 0x1e)};
  // The title, greeting, step, notice and quiz colours, and every curve.
  std::vector<QColor> colours = {QColor(0x7a, 0x1f, 0x14), QColor(0x2e, 0x6b, 0x2e),
                                 QColor(0x1f, 0x3f, 0x8f), QColor(0xff, 0x00, 0x00),
                                 QColor(0x00, 0x64, 0x00), QColor(0x8b, 0x00, 0x00)};
  for (const QColor& background : backgrounds) {
    for (const QColor& colour : colours) {
      EXPECT_GE(contrastRatio(background, readableOn(background, colour)), 4.5)
          << colour.name().toStdString() << " on " << background.name().toStdString();
    }
    for (int curve = 0; curve < 12; ++curve) {
      EXPECT_GE(contrastRatio(background, readableOn(background, curveColour(curve), 3.0)), 3.0);
    }
  }
  // A colour that already reads well keeps its value; the hue stays when it must change.
  EXPECT_EQ(readableOn(Qt::white, QColor(0x1f, 0x3f, 0x8f)), QColor(0x1f, 0x3f, 0x8f));
  const QColor lightened = readableOn(QColor(0x2d, 0x2d, 0x2d), QColor(0x1f, 0x3f, 0x8f));
  EXPECT_NEAR(lightened.hslHueF(), QColor(0x1f, 0x3f, 0x8f).hslHueF(), 0.01);
  EXPECT_DOUBLE_EQ(contrastRatio(Qt::black, Qt::white), 21.0);
}

TEST_F(MainWindowTest, LinesAndChartsFollowADarkPalette) {
  openExample();
  click("basicRunButton");
  const ApplicationPalette dark(darkPalette());
  const QColor background = window_.palette().color(QPalette::Window);
  ASSERT_TRUE(isDark(window_.palette()));
  for (const char* line : {"checkDataFileNotice", "basicRunStep"}) {
    EXPECT_GE(contrastRatio(background, label(line)->palette().color(QPalette::WindowText)), 4.5)
        << line;
  }
  window_.showChart(LifeChart::kSxj);
  QChart& chart = *window_.lifeChartView()->chart();
  const QColor plot = chart.backgroundBrush().color();
  EXPECT_EQ(plot, QColor(0x1e, 0x1e, 0x1e));
  auto* vertical = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).front());
  EXPECT_GE(contrastRatio(plot, vertical->gridLineColor()), 3.0);
  EXPECT_GE(contrastRatio(plot, vertical->labelsBrush().color()), 4.5);
  for (QAbstractSeries* series : chart.series()) {
    EXPECT_GE(contrastRatio(plot, static_cast<QLineSeries*>(series)->color()), 3.0);
  }
}

// Handles events until `holds` is true, for ten seconds at most: the window and its charts lay
// themselves out in several rounds of posted events, more of them in a slow build.
bool settlesUntil(const std::function<bool()>& holds) {
  QElapsedTimer waited;
  waited.start();
  while (!holds() && waited.elapsed() < 10000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  return holds();
}

TEST_F(MainWindowTest, EverythingFitsTheSmallestWindowAndStaysPut) {
  openExample();
  click("basicRunButton");
  window_.showChart(LifeChart::kSxj);
  window_.show();
  // A laptop's screen: the page fits without scrolling beside the results pane.
  window_.resize(1366, 740);
  auto* scroller = qobject_cast<QScrollArea*>(window_.centralWidget());
  ASSERT_NE(scroller, nullptr);
  EXPECT_TRUE(settlesUntil([scroller] {
    return scroller->viewport()->size() == scroller->size() &&
           !scroller->verticalScrollBar()->isVisible() &&
           !scroller->horizontalScrollBar()->isVisible();
  }));
  // Beside the plot there is room for every label of the survival chart's twelve ticks, and
  // below it for the age labels and the axis title.
  const QChart& chart = *window_.lifeChartView()->chart();
  const auto* survival = qobject_cast<const QValueAxis*>(chart.axes(Qt::Vertical).front());
  const int labelsHeight = survival->tickCount() * QFontMetrics(survival->labelsFont()).height();
  EXPECT_TRUE(settlesUntil([&] { return chart.plotArea().height() >= labelsHeight; }))
      << chart.plotArea().height() << " for " << labelsHeight;
  const QAbstractAxis* age = chart.axes(Qt::Horizontal).front();
  const int room =
      QFontMetrics(age->labelsFont()).height() + QFontMetrics(age->titleFont()).height();
  EXPECT_LE(chart.plotArea().bottom() + room, chart.size().height());

  QWidget* open = window_.commandWidget(Command::kOpenDataFile);
  const QPoint before = open->mapTo(&window_, QPoint(0, 0));
  // The chart buttons that hide the instructions leave every control where it was.
  click("showGxjButton");
  QApplication::processEvents();
  EXPECT_FALSE(label("instructionsLabel")->isVisible());
  EXPECT_EQ(open->mapTo(&window_, QPoint(0, 0)), before);
}

}  // namespace
}  // namespace pellmar
