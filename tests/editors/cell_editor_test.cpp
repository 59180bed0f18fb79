#include "editors/cell_editor.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "editors/response_block_editor.h"
#include "session_fixture.h"

namespace tellwright::testing {
namespace {

// A project with a talkline, a codeline and a responseblock in branch 0.
class CellEditorTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    StoreSettings("C:\\Games\\Demo\\demo.wpr", {});
    Start();
    for (int gadget : {kGadgetTalkline, kGadgetCodeline, kGadgetResponseblock}) Click(gadget);
    ReplaceDocument([](DialogueDocument& document) {
      DialogueLine& talk = document.editBranch(0).lines.slot(0);
      talk.text = "Hello";
      talk.soundFile = "old.ogg";
    });
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }

  CellEditor& editor() { return session->cellEditor(); }
  QTreeView* list() { return window().lineList(); }

  void DoubleClickCell(int row, int column) {
    QPoint at = list()->visualRect(list()->model()->index(row, column)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
  }
  // Types `text` over the field's text, key by key (any character).
  void Type(const QString& text) {
    editor().field()->selectAll();
    for (QChar character : text)
      QTest::sendKeyEvent(QTest::Click, editor().field(), Qt::Key_unknown, QString(character), Qt::NoModifier);
  }
  const DialogueLine& Line(int row) { return document().branch(0).lines[row]; }
};

TEST_F(CellEditorTest, OnlyTextAndSoundCellsOfTalkCodeAndRemarkLinesEdit) {
  struct Case {
    int row;
    int column;
    bool opens;
    bool browse;
  };
  const Case cases[] = {{0, 0, false, false}, {0, 1, false, false}, {0, 2, true, false},  {0, 3, true, true},
                        {1, 2, true, false},  {1, 3, true, false},  {2, 2, false, false}, {2, 3, false, false}};
  for (const Case& c : cases) {
    // A responseblock line opens its editor instead; it is closed at once.
    bool blockEditorOpened = false;
    if (c.row == 2) {
      QTimer::singleShot(0, qApp, [&] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        blockEditorOpened = qobject_cast<ResponseBlockEditor*>(QApplication::activeModalWidget()) != nullptr;
        QApplication::activeModalWidget()->close();
      });
    }
    DoubleClickCell(c.row, c.column);
    EXPECT_EQ(blockEditorOpened, c.row == 2);
    EXPECT_EQ(editor().isOpen(), c.opens) << c.row << "," << c.column;
    if (!editor().isOpen()) continue;
    EXPECT_EQ(editor().browseButton() != nullptr, c.browse) << c.row << "," << c.column;
    // Laid over the cell grown by a pixel; the browse button is square, at the right end.
    QRect cell = list()->visualRect(list()->model()->index(c.row, c.column));
    QRect field = editor().field()->geometry();
    int side = cell.height() + 2;
    EXPECT_EQ(field, QRect(cell.left(), cell.top() - 1, cell.width() + 2 - (c.browse ? side : 0), side));
    if (c.browse) {
      EXPECT_EQ(editor().browseButton()->geometry(), QRect(field.right() + 1, field.top(), side, side));
    }
    EXPECT_NEAR(QFontInfo(editor().field()->font()).pointSizeF(), QFontInfo(list()->font()).pointSizeF() - 1, 0.5);
    EXPECT_EQ(editor().field()->text(), list()->model()->index(c.row, c.column).data().toString());
    QTest::keyClick(editor().field(), Qt::Key_Escape);
  }
}

// Every way an edit ends: the typed text is stored, or (Escape) dropped.
TEST_F(CellEditorTest, EnterAndEveryActionElsewhereCommitEscapeCancels) {
  struct Case {
    const char* name;
    std::function<void()> end;
    bool commits;
  };
  const Case cases[] = {
      {"Enter", [this] { QTest::keyClick(editor().field(), Qt::Key_Return); }, true},
      {"Escape", [this] { QTest::keyClick(editor().field(), Qt::Key_Escape); }, false},
      {"OtherControl", [this] { window().characterList()->setFocus(); }, true},
      {"MenuCommand", [this] { Trigger(kCommandCopy); }, true},
      {"ColumnResize", [this] { list()->header()->resizeSection(0, 120); }, true},
      {"WindowResize", [this] { window().resize(window().size() + QSize(20, 20)); }, true},
      {"WindowMove", [this] { window().move(window().pos() + QPoint(5, 5)); }, true},
      {"Minimise", [this] { window().showMinimized(); }, true},
      {"ScrollBarClick", [this] { QTest::mousePress(list()->verticalScrollBar(), Qt::LeftButton); }, true},
  };
  for (const Case& c : cases) {
    DoubleClickCell(0, 2);
    ASSERT_TRUE(editor().isOpen()) << c.name;
    Type(QString::fromUtf8("Caf\u00e9 ") + c.name);
    c.end();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !editor().isOpen(); })) << c.name;
    std::string expected = c.commits ? std::string("Caf\xe9 ") + c.name : "Hello";
    EXPECT_EQ(Line(0).text, expected) << c.name;
    EXPECT_EQ(document().changed, c.commits ? 1 : 0) << c.name;
    EXPECT_EQ(window().selectedLineRows(), RowSelection{0}) << c.name;
    // Back to the start for the next case.
    window().showNormal();
    ReplaceDocument([](DialogueDocument& document) { document.editBranch(0).lines.slot(0).text = "Hello"; });
  }
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.trace();
}

// A line command from the menu while a cell is being edited stores the typed
// text first, then acts on the selected line with the edit closed.
TEST_F(CellEditorTest, LineCommandsFromTheMenuCommitTheEditThenAct) {
  const DialogueBranch start = document().branch(0);
  DialogueLine typed = start.lines[0];
  typed.text = "Typed";
  const struct {
    int command;
    std::vector<DialogueLine> lines;  // the branch's lines afterwards
  } cases[] = {
      {kCommandCut, {start.lines[1], start.lines[2]}},
      {kCommandDelete, {start.lines[1], start.lines[2]}},
      {kCommandMoveDown, {start.lines[1], typed, start.lines[2]}},
  };
  for (const auto& c : cases) {
    DoubleClickCell(0, 2);
    ASSERT_TRUE(editor().isOpen()) << c.command;
    Type(QStringLiteral("Typed"));
    Trigger(c.command);
    EXPECT_FALSE(editor().isOpen()) << c.command;
    std::vector<DialogueLine> lines;
    for (int row = 0; row < LinesInUse(document().branch(0)); ++row) lines.push_back(Line(row));
    EXPECT_EQ(lines, c.lines) << c.command;
    if (c.command == kCommandCut) {
      EXPECT_EQ(session->state().clipboard.lines, std::vector<DialogueLine>{typed});
    }
    ReplaceDocument([&start](DialogueDocument& document) { document.editBranch(0) = start; });
    window().RefreshLineList(0, {0});
  }
}

TEST_F(CellEditorTest, F2EditsTheTextAndTabGoesOnToTheSoundFile) {
  list()->setFocus();
  list()->setCurrentIndex(list()->model()->index(0, 0));
  QTest::keyClick(list(), Qt::Key_F2);
  ASSERT_TRUE(editor().isOpen());
  EXPECT_EQ(editor().column(), 2);
  Type("Hi");
  QTest::keyClick(editor().field(), Qt::Key_Tab);
  EXPECT_EQ(Line(0).text, "Hi");
  ASSERT_TRUE(editor().isOpen());
  EXPECT_EQ(editor().column(), 3);
  QTest::keyClick(editor().field(), Qt::Key_Tab);  // on to the browse button, still editing
  EXPECT_TRUE(editor().browseButton()->hasFocus());
  QTest::keyClick(editor().browseButton(), Qt::Key_Backtab);
  QTest::keyClick(editor().field(), Qt::Key_Backtab);  // back to the text
  ASSERT_TRUE(editor().isOpen());
  EXPECT_EQ(editor().column(), 2);
  QTest::keyClick(editor().field(), Qt::Key_Escape);
  EXPECT_TRUE(list()->hasFocus());

  // On a responseblock line the same keys open its editor.
  bool blockEditorOpened = false;
  QTimer::singleShot(0, qApp, [&] {
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    blockEditorOpened = qobject_cast<ResponseBlockEditor*>(QApplication::activeModalWidget()) != nullptr;
    QApplication::activeModalWidget()->close();
  });
  list()->setCurrentIndex(list()->model()->index(2, 0));
  QTest::keyClick(list(), Qt::Key_Return);
  EXPECT_TRUE(blockEditorOpened);
  EXPECT_FALSE(editor().isOpen());
}

TEST_F(CellEditorTest, BrowsingPutsThePathRelativeToTheProjectFolder) {
  DoubleClickCell(0, 3);
  ASSERT_NE(editor().browseButton(), nullptr);
  dialogs.files = {"c:\\games\\DEMO\\data\\voice\\a.ogg", QString()};
  editor().browseButton()->click();
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].title, "Browse for voice-over soundfile");
  EXPECT_EQ(dialogs.calls[0].text, "old.ogg");
  EXPECT_EQ(dialogs.calls[0].filter,
            "WME soundfiles (*.wav, *.ogg)|*.wav;*.ogg|Vexa soundfiles (*.wav, *.ogg, *.mp3)|*.wav;*.ogg;*.mp3");
  ASSERT_TRUE(editor().isOpen());
  EXPECT_EQ(editor().field()->text(), "data\\voice\\a.ogg");
  EXPECT_EQ(document().changed, 1);  // even if the edit is then cancelled
  editor().browseButton()->click();  // cancelled: the field keeps its text
  EXPECT_EQ(editor().field()->text(), "data\\voice\\a.ogg");
  QTest::keyClick(editor().field(), Qt::Key_Escape);
  EXPECT_EQ(Line(0).soundFile, "old.ogg");
  EXPECT_EQ(title(), "Tellwright -  *");
}

TEST_F(CellEditorTest, ARefusedTextKeepsTheEditOpenAndStopsTheCommand) {
  DoubleClickCell(0, 2);
  Type(QString::fromUtf8("\u03a9"));
  QTest::keyClick(editor().field(), Qt::Key_Return);
  ASSERT_TRUE(editor().isOpen());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(dialogs.messages()[0].text.contains("U+03A9"));
  Trigger(kCommandSaveAs);  // not run: no requester, and the refusal is not repeated
  EXPECT_EQ(dialogs.calls.size(), 1u) << dialogs.trace();
  EXPECT_TRUE(editor().isOpen());
  QTest::keyClick(editor().field(), Qt::Key_Return);  // asked again: told again
  EXPECT_EQ(dialogs.messages().size(), 2u);
  Type("Omega");
  dialogs.files.push_back(QString::fromStdString(temp.file("typed")));
  Trigger(kCommandSaveAs);  // the typed text is stored first, then saved
  EXPECT_FALSE(editor().isOpen());
  DialogueDocument saved;
  ASSERT_TRUE(LoadProject(temp.file("typed.tlwdlg"), saved));
  EXPECT_EQ(saved.branch(0).lines[0].text, "Omega");
  EXPECT_EQ(title(), "Tellwright - typed.tlwdlg");
}

}  // namespace
}  // namespace tellwright::testing
