#include "mainwindow/qt_user_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTest>

#include "editors/modal_window.h"
#include "support/temp_dir.h"
#include "ui/document_text.h"

namespace tellwright::testing {
namespace {

// What the writer types into Qt's own requester (the offscreen platform has
// no native one) and what the editor gets back: the path as the system writes
// it, with "\" on Windows, where the editor compares the engine project's
// folder with picked sound files by text; nothing when the requester is
// cancelled.
TEST(QtUserDialogsTest, TheRequesterGivesThePathAsTheSystemWritesIt) {
  TempDir temp;
  QtUserDialogs dialogs;
  const QString folder = PathToQString(temp.folder("stories"));
  struct Case {
    const char* what;
    QString typed;
    std::optional<QString> chosen;
  };
  const Case cases[] = {
      {"a name", QStringLiteral("harbour"), PathToQString(temp.file("stories")) + QDir::separator() + "harbour"},
      {"cancelled", QString(), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WhenShown<QFileDialog>([&c](QFileDialog*) {
      QWidget* field = QApplication::focusWidget();
      ASSERT_TRUE(field);
      if (c.typed.isEmpty()) return QTest::keyClick(field, Qt::Key_Escape);
      QTest::keyClicks(field, c.typed);
      QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseSaveFile(QStringLiteral("Save dialogue project"), folder,
                                     QStringLiteral("Dialogues|*.tlwdlg")),
              c.chosen);
  }
}

}  // namespace
}  // namespace tellwright::testing
