#pragma once

#include <QRect>
#include <vector>

namespace tellwright {

enum class GadgetKind { Frame, Button, CharacterList, TextField, BranchSelector, LineList };

// Sides of a gadget that keep their distance to the same side of the window
// when it is resized. A left or top side that is not fixed keeps its
// distance to the right or bottom edge instead; a right or bottom side that
// is not fixed keeps the gadget's width or height.
enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
  kAnchorTopLeft = kAnchorLeft | kAnchorTop,
  kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom,
};

struct GadgetSpec {
  int id;
  GadgetKind kind;
  QRect rect;   // in the window's inner area, in logical pixels
  int text;     // UiTextTable index, or -1
  int tooltip;  // UiTextTable index, or -1
  unsigned anchors;
  int frame;  // the frame the gadget stands in, or -1
};

// The main window's inner area and its gadgets, in the order they are made.
inline constexpr int kInnerWidth = 640;
inline constexpr int kInnerHeight = 480;
const std::vector<GadgetSpec>& MainWindowGadgets();

// Where a gadget goes when the inner area has grown by (dw, dh) from its
// first size.
QRect AnchoredRect(const QRect& initial, unsigned anchors, int dw, int dh);

}  // namespace tellwright
