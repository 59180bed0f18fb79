#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "tools/document_survey.h"

class QLabel;
class QTreeView;

namespace tellwright {

class ProblemListModel;

// Dialogue > Problems: every problem of the project, errors first, each with
// its place, what is wrong and what to do. Kept up to date as the project
// changes; a double-click (or Return) goes to the problem's place.
class ProblemsWindow : public QWidget {
  Q_OBJECT

 public:
  using GoTo = std::function<void(const ProblemPlace& place)>;

  explicit ProblemsWindow(GoTo goTo);
  ~ProblemsWindow() override;

  // Shows the problems of `survey` and then the spelling notes (a row a
  // problem, in their order). The rows are made as they are seen, so even a
  // very long list shows at once.
  void showSurvey(std::shared_ptr<const DocumentSurvey> survey,
                  std::shared_ptr<const std::vector<Problem>> notes = nullptr);
  QTreeView* list() const { return list_; }
  void goToSelected();

 private:
  GoTo goTo_;
  ProblemListModel* model_;
  QTreeView* list_;
  QLabel* hint_;
  QLabel* summary_;
};

}  // namespace tellwright
