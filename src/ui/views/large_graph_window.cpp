#include "ui/views/large_graph_window.h"

#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "ui/charts/chart_export.h"

namespace pellmar {

LargeGraphWindow::LargeGraphWindow(const Analysis& analysis, Dialogs& dialogs,
                                   DesktopSettings& settings)
    : ReturnWindow(QStringLiteral("largeGraphWindow"), QStringLiteral("Large graph")),
      analysis_(analysis),
      view_(new QChartView(this)) {
  view_->setObjectName(QStringLiteral("chartView"));
  view_->setRenderHint(QPainter::Antialiasing);
  // Nothing in a chart answers the keyboard; the focus goes to the buttons.
  view_->setFocusPolicy(Qt::NoFocus);

  auto* buttons = new QHBoxLayout;
  const auto addButton = [this, buttons](const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    buttons->addWidget(button);
    return button;
  };
  const auto chartButton = [this, &addButton](const char* name, const QString& caption,
                                              LifeChart kind) {
    QPushButton* button = addButton(name, caption);
    connect(button, &QPushButton::clicked, this, [this, kind] { showChart(kind); });
    return button;
  };
  chartButton("showSxjButton", QStringLiteral("s(x,j)"), LifeChart::kSxj);
  chartButton("showGxjButton", QStringLiteral("g(x,j)"), LifeChart::kGij);
  chartButton("showDxjButton", QStringLiteral("d(x,j)"), LifeChart::kDij);
  chartButton("showCxjButton", QStringLiteral("c(x,j)"), LifeChart::kCij);
  chartButton("showLxButton", QStringLiteral("l(x)"), LifeChart::kLx);
  chartButton("showCxButton", QStringLiteral("c(x)"), LifeChart::kCx);
  chartButton("showLxCxButton", QStringLiteral("l(x)c(x)"), LifeChart::kLxCx);
  fecundityButton_ = chartButton("showFecundityButton", QString::fromLatin1(kFecundityChartCaption),
                                 LifeChart::kFecundity);
  buttons->addStretch();
  QPushButton* save = addButton("saveChartButton", QStringLiteral("Save chart"));
  save->setToolTip(QStringLiteral("Save the chart as a PNG picture (300 dpi) or an SVG drawing"));
  connect(save, &QPushButton::clicked, this,
          [this, &settings] { saveChartWithDialog(*view_, settings); });
  QPushButton* exportChart = addButton("exportChartButton", QStringLiteral("Export chart"));
  exportChart->setToolTip(
      QStringLiteral("Export the chart for a paper: its size in mm, its dpi and font size, as PNG, "
                     "SVG or PDF"));
  exportChart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  connect(exportChart, &QPushButton::clicked, this, [this, &dialogs, &settings] {
    const LifeChart kind = shown_;
    const QString base =
        QFileInfo(QString::fromStdString(analysis_.study().outputBaseName)).fileName();
    exportChartWithDialog([this, kind](QChart& chart) { drawLifeChart(chart, kind, analysis_); },
                          base + QLatin1Char('_') + QString::fromLatin1(lifeChartName(kind)),
                          dialogs, settings);
  });
  connect(addButton("printButton", QStringLiteral("Print form")), &QPushButton::clicked, this,
          [this, &dialogs] { dialogs.printWindow(objectName().toStdString()); });
  connect(addButton("mainWindowButton", QStringLiteral("Mainform")), &QPushButton::clicked, this,
          &QWidget::close);
  connect(addButton("quitButton", QStringLiteral("Quit")), &QPushButton::clicked, this, [this] {
    hide();
    emit quitRequested();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);
  resize(1100, 760);
}

void LargeGraphWindow::open() {
  fecundityButton_->setEnabled(analysis_.lifeTable().has_value());
  showChart(LifeChart::kSxj);
  bringUp();
}

void LargeGraphWindow::showChart(LifeChart kind) {
  drawLifeChart(*view_->chart(), kind, analysis_);
  shown_ = kind;
  view_->setVisible(true);
}

}  // namespace pellmar
