#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <deque>

#include "editing/character_commands.h"
#include "editing/response_commands.h"
#include "editors/character_editor.h"
#include "editors/editor_commands.h"
#include "editors/response_block_editor.h"
#include "editors/response_editor.h"
#include "mainwindow/session_fixture.h"
#include "modal_window.h"
#include "ui/document_text.h"

namespace tellwright::testing {
namespace {

// The example's first block (line 4 of its first branch, block slot 0) holds
// "What happened to the ship?" (Once, to Ask_About_Storm), "Do you know a
// fisherman called Tobin?" (Once game, to Trade_Fish), "Nice lamp." and
// "I'll be going." (leaves the loop). Its cast: Ada, Mara, Tobin.
class ResponseAndCharacterEditorsTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Start({QString::fromStdString(ExampleProject())});
  }
  // Runs the editor of that block, does `act` in it and closes it.
  void InBlockEditor(std::function<void(ResponseBlockEditor*)> act) {
    WhenShown<ResponseBlockEditor>([act](ResponseBlockEditor* editor) {
      act(editor);
      editor->close();
    });
    OpenResponseBlockEditors(*session, {4});
  }
  // The block's responses by their first letters: "WDNI".
  std::string Stored() {
    const ResponseBlock& block = document().responseBlocks[0];
    std::string out;
    for (int i = 0; i < block.usedResponses(); ++i) out += block.responses[i].text[0];
    return out;
  }
  std::string Cast() {
    std::string out;
    for (const Character& c : document().characters) out += (out.empty() ? "" : "|") + c.realName + "/" + c.entityName;
    return out;
  }
  bool Changed() { return title().endsWith(" *"); }
  // The one message shown, as "title/text", or "" when none was.
  std::string Message() {
    EXPECT_LE(dialogs.messages().size(), 1u);
    if (dialogs.messages().empty()) return "";
    return (dialogs.messages()[0].title + "/" + dialogs.messages()[0].text).toStdString();
  }
  const std::string kStored = "WDNI";
  const std::string kCast = "Ada/actor_ada|Mara/keeper_mara|Tobin/fisher_tobin";
};

TEST_F(ResponseAndCharacterEditorsTest, WindowsStandWhereTheTablesSayWithEveryCaptionWholeAndTabThroughEveryControl) {
  struct Window {
    std::function<QDialog*()> make;
    QString title;
    QRect area;  // opening position and client size
    std::vector<std::pair<const char*, QRect>> controls;
    std::vector<const char*> tabOrder;
  };
  EditorSession& s = *session;
  const Window windows[] = {
      {[&] { return new ResponseBlockEditor(s, 0, &s.window()); },
       "Responseblock Editor",
       {304, 550, 442, 237},
       {{"responseList", {10, 10, 425, 150}},
        {"addResponse", {10, 170, 90, 20}},
        {"deleteResponse", {110, 170, 90, 20}},
        {"close", {380, 210, 50, 20}}},
       {"responseList", "addResponse", "deleteResponse", "close"}},
      {[&] { return new ResponseEditor(s, &s.window()); },
       "Responseline Editor",
       {342, 334, 426, 170},
       {{"responseLabel", {10, 15, 60, 20}},
        {"responseText", {80, 10, 330, 20}},
        {"linkBranch", {100, 40, 310, 20}},
        {"linkLabel", {10, 45, 80, 20}},
        {"conditions", {80, 70, 330, 20}},
        {"conditionsLabel", {10, 75, 70, 20}},
        {"always", {80, 100, 60, 20}},
        {"once", {140, 100, 50, 20}},
        {"onceGame", {200, 100, 80, 20}},
        {"flagsLabel", {10, 100, 70, 20}},
        {"leaveLoop", {80, 120, 150, 20}},
        {"sayResponse", {80, 140, 210, 20}},
        {"ok", {300, 140, 50, 20}},
        {"cancel", {360, 140, 50, 20}}},
       {"responseText", "linkBranch", "conditions", "always", "leaveLoop", "sayResponse", "ok", "cancel"}},
      {[&] { return new CharacterEditor(s, &s.window()); },
       "Character Editor",
       {744, 90, 424, 97},
       {{"realName", {120, 10, 290, 20}},
        {"realNameLabel", {10, 15, 110, 20}},
        {"entityName", {120, 40, 290, 20}},
        {"entityNameLabel", {10, 45, 100, 20}},
        {"cancel", {360, 70, 50, 20}},
        {"ok", {300, 70, 50, 20}}},
       {"realName", "entityName", "ok", "cancel"}},
  };
  for (const Window& w : windows) {
    std::unique_ptr<QDialog> dialog(w.make());
    SCOPED_TRACE(w.title.toStdString());
    EXPECT_EQ(dialog->windowTitle(), w.title);
    EXPECT_EQ(dialog->size(), w.area.size());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // not resizable
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->parentWidget(), &window());
    const QStyle* style = dialog->style();
    for (const auto& [name, rect] : w.controls) {
      QWidget* control = Child(dialog.get(), name);
      EXPECT_EQ(control->geometry(), rect) << name;
      auto* label = qobject_cast<QLabel*>(control);
      auto* button = qobject_cast<QAbstractButton*>(control);
      EXPECT_TRUE(label || !control->accessibleName().isEmpty()) << name;
      auto metric = [style](QStyle::PixelMetric m) { return style->pixelMetric(m); };
      int padding = metric(QStyle::PM_ButtonMargin) + 2 * metric(QStyle::PM_DefaultFrameWidth);
      if (qobject_cast<QCheckBox*>(control))
        padding = metric(QStyle::PM_IndicatorWidth) + metric(QStyle::PM_CheckBoxLabelSpacing);
      if (qobject_cast<QRadioButton*>(control))
        padding = metric(QStyle::PM_ExclusiveIndicatorWidth) + metric(QStyle::PM_RadioButtonLabelSpacing);
      QFontMetrics metrics(control->font());
      if (label) {
        EXPECT_LE(metrics.horizontalAdvance(label->text()), rect.width()) << name;
      }
      if (button) {
        EXPECT_LE(metrics.horizontalAdvance(button->text()) + padding, rect.width()) << name;
      }
      EXPECT_LE(metrics.height(), rect.height()) << name;
    }
    if (auto* ok = dialog->findChild<QPushButton*>("ok")) {
      EXPECT_TRUE(ok->isDefault());
    }

    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    // Where the asked place would cut a window off (the character editor's, on the small test screen), it
    // is moved to be whole.
    QRect screen = dialog->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(dialog->frameGeometry()));
    if (screen.contains(QRect(w.area.topLeft(), dialog->frameGeometry().size()))) {
      EXPECT_EQ(dialog->pos(), w.area.topLeft());
    }
    Child(dialog.get(), w.tabOrder[0])->setFocus();
    for (const char* name : w.tabOrder) {
      EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
  }
}

TEST_F(ResponseAndCharacterEditorsTest, TheResponseListShowsEveryResponseAndEachSelectedBlockOpensInTurn) {
  Click(kGadgetResponseblock);  // a second, empty block as line 6
  std::vector<int> shownRows;
  WhenShown<ResponseBlockEditor>([&](ResponseBlockEditor* editor) {
    QTableWidget* list = editor->list();
    const std::pair<QString, int> columns[] = {
        {"Response", 200}, {"Visibility", 60}, {"Conditions", 80}, {"Link to branch", 80}};
    for (int column = 0; column < 4; ++column) {
      EXPECT_EQ(list->horizontalHeaderItem(column)->text(), columns[column].first);
      EXPECT_EQ(list->columnWidth(column), columns[column].second);
      EXPECT_LT(QFontMetrics(list->horizontalHeader()->font()).horizontalAdvance(columns[column].first),
                columns[column].second);
    }
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    const char* visibility[] = {"Once", "Once game", "Always", "Always"};
    for (int row = 0; row < 4; ++row) {
      EXPECT_EQ(list->item(row, 1)->text(), visibility[row]);
      for (int column = 0; column < 4; ++column)
        EXPECT_EQ(list->item(row, column)->foreground().color(), row == 3 ? QColor(170, 0, 0) : QColor(Qt::black));
    }
    EXPECT_EQ(list->item(1, 2)->text(), "Game.GetGlobal(\"heard_of_tobin\")");
    EXPECT_EQ(list->item(1, 3)->text(), "Trade_Fish");
    shownRows.push_back(list->rowCount());
    editor->close();
    WhenShown<ResponseBlockEditor>([&](ResponseBlockEditor* next) {
      shownRows.push_back(next->list()->rowCount());
      QTest::keyClick(next, Qt::Key_Escape);
    });
  });
  OpenResponseBlockEditors(*session, {6, 0, 4, 2});  // talklines and remarks open nothing
  EXPECT_EQ(shownRows, (std::vector<int>{4, 0}));
}

TEST_F(ResponseAndCharacterEditorsTest, TheResponseEditorLoadsAResponseAndReadsItBack) {
  struct Case {
    Response loaded;
    int chosenLink;  // 0 is the empty entry, then the four branches
    std::function<void(ResponseEditor*)> typed;
    Response stored;
  };
  const Case cases[] = {
      {{"a", "c", "trade_FISH", kOnce, 1, 0}, 3, nullptr, {"a", "c", "Trade_Fish", kOnce, 1, 0}},  // case ignored
      {{"a", "", "Lost", kOnceGame, 0, 1}, -1, nullptr, {"a", "", "", kOnceGame, 0, 1}},           // branch gone
      {{"a", "", "", 7, 0, 1}, -1, nullptr, {"a", "", "", 7, 0, 1}},  // unknown visibility stays
      {{"a", "", "Goodbye", kAlways, 0, 1},
       4,
       [](ResponseEditor* e) {
         Child<QLineEdit>(e, "responseText")->setText(QString::fromUtf8("Caf\u00e9?"));
         Child<QLineEdit>(e, "conditions")->setText("x > 1");
         Child<QComboBox>(e, "linkBranch")->setCurrentIndex(0);
         for (const char* name : {"onceGame", "leaveLoop", "sayResponse"}) Child<QAbstractButton>(e, name)->click();
       },
       {"Caf\xe9?", "x > 1", "", kOnceGame, 1, 0}},
  };
  for (const Case& c : cases) {
    ResponseEditor editor(*session, &window());
    editor.load(c.loaded);
    auto* link = Child<QComboBox>(&editor, "linkBranch");
    EXPECT_EQ(link->count(), 5);
    EXPECT_EQ(link->itemText(0), "");
    EXPECT_EQ(link->currentIndex(), c.chosenLink) << c.loaded.linkBranch;
    const char* options[] = {"always", "once", "onceGame"};
    for (int v = 0; v < 3; ++v)
      EXPECT_EQ(Child<QRadioButton>(&editor, options[v])->isChecked(), c.loaded.visibility == v) << options[v];
    if (c.typed) c.typed(&editor);
    editor.accept();
    EXPECT_EQ(editor.response(), c.stored) << c.loaded.linkBranch;
  }
}

TEST_F(ResponseAndCharacterEditorsTest, ResponsesAreStoredOnOkOnlyAndEveryRefusalIsShown) {
  using Act = std::function<void(ResponseEditor*)>;
  auto type = [](QString text, Act end) {
    return [text, end](ResponseEditor* e) {
      Child<QLineEdit>(e, "responseText")->setText(text);
      Child<QCheckBox>(e, "leaveLoop")->setChecked(true);
      end(e);
    };
  };
  Act ok = [](ResponseEditor* e) { Child<QPushButton>(e, "ok")->click(); };
  Act returnKey = [](ResponseEditor* e) { QTest::keyClick(Child(e, "responseText"), Qt::Key_Return); };
  Act escape = [](ResponseEditor* e) { QTest::keyClick(e, Qt::Key_Escape); };
  Act closeBox = [](ResponseEditor* e) { e->close(); };
  Act okThenMend = [](ResponseEditor* e) {  // refused, the window stays with the text as typed
    Child<QPushButton>(e, "ok")->click();
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(Child<QLineEdit>(e, "responseText")->text(), QString::fromUtf8("Tower \u03a9"));
    Child<QLineEdit>(e, "responseText")->setText("Tower");
    Child<QPushButton>(e, "ok")->click();
  };
  const std::string empty = "Error/You have to give a responseline to make it all work.";
  struct Case {
    bool add;  // else a double-click on row 1
    Act act;
    std::string stored;
    int selected;  // afterwards; -1: none
    std::string message;
  };
  const Case cases[] = {
      {true, type("Ahoy!", ok), "WDNIA", 4, ""},
      {false, type("Tobin?", returnKey), "WTNI", 1, ""},
      {true, type(QString::fromUtf8("Tower \u03a9"), okThenMend), "WDNIT", 4,
       "Error/The text holds \"\u03a9\" (U+03A9), which cannot be stored: projects keep their texts in "
       "Windows-1252, which has no such character."},
      {true, type("", ok), kStored, -1, empty},
      {false, type("", ok), kStored, 1, empty},
      {false, ok, kStored, 1, ""},  // nothing altered: nothing marked
      {false, type("x", [](ResponseEditor* e) { Child<QPushButton>(e, "cancel")->click(); }), kStored, 1, ""},
      {true, type("x", escape), kStored, -1, ""},
      {false, type("x", closeBox), kStored, 1, ""},
  };
  for (const Case& c : cases) {
    Start({QString::fromStdString(ExampleProject())});
    dialogs.calls.clear();
    InBlockEditor([&](ResponseBlockEditor* editor) {
      WhenShown<ResponseEditor>(c.act);
      if (c.add) {
        Child<QPushButton>(editor, "addResponse")->click();
      } else {  // a double-click as the system delivers it: a click, then the second press
        QPoint row1 = editor->list()->visualRect(editor->list()->model()->index(1, 0)).center();
        QTest::mouseClick(editor->list()->viewport(), Qt::LeftButton, {}, row1);
        QTest::mouseDClick(editor->list()->viewport(), Qt::LeftButton, {}, row1);
      }
      EXPECT_EQ(editor->list()->rowCount(), document().responseBlocks[0].usedResponses());  // shown afresh
      QModelIndexList selected = editor->list()->selectionModel()->selectedRows();
      EXPECT_EQ(selected.empty() ? -1 : selected[0].row(), c.selected) << c.stored;
    });
    EXPECT_EQ(Stored(), c.stored);
    EXPECT_EQ(Changed(), c.stored != kStored) << c.stored;
    if (c.stored != kStored) {
      EXPECT_EQ(document().responseBlocks[0].responses[c.selected].leaveLoop, 1);
    }
    EXPECT_EQ(Message(), c.message) << c.stored;
  }
}

TEST_F(ResponseAndCharacterEditorsTest, DeleteAsksAndCtrlUpOrDownMovesTheSelectedResponseWhileTheListHasTheFocus) {
  using Act = std::function<void(ResponseBlockEditor*)>;
  auto remove = [](int row) -> Act {
    return [row](ResponseBlockEditor* e) {
      if (row >= 0) e->list()->selectRow(row);
      Child<QPushButton>(e, "deleteResponse")->click();
    };
  };
  auto move = [](int row, Qt::Key key, const char* focus = "responseList") -> Act {
    return [=](ResponseBlockEditor* e) {
      e->list()->selectRow(row);
      Child(e, focus)->setFocus();
      QTest::keyClick(Child(e, focus), key, Qt::ControlModifier);
    };
  };
  struct Case {
    Act act;
    std::deque<Answer> answers;
    std::string stored;
    int selected;  // afterwards; -1: none
    bool changed;
  };
  const Case cases[] = {
      {remove(-1), {}, "WDNI", -1, false},  // nothing selected: nothing asked
      {remove(1), {Answer::No}, "WDNI", 1, false},
      {remove(1), {Answer::Yes}, "WNI", -1, true},
      {move(1, Qt::Key_Up), {}, "DWNI", 0, true},
      {move(0, Qt::Key_Up), {}, "WDNI", 0, true},  // the first row stays, still shown afresh and marked
      {move(2, Qt::Key_Down), {}, "WDIN", 3, true},
      {move(3, Qt::Key_Down), {}, "WDNI", 3, true},
      {move(1, Qt::Key_Up, "addResponse"), {}, "WDNI", 1, false},
  };
  for (const Case& c : cases) {
    Start({QString::fromStdString(ExampleProject())});
    dialogs.calls.clear();
    dialogs.answers = c.answers;
    InBlockEditor([&](ResponseBlockEditor* editor) {
      c.act(editor);
      EXPECT_EQ(editor->list()->rowCount(), static_cast<int>(c.stored.size()));
      EXPECT_EQ(editor->list()->selectionModel()->selectedRows().value(0).row(), c.selected) << c.stored;
    });
    EXPECT_EQ(Stored(), c.stored);
    EXPECT_EQ(document().responseBlocks[0].responses[static_cast<int>(c.stored.size())], Response{});
    EXPECT_EQ(Changed(), c.changed) << c.stored;
    EXPECT_EQ(dialogs.trace(), c.answers.empty() ? "" : "yesno:Delete responses");
    if (!c.answers.empty()) {
      EXPECT_EQ(dialogs.calls[0].text, "Are you sure you want to delete the selected response?");
    }
  }
}

TEST_F(ResponseAndCharacterEditorsTest, AFullBlockRefusesAddBeforeTheResponseEditorOpens) {
  ReplaceDocument([](DialogueDocument& document) {
    for (int i = 4; i < kResponsesPerBlock; ++i) document.responseBlocks.slot(0).responses.slot(i).text = "r";
  });
  InBlockEditor([&](ResponseBlockEditor* editor) {
    Child<QPushButton>(editor, "addResponse")->click();
    EXPECT_EQ(QApplication::activeModalWidget(), editor);
  });
  EXPECT_EQ(Message(), "Error/" + CheckRoomForResponse(document(), 0).message);
  EXPECT_EQ(document().responseBlocks[0].usedResponses(), kResponsesPerBlock);
  EXPECT_FALSE(Changed());
}

TEST_F(ResponseAndCharacterEditorsTest, CharactersAreCheckedInOrderAndStoredOnOkOnly) {
  // Types the names and ends with `key` (Return: OK, Escape: Cancel; 0: the close box).
  auto type = [](QString realName, QString entityName, int key = Qt::Key_Return) {
    return [=](CharacterEditor* editor) {
      Child<QLineEdit>(editor, "realName")->setText(realName);
      Child<QLineEdit>(editor, "entityName")->setText(entityName);
      if (key)
        QTest::keyClick(Child(editor, "entityName"), static_cast<Qt::Key>(key));
      else
        editor->close();
    };
  };
  auto refusedThenMended = [&](CharacterEditor* editor) {
    type(QString::fromUtf8("\u0416enya"), "actor_zh")(editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->focusWidget(), Child(editor, "realName"));
    type(QString::fromUtf8("Ren\u00e9e"), "actor_renee")(editor);
  };
  auto error = [](std::string_view message) { return "Error/" + std::string(message); };
  struct Case {
    int editRow;  // -1: Add
    std::function<void(CharacterEditor*)> act;
    std::string cast;
    std::string message;
  };
  const Case cases[] = {
      {-1, type("Bo", "actor_bo"), kCast + "|Bo/actor_bo", ""},
      {-1, type("", ""), kCast, error(kNoRealNameMessage)},
      {-1, type("Bo", ""), kCast, error(kNoEntityNameMessage)},
      {-1, type("Mara", "x"), kCast, error(kDuplicateRealNameMessage)},
      {-1, refusedThenMended,
       kCast + "|Ren\xe9"
               "e/actor_renee",
       "Error/The text holds \"\u0416\" (U+0416), which cannot be stored: projects keep their texts in "
       "Windows-1252, which has no such character."},
      {-1, type("Bo", "actor_bo", Qt::Key_Escape), kCast, ""},
      {-1, type("Bo", "actor_bo", 0), kCast, ""},
      {2, type("Marla", "keeper_marla"), "Ada/actor_ada|Marla/keeper_marla|Tobin/fisher_tobin", ""},
      {2, type("Mara", "mara2"), "Ada/actor_ada|Mara/mara2|Tobin/fisher_tobin", ""},  // its own name is free
      {2, type("Ada", "keeper_mara"), kCast, error(kDuplicateRealNameMessage)},
      {2, type("Mara", "keeper_mara"), kCast, ""},  // nothing altered: nothing marked
      {2, type("X", "y", 0), kCast, ""},
  };
  for (const Case& c : cases) {
    Start({QString::fromStdString(ExampleProject())});
    dialogs.calls.clear();
    WhenShown<CharacterEditor>([&](CharacterEditor* editor) {
      EXPECT_EQ(Child<QLineEdit>(editor, "realName")->text(), c.editRow < 0 ? "" : "Mara");
      EXPECT_EQ(Child<QLineEdit>(editor, "entityName")->text(), c.editRow < 0 ? "" : "keeper_mara");
      c.act(editor);
      EXPECT_FALSE(editor->isVisible());  // closed in every case
    });
    if (c.editRow < 0)
      AddCharacterWithEditor(*session);
    else
      EditCharacterWithEditor(*session, c.editRow);
    EXPECT_EQ(Cast(), c.cast);
    EXPECT_EQ(Changed(), c.cast != kCast) << c.cast;
    EXPECT_EQ(Message(), c.message) << c.cast;
    QListWidget* list = window().characterList();  // shown afresh
    ASSERT_EQ(list->count(), static_cast<int>(document().characters.size()) + 1);
    EXPECT_EQ(list->item(list->count() - 1)->text(), TextToQString(PickerEntries(document().characters).back()));
  }
  for (int row : {kNoCharacterRow, -1, 4}) EditCharacterWithEditor(*session, row);  // opens nothing
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace tellwright::testing
