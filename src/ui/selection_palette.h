#pragma once

class QWidget;

namespace tellwright {

// Shows the selection of a list as clearly without the focus as with it, as
// the lists of the editor do: the selected lines stay in view while the
// writer works in another control.
void KeepSelectionVisible(QWidget* list);

}  // namespace tellwright
