#pragma once

#include <functional>

class QWidget;

namespace tellwright {

// Runs `act` when Return or Enter is pressed in `widget`, in place of what
// the widget would do with the key. A list's Return then does what its
// double-click does, whatever the platform's idea of "activating" a row
// (on some a single click activates, which must not jump away).
void OnReturnKey(QWidget* widget, std::function<void()> act);

}  // namespace tellwright
