#include <gtest/gtest.h>

#include <QApplication>

#include "mainwindow/editor_session.h"

// The window tests run real widgets; without a display they use Qt's
// offscreen platform.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
  // On Windows the offscreen platform reads fonts from one folder only, not
  // through the system; without it every letter is a box of one size, and
  // no caption measures as it does on the screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR") && !qEnvironmentVariableIsEmpty("WINDIR"))
    qputenv("QT_QPA_FONTDIR", qgetenv("WINDIR") + "\\Fonts");
#endif
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  // Every change of every test is checked against the scope it declares.
  tellwright::EditorSession::setCheckingScopes(true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
