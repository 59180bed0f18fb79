#pragma once

#include <QWidget>
#include <vector>

#include "tools/dialogue_stats.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace tellwright {

// Dialogue > Statistics: per character the lines and words spoken and the
// talklines without a sound file; per branch its lines, responses and
// words; the totals. Kept up to date while it is open.
class StatisticsWindow : public QWidget {
  Q_OBJECT

 public:
  StatisticsWindow();

  // Shows the counts of a dialogue.
  void showStats(const DialogueStats& stats);

  QTreeWidget* characters() const { return characters_; }
  QTreeWidget* branches() const { return branches_; }
  QLabel* totals() const { return totals_; }

 private:
  QTreeWidget* characters_;
  QTreeWidget* branches_;
  // Each table's rows in the order of the project, whatever order the
  // table shows them in.
  std::vector<QTreeWidgetItem*> characterItems_;
  std::vector<QTreeWidgetItem*> branchItems_;
  QLabel* totals_;
};

}  // namespace tellwright
