#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace pellmar {

// "Reports": the text reports of the run inside the program, in a monospaced font so that
// their columns line up, with a search bar (Ctrl+F; Enter or F3 finds the next match, Shift
// with them the one before, from the end round to the start).
class ReportViewer : public QWidget {
  Q_OBJECT

 public:
  explicit ReportViewer(QWidget* parent = nullptr);

  // Lists `files` and shows `shown` (one of them), then brings the window up.
  void showReports(const QStringList& files, const QString& shown);
  // Selects the next match of `text` after the cursor (before it with `backwards`), wrapping
  // round; false when the report does not hold it.
  bool find(const QString& text, bool backwards = false);
  // Shows the search bar with the focus in its field, as Ctrl+F does.
  void openFindBar();

  [[nodiscard]] QPlainTextEdit* text() const { return text_; }
  [[nodiscard]] QComboBox* reports() const { return reports_; }
  [[nodiscard]] QLineEdit* findText() const { return findText_; }

 private:
  void load(int index);
  void findFromBar(bool backwards);

  QComboBox* reports_;
  QPlainTextEdit* text_;
  QWidget* findBar_;
  QLineEdit* findText_;
  QLabel* findResult_;
  QStringList files_;
};

// True for the files of the run that are reports to read rather than data for other
// programs: the basic, bootstrap, jackknife and comparison reports and the life table.
bool isTextReport(const QString& path);

}  // namespace pellmar
