#include "ui/widgets/wrap_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace pellmar {

namespace {
constexpr int kMargin = 8;
constexpr int kPreferredWidth = 260;
constexpr int kWrapFlags = Qt::AlignCenter | Qt::TextWordWrap;
}  // namespace

WrapButton::WrapButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

QRect WrapButton::textRect(const QRect& bounds) const {
  return bounds.adjusted(kMargin, kMargin / 2, -kMargin, -kMargin / 2);
}

int WrapButton::heightForWidth(int width) const {
  const QRect text =
      fontMetrics().boundingRect(textRect(QRect(0, 0, width, 10000)), kWrapFlags, this->text());
  return text.height() + kMargin * 2;
}

QSize WrapButton::sizeHint() const { return {kPreferredWidth, heightForWidth(kPreferredWidth)}; }

QSize WrapButton::minimumSizeHint() const {
  const int width = kPreferredWidth / 2;
  return {width, heightForWidth(width)};
}

void WrapButton::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(textRect(rect()), kWrapFlags, text());
}

}  // namespace pellmar
