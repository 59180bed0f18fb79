#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace tellwright {

// A control of a window laid out by hand, at its place in the client area
// (logical pixels).
struct PlacedControl {
  QWidget* widget;
  QRect rect;
};

// Gives `window` a fixed client area of `client`, puts every control at its
// place and picks the window's font so that every caption (buttons, labels,
// check boxes, option buttons) and every field's text fits its control.
void PlaceControls(QWidget* window, QSize client, const std::vector<PlacedControl>& controls);

}  // namespace tellwright
