#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "lint/lint.h"

namespace tellwright {

class Spelling;

// Keeps the list of the document's problems up to date: after a change the
// lint runs again as soon as the editor is idle, once for a burst of
// changes. The translations named for the project (string tables and PO
// files) are checked against it with the lint, their findings led by the
// file's name.
class ProblemsMonitor : public QObject {
  Q_OBJECT

 public:
  explicit ProblemsMonitor(const DialogueDocument& document);

  // The document changed.
  void schedule();
  // Runs the lint now.
  void update();
  // The translation files to check from now on (paths).
  void setTranslationFiles(std::vector<std::string> paths) { translationFiles_ = std::move(paths); }

  // The spelling notes join the lint's problems after them, whenever a
  // check of the spelling ends; a change starts one.
  void setSpelling(Spelling* spelling);

  const std::vector<Problem>& problems() const { return problems_; }
  ProblemCounts counts() const { return counts_; }

 signals:
  void updated();

 private:
  void checkTranslations();

  const DialogueDocument& document_;
  std::vector<std::string> translationFiles_;
  QTimer timer_;
  void merge();

  QPointer<Spelling> spelling_;
  std::vector<Problem> linted_;
  std::vector<Problem> problems_;
  ProblemCounts counts_;
};

// "2 errors, 5 warnings", with ", 1 note" when there are notes; "No
// problems" when there are none.
QString CountsText(const ProblemCounts& counts);

}  // namespace tellwright
