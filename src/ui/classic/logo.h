#pragma once

#include <QIcon>
#include <QPixmap>

namespace pellmar {

// The program's logo: a lady beetle seen from above, drawn at the given size in pixels.
QPixmap drawLogo(int size);

// The picture on the quiz button: a question mark on a leaf.
QIcon quizIcon();

}  // namespace pellmar
