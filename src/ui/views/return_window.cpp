#include "ui/views/return_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace pellmar {

ReturnWindow::ReturnWindow(const QString& objectName, const QString& caption) {
  setObjectName(objectName);
  setWindowTitle(caption);
}

void ReturnWindow::bringUp() {
  show();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
}

void ReturnWindow::embedIn(QWidget& parent) {
  embedded_ = true;
  setParent(&parent, Qt::Widget);
  if (auto* back = findChild<QWidget*>(QStringLiteral("backButton"))) back->hide();
}

void ReturnWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit returned();
}

void ReturnWindow::keyPressEvent(QKeyEvent* event) {
  if (!embedded_ && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace pellmar
