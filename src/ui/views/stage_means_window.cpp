#include "ui/views/stage_means_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "ui/views/result_tables.h"
#include "ui/views/table_takeaway.h"

namespace pellmar {

StageMeansWindow::StageMeansWindow(Dialogs& dialogs)
    : ReturnWindow(QStringLiteral("stageMeansWindow"), QStringLiteral("Mean of stage")),
      heading_(new QLabel(this)),
      grid_(new QTableWidget(this)) {
  heading_->setObjectName(QStringLiteral("headingLabel"));
  heading_->setWordWrap(true);
  heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid_->setObjectName(QStringLiteral("stageMeansGrid"));

  auto* print = new QPushButton(QStringLiteral("Print this page"), this);
  print->setObjectName(QStringLiteral("printButton"));
  connect(print, &QPushButton::clicked, this,
          [this, &dialogs] { dialogs.printWindow(window()->objectName().toStdString()); });
  auto* back = new QPushButton(QStringLiteral("Back to the main window"), this);
  back->setObjectName(QStringLiteral("backButton"));
  connect(back, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(print);
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(grid_);
  layout->addStretch();
  layout->addLayout(buttons);
  resize(560, 420);
}

void StageMeansWindow::load(const Analysis& analysis) {
  heading_->setText(stageMeanHeading(analysis));
  showGrid(*grid_, stageMeanGrid(analysis));
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  fitHeightToRows(*grid_);
  suggestCsvFile(*grid_, QString::fromStdString(analysis.study().outputBaseName) +
                             QStringLiteral("_Stage_means.csv"));
}

}  // namespace pellmar
