#include "editing/cell_rules.h"

#include "document/dialogue_line.h"

namespace tellwright {

CellEdit CellEditMode(std::string_view kind, int column) {
  if (column != 2 && column != 3) return CellEdit::None;
  LineKind lineKind = KindOf(kind);
  if (lineKind == LineKind::Response) return CellEdit::None;
  if (column == 3 && lineKind == LineKind::Talk) return CellEdit::FieldWithBrowse;
  return CellEdit::Field;
}

}  // namespace tellwright
