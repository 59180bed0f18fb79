#include "editors/response_block_editor.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

#include "editing/response_commands.h"
#include "editors/response_editor.h"
#include "ui/document_change.h"
#include "tools/string_keys.h"
#include "ui/document_text.h"
#include "ui/editor_context.h"
#include "ui/fixed_layout.h"
#include "ui/gadget_font.h"
#include "ui/selection_palette.h"
#include "ui/ui_text_table.h"
#include "ui/user_dialogs.h"
#include "ui/window_placement.h"

namespace tellwright {

namespace {

constexpr QSize kClientSize(442, 237);
constexpr QPoint kOpeningPosition(304, 550);
constexpr int kColumnWidths[] = {200, 60, 80, 80};
constexpr int kColumns = 4;
const QColor kLeaveLoopColour(170, 0, 0);
constexpr int kUnlimited = 1 << 20;
constexpr int kRowPadding = 4;  // above and below the text of a row, together

// The column titles must fit their columns as the captions fit their
// controls; the titles get a smaller font of their own when they do not.
void FitColumnTitles(QHeaderView* header, const QStringList& titles) {
  int padding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 2;
  std::vector<TextBox> boxes;
  for (int column = 0; column < kColumns; ++column)
    boxes.push_back({titles[column], kColumnWidths[column], kUnlimited, padding});
  if (!TextsFit(header->font(), boxes)) header->setFont(FitGadgetFont(header->font(), boxes));
}

}  // namespace

ResponseBlockEditor::ResponseBlockEditor(EditorContext& context, int blockSlot, QWidget* parent)
    : QDialog(parent), context_(context), blockSlot_(blockSlot) {
  const UiTextTable& texts = context.texts();
  setObjectName(QStringLiteral("responseBlockEditor"));
  setWindowTitle(QStringLiteral("Responseblock Editor"));
  setWindowModality(Qt::WindowModal);

  list_ = new QTableWidget(0, kColumns, this);
  list_->setObjectName(QStringLiteral("responseList"));
  list_->setAccessibleName(QStringLiteral("Responses"));
  QStringList titles;
  for (int column = 0; column < kColumns; ++column) titles << texts[kTextColumnResponse + column];
  list_->setHorizontalHeaderLabels(titles);
  list_->verticalHeader()->hide();
  list_->setShowGrid(true);
  list_->setWordWrap(false);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setTabKeyNavigation(false);  // Tab leaves the list for the buttons
  list_->horizontalHeader()->setStretchLastSection(false);
  list_->horizontalHeader()->setSectionsMovable(false);
  list_->horizontalHeader()->setHighlightSections(false);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int column = 0; column < kColumns; ++column) list_->setColumnWidth(column, kColumnWidths[column]);
  KeepSelectionVisible(list_);

  auto* add = Named(new QPushButton(texts[kTextAddResponse], this), "addResponse", texts[kTextAddResponse]);
  add->setToolTip(texts[kTextAddResponseTip]);
  auto* remove = Named(new QPushButton(texts[kTextDeleteResponse], this), "deleteResponse", texts[kTextDeleteResponse]);
  remove->setToolTip(texts[kTextDeleteResponseTip]);
  auto* close = Named(new QPushButton(texts[kTextClose], this), "close", texts[kTextClose]);
  connect(add, &QPushButton::clicked, this, &ResponseBlockEditor::addResponse);
  connect(remove, &QPushButton::clicked, this, &ResponseBlockEditor::deleteResponse);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QTableWidget::doubleClicked, this, [this] { editResponse(); });
  // The keys act only while the list has the focus, and not while the
  // response editor or a question is open above this window (the list may
  // still be the focus widget until that window becomes active).
  auto onListKey = [this](QKeyCombination key, auto action) {
    auto* shortcut = new QShortcut(QKeySequence(key), list_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, action] {
      if (QApplication::activeModalWidget() == this) action();
    });
  };
  onListKey(Qt::CTRL | Qt::Key_Up, [this] { moveResponse(true); });
  onListKey(Qt::CTRL | Qt::Key_Down, [this] { moveResponse(false); });
  onListKey(QKeyCombination(Qt::Key_Return), [this] { editResponse(); });
  onListKey(QKeyCombination(Qt::Key_Enter), [this] { editResponse(); });

  PlaceControls(this, kClientSize,
                {{list_, {10, 10, 425, 150}},
                 {add, {10, 170, 90, 20}},
                 {remove, {110, 170, 90, 20}},
                 {close, {380, 210, 50, 20}}});
  FitColumnTitles(list_->horizontalHeader(), titles);
  // Report-view rows: one line of text each, so the list shows as many as it can.
  list_->verticalHeader()->setMinimumSectionSize(1);
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + kRowPadding);
  fill({});
  list_->setFocus();
  MoveToOpeningPosition(this, kOpeningPosition);
}

void ResponseBlockEditor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Without an OK this window has no default button. Qt makes the first
  // button the default once the window is shown, though Return in the list
  // edits the response; a focused button still takes Return as usual.
  QMetaObject::invokeMethod(
      this,
      [this] {
        for (QPushButton* button : findChildren<QPushButton*>()) button->setDefault(false);
      },
      Qt::QueuedConnection);
}

void ResponseBlockEditor::fill(const std::vector<int>& selectRows) {
  std::vector<ResponseRow> rows = ResponseRows(context_.document(), blockSlot_);
  list_->clearContents();
  list_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const ResponseRow& shown = rows[static_cast<size_t>(row)];
    // A response's text shows without its string-table key, the key in the
    // text cell's tooltip.
    const KeyedText keyed = SplitKeyedText(shown.text);
    const std::string_view cells[] = {keyed.text, shown.visibility, shown.conditions, shown.linkBranch};
    for (int column = 0; column < kColumns; ++column) {
      auto* item = new QTableWidgetItem(TextToQString(cells[column]));
      item->setForeground(shown.darkRed ? kLeaveLoopColour : QColor(Qt::black));
      if (column == 0 && keyed.keyed)
        item->setToolTip(QStringLiteral("String-table key: %1").arg(TextToQString(keyed.key)));
      list_->setItem(row, column, item);
    }
  }
  list_->clearSelection();
  for (int row : selectRows)
    if (row >= 0 && row < list_->rowCount()) list_->selectRow(row);
  if (!selectRows.empty() && selectRows.front() < list_->rowCount())
    list_->setCurrentCell(selectRows.front(), 0, QItemSelectionModel::NoUpdate);
}

RowSelection ResponseBlockEditor::selectedRows() const {
  RowSelection rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
  return ValidRows(rows, list_->rowCount());
}

EditResult ResponseBlockEditor::change(const QString& name,
                                       const std::function<EditResult(DialogueDocument&)>& operation) {
  EditResult outcome;
  context_.apply({name, kPartBlocks,
                  [&](DialogueDocument& document) {
                    outcome = operation(document);
                    return outcome;
                  },
                  true, blockSlot_});
  return outcome;
}

void ResponseBlockEditor::addResponse() {
  // A full block is refused before the editor opens, so nothing typed is lost.
  Status room = CheckRoomForResponse(context_.document(), blockSlot_);
  if (!room) {
    context_.showError(TextToQString(room.message));
    return;
  }
  ResponseEditor editor(context_, this);
  editor.load(NewResponse());
  int added = -1;
  editor.setOnOk([this, &added](const Response& response) {
    int slot = blockSlot_;
    if (change(QStringLiteral("Add response"), [slot, &response](DialogueDocument& document) {
          return AddResponse(document, slot, response);
        }).changed)
      added = context_.document().responseBlocks[slot].usedResponses() - 1;
  });
  editor.exec();
  fill(added >= 0 ? std::vector<int>{added} : std::vector<int>{});
}

void ResponseBlockEditor::editResponse() {
  RowSelection rows = selectedRows();
  if (rows.empty()) return;
  int row = rows.front();
  ResponseEditor editor(context_, this);
  editor.load(context_.document().responseBlocks[blockSlot_].responses[row]);
  editor.setOnOk([this, row](const Response& response) {
    int slot = blockSlot_;
    change(QStringLiteral("Edit response"),
           [slot, row, &response](DialogueDocument& document) { return EditResponse(document, slot, row, response); });
  });
  editor.exec();
  fill({row});
}

void ResponseBlockEditor::deleteResponse() {
  RowSelection rows = selectedRows();
  if (rows.empty()) return;
  if (!context_.dialogs().askYesNo(TextToQString(kDeleteResponseTitle), TextToQString(kDeleteResponseQuestion))) return;
  int slot = blockSlot_;
  if (change(QStringLiteral("Delete response"), [slot, rows](DialogueDocument& document) {
        return DeleteResponses(document, slot, rows);
      }).changed)
    fill({});
}

void ResponseBlockEditor::moveResponse(bool up) {
  RowSelection rows = selectedRows();
  if (rows.empty()) return;
  int slot = blockSlot_;
  EditResult result =
      change(up ? QStringLiteral("Move response up") : QStringLiteral("Move response down"),
             [slot, rows, up](DialogueDocument& document) {
               return up ? MoveResponsesUp(document, slot, rows) : MoveResponsesDown(document, slot, rows);
             });
  if (result.changed) fill(result.selectRows);
}

}  // namespace tellwright
