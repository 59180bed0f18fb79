#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include "ui/spelling.h"

namespace tellwright {

// Paints a list's text cells with the misspelled words of talklines marked
// by the desktop's spell-check underline in red. The line's kind is the
// text of column 0 of the row.
class SpellingDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  SpellingDelegate(Spelling& spelling, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  QPointer<Spelling> spelling_;
};

}  // namespace tellwright
