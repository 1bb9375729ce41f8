#include "ui/widgets/focus_frame.h"

#include <QApplication>
#include <QFocusFrame>

namespace pellmar {

FocusFrame::FocusFrame(QObject* parent) : QObject(parent) {
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget* /*old*/, QWidget* now) { follow(now); });
  follow(QApplication::focusWidget());
}

FocusFrame::~FocusFrame() { delete frame_.data(); }

QWidget* FocusFrame::framed() const { return frame_ ? frame_->widget() : nullptr; }

void FocusFrame::follow(QWidget* focused) {
  // A window that takes the focus itself (the title screen) has no frame to draw around.
  const bool frameable =
      focused != nullptr && !focused->isWindow() && (focused->focusPolicy() & Qt::TabFocus) != 0;
  if (!frameable) {
    if (frame_) frame_->setWidget(nullptr);
    return;
  }
  // The frame lives beside the control it surrounds and goes when that control's window goes.
  if (!frame_) frame_ = new QFocusFrame(focused);
  frame_->setWidget(focused);
}

}  // namespace pellmar
