#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "lint/lint.h"

namespace tellwright {

// Keeps the list of the document's problems up to date: after a change the
// lint runs again as soon as the editor is idle, once for a burst of
// changes.
class ProblemsMonitor : public QObject {
  Q_OBJECT

 public:
  explicit ProblemsMonitor(const DialogueDocument& document);

  // The document changed.
  void schedule() { timer_.start(); }
  // Runs the lint now.
  void update();

  const std::vector<Problem>& problems() const { return problems_; }
  ProblemCounts counts() const { return counts_; }

 signals:
  void updated();

 private:
  const DialogueDocument& document_;
  QTimer timer_;
  std::vector<Problem> problems_;
  ProblemCounts counts_;
};

// "2 errors, 5 warnings", with ", 1 note" when there are notes; "No
// problems" when there are none.
QString CountsText(const ProblemCounts& counts);

}  // namespace tellwright
