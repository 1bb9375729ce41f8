#pragma once

#include <QTimer>
#include <QWidget>
#include <array>

class QLabel;

namespace pellmar {

// The animation of the title screen: each tick shows the next of the eight caption lines
// alone; the last line stays for seven ticks more, then the cycle starts again.
class TitleAnimation {
 public:
  static constexpr int kLines = 8;

  // Advances by one tick and returns the caption line to show.
  int tick();
  [[nodiscard]] int shown() const { return shown_; }

 private:
  static constexpr int kCycle = 15;
  int index_ = 0;
  int shown_ = 0;
};

// The caption lines of the title screen, naming the analysis in growing forms.
const std::array<const char*, TitleAnimation::kLines>& titleLines();

// The start-up screen: the logo and the animated caption lines. A click, a double click or a
// key press anywhere on it dismisses it.
class TitleScreen : public QWidget {
  Q_OBJECT

 public:
  TitleScreen();

  // One tick of the 300 ms animation timer.
  void advance();

  [[nodiscard]] int lineShown() const { return animation_.shown(); }

 signals:
  void dismissed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void dismiss();

  TitleAnimation animation_;
  std::array<QLabel*, TitleAnimation::kLines> lines_{};
  QTimer timer_;
};

}  // namespace pellmar
