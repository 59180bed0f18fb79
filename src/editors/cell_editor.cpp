#include "editors/cell_editor.h"

#include <QApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeView>

#include "editing/cell_rules.h"
#include "ui/document_text.h"
#include "ui/spelling.h"

namespace tellwright {

CellEditor::CellEditor(QTreeView* list, QString browseCaption, Store store, Browse browse)
    : QObject(list),
      list_(list),
      browseCaption_(std::move(browseCaption)),
      store_(std::move(store)),
      browse_(std::move(browse)) {
  connect(qApp, &QApplication::focusChanged, this, &CellEditor::focusChanged);
  connect(list_->header(), &QHeaderView::sectionResized, this, [this] { commit(); });
  list_->installEventFilter(this);
  list_->window()->installEventFilter(this);
  list_->verticalScrollBar()->installEventFilter(this);
  list_->horizontalScrollBar()->installEventFilter(this);
}

CellEditor::~CellEditor() = default;

bool CellEditor::open(int row, int column) {
  if (!commit()) return false;
  QAbstractItemModel* model = list_->model();
  QModelIndex index = model->index(row, column);
  if (!index.isValid()) return false;
  CellEdit mode = CellEditMode(EncodeText(model->index(row, 0).data().toString()).bytes, column);
  if (mode == CellEdit::None) return false;
  row_ = row;
  column_ = column;
  refused_.reset();
  list_->scrollTo(index);

  // The cell's rectangle grown by a pixel on each side.
  QRect cell = list_->visualRect(index);
  QRect place(cell.left(), cell.top() - 1, cell.width() + 2, cell.height() + 2);
  QFont font = list_->font();
  font.setPointSizeF(std::max(1.0, QFontInfo(font).pointSizeF() - 1));
  QString columnName = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();

  field_ = new QLineEdit(list_->viewport());
  field_->setObjectName(QStringLiteral("cellEditField"));
  field_->setAccessibleName(columnName);
  field_->setFont(font);
  field_->setText(index.data().toString());
  connect(field_, &QLineEdit::textEdited, this, [this] { refused_.reset(); });
  field_->installEventFilter(this);
  spoken_ = column == 2 && KindOf(EncodeText(model->index(row, 0).data().toString()).bytes) == LineKind::Talk;
  if (spoken_) {
    connect(field_, &QLineEdit::textChanged, this, &CellEditor::markSpelling);
    field_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field_, &QWidget::customContextMenuRequested, this, &CellEditor::showContextMenu);
    markSpelling();
  }
  if (mode == CellEdit::FieldWithBrowse) {
    int side = place.height();
    browseButton_ = new QToolButton(list_->viewport());
    browseButton_->setObjectName(QStringLiteral("cellBrowseButton"));
    browseButton_->setText(browseCaption_);
    browseButton_->setAccessibleName(QStringLiteral("Browse for voice-over soundfile"));
    browseButton_->setToolTip(browseButton_->accessibleName());
    browseButton_->setFont(font);
    browseButton_->setGeometry(place.right() + 1 - side, place.top(), side, side);
    browseButton_->installEventFilter(this);
    connect(browseButton_, &QToolButton::clicked, this, &CellEditor::browse);
    browseButton_->show();
    place.setWidth(place.width() - side);
  }
  field_->setGeometry(place);
  field_->show();
  field_->setFocus();
  return true;
}

bool CellEditor::commit(bool asked) {
  if (!isOpen() || busy_) return true;
  QString text = field_->text();
  if (refused_ && *refused_ == text && !asked) return false;
  busy_ = true;
  bool stored = store_(row_, column_, text);
  busy_ = false;
  if (!stored) {
    refused_ = text;
    if (field_) field_->setFocus();
    return false;
  }
  close();
  return true;
}

void CellEditor::cancel() {
  if (isOpen()) close();
}

void CellEditor::close() {
  bool hadFocus = field_->hasFocus() || (browseButton_ && browseButton_->hasFocus());
  QLineEdit* field = field_;
  QToolButton* button = browseButton_;
  field_ = nullptr;  // closed from here on, whatever hiding the widgets sets off
  browseButton_ = nullptr;
  field->hide();
  field->deleteLater();
  if (button) {
    button->hide();
    button->deleteLater();
  }
  QModelIndex edited = list_->model()->index(row_, 0);
  if (edited.isValid()) {
    list_->selectionModel()->setCurrentIndex(edited, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  if (hadFocus) list_->setFocus();
  row_ = column_ = -1;
}

void CellEditor::markSpelling() {
  if (!field_ || !spoken_) return;
  ShowSpellingMarks(field_, spelling_ ? spelling_->misspelled(field_->text()) : std::vector<Spelling::Mark>{});
}

void CellEditor::showContextMenu(const QPoint& at) {
  if (!field_) return;
  QMenu* menu = spelling_ ? SpellingMenu(*spelling_, field_, field_->cursorPositionAt(at), true, field_)
                          : field_->createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(field_->mapToGlobal(at));
}

void CellEditor::browse() {
  if (!isOpen()) return;
  busy_ = true;
  std::optional<QString> picked = browse_(field_->text());
  busy_ = false;
  if (!field_) return;
  if (picked) field_->setText(*picked);
  field_->setFocus();
}

void CellEditor::focusChanged(QWidget* /*old*/, QWidget* now) {
  // No focus widget at all: the window went to the background, or a
  // dialog of ours opened; the edit waits.
  if (!isOpen() || busy_ || !now || now == field_ || now == browseButton_) return;
  if (qobject_cast<QMenu*>(now)) return;  // the field's context menu
  commit();
}

bool CellEditor::handleFieldKey(int key, Qt::KeyboardModifiers modifiers) {
  bool plain = modifiers == Qt::NoModifier || modifiers == Qt::KeypadModifier;
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && plain) {
    commit(true);
    return true;
  }
  if (key == Qt::Key_Escape) {
    cancel();
    return true;
  }
  int row = row_;
  int column = column_;
  bool fromButton = browseButton_ && browseButton_->hasFocus();
  if (key == Qt::Key_Tab) {
    if (browseButton_ && !fromButton) {
      browseButton_->setFocus();  // the next control of the edit
    } else if (commit() && column == 2) {
      open(row, 3);
    }
    return true;
  }
  if (key == Qt::Key_Backtab) {
    if (fromButton) {
      field_->setFocus();
    } else if (commit() && column == 3) {
      open(row, 2);
    }
    return true;
  }
  return false;
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event) {
  QEvent::Type type = event->type();
  if (isOpen() && (watched == field_ || watched == browseButton_) && type == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    return handleFieldKey(key->key(), key->modifiers());
  }
  if (watched == list_ && type == QEvent::KeyPress && !isOpen()) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool editKey = key->key() == Qt::Key_F2 || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    QModelIndex current = list_->currentIndex();
    if (editKey && key->modifiers() == Qt::NoModifier && current.isValid()) {
      emit editRequested(current.row());
      return true;
    }
  }
  bool windowChange = watched == list_->window() &&
                      (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange);
  bool scrollBarClick = (watched == list_->verticalScrollBar() || watched == list_->horizontalScrollBar()) &&
                        type == QEvent::MouseButtonPress;
  if (isOpen() && (windowChange || scrollBarClick)) commit();
  return QObject::eventFilter(watched, event);
}

}  // namespace tellwright
