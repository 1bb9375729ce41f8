#pragma once

#include <QPushButton>

namespace pellmar {

// A push button whose caption wraps onto several lines to fit its width, for long captions.
class WrapButton : public QPushButton {
  Q_OBJECT

 public:
  WrapButton(const QString& caption, QWidget* parent = nullptr);

  [[nodiscard]] QSize sizeHint() const override;
  [[nodiscard]] QSize minimumSizeHint() const override;
  [[nodiscard]] bool hasHeightForWidth() const override { return true; }
  [[nodiscard]] int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  [[nodiscard]] QRect textRect(const QRect& bounds) const;
};

}  // namespace pellmar
