#pragma once

#include <QFont>

namespace pellmar {

// A font whose characters are all of one width, as Qt finds it on this system, for text laid
// out in columns (the reports, the data-file example). The system's fixed font comes first;
// fontconfig may name a "monospace" family whose box-drawing or symbol glyphs differ in width
// (Noto Sans Mono on many desktops), which Qt does not take as fixed-pitch, so a family asked
// for by the TypeWriter style hint and then DejaVu Sans Mono follow. The first that QFontInfo
// confirms is fixed-pitch is taken; when none is, the system's fixed font.
QFont fixedPitchFont();

}  // namespace pellmar
