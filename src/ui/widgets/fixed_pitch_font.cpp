#include "ui/widgets/fixed_pitch_font.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace pellmar {

QFont fixedPitchFont() {
  const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  QFont typeWriter(QStringLiteral("monospace"), system.pointSize());
  typeWriter.setStyleHint(QFont::TypeWriter);
  typeWriter.setFixedPitch(true);
  QFont dejaVu(QStringLiteral("DejaVu Sans Mono"), system.pointSize());
  dejaVu.setFixedPitch(true);
  for (const QFont& candidate : {system, typeWriter, dejaVu}) {
    if (QFontInfo(candidate).fixedPitch()) return candidate;
  }
  return system;
}

}  // namespace pellmar
