#include "ui/result_form.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/result_tables.h"

namespace pellmar {

ResultForm::ResultForm()
    : ReturnWindow(QStringLiteral("ResultFm"), QStringLiteral("Results")),
      tabs_(new QTabWidget(this)) {
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  auto* back = new QPushButton(QStringLiteral("Back to the mainform"), this);
  back->setObjectName(QStringLiteral("Command1"));
  connect(back, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
  resize(900, 620);
}

QTableWidget* ResultForm::grid(int k) const {
  return qobject_cast<QTableWidget*>(tabs_->widget(k));
}

void ResultForm::load(const Session& session) {
  const int current = tabs_->currentIndex();
  while (tabs_->count() > 0) {
    QWidget* page = tabs_->widget(0);
    tabs_->removeTab(0);
    page->deleteLater();
  }
  int k = 0;
  for (const ResultTab& tab : resultTabs(session)) {
    auto* table = new QTableWidget(tabs_);
    table->setObjectName(QStringLiteral("MSFlexGrid1_%1").arg(k++));
    showGrid(*table, tab.grid);
    tabs_->addTab(table, tab.caption);
  }
  tabs_->setCurrentIndex(std::max(current, 0));
}

}  // namespace pellmar
