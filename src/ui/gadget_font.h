#pragma once

#include <QFont>
#include <QString>
#include <vector>

class QStyle;

namespace tellwright {

// A text that must be shown whole in a box of the given size, with `padding`
// pixels of the box taken by the control's frame and margins (both sides).
struct TextBox {
  QString text;
  int width;
  int height;
  int padding;
};

// The font for gadgets of a fixed size: `base` (the desktop's font) when
// every text fits its box, else the largest smaller size that fits, trying
// the condensed width of the family before a smaller size. Falls back to the
// smallest size tried when nothing fits.
QFont FitGadgetFont(const QFont& base, const std::vector<TextBox>& boxes);

// Whether every text fits its box in `font`.
bool TextsFit(const QFont& font, const std::vector<TextBox>& boxes);

}  // namespace tellwright
