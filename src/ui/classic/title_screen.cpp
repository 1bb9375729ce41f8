#include "ui/classic/title_screen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/classic/logo.h"

namespace pellmar {

int TitleAnimation::tick() {
  index_ = (index_ + 1) % kCycle;
  if (index_ < kLines) shown_ = index_;
  return shown_;
}

const std::array<const char*, TitleAnimation::kLines>& titleLines() {
  static const std::array<const char*, TitleAnimation::kLines> lines = {
      "Pellmar",
      "Pellmar: consumption",
      "Pellmar: consumption rates",
      "Pellmar: age-stage consumption rates",
      "Age-stage, two-sex life table",
      "Age-stage, two-sex life table of consumption",
      "Age-stage, two-sex life table of consumption and predation",
      "Pellmar: the age-stage, two-sex life table of consumption, predation rates and their "
      "standard errors",
  };
  return lines;
}

TitleScreen::TitleScreen() {
  setObjectName(QStringLiteral("titleScreen"));
  setWindowTitle(QStringLiteral("Pellmar"));
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  // A light page of its own, with dark text on it in a dark palette too.
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(250, 246, 232));
  colours.setColor(QPalette::WindowText, QColor(40, 40, 40));
  setPalette(colours);

  auto* logo = new QLabel(this);
  logo->setPixmap(drawLogo(160));
  logo->setAlignment(Qt::AlignCenter);

  auto* lineBox = new QVBoxLayout;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto* line = new QLabel(QString::fromUtf8(titleLines()[i]), this);
    line->setObjectName(QStringLiteral("titleLine%1").arg(i));
    line->setAlignment(Qt::AlignCenter);
    line->setWordWrap(true);
    QFont font = line->font();
    font.setPointSize(20);
    font.setBold(true);
    line->setFont(font);
    line->setStyleSheet(QStringLiteral("color: #7a1f14;"));
    line->setVisible(i == 0);
    lineBox->addWidget(line);
    lines_[i] = line;
  }
  auto* hint = new QLabel(QStringLiteral("Click or press any key to begin"), this);
  hint->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(logo);
  layout->addLayout(lineBox);
  layout->addStretch();
  layout->addWidget(hint);
  resize(720, 420);

  timer_.setInterval(300);
  connect(&timer_, &QTimer::timeout, this, &TitleScreen::advance);
  timer_.start();
}

void TitleScreen::advance() {
  const int before = animation_.shown();
  const int now = animation_.tick();
  if (now == before) return;
  lines_[static_cast<std::size_t>(before)]->hide();
  lines_[static_cast<std::size_t>(now)]->show();
}

void TitleScreen::mousePressEvent(QMouseEvent* /*event*/) { dismiss(); }

void TitleScreen::keyPressEvent(QKeyEvent* /*event*/) { dismiss(); }

void TitleScreen::dismiss() {
  timer_.stop();
  hide();
  emit dismissed();
}

}  // namespace pellmar
