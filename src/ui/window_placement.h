#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>

class QWidget;

namespace tellwright {

// `wanted` moved the least distance that keeps a frame of `frameSize` whole
// inside `available`.
QPoint OnScreenPosition(QPoint wanted, QSize frameSize, const QRect& available);

// Moves the editor window `window` to its opening position `wanted`, or, where
// that would cut it off the screen of its parent, the least distance that
// keeps it whole, so that its buttons can be reached on a small screen.
void MoveToOpeningPosition(QWidget* window, QPoint wanted);

// Where a tool window of the main window opens: to its right, or below it.
enum class ToolWindowSide { Right, Below };

void PlaceToolWindow(QWidget* window, QWidget* mainWindow, ToolWindowSide side);

// Lets the program end when the main window closes while tool window
// `window` is still open, as a tool window of the main window does: without
// it, Quit closed the main window and left the program running.
void EndWithMainWindow(QWidget* window);

// Shows `window` in front, with the focus.
void RaiseWindow(QWidget* window);

// The tool window kept in `window`, made by `make` on first use and placed
// beside the main window; it stays where the writer moves it afterwards.
template <typename Window, typename Make>
Window& ToolWindow(std::unique_ptr<Window>& window, QWidget* mainWindow, ToolWindowSide side, Make make) {
  if (!window) {
    window = make();
    EndWithMainWindow(window.get());
    PlaceToolWindow(window.get(), mainWindow, side);
  }
  return *window;
}

}  // namespace tellwright
