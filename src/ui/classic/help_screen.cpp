#include "ui/classic/help_screen.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/classic/logo.h"

namespace pellmar {

HelpScreen::HelpScreen(const QString& objectName, const QString& caption, const QString& text,
                       const QString& buttonCaption)
    : ReturnWindow(objectName, caption),
      page_(new QTextBrowser(this)),
      button_(new QPushButton(buttonCaption, this)) {
  page_->setOpenExternalLinks(true);
  page_->setHtml(text);
  button_->setObjectName(QStringLiteral("closeButton"));
  button_->setDefault(true);
  connect(button_, &QPushButton::clicked, this, &QWidget::close);

  auto* logo = new QLabel(this);
  logo->setPixmap(drawLogo(56));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(logo);
  buttons->addStretch();
  buttons->addWidget(button_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(page_);
  layout->addLayout(buttons);
  resize(720, 560);
}

void HelpScreen::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    button_->click();
    return;
  }
  ReturnWindow::keyPressEvent(event);
}

}  // namespace pellmar
