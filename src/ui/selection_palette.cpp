#include "ui/selection_palette.h"

#include <QPalette>
#include <QWidget>

namespace tellwright {

void KeepSelectionVisible(QWidget* list) {
  QPalette palette = list->palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  list->setPalette(palette);
}

}  // namespace tellwright
