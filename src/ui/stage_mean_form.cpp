#include "ui/stage_mean_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "ui/result_tables.h"

namespace pellmar {

StageMeanForm::StageMeanForm(Dialogs& dialogs)
    : ReturnWindow(QStringLiteral("stagmean"), QStringLiteral("Mean of stage")),
      heading_(new QLabel(this)),
      grid_(new QTableWidget(this)) {
  heading_->setObjectName(QStringLiteral("Label1"));
  heading_->setWordWrap(true);
  heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid_->setObjectName(QStringLiteral("MSFlexGrid1"));

  auto* print = new QPushButton(QStringLiteral("Print this page"), this);
  print->setObjectName(QStringLiteral("cmdPrint"));
  connect(print, &QPushButton::clicked, this,
          [this, &dialogs] { dialogs.printWindow(objectName().toStdString()); });
  auto* back = new QPushButton(QStringLiteral("Back to the mainform"), this);
  back->setObjectName(QStringLiteral("cmdBack"));
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

void StageMeanForm::load(const Session& session) {
  heading_->setText(stageMeanHeading(session));
  showGrid(*grid_, stageMeanGrid(session));
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  fitHeightToRows(*grid_);
}

}  // namespace pellmar
