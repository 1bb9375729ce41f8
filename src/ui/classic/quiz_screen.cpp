#include "ui/classic/quiz_screen.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "ui/charts/palette_colours.h"

namespace pellmar {

const std::vector<QuizScreen::Question>& QuizScreen::questions() {
  static const std::vector<Question> list = {
      {QStringLiteral("What does s(x,j) measure?"),
       {QStringLiteral("The number of individuals of age x in stage j"),
        QStringLiteral("The probability that a newborn survives to age x and stage j"),
        QStringLiteral("The probability of moving from stage j to stage j + 1 at age x")},
       1},
      {QStringLiteral("The net consumption rate C0 equals"),
       {QStringLiteral("the total consumption of the cohort divided by the number of newborns"),
        QStringLiteral("the mean consumption of the individuals that reached the adult stage"),
        QStringLiteral("the largest daily consumption of an adult female")},
       0},
      {QStringLiteral("Why do adult females and males have columns of their own?"),
       {QStringLiteral("Because the data file lists them apart"),
        QStringLiteral("Because only females consume prey"),
        QStringLiteral("Because the sexes differ in survival, development and consumption")},
       2},
      {QStringLiteral("How is a pupal stage, in which nothing is eaten, written in a data file?"),
       {QStringLiteral("As a row of zeros, one per day"), QStringLiteral("As a lone -1"),
        QStringLiteral("It is left out")},
       1},
      {QStringLiteral("What does the bootstrap estimate here?"),
       {QStringLiteral("The standard error of C0, from cohorts resampled with replacement"),
        QStringLiteral("The true value of C0 without any error"),
        QStringLiteral("The age at which most prey are eaten")},
       0},
      {QStringLiteral("Each jackknife pseudo-value is computed from"),
       {QStringLiteral("a random half of the cohort"),
        QStringLiteral("the cohort with one individual left out"),
        QStringLiteral("the females only")},
       1},
  };
  return list;
}

QuizScreen::QuizScreen()
    : ReturnWindow(QStringLiteral("quizScreen"), QStringLiteral("Quiz")), score_(new QLabel(this)) {
  auto* content = new QWidget;
  auto* questionsLayout = new QVBoxLayout(content);
  int number = 1;
  for (const Question& question : questions()) {
    auto* box = new QGroupBox(QStringLiteral("%1. %2").arg(number++).arg(question.text), content);
    auto* boxLayout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (std::size_t a = 0; a < question.answers.size(); ++a) {
      auto* option = new QRadioButton(question.answers[a], box);
      group->addButton(option, static_cast<int>(a));
      boxLayout->addWidget(option);
    }
    auto* mark = new QLabel(box);
    mark->hide();
    boxLayout->addWidget(mark);
    choices_.push_back(group);
    marks_.push_back(mark);
    questionsLayout->addWidget(box);
  }
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(content);
  scroll->setWidgetResizable(true);

  auto* checkButton = new QPushButton(QStringLiteral("Check my answers"), this);
  checkButton->setObjectName(QStringLiteral("checkButton"));
  connect(checkButton, &QPushButton::clicked, this, [this] { check(); });
  auto* backButton = new QPushButton(QStringLiteral("Back to the main window"), this);
  connect(backButton, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(score_, 1);
  buttons->addWidget(checkButton);
  buttons->addWidget(backButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll);
  layout->addLayout(buttons);
  resize(640, 620);
}

void QuizScreen::choose(int question, int answer) {
  QAbstractButton* button = choices_.at(static_cast<std::size_t>(question))->button(answer);
  if (button != nullptr) button->setChecked(true);
}

int QuizScreen::check() {
  int right = 0;
  const QColor background = palette().color(QPalette::Window);
  const QString rightColour = readableOn(background, QColor(0x00, 0x64, 0x00)).name();
  const QString wrongColour = readableOn(background, QColor(0x8b, 0x00, 0x00)).name();
  for (std::size_t q = 0; q < questions().size(); ++q) {
    const Question& question = questions()[q];
    marks_[q]->show();
    if (choices_[q]->checkedId() == question.right) {
      ++right;
      marks_[q]->setText(QStringLiteral("Right."));
      marks_[q]->setStyleSheet(QStringLiteral("color: %1;").arg(rightColour));
    } else {
      marks_[q]->setText(QStringLiteral("The answer is: ") +
                         question.answers[static_cast<std::size_t>(question.right)]);
      marks_[q]->setStyleSheet(QStringLiteral("color: %1;").arg(wrongColour));
    }
  }
  score_->setText(QStringLiteral("%1 of %2 right.").arg(right).arg(questions().size()));
  return right;
}

}  // namespace pellmar
