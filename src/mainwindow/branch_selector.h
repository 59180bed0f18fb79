#pragma once

#include <QComboBox>
#include <QStringList>

namespace tellwright {

// The branch selector: a drop-down of the branch names with an edit field.
// Picking an entry chooses a branch; Return in the field renames the
// current one. Filling it never counts as a pick.
class BranchSelector : public QComboBox {
  Q_OBJECT

 public:
  explicit BranchSelector(QWidget* parent = nullptr);

  // Shows `names` with entry `select` chosen and its name in the field.
  void fill(const QStringList& names, int select);
  // Chooses entry `index` and shows its name in the field.
  void choose(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 signals:
  void branchChosen(int index);
  void renameRequested(const QString& name);
};

}  // namespace tellwright
