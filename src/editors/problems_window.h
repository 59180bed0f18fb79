#pragma once

#include <QWidget>
#include <functional>

#include "lint/lint.h"

class QLabel;
class QTreeWidget;

namespace tellwright {

// Dialogue > Problems: every problem of the project, errors first, each with
// its place, what is wrong and what to do. Kept up to date as the project
// changes; a double-click (or Return) goes to the problem's place.
class ProblemsWindow : public QWidget {
  Q_OBJECT

 public:
  using GoTo = std::function<void(const ProblemPlace& place)>;

  ProblemsWindow(const DialogueDocument& document, GoTo goTo);

  // Shows `problems` (in document order) sorted by severity.
  void showProblems(const std::vector<Problem>& problems);
  QTreeWidget* list() const { return list_; }
  void goToSelected();

 private:
  const DialogueDocument& document_;
  GoTo goTo_;
  std::vector<Problem> shown_;  // in the order of the list's rows
  QTreeWidget* list_;
  QLabel* hint_;
  QLabel* summary_;
};

}  // namespace tellwright
