#pragma once

#include <vector>

#include "ui/views/return_window.h"

class QButtonGroup;
class QLabel;

namespace pellmar {

// A few questions on the life table of consumption, each with three answers to choose from;
// "Check my answers" marks each question and counts the right ones.
class QuizScreen : public ReturnWindow {
  Q_OBJECT

 public:
  struct Question {
    QString text;
    std::vector<QString> answers;
    int right = 0;
  };

  QuizScreen();

  static const std::vector<Question>& questions();

  // Picks answer `answer` of question `question` (as a click on it does).
  void choose(int question, int answer);
  // Marks every question and returns the number answered right.
  int check();

 private:
  std::vector<QButtonGroup*> choices_;
  std::vector<QLabel*> marks_;
  QLabel* score_;
};

}  // namespace pellmar
