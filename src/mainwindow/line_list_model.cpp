#include "mainwindow/line_list_model.h"

#include "editing/line_slots.h"
#include "ui/document_text.h"
#include "ui/ui_text_table.h"

namespace tellwright {

QColor LineKindColour(std::string_view kind) {
  switch (KindOf(kind)) {
    case LineKind::Talk:
      return {0, 0, 170};
    case LineKind::Remark:
      return {0, 170, 0};
    case LineKind::Response:
      return {170, 0, 0};
    default:
      return {0, 0, 0};
  }
}

LineListModel::LineListModel(const DialogueDocument& document, const UiTextTable& texts, QObject* parent)
    : QAbstractTableModel(parent), document_(document), texts_(texts) {}

const DialogueBranch* LineListModel::branch() const {
  if (branch_ < 0 || branch_ >= kBranchSlots) return nullptr;
  return &document_.branch(branch_);
}

void LineListModel::RefreshLineList(int index) {
  beginResetModel();
  branch_ = index;
  const DialogueBranch* shown = branch();
  rows_ = shown ? LinesInUse(*shown) : 0;
  endResetModel();
}

int LineListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int LineListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  const DialogueBranch* shown = branch();
  if (!shown || !index.isValid() || index.row() >= rows_) return {};
  const DialogueLine& line = shown->lines[index.row()];
  if (role == Qt::ForegroundRole) return LineKindColour(line.kind);
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::AccessibleTextRole) return {};
  switch (index.column()) {
    case 0:
      return TextToQString(line.kind);
    case 1:
      return TextToQString(line.character);
    case 2:
      return TextToQString(line.text);
    case 3:
      return TextToQString(line.soundFile);
    default:
      return {};
  }
}

QVariant LineListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
  return texts_[kTextColumnCommand + section];
}

}  // namespace tellwright
