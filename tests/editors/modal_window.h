#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tellwright::testing {

// exec() runs a nested event loop, so what the user does in a window is
// queued before it opens: the window is looked for whenever the event loop
// turns, and `act` runs once it is the active window.
template <class W>
void WhenShown(std::function<void(W*)> act, QDeadlineTimer deadline = QDeadlineTimer(10000)) {
  QTimer::singleShot(0, qApp, [act, deadline] {
    auto* shown = qobject_cast<W*>(QApplication::activeModalWidget());
    if (!shown && !deadline.hasExpired()) return WhenShown<W>(act, deadline);  // look again next turn
    if (!shown) return ADD_FAILURE() << W::staticMetaObject.className() << " did not open";
    shown->activateWindow();  // keys go where a user's would
    EXPECT_TRUE(QTest::qWaitFor([shown] { return QApplication::activeWindow() == shown; }));
    act(shown);
  });
}

template <class T = QWidget>
T* Child(QWidget* window, const char* name) {
  T* child = window->findChild<T*>(name);
  if (!child) ADD_FAILURE() << "no " << name;
  return child;
}

}  // namespace tellwright::testing
