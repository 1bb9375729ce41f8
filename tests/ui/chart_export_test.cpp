#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QProcess>
#include <QSpinBox>
#include <QXmlStreamReader>
#include <set>
#include <sstream>

#include "core/resampling/projection_replicates.h"
#include "core/user_error.h"
#include "ui/charts/chart_export_dialog.h"
#include "ui/charts/chart_picture.h"
#include "ui/charts/frequency_chart.h"
#include "ui/charts/life_charts.h"
#include "ui/charts/projection_chart.h"
#include "ui/shell/chart_batch.h"
#include "ui/shell/desktop_settings.h"
#include "ui_test_support.h"

namespace pellmar {
namespace {

using test_support::AnalysedStudy;
using test_support::goldenStudy;
using test_support::readFile;
using test_support::StudyFolder;
using test_support::TemporaryFolder;
namespace fs = std::filesystem;

ChartExportRequest requestFor(const fs::path& file, double widthMm, double heightMm, int dpi,
                              int fontPt = 8) {
  ChartExportRequest request;
  request.file = file.string();
  request.format = *chartFormatOf(request.file);
  request.widthMm = widthMm;
  request.heightMm = heightMm;
  request.dpi = dpi;
  request.fontPt = fontPt;
  return request;
}

// The files of a folder, by name.
std::set<std::string> filesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(ChartExportRequest, FormatsSizesAndLimits) {
  EXPECT_EQ(chartFormatOf("a/b.PNG"), ChartFormat::kPng);
  EXPECT_EQ(chartFormatOf("chart.svg"), ChartFormat::kSvg);
  EXPECT_EQ(chartFormatOf("chart.TIFF"), ChartFormat::kTiff);
  EXPECT_STREQ(chartExtension(ChartFormat::kTiff), ".tif");
  EXPECT_EQ(chartFormatOf("chart.Pdf"), ChartFormat::kPdf);
  EXPECT_FALSE(chartFormatOf("chart.jpg").has_value());
  EXPECT_FALSE(chartFormatOf("png").has_value());

  ChartExportRequest request = requestFor("c.png", 85, 60, 300);
  EXPECT_EQ(pngPixelSize(request).width, 1004);  // 1003.94
  EXPECT_EQ(pngPixelSize(request).height, 709);  // 708.66
  EXPECT_NO_THROW(validate(request));
  request.dpi = 2400;
  EXPECT_THROW(validate(request), UserError);
  request = requestFor("c.png", 5, 60, 300);
  EXPECT_THROW(validate(request), UserError);
  request = requestFor("c.png", 85, 60, 300, 2);
  EXPECT_THROW(validate(request), UserError);
  // 500 mm square at 1200 dpi is too many pixels for a picture, but fine as a drawing.
  request = requestFor("c.png", 500, 500, 1200);
  EXPECT_THROW(validate(request), UserError);
  request = requestFor("c.svg", 500, 500, 1200);
  EXPECT_NO_THROW(validate(request));
  request.file.clear();
  EXPECT_THROW(validate(request), UserError);
}

class ChartPictures : public test_support::ThreeStagesSuite {
 protected:
  static ChartDrawing drawing(LifeChart kind) {
    return [kind](QChart& chart) { drawLifeChart(chart, kind, study()->analysis()); };
  }

  TemporaryFolder folder_;
};

TEST_F(ChartPictures, PngHasThePrintedSizeInPixelsAndRecordsItsDpi) {
  const fs::path file = folder_.path() / "sxj.png";
  exportChartPicture(drawing(LifeChart::kSxj), requestFor(file, 85, 60, 300));
  const QImage image(QString::fromStdString(file.string()));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(1004, 709));
  EXPECT_EQ(qRound(image.dotsPerMeterX() * 0.0254), 300);
  EXPECT_EQ(qRound(image.dotsPerMeterY() * 0.0254), 300);

  // Twice the dpi, twice the pixels; the same drawing, so the same share of it is ink.
  const QImage fine = chartImage(drawing(LifeChart::kSxj), requestFor(file, 85, 60, 600));
  EXPECT_EQ(fine.size(), QSize(2008, 1417));
  const auto inkShare = [](const QImage& picture) {
    long dark = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
    }
    return static_cast<double>(dark) / (static_cast<double>(picture.width()) * picture.height());
  };
  const double coarseInk = inkShare(image);
  EXPECT_GT(coarseInk, 0.005) << "the picture is blank";
  EXPECT_NEAR(inkShare(fine) / coarseInk, 1.0, 0.35);
  // Larger text is more ink.
  EXPECT_GT(inkShare(chartImage(drawing(LifeChart::kSxj), requestFor(file, 85, 60, 300, 14))),
            coarseInk * 1.2);
}

TEST_F(ChartPictures, SvgAndPdfAreDrawingsOfThePrintedSize) {
  const fs::path svgFile = folder_.path() / "cxj.svg";
  exportChartPicture(drawing(LifeChart::kCij), requestFor(svgFile, 175, 110, 600));
  const std::string svg = readFile(svgFile);
  QXmlStreamReader xml(QByteArray::fromStdString(svg));
  QString width;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("svg")) {
      width = xml.attributes().value(QLatin1String("width")).toString();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  ASSERT_TRUE(width.endsWith(QLatin1String("mm"))) << width.toStdString();
  EXPECT_NEAR(width.chopped(2).toDouble(), 175.0, 0.05);
  EXPECT_NE(svg.find("Age-stage specific consumption rate"), std::string::npos);

  const fs::path pdfFile = folder_.path() / "cxj.pdf";
  exportChartPicture(drawing(LifeChart::kCij), requestFor(pdfFile, 175, 110, 600));
  EXPECT_EQ(readFile(pdfFile).substr(0, 5), "%PDF-");
}

// A TIFF is the PNG's picture, LZW-compressed, with its dpi; greys leave no colour, and tell the
// curves apart by their line styles.
TEST_F(ChartPictures, TiffIsTheSamePictureAndGreysHaveNoColour) {
  const fs::path file = folder_.path() / "sxj.tif";
  const ChartExportRequest tiff = requestFor(file, 85, 60, 300);
  ASSERT_EQ(tiff.format, ChartFormat::kTiff);
  exportChartPicture(drawing(LifeChart::kSxj), tiff);
  QImageReader reader(QString::fromStdString(file.string()));
  EXPECT_EQ(reader.format(), QByteArray("tiff"));
  const QImage read = reader.read();
  ASSERT_FALSE(read.isNull()) << reader.errorString().toStdString();
  const QImage png = chartImage(drawing(LifeChart::kSxj), tiff);
  EXPECT_EQ(read.convertToFormat(QImage::Format_ARGB32),
            png.convertToFormat(QImage::Format_ARGB32));
  EXPECT_EQ(qRound(read.dotsPerMeterX() * 0.0254), 300);
  EXPECT_LT(fs::file_size(file), static_cast<std::uintmax_t>(png.sizeInBytes()) / 4)
      << "compressed";

  ChartExportRequest greys = requestFor(folder_.path() / "sxj.png", 85, 60, 300);
  greys.greyscale = true;
  const QImage grey = chartImage(drawing(LifeChart::kSxj), greys);
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb pixel = grey.pixel(x, y);
      ASSERT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel))
          << "a colour at " << x << ", " << y;
    }
  }
  inspectPaperChart(drawing(LifeChart::kSxj), greys, [](const QChart& chart) {
    std::set<int> styles;
    for (const QAbstractSeries* series : chart.series()) {
      styles.insert(static_cast<int>(qobject_cast<const QLineSeries*>(series)->pen().style()));
    }
    EXPECT_EQ(styles.size(), 4U) << "the four curves each in a line style of its own";
  });
}

TEST_F(ChartPictures, FailedWriteNamesTheFile) {
  const fs::path file = folder_.path() / "no folder" / "lx.png";
  try {
    exportChartPicture(drawing(LifeChart::kLx), requestFor(file, 85, 60, 300));
    FAIL() << "no error";
  } catch (const UserError& error) {
    EXPECT_EQ(error.title(), "File error");
    EXPECT_NE(error.text().find("lx.png"), std::string::npos) << error.text();
  }
}

// The dialog starts from the proposal, follows the presets and keeps the file's extension in
// step with the format.
TEST(ChartExportDialogTest, PresetsFormatAndFile) {
  TemporaryFolder folder;
  DesktopSettings settings(QString::fromStdString((folder.path() / "pellmar.ini").string()));
  ChartExportRequest proposal = settings.chartExportChoices();
  EXPECT_EQ(proposal.dpi, 600);
  EXPECT_EQ(proposal.fontPt, 8);
  proposal.file = "/data/moth_sxj.png";
  ChartExportDialog dialog(proposal, settings);
  auto* preset = dialog.findChild<QComboBox*>(QStringLiteral("sizePresetBox"));
  EXPECT_EQ(preset->currentText(), QStringLiteral("One column, 85 \u00d7 60 mm"));
  preset->setCurrentIndex(1);
  emit preset->activated(1);
  auto* format = dialog.findChild<QComboBox*>(QStringLiteral("formatBox"));
  format->setCurrentIndex(2);
  emit format->activated(2);
  ChartExportRequest chosen = dialog.request();
  EXPECT_EQ(chosen.widthMm, 175.0);
  EXPECT_EQ(chosen.heightMm, 110.0);
  EXPECT_EQ(chosen.format, ChartFormat::kPdf);
  EXPECT_EQ(chosen.file, "/data/moth_sxj.pdf");
  EXPECT_FALSE(dialog.findChild<QComboBox*>(QStringLiteral("dpiBox"))->isEnabled());
  dialog.findChild<QDoubleSpinBox*>(QStringLiteral("widthBox"))->setValue(120);
  EXPECT_EQ(preset->currentText(), QStringLiteral("Other size"));

  chosen.dpi = 300;
  settings.rememberChartExport(chosen);
  EXPECT_EQ(settings.chartExportChoices().dpi, 300);
  EXPECT_EQ(settings.chartExportChoices().format, ChartFormat::kPdf);
}

// Given the chart, the dialog previews it at its printed size on the screen, as the choices
// lay it out.
TEST(ChartExportDialogTest, PreviewsTheChartAtItsPrintedSize) {
  TemporaryFolder folder;
  DesktopSettings settings(QString::fromStdString((folder.path() / "pellmar.ini").string()));
  const AnalysedStudy analysed(goldenStudy("three_stages"));
  const ChartDrawing draw = [&analysed](QChart& chart) {
    drawLifeChart(chart, LifeChart::kLx, analysed.analysis());
  };
  ChartExportRequest proposal = settings.chartExportChoices();
  proposal.file = (folder.path() / "lx.tif").string();
  proposal.format = ChartFormat::kTiff;
  ChartExportDialog dialog(proposal, settings, nullptr, &draw);
  EXPECT_TRUE(dialog.findChild<QComboBox*>(QStringLiteral("dpiBox"))->isEnabled());
  auto* picture = dialog.findChild<QLabel*>(QStringLiteral("previewPicture"));
  ASSERT_NE(picture, nullptr);
  const auto shownWidth = [picture] { return picture->pixmap().width(); };
  const double perMm = dialog.logicalDpiX() / 25.4;
  EXPECT_NEAR(shownWidth(), 85 * perMm, 1.0);
  dialog.findChild<QDoubleSpinBox*>(QStringLiteral("widthBox"))->setValue(175);
  EXPECT_NEAR(shownWidth(), 175 * perMm, 1.0);
  dialog.findChild<QCheckBox*>(QStringLiteral("greyscaleBox"))->setChecked(true);
  EXPECT_TRUE(dialog.request().greyscale);
  EXPECT_EQ(dialog.request().format, ChartFormat::kTiff);
}

class ChartBatch : public ::testing::Test {
 protected:
  ChartBatch() : study_(goldenStudy("three_stages")) {}

  int run(std::vector<std::string> arguments) {
    err_.str({});
    return runChartExport(arguments, err_);
  }
  [[nodiscard]] std::string data() const { return study_.data().string(); }
  [[nodiscard]] std::string out(const char* name) const {
    return (study_.folder() / name).string();
  }
  [[nodiscard]] std::string firstLine() const {
    const std::string text = err_.str();
    return text.substr(0, text.find('\n'));
  }

  StudyFolder study_;
  std::ostringstream err_;
};

// The batch writes OUT only: no report, no lock left; the picture is Export chart…'s.
TEST_F(ChartBatch, WritesTheChartAndNothingElse) {
  ASSERT_EQ(run({"lxcx", data(), "-o", out("lxcx.png"), "--width-mm", "60", "--height-mm=40",
                 "--dpi", "300", "--font-pt", "7"}),
            0)
      << err_.str();
  EXPECT_EQ(filesIn(study_.folder()), (std::set<std::string>{"study.txt", "lxcx.png"}));
  const QImage written(QString::fromStdString(out("lxcx.png")));
  AnalysedStudy analysed(goldenStudy("three_stages"));
  ChartExportRequest request = requestFor(out("lxcx.png"), 60, 40, 300, 7);
  const QImage expected = chartImage(
      [&analysed](QChart& chart) { drawLifeChart(chart, LifeChart::kLxCx, analysed.analysis()); },
      request);
  EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32),
            expected.convertToFormat(QImage::Format_ARGB32));
}

TEST_F(ChartBatch, BadUsageNamesTheFaultFirst) {
  EXPECT_EQ(run({"sjx", data(), "-o", out("a.png")}), 2);
  EXPECT_EQ(firstLine(),
            "pellmar: unknown chart \"sjx\"; the charts are sxj, gxj, dxj, cxj, lx, cx, lxcx, exj, "
            "vxj, fecundity, projection and c0-frequency");
  EXPECT_EQ(run({"lx", data(), "-o", "a.jpg"}), 2);
  EXPECT_EQ(firstLine(), "pellmar: OUT must end in .png, .tif, .svg or .pdf, not \"a.jpg\"");
  EXPECT_EQ(run({"lx", data()}), 2);
  EXPECT_EQ(firstLine(), "pellmar: --export-chart needs -o OUT");
  EXPECT_EQ(run({"vxj", data(), "-o", out("a.png")}), 2);
  EXPECT_EQ(firstLine(), "pellmar: the vxj chart needs --fecundity FILE");
  EXPECT_EQ(run({"fecundity", data(), "-o", out("a.png")}), 2);
  EXPECT_EQ(firstLine(), "pellmar: the fecundity chart needs --fecundity FILE");
  EXPECT_EQ(run({"lx", data(), "-o", out("a.png"), "--dpi", "5000"}), 2);
  EXPECT_EQ(firstLine(), "pellmar: A chart has 72 to 1200 dots per inch, not 5000.");
  EXPECT_EQ(run({"lx", data(), "-o", out("a.png"), "--zoom", "2"}), 2);
  EXPECT_EQ(firstLine(), "pellmar: unknown option \"--zoom\"");
  // Whole numbers beyond every int are refused by their range, as they were given.
  for (const char* dpi : {"4294967596", "2147483648", "1e300", "-2147483649"}) {
    EXPECT_EQ(run({"lx", data(), "-o", out("a.png"), "--dpi", dpi}), 2);
    EXPECT_EQ(firstLine(), std::string("pellmar: A chart has 72 to 1200 dots per inch, not ") +
                               (std::string(dpi) == "1e300" ? "1E+300" : dpi) + ".");
  }
  EXPECT_EQ(run({"lx", data(), "-o", out("a.png"), "--font-pt", "1e10"}), 2);
  EXPECT_EQ(firstLine(), "pellmar: The text of a chart is 4 to 36 pt, not 10000000000 pt.");
  EXPECT_EQ(run({"lx", data(), "-o", out("a.png"), "--dpi", "300", "--dpi=600"}), 2);
  EXPECT_EQ(firstLine(), "pellmar: --dpi is given twice");
  EXPECT_EQ(run({"lx", data(), "-o", out("a.png"), "--dpi"}), 2);
  EXPECT_EQ(firstLine(), "pellmar: --dpi needs a value");
  EXPECT_EQ(filesIn(study_.folder()), std::set<std::string>{"study.txt"});
}

// OUT that is one of the inputs, however it is spelled or linked, would replace it.
TEST_F(ChartBatch, OutThatIsAnInputIsRefused) {
  const fs::path raw = study_.folder() / "raw.svg";
  fs::copy_file(study_.data(), raw);
  std::vector<std::string> spellings{raw.string(), (study_.folder() / "." / "raw.svg").string()};
#ifndef _WIN32
  fs::create_symlink(raw, study_.folder() / "link.svg");
  spellings.push_back(out("link.svg"));
#endif
  for (const std::string& spelling : spellings) {
    EXPECT_EQ(run({"sxj", raw.string(), "-o", spelling}), 2) << spelling;
    EXPECT_EQ(firstLine(), "pellmar: OUT \"" + spelling + "\" is the data file \"" + raw.string() +
                               "\"; the chart would take its place");
  }
  std::ofstream(study_.folder() / "eggs.svg") << "1, 0, 4.5\n";
  EXPECT_EQ(run({"fecundity", data(), "-o", out("eggs.svg"), "--fecundity", out("eggs.svg")}), 2);
  EXPECT_EQ(test_support::readFile(raw), test_support::readFile(study_.data()));
  EXPECT_EQ(test_support::readFile(study_.folder() / "eggs.svg"), "1, 0, 4.5\n");
}

// The desktop program's own command line: a data file to open, or nothing.
TEST(DesktopCommandLine, OpensTheDataFileItIsGiven) {
  EXPECT_FALSE(parseDesktopCommandLine({}).dataFile);
  const DesktopCommandLine withData = parseDesktopCommandLine({"my study.txt"});
  EXPECT_EQ(withData.action, DesktopCommandLine::Action::kShowWindow);
  EXPECT_EQ(withData.dataFile, "my study.txt");
  EXPECT_EQ(parseDesktopCommandLine({"--version"}).action, DesktopCommandLine::Action::kVersion);
  const auto refusal = [](const std::vector<std::string>& arguments) {
    try {
      parseDesktopCommandLine(arguments);
    } catch (const CommandLineError& error) {
      return error.message;
    }
    return std::string();
  };
  EXPECT_EQ(refusal({"a.txt", "b.txt"}), "one data file only, not both \"a.txt\" and \"b.txt\"");
  EXPECT_EQ(refusal({"a.txt", "--dpi", "300"}), "--dpi is an option of --export-chart");
}

TEST_F(ChartBatch, FaultsInTheDataOrAFileInTheWordsOfTheCli) {
  EXPECT_EQ(run({"lx", out("missing.txt"), "-o", out("a.png")}), 1);
  EXPECT_EQ(firstLine(), "Error in data file");
  EXPECT_EQ(run({"fecundity", data(), "-o", out("a.png"), "--fecundity", out("eggs.txt")}), 1);
  EXPECT_EQ(run({"lx", data(), "-o", out("no folder/a.png")}), 1);
  EXPECT_EQ(firstLine(), "File error");
  EXPECT_EQ(filesIn(study_.folder()), std::set<std::string>{"study.txt"});

  std::ofstream(study_.folder() / "eggs.txt") << "1, 0, 4.5\n";
  EXPECT_EQ(run({"vxj", data(), "-o", out("v.svg"), "--fecundity", out("eggs.txt")}), 0)
      << err_.str();
  EXPECT_EQ(run({"exj", data(), "-o", out("e.svg")}), 0) << err_.str();
  EXPECT_EQ(run({"fecundity", data(), "-o", out("f.svg"), "--fecundity", out("eggs.txt")}), 0)
      << err_.str();
}

// The histogram of a bootstrap's C0 in batch: the picture the desktop exports after the same
// bootstrap, pixel for pixel.
TEST_F(ChartBatch, FrequencyChartIsTheDesktopsPicture) {
  EXPECT_EQ(run({"c0-frequency", data(), "-o", out("h.png")}), 2);
  EXPECT_EQ(firstLine(),
            "pellmar: the c0-frequency chart draws a bootstrap: it needs --bootstrap B --seed S");
  EXPECT_EQ(run({"c0-frequency", data(), "-o", out("h.png"), "--bootstrap", "40", "--seed", "9",
                 "--projection-days", "5"}),
            2);
  EXPECT_EQ(firstLine(), "pellmar: --projection-days is an option of the projection chart");
  ASSERT_EQ(run({"c0-frequency", data(), "-o", out("h.png"), "--bootstrap", "40", "--seed", "9",
                 "--dpi", "150"}),
            0)
      << err_.str();
  EXPECT_EQ(filesIn(study_.folder()), (std::set<std::string>{"study.txt", "h.png"}));

  // The desktop's bootstrap of 40 replicates of the cohort's size from seed 9.
  test_support::AnalysedStudy analysed(study_.data());
  BootstrapRequest bootstrap;
  bootstrap.replicates = 40;
  bootstrap.seed = 9;
  analysed.desktop.run(
      [&bootstrap](Analysis& analysis, InputFileReader& reader, OutputFiles& files) {
        return analysis.bootstrap(bootstrap, reader, files, {}, {});
      });
  const FrequencyFigure figure = bootstrapFrequencyFigure(*analysed.analysis().bootstrap());
  ChartExportRequest request;
  request.dpi = 150;
  const QImage expected =
      chartImage([&figure](QChart& chart) { drawFrequencyChart(chart, figure); }, request);
  const QImage written(QString::fromStdString(out("h.png")));
  EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32),
            expected.convertToFormat(QImage::Format_ARGB32));
}

// The projection chart: its usage checked first, then the totals drawn on a logarithmic axis
// with the band of the replicates shaded behind each; a value of 0 is left out.
TEST_F(ChartBatch, ProjectionChartDrawsTheTotalsWithTheirBand) {
  std::ofstream(study_.folder() / "eggs.txt") << "1, 0, 4.5\n";
  const std::string eggs = out("eggs.txt");
  const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
      {{"projection", data(), "-o", out("p.png"), "--fecundity", eggs},
       "the projection chart needs --projection-days D"},
      {{"projection", data(), "-o", out("p.png"), "--projection-days", "30"},
       "the projection chart needs --fecundity FILE"},
      {{"projection", data(), "-o", out("p.png"), "--fecundity", eggs, "--projection-days", "3651"},
       "--projection-days needs a number of days from 0 to 3650, not \"3651\""},
      {{"projection", data(), "-o", out("p.png"), "--fecundity", eggs, "--projection-days", "9",
        "--bootstrap", "50"},
       "--bootstrap B and --seed S go together, so that the chart can be drawn again"},
      {{"projection", data(), "-o", out("p.png"), "--fecundity", eggs, "--projection-days", "9",
        "--initial", "adults:3"},
       "--initial needs eggs:N0 or stable:N0 with N0 a number above 0, not \"adults:3\""},
      {{"lx", data(), "-o", out("p.png"), "--bootstrap", "5"},
       "--bootstrap is an option of the projection and c0-frequency charts"},
  };
  for (const auto& [arguments, message] : bad) {
    EXPECT_EQ(run(arguments), 2) << message;
    EXPECT_EQ(firstLine(), "pellmar: " + message);
  }
  ASSERT_EQ(run({"projection", data(), "-o", out("p.svg"), "--fecundity", eggs, "--projection-days",
                 "20", "--bootstrap", "50", "--seed", "3"}),
            0)
      << err_.str();
  EXPECT_EQ(filesIn(study_.folder()), (std::set<std::string>{"study.txt", "eggs.txt", "p.svg"}));

  Projection projection;
  projection.timeUnit = 0.5;
  projection.population = {{4, 0}, {2, 2}, {1, 2}};
  projection.predation = {{0, 0}, {1, 3}, {2, 2}};
  projection.total = {4, 4, 3};
  ProjectionBand band;
  band.valuesPerStep = projectionValuesPerStep(2);
  for (int t = 0; t < 3; ++t) {
    for (int v = 0; v < band.valuesPerStep; ++v) {
      band.low.push_back(t + 1.0);
      band.high.push_back(100.0 * (t + 1));
    }
  }
  QChart chart;
  drawProjectionChart(chart, projection, &band, 0.9);
  const QList<QAbstractSeries*> series = chart.series();
  ASSERT_EQ(series.size(), 4);
  const auto* populationBand = qobject_cast<QAreaSeries*>(series[0]);
  ASSERT_NE(populationBand, nullptr);
  EXPECT_EQ(populationBand->name(), QStringLiteral("90 % band"));
  EXPECT_EQ(populationBand->lowerSeries()->points(), (QList<QPointF>{{0, 1}, {0.5, 2}, {1, 3}}));
  EXPECT_EQ(populationBand->upperSeries()->points(),
            (QList<QPointF>{{0, 100}, {0.5, 200}, {1, 300}}));
  const auto* population = qobject_cast<QLineSeries*>(series[2]);
  const auto* predation = qobject_cast<QLineSeries*>(series[3]);
  ASSERT_NE(population, nullptr);
  ASSERT_NE(predation, nullptr);
  EXPECT_EQ(population->points(), (QList<QPointF>{{0, 4}, {0.5, 4}, {1, 3}}));
  EXPECT_EQ(predation->points(), (QList<QPointF>{{0.5, 8}, {1, 8}})) << "prey per day; no 0";
  const auto* values = qobject_cast<QLogValueAxis*>(chart.axes(Qt::Vertical).front());
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(values->min(), 1.0);
  EXPECT_EQ(values->max(), 1000.0);
}

// The desktop program itself, with no display to draw on.
TEST(ChartBatchProgram, RunsWithoutADisplay) {
  StudyFolder study(goldenStudy("three_stages"));
  const QString out = QString::fromStdString((study.folder() / "sxj.png").string());
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"}) {
    environment.remove(QString::fromLatin1(name));
  }
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(PELLMAR_DESKTOP_PROGRAM),
                {QStringLiteral("--export-chart"), QStringLiteral("sxj"),
                 QString::fromStdString(study.data().string()), QStringLiteral("-o"), out});
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  // Only the batch's own messages: none of Qt's about the session it runs in.
  EXPECT_EQ(program.readAllStandardError().toStdString(), "");
  const QImage image(out);
  EXPECT_EQ(image.size(), QSize(2008, 1417));  // 85 x 60 mm at 600 dpi
  EXPECT_EQ(qRound(image.dotsPerMeterX() * 0.0254), 600);
  EXPECT_EQ(filesIn(study.folder()), (std::set<std::string>{"study.txt", "sxj.png"}));
}

}  // namespace
}  // namespace pellmar
