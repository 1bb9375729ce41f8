#pragma once

#include "ui/views/return_window.h"

class QPushButton;
class QTextBrowser;

namespace pellmar {

// A help or information screen: a title, a page of rich text and one button that closes it.
// Return presses the button wherever the keyboard focus is on the page, as in a dialog.
class HelpScreen : public ReturnWindow {
  Q_OBJECT

 public:
  HelpScreen(const QString& objectName, const QString& caption, const QString& text,
             const QString& buttonCaption);

  [[nodiscard]] QPushButton* button() const { return button_; }
  [[nodiscard]] QTextBrowser* page() const { return page_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* page_;
  QPushButton* button_;
};

}  // namespace pellmar
