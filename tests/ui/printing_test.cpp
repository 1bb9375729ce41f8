#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>

#include "ui/charts/chart_export.h"
#include "ui/widgets/window_printer.h"
#include "ui_test_support.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

class Printing : public ::testing::Test {
 protected:
  QString path(const char* name) const {
    return QString::fromStdString((folder_.path() / name).string());
  }
  const fs::path& folder() const { return folder_.path(); }

  test_support::TemporaryFolder folder_;
};

TEST_F(Printing, WindowImageGoesIntoAOnePagePdf) {
  QWidget window;
  window.resize(640, 400);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("Mean of stage"), &window));
  ASSERT_TRUE(printWindowToPdf(window, path("page.pdf")));
  const std::string pdf = test_support::readFile(folder() / "page.pdf");
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0U);
  EXPECT_GT(pdf.size(), 1000U);
  EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
  // The image of the window is on the page.
  EXPECT_NE(pdf.find("/Image"), std::string::npos);
}

TEST_F(Printing, PdfIntoAMissingFolderFails) {
  QWidget window;
  window.resize(100, 100);
  EXPECT_FALSE(printWindowToPdf(window, path("no such folder/page.pdf")));
}

TEST(PdfFileName, TheWindowCaptionMadeSafeForEveryFileSystem) {
  QWidget window;
  window.setWindowTitle(QStringLiteral("Mean of stage"));
  EXPECT_EQ(pdfFileNameFor(window), QStringLiteral("Mean of stage.pdf"));
  window.setWindowTitle(QStringLiteral("Well done!"));
  EXPECT_EQ(pdfFileNameFor(window), QStringLiteral("Well done!.pdf"));
  window.setWindowTitle(QStringLiteral(" a/b\\c: \"d\"?*<e>| "));
  EXPECT_EQ(pdfFileNameFor(window), QStringLiteral("a_b_c_ _d____e__.pdf"));
  window.setWindowTitle(QString());
  EXPECT_EQ(pdfFileNameFor(window), QStringLiteral("Page.pdf"));
}

class ChartExport : public Printing {
 protected:
  void SetUp() override {
    auto* series = new QLineSeries(view_.chart());
    series->append({QPointF(0, 0), QPointF(1, 2), QPointF(2, 1)});
    view_.chart()->addSeries(series);
    view_.chart()->createDefaultAxes();
    view_.chart()->setTitle(QStringLiteral("Age-specific survival rate"));
    view_.resize(480, 320);
  }

  QChartView view_;
};

TEST_F(ChartExport, PngAtThreeHundredDotsPerInch) {
  ASSERT_TRUE(saveChart(view_, path("chart.png")));
  const QImage image(path("chart.png"));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), qRound(view_.viewport()->width() * 300.0 / 96.0));
  EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300.0, 0.5);
  // Not a blank picture: the axes and the title are drawn.
  bool anyDark = false;
  for (int y = 0; y < image.height() && !anyDark; y += 3) {
    for (int x = 0; x < image.width() && !anyDark; x += 3) anyDark = qGray(image.pixel(x, y)) < 100;
  }
  EXPECT_TRUE(anyDark);
}

TEST_F(ChartExport, SvgByItsExtension) {
  ASSERT_TRUE(saveChart(view_, path("chart.SVG")));
  const std::string svg = test_support::readFile(folder() / "chart.SVG");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("Age-specific survival rate"), std::string::npos);
}

}  // namespace
}  // namespace pellmar
