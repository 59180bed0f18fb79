#include "ui/gadget_font.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace tellwright {

namespace {
constexpr int kSmallestPixelSize = 9;  // below this, text is hard to read
}

bool TextsFit(const QFont& font, const std::vector<TextBox>& boxes) {
  QFontMetrics metrics(font);
  for (const TextBox& box : boxes) {
    if (metrics.horizontalAdvance(box.text) + box.padding > box.width) return false;
    if (metrics.height() > box.height) return false;
  }
  return true;
}

QFont FitGadgetFont(const QFont& base, const std::vector<TextBox>& boxes) {
  if (TextsFit(base, boxes)) return base;
  QFont font = base;
  for (int pixels = QFontInfo(base).pixelSize(); pixels >= kSmallestPixelSize; --pixels) {
    font.setPixelSize(pixels);
    font.setStretch(QFont::Unstretched);
    if (TextsFit(font, boxes)) return font;
    font.setStretch(QFont::SemiCondensed);
    if (TextsFit(font, boxes)) return font;
    font.setStretch(QFont::Condensed);
    if (TextsFit(font, boxes)) return font;
  }
  return font;
}

}  // namespace tellwright
