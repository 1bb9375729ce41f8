#include "ui/return_window.h"

#include <QCloseEvent>

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

void ReturnWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit returned();
}

}  // namespace pellmar
