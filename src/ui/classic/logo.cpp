#include "ui/classic/logo.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace pellmar {

QPixmap drawLogo(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 100.0, size / 100.0);

  // Legs, antennae and head, each first drawn wider in a pale colour: the outline this leaves
  // keeps the black parts visible on a dark background and vanishes on a light one.
  const auto drawLegs = [&painter] {
    for (const int y : {42, 56, 70}) {
      painter.drawLine(QPointF(30, y), QPointF(14, y + 6));
      painter.drawLine(QPointF(70, y), QPointF(86, y + 6));
    }
    painter.drawLine(QPointF(44, 18), QPointF(36, 6));
    painter.drawLine(QPointF(56, 18), QPointF(64, 6));
  };
  const QColor outline(235, 235, 235, 190);
  painter.setPen(QPen(outline, 6, Qt::SolidLine, Qt::RoundCap));
  drawLegs();
  painter.setBrush(outline);
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPointF(50, 24), 15.5, 12.5);
  painter.setPen(QPen(QColor(30, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
  drawLegs();

  // Head and wing cases.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(25, 25, 25));
  painter.drawEllipse(QPointF(50, 24), 14, 11);
  painter.setBrush(QColor(205, 35, 30));
  painter.drawEllipse(QRectF(24, 26, 52, 64));
  painter.setPen(QPen(QColor(25, 25, 25), 2.5));
  painter.drawLine(QPointF(50, 28), QPointF(50, 90));

  // Spots and the white marks of the pronotum.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(25, 25, 25));
  constexpr std::array<std::array<double, 3>, 7> kSpots = {
      {{38, 44, 6}, {62, 44, 6}, {34, 62, 5}, {66, 62, 5}, {41, 77, 5}, {59, 77, 5}, {50, 34, 4}}};
  for (const auto& [x, y, r] : kSpots) painter.drawEllipse(QPointF(x, y), r, r);
  painter.setBrush(Qt::white);
  painter.drawEllipse(QPointF(43, 22), 3, 2.5);
  painter.drawEllipse(QPointF(57, 22), 3, 2.5);
  return pixmap;
}

QIcon quizIcon() {
  constexpr int kSize = 48;
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath leaf;
  leaf.moveTo(6, 42);
  leaf.cubicTo(4, 14, 24, 4, 44, 4);
  leaf.cubicTo(44, 26, 34, 44, 6, 42);
  painter.setPen(QPen(QColor(40, 110, 40), 2));
  painter.setBrush(QColor(110, 180, 90));
  painter.drawPath(leaf);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(26);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
  return QIcon(pixmap);
}

}  // namespace pellmar
