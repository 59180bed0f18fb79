#include "mainwindow/branch_selector.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace tellwright {

BranchSelector::BranchSelector(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  // The field is for renaming: it neither adds entries nor completes a name
  // to another branch's.
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  connect(this, &QComboBox::activated, this, &BranchSelector::branchChosen);
  connect(lineEdit(), &QLineEdit::returnPressed, this, [this] { emit renameRequested(lineEdit()->text()); });
}

void BranchSelector::fill(const QStringList& names, int select) {
  QSignalBlocker blocker(this);
  clear();
  addItems(names);
  setCurrentIndex(select);
}

void BranchSelector::choose(int index) {
  QSignalBlocker blocker(this);
  setCurrentIndex(index);
  setEditText(itemText(index));
}

}  // namespace tellwright
