#include <QApplication>
#include <QIcon>

#include "mainwindow/editor_session.h"
#include "mainwindow/main_window.h"
#include "mainwindow/qt_user_dialogs.h"
#include "platform/system_registry.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tellwright"));
  QApplication::setApplicationVersion(QStringLiteral("1.2"));
  // The desktop matches the windows to the installed entry and its icon; a
  // copy in a build folder has the icon beside the program.
  QGuiApplication::setDesktopFileName(QStringLiteral("tellwright"));
  QApplication::setWindowIcon(QIcon::fromTheme(
      QStringLiteral("tellwright"), QIcon(QCoreApplication::applicationDirPath() + QStringLiteral("/TLWIcon.ico"))));

  tellwright::QtUserDialogs dialogs;
  std::unique_ptr<tellwright::RegistryBackend> registry = tellwright::MakeSystemRegistryBackend();
  tellwright::EditorState state;
  tellwright::EditorSession session(state, dialogs, *registry);
  dialogs.setParent(&session.window());
  session.start(QApplication::arguments().mid(1));
  return QApplication::exec();
}
