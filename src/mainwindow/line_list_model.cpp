#include "mainwindow/line_list_model.h"

#include "editing/line_slots.h"
#include "tools/string_keys.h"
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
  showsKeys_ = keyUse_.usesKeys(document_);
  endResetModel();
}

int LineListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int LineListModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return showsKeys_ ? kKeyColumn + 1 : kColumns;
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  const DialogueBranch* shown = branch();
  if (!shown || !index.isValid() || index.row() >= rows_) return {};
  const DialogueLine& line = shown->lines[index.row()];
  if (role == Qt::ForegroundRole) return LineKindColour(line.kind);
  // Only a talkline's text is shown by the game, so only it has a key.
  KeyedText keyed = KindOf(line.kind) == LineKind::Talk ? SplitKeyedText(line.text) : KeyedText{};
  if (role == Qt::ToolTipRole && keyed.keyed && (index.column() == 2 || index.column() == kKeyColumn))
    return QStringLiteral("String-table key: %1").arg(TextToQString(keyed.key));
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::AccessibleTextRole) return {};
  switch (index.column()) {
    case 0:
      return TextToQString(line.kind);
    case 1:
      return TextToQString(line.character);
    case 2:
      return TextToQString(keyed.keyed ? keyed.text : std::string_view(line.text));
    case 3:
      return TextToQString(line.soundFile);
    case kKeyColumn:
      return TextToQString(keyed.key);
    default:
      return {};
  }
}

QVariant LineListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  if (section == kKeyColumn) return QStringLiteral("Key");
  return texts_[kTextColumnCommand + section];
}

}  // namespace tellwright
