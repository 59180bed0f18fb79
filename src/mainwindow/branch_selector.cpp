#include "mainwindow/branch_selector.h"

#include <QKeyEvent>
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
  lineEdit()->installEventFilter(this);
  // When the field loses the focus the drop-down would choose the entry
  // whose text was typed, and report it as a pick: typing another branch's
  // name and clicking elsewhere would switch branches. Only Return acts on
  // what was typed.
  disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
}

bool BranchSelector::renameOn(const QKeyEvent* key) {
  bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  emit renameRequested(lineEdit()->text());
  return true;
}

void BranchSelector::keyPressEvent(QKeyEvent* event) {
  // Taken here, once: the drop-down and its field would each act on it.
  if (renameOn(event)) {
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

bool BranchSelector::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::KeyPress && renameOn(static_cast<QKeyEvent*>(event)))
    return true;
  return QComboBox::eventFilter(watched, event);
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
