#pragma once

#include <QLabel>
#include <QTimer>

namespace pellmar {

// A label that reacts to the mouse like a command: clicked() on a click, doubleClicked() on a
// double click. With `separateDoubleClick`, a click waits for the double-click interval and is
// dropped when it turns out to be the first half of a double click.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableLabel(const QString& objectName, QWidget* parent = nullptr,
                          bool separateDoubleClick = false);

  // Reacts as to a click of the mouse (a menu item that does the same).
  void click() { emit clicked(); }

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool separateDoubleClick_;
  bool releaseEndsDoubleClick_ = false;
  QTimer pendingClick_;
};

}  // namespace pellmar
