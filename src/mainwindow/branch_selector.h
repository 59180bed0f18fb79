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
  // Return and Enter rename, whether the key reaches the drop-down (which
  // holds the focus and hands keys on to its field without a filter seeing
  // them) or the field itself.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Renames on Return or Enter (on the keypad too); whether it did.
  bool renameOn(const QKeyEvent* key);

 signals:
  void branchChosen(int index);
  void renameRequested(const QString& name);
};

}  // namespace tellwright
