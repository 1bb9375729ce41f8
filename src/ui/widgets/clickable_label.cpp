#include "ui/widgets/clickable_label.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyleHints>

namespace pellmar {

ClickableLabel::ClickableLabel(const QString& objectName, QWidget* parent, bool separateDoubleClick)
    : QLabel(parent), separateDoubleClick_(separateDoubleClick) {
  setObjectName(objectName);
  pendingClick_.setSingleShot(true);
  pendingClick_.setInterval(QApplication::styleHints()->mouseDoubleClickInterval());
  connect(&pendingClick_, &QTimer::timeout, this, &ClickableLabel::clicked);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  if (releaseEndsDoubleClick_) {
    releaseEndsDoubleClick_ = false;
    return;
  }
  if (separateDoubleClick_) {
    pendingClick_.start();
  } else {
    emit clicked();
  }
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  pendingClick_.stop();
  releaseEndsDoubleClick_ = true;
  emit doubleClicked();
}

}  // namespace pellmar
