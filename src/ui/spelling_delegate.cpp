#include "ui/spelling_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <QTextCharFormat>

#include "document/dialogue_line.h"
#include "ui/document_text.h"

namespace tellwright {

SpellingDelegate::SpellingDelegate(Spelling& spelling, QObject* parent)
    : QStyledItemDelegate(parent), spelling_(&spelling) {}

void SpellingDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  if (!spelling_ || !spelling_->active()) return;
  const QString kind = index.sibling(index.row(), 0).data().toString();
  if (KindOf(EncodeText(kind).bytes) != LineKind::Talk) return;
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QString text = item.text;
  std::vector<Spelling::Mark> marks = spelling_->misspelled(text);
  if (marks.empty()) return;
  const QWidget* widget = item.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  // Where the item view draws the text: its rectangle less the margin the
  // style puts on each side of an item's text.
  QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  area.adjust(margin, 0, -margin, 0);
  // The text laid out again, invisible, with the spell-check underline on
  // the words: Qt draws it in the style the desktop uses for it.
  QTextLayout layout(text, item.font, painter->device());
  QTextCharFormat hidden;
  hidden.setForeground(Qt::transparent);
  QList<QTextLayout::FormatRange> formats = {{0, static_cast<int>(text.size()), hidden}};
  for (const Spelling::Mark& mark : marks) {
    QTextCharFormat underline = hidden;
    underline.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    underline.setUnderlineColor(Qt::red);
    formats.append({mark.start, mark.length, underline});
  }
  layout.setFormats(formats);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(1e6);
  layout.endLayout();
  painter->save();
  painter->setClipRect(area);
  layout.draw(painter, QPointF(area.left(), area.top() + (area.height() - line.height()) / 2));
  painter->restore();
}

}  // namespace tellwright
