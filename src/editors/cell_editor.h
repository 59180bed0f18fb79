#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QToolButton>
#include <functional>
#include <optional>

class QTreeView;
class QWidget;

#include "ui/spelling.h"

namespace tellwright {

// The in-place editor of the line list: an edit field laid over a text or
// sound-file cell (with a browse button on a talkline's sound file), one
// edit at a time. Enter commits and Escape cancels; anything else the user
// does outside the field commits first: the focus moving to another
// control, a column resize, the window moved, resized, minimised or
// maximised, a click on a scroll bar, and every command (through the
// session, which commits before it runs one).
class CellEditor : public QObject {
  Q_OBJECT

 public:
  // Stores a committed text in the document; false when it was refused (the
  // refusal already shown), which keeps the edit open.
  using Store = std::function<bool(int row, int column, const QString& text)>;
  // Asks for a voice-over file and gives the text for the field, if any.
  using Browse = std::function<std::optional<QString>(const QString& current)>;

  CellEditor(QTreeView* list, QString browseCaption, Store store, Browse browse);
  ~CellEditor() override;

  // Starts editing the cell if its line and column edit in place; true when
  // the edit is open. An open edit is committed first.
  bool open(int row, int column);
  bool isOpen() const { return field_ != nullptr; }
  int row() const { return row_; }
  int column() const { return column_; }
  QLineEdit* field() const { return field_; }
  QToolButton* browseButton() const { return browseButton_; }

  // Stores the text and closes the edit; true when nothing is left open.
  // A refused text keeps the edit open; the refusal is shown again only
  // when the user asks (`asked`, Enter) or has typed since.
  bool commit(bool asked = false);
  void cancel();

  // Marks the misspelled words of a talkline's text while it is typed, and
  // offers suggestions on the right mouse button.
  void setSpelling(Spelling* spelling) { spelling_ = spelling; }
  // The marks afresh (the known words changed).
  void markSpelling();

 signals:
  // F2 or Return on the line list: the keyboard's double-click on the
  // current line's text cell.
  void editRequested(int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void close();
  void browse();
  void focusChanged(QWidget* old, QWidget* now);
  bool handleFieldKey(int key, Qt::KeyboardModifiers modifiers);
  void showContextMenu(const QPoint& at);

  QTreeView* list_;
  QString browseCaption_;
  Store store_;
  Browse browse_;
  QPointer<QLineEdit> field_;
  QPointer<QToolButton> browseButton_;
  int row_ = -1;
  int column_ = -1;
  bool busy_ = false;               // storing or browsing: focus moves are ours, not the user's
  std::optional<QString> refused_;  // the text last refused, until the user types
  QPointer<Spelling> spelling_;
  bool spoken_ = false;  // the field holds a talkline's text
};

}  // namespace tellwright
