#include "ui/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tellwright {

QPoint OnScreenPosition(QPoint wanted, QSize frameSize, const QRect& available) {
  int x = std::max(std::min(wanted.x(), available.right() + 1 - frameSize.width()), available.left());
  int y = std::max(std::min(wanted.y(), available.bottom() + 1 - frameSize.height()), available.top());
  return {x, y};
}

void MoveToOpeningPosition(QWidget* window, QPoint wanted) {
  QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  QScreen* screen = parent ? parent->screen() : window->screen();
  // The window has no frame before it is shown; it gets one like its parent's.
  QSize frame = window->size();
  if (parent && parent->isVisible()) frame += parent->frameGeometry().size() - parent->size();
  window->move(screen ? OnScreenPosition(wanted, frame, screen->availableGeometry()) : wanted);
}

void PlaceToolWindow(QWidget* window, QWidget* mainWindow, ToolWindowSide side) {
  QRect frame = mainWindow->frameGeometry();
  QPoint wanted =
      side == ToolWindowSide::Right ? frame.topRight() + QPoint(8, 0) : frame.bottomLeft() + QPoint(0, 8);
  MoveToOpeningPosition(window, wanted);
}

void EndWithMainWindow(QWidget* window) { window->setAttribute(Qt::WA_QuitOnClose, false); }

void RaiseWindow(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace tellwright
