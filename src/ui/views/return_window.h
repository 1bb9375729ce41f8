#pragma once

#include <QWidget>

namespace pellmar {

// A window opened from the main window, which hides itself meanwhile: closing it, by its back
// button, by the window frame or by Esc, hides it and announces returned() so that the main
// window shows itself again. A screen that the main window shows as one of its views is
// embedded instead: it has no back button, and Esc leaves it in place.
class ReturnWindow : public QWidget {
  Q_OBJECT

 public:
  ReturnWindow(const QString& objectName, const QString& caption);

  // Shows the window in front, restored if it was minimised.
  void bringUp();
  // Makes the window a page of `parent`, shown in its place.
  void embedIn(QWidget& parent);

 signals:
  void returned();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool embedded_ = false;
};

}  // namespace pellmar
