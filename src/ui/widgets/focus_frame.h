#pragma once

#include <QObject>
#include <QPointer>

class QFocusFrame;
class QWidget;

namespace pellmar {

// Draws the style's focus frame around whichever control has the keyboard focus, in every
// window of the program: most styles mark a focused button by a faint ring only, too faint
// to work by the keyboard alone.
class FocusFrame : public QObject {
  Q_OBJECT

 public:
  explicit FocusFrame(QObject* parent = nullptr);
  ~FocusFrame() override;

  // The control framed now, or nullptr.
  [[nodiscard]] QWidget* framed() const;

 private:
  void follow(QWidget* focused);

  QPointer<QFocusFrame> frame_;
};

}  // namespace pellmar
