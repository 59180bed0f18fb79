#include <QApplication>

#include "mainwindow/editor_session.h"
#include "mainwindow/main_window.h"
#include "mainwindow/qt_user_dialogs.h"
#include "settings/registry_backend.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tellwright"));
  QApplication::setApplicationVersion(QStringLiteral("1.2"));

  tellwright::QtUserDialogs dialogs;
  std::unique_ptr<tellwright::RegistryBackend> registry = tellwright::MakeSystemRegistryBackend();
  tellwright::EditorState state;
  tellwright::EditorSession session(state, dialogs, *registry);
  dialogs.setParent(&session.window());
  session.start(QApplication::arguments().mid(1));
  return QApplication::exec();
}
