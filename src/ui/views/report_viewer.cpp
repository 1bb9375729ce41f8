#include "ui/views/report_viewer.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>
#include <functional>

#include "ui/widgets/fixed_pitch_font.h"

namespace pellmar {

namespace {

// Enter and Shift+Enter in the search field find the next and the previous match.
class FindField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  std::function<void(bool backwards)> onEnter;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onEnter) {
      onEnter(event->modifiers().testFlag(Qt::ShiftModifier));
      return;
    }
    QLineEdit::keyPressEvent(event);
  }
};

}  // namespace

bool isTextReport(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  return name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) &&
         (name.contains(QStringLiteral("output"), Qt::CaseInsensitive) ||
          name.endsWith(QStringLiteral("_Life_table.txt"), Qt::CaseInsensitive));
}

ReportViewer::ReportViewer(QWidget* parent)
    : QWidget(parent, Qt::Window),
      reports_(new QComboBox(this)),
      text_(new QPlainTextEdit(this)),
      findBar_(new QWidget(this)),
      findText_(new FindField(findBar_)),
      findResult_(new QLabel(findBar_)) {
  setObjectName(QStringLiteral("reportViewer"));
  setWindowTitle(QStringLiteral("Reports"));
  reports_->setObjectName(QStringLiteral("reportBox"));
  text_->setObjectName(QStringLiteral("reportText"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(fixedPitchFont());
  // Keeps the selection of a match visible while the search field has the focus.
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  findText_->setObjectName(QStringLiteral("findText"));
  findText_->setPlaceholderText(QStringLiteral("Find in the report"));
  findText_->setClearButtonEnabled(true);
  findResult_->setObjectName(QStringLiteral("findResultLabel"));
  static_cast<FindField*>(findText_)->onEnter = [this](bool backwards) { findFromBar(backwards); };
  connect(findText_, &QLineEdit::textEdited, findResult_, &QLabel::clear);

  auto* previous = new QPushButton(QStringLiteral("&Previous"), findBar_);
  previous->setObjectName(QStringLiteral("findPreviousButton"));
  connect(previous, &QPushButton::clicked, this, [this] { findFromBar(true); });
  auto* next = new QPushButton(QStringLiteral("&Next"), findBar_);
  next->setObjectName(QStringLiteral("findNextButton"));
  connect(next, &QPushButton::clicked, this, [this] { findFromBar(false); });
  auto* findLayout = new QHBoxLayout(findBar_);
  findLayout->setContentsMargins(0, 0, 0, 0);
  findLayout->addWidget(new QLabel(QStringLiteral("Find:"), findBar_));
  findLayout->addWidget(findText_, 1);
  findLayout->addWidget(previous);
  findLayout->addWidget(next);
  findLayout->addWidget(findResult_);
  findBar_->hide();

  const auto addAction = [this](const QKeySequence& keys, const std::function<void()>& what) {
    auto* action = new QAction(this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, what);
    QWidget::addAction(action);
    return action;
  };
  addAction(QKeySequence::Find, [this] {
    openFindBar();
  })->setObjectName(QStringLiteral("findAction"));
  addAction(QKeySequence::FindNext, [this] { findFromBar(false); });
  addAction(QKeySequence::FindPrevious, [this] { findFromBar(true); });
  addAction(QKeySequence(Qt::Key_Escape), [this] {
    if (findBar_->isVisible()) {
      findBar_->hide();
      text_->setFocus();
    } else {
      close();
    }
  });

  connect(reports_, &QComboBox::currentIndexChanged, this, &ReportViewer::load);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Report:"), this));
  top->addWidget(reports_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(text_, 1);
  layout->addWidget(findBar_);
  resize(900, 640);
}

void ReportViewer::showReports(const QStringList& files, const QString& shown) {
  files_ = files;
  {
    const QSignalBlocker quiet(reports_);
    reports_->clear();
    for (const QString& file : files) reports_->addItem(QFileInfo(file).fileName(), file);
    reports_->setCurrentIndex(std::max(0, static_cast<int>(files.indexOf(shown))));
  }
  load(reports_->currentIndex());
  show();
  raise();
  activateWindow();
}

void ReportViewer::load(int index) {
  findResult_->clear();
  if (index < 0 || index >= files_.size()) {
    text_->clear();
    return;
  }
  const QString& path = files_[index];
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    text_->setPlainText(QStringLiteral("The file %1 cannot be read: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    return;
  }
  QString contents = QString::fromUtf8(file.readAll());
  // The control character that begins a page of a table in the file is shown as an empty line.
  contents.remove(QLatin1Char('\b'));
  text_->setPlainText(contents);
  reports_->setToolTip(QDir::toNativeSeparators(path));
}

bool ReportViewer::find(const QString& text, bool backwards) {
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags =
      backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (text_->find(text, flags)) return true;
  // Round from the end to the start, or from the start to the end.
  const QTextCursor before = text_->textCursor();
  QTextCursor wrapped = before;
  wrapped.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
  text_->setTextCursor(wrapped);
  if (text_->find(text, flags)) return true;
  text_->setTextCursor(before);
  return false;
}

void ReportViewer::openFindBar() {
  findBar_->show();
  findText_->setFocus();
  findText_->selectAll();
}

void ReportViewer::findFromBar(bool backwards) {
  if (!findBar_->isVisible()) {
    openFindBar();
    return;
  }
  const bool found = find(findText_->text(), backwards);
  findResult_->setText(found || findText_->text().isEmpty() ? QString()
                                                            : QStringLiteral("Not found"));
}

}  // namespace pellmar
