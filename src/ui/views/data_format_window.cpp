#include "ui/views/data_format_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "ui/widgets/fixed_pitch_font.h"

namespace pellmar {

namespace {

QString headerExplanation() {
  return QStringLiteral(
      "Line 1: the project, for example the species and its food.\n"
      "Line 2: the name of the person who analyses the data.\n"
      "Line 3: the date of the experiment.\n"
      "Line 4: the number of individuals n at the start of the study (at most 400).\n"
      "Line 5: the number of stage-name lines (3) and the number of stages m, the adult stage "
      "included (egg, larva, pupa and adult make 4).\n"
      "Lines 6 to 8: one line for each sex code, F for females, M for males and N for "
      "individuals that died before the adult stage, followed by the names of the m stages.\n"
      "Line 9: the names of the first and the last stage of a span whose total duration is "
      "reported, for example Larva,Pupa.\n\n"
      "Text that contains a comma must be put in double quotes.");
}

QString recordExplanation() {
  return QStringLiteral(
      "From line 10 on: one record for each individual, numbered 1 to n in order.\n\n"
      "1. The serial number and the sex code (F, M or N).\n"
      "2. The duration of each stage, in time units, from the first stage on. An individual "
      "of sex N has a negative duration in the stage in which it died; its list ends there.\n"
      "3. The daily consumption of each stage, one value per time unit, each stage ended by "
      "-1. A stage without consumption (egg, pupa) is a lone -1.\n\n"
      "Example: the record  5,N,2,-5,-1,4,3,3,2,2,-1  is an individual that was an egg for 2 "
      "time units (nothing eaten: -1) and died after 5 time units as a larva, in which it ate "
      "4, 3, 3, 2 and 2 prey.\n\n"
      "A record may run over several lines: line ends count like commas. Save the file as "
      "plain text.");
}

}  // namespace

QString exampleDataFile() {
  return QStringLiteral(
      "Harmonia axyridis fed on Aphis gossypii at 25 C\n"
      "A. Researcher\n"
      "2026-03-15\n"
      "6\n"
      "3,4\n"
      "F,Egg,Larva,Pupa,Female\n"
      "M,Egg,Larva,Pupa,Male\n"
      "N,Egg,Larva,Pupa,Unknown\n"
      "Larva,Pupa\n"
      " 1,F,2,3,6,4,-1,2,5,5,-1,-1,3,4,4,2,-1\n"
      " 2,M,2,3,6,2,-1,2,5,5,-1,-1,2,4,-1\n"
      " 3,F,2,4,5,3,-1,1,3,4,6,-1,-1,5,6,4,-1\n"
      " 4,M,3,3,6,3,-1,2,4,5,-1,-1,3,3,2,-1\n"
      " 5,N,2,-5,-1,4,3,3,2,2,-1\n"
      " 6,N,3,2,-4,-1,3,5,-1,-1\n");
}

DataFormatWindow::DataFormatWindow(Dialogs& dialogs)
    : ReturnWindow(QStringLiteral("dataFormatWindow"), QStringLiteral("Data file format")),
      example_(new QPlainTextEdit(exampleDataFile(), this)) {
  example_->setObjectName(QStringLiteral("exampleText"));
  example_->setReadOnly(true);
  example_->setFont(fixedPitchFont());

  const auto explanation = [this](const QString& name, const QString& text) {
    auto* box = new QPlainTextEdit(text, this);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
  };

  auto* print = new QPushButton(QStringLiteral("Print this page"), this);
  print->setObjectName(QStringLiteral("printButton"));
  connect(print, &QPushButton::clicked, this,
          [this, &dialogs] { dialogs.printWindow(objectName().toStdString()); });
  auto* back = new QPushButton(QStringLiteral("Back to the main window"), this);
  back->setObjectName(QStringLiteral("backButton"));
  connect(back, &QPushButton::clicked, this, &QWidget::close);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("An example data file:"), this), 0, 0);
  grid->addWidget(example_, 1, 0, 3, 1);
  grid->addWidget(
      new QLabel(
          QStringLiteral(
              " Write your data file in pure text format (txt file) in the following order:"),
          this),
      0, 1);
  grid->addWidget(explanation(QStringLiteral("headerExplanation"), headerExplanation()), 1, 1);
  grid->addWidget(explanation(QStringLiteral("recordExplanation"), recordExplanation()), 2, 1, 2,
                  1);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 3);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(print);
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  resize(980, 560);
}

}  // namespace pellmar
