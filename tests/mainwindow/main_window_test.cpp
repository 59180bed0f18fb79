#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>

#include "mainwindow/branch_selector.h"
#include "mainwindow/gadget_table.h"
#include "mainwindow/line_list_model.h"
#include "os/program_path.h"
#include "platform/associate_project_files.h"
#include "settings/association.h"
#include "session_fixture.h"
#include "ui/ui_text_table.h"

namespace tellwright::testing {
namespace {

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

// "Text#id" per item, "-" per separator, joined by "|".
std::string Describe(const QMenu& menu) {
  std::string out;
  for (QAction* action : menu.actions()) {
    std::string item = "-";
    if (!action->isSeparator())
      item = Plain(action->text()).toStdString() + "#" + std::to_string(action->data().toInt());
    out += (out.empty() ? "" : "|") + item;
  }
  return out;
}

TEST_F(SessionTest, EveryGadgetStandsWhereTheTableSaysAndFollowsAResize) {
  Start();
  QWidget* inner = window().innerArea();
  EXPECT_EQ(inner->width(), 640);
  EXPECT_EQ(inner->height() + window().statusBar()->height(), 480);
  EXPECT_EQ(window().minimumSize(), window().size());
  EXPECT_EQ(window().pos(), QPoint(216, 0));
  auto placed = [&](int id) {
    QWidget* gadget = window().gadget(id);
    return QRect(gadget->mapTo(inner, QPoint(0, 0)), gadget->size());
  };
  for (const GadgetSpec& entry : MainWindowGadgets()) EXPECT_EQ(placed(entry.id), entry.rect) << "gadget " << entry.id;

  QSize initial = window().size();
  window().resize(initial + QSize(100, 60));
  ASSERT_TRUE(QTest::qWaitFor([&] { return inner->width() == 740; }));
  struct Moved {
    int id;
    QRect rect;
  };
  const Moved expected[] = {
      {kGadgetLineList, {150, 110, 570, 370}},     {kGadgetBranchesFrame, {140, 60, 590, 430}},
      {kGadgetProjectFrame, {140, 10, 490, 50}},   {kGadgetCharactersFrame, {10, 120, 120, 370}},
      {kGadgetCharacterList, {20, 140, 100, 320}}, {kGadgetAddCharacter, {20, 460, 30, 20}},
      {kGadgetEditCharacter, {50, 460, 40, 20}},   {kGadgetDeleteCharacter, {90, 460, 30, 20}},
      {kGadgetTalkline, {20, 30, 100, 20}},        {kGadgetResponseblock, {20, 90, 100, 20}},
      {kGadgetBranchSelector, {150, 80, 350, 20}}, {kGadgetChooseProject, {510, 30, 110, 20}},
  };
  for (const Moved& m : expected) EXPECT_EQ(placed(m.id), m.rect) << "gadget " << m.id;

  window().resize(initial - QSize(50, 50));  // never smaller than at the start
  QApplication::processEvents();
  EXPECT_GE(inner->width(), 640);
}

TEST_F(SessionTest, EveryCaptionFitsItsGadget) {
  Start();
  const QStyle* style = window().style();
  int padding = style->pixelMetric(QStyle::PM_ButtonMargin) + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
  for (const GadgetSpec& entry : MainWindowGadgets()) {
    QWidget* gadget = window().gadget(entry.id);
    QFontMetrics metrics(gadget->font());
    if (auto* button = qobject_cast<QPushButton*>(gadget)) {
      EXPECT_LE(metrics.horizontalAdvance(button->text()) + padding, entry.rect.width()) << button->text().toStdString();
      EXPECT_LE(metrics.height(), entry.rect.height());
    }
    if (auto* frame = qobject_cast<QGroupBox*>(gadget)) {
      EXPECT_LT(metrics.horizontalAdvance(frame->title()), entry.rect.width());
    }
  }
  QHeaderView* header = window().lineList()->header();
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(header->sectionSize(column), kLineListColumnWidths[column]);
    QString caption = window().lineModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_LT(QFontMetrics(header->font()).horizontalAdvance(caption), kLineListColumnWidths[column]);
  }
}

TEST_F(SessionTest, TheMenuHoldsTheCommandsInTheirOrder) {
  StoreSettings("", {"/stories/a&b.tlwdlg", "", "C:\\old\\c.tlwdlg"});
  Start();
  QStringList titles;
  for (QAction* action : window().menuBar()->actions()) titles << Plain(action->text());
  EXPECT_EQ(titles, (QStringList{"File", "Edit", "Dialogue", "Help"}));
  EXPECT_EQ(Describe(*window().findChild<QMenu*>("fileMenu")),
            "New#0|Load dialogue#1|Save dialogue#2|Save as ...#3|-|Load character list#4|Save character list#5|-|"
            "Export WME script#6|Export Vexa Script#7|Export text#8|Export recording script#111|Export string table#115|-|..\\ab.tlwdlg#17|..\\c.tlwdlg#19|-|Quit#9");
  EXPECT_EQ(window().action(kCommandRecentFile1)->text(), "..\\a&&b.tlwdlg");  // shown as "a&b", no mnemonic
  EXPECT_EQ(Describe(*window().findChild<QMenu*>("editMenu")), "Undo#103|Redo#104|-|Cut#10|Copy#11|Paste#12|Delete#13|-|Find...#107|Replace...#108|Find next#109|"
            "Find previous#110");
  EXPECT_EQ(Describe(*window().findChild<QMenu*>("dialogueMenu")), "Play#105|Problems#106|Statistics#112|Branch map#113|Localisation#0|Spelling#0");
  EXPECT_EQ(Describe(*window().findChild<QMenu*>("localisationMenu")),
            "Assign keys...#114|Add translation to check...#116|Stop checking translations#117");
  EXPECT_EQ(Describe(*window().findChild<QMenu*>("helpMenu")), "Help#14|About#15|-|Associate files#16");
  EXPECT_EQ(window().statusBar()->currentMessage(), "");
}

TEST_F(SessionTest, CommandsHaveTheirShortcuts) {
  Start();
  struct Case {
    int command;
    QKeySequence key;
  };
  const Case cases[] = {
      {kCommandCut, QKeySequence("Ctrl+X")},
      {kCommandCopy, QKeySequence("Ctrl+C")},
      {kCommandPaste, QKeySequence("Ctrl+V")},
      {kCommandMoveUp, QKeySequence("Ctrl+Up")},
      {kCommandMoveDown, QKeySequence("Ctrl+Down")},
      {kCommandDelete, QKeySequence(Qt::Key_Delete)},
      {kCommandNew, QKeySequence(QKeySequence::New)},
      {kCommandLoadDialogue, QKeySequence(QKeySequence::Open)},
      {kCommandSave, QKeySequence(QKeySequence::Save)},
      {kCommandQuit, QKeySequence("Ctrl+Q")},
      {kCommandSaveAs, QKeySequence("Ctrl+Shift+S")},
      {kCommandHelp, QKeySequence("F1")},
      {kCommandUndo, QKeySequence("Ctrl+Z")},
      {kCommandRedo, QKeySequence("Ctrl+Shift+Z")},
      {kCommandRedo, QKeySequence("Ctrl+Y")},
      {kCommandPlay, QKeySequence("F5")},
      {kCommandProblems, QKeySequence("F8")},
      {kCommandFind, QKeySequence("Ctrl+F")},
      {kCommandReplace, QKeySequence("Ctrl+H")},
      {kCommandFindNext, QKeySequence("F3")},
      {kCommandFindPrevious, QKeySequence("Shift+F3")},
  };
  for (const Case& c : cases) EXPECT_TRUE(window().action(c.command)->shortcuts().contains(c.key)) << c.command;
  for (int i = 0; i < 4; ++i) {
    QPushButton* button = window().button(kGadgetTalkline + i);
    EXPECT_EQ(button->shortcut(), QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
    EXPECT_TRUE(button->toolTip().endsWith(QStringLiteral("(Ctrl+%1)").arg(i + 1))) << button->toolTip().toStdString();
  }
}

TEST_F(SessionTest, KeysInsertMoveCutPasteAndDeleteLines) {
  Start();
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QTreeView* list = window().lineList();
  list->setFocus();
  // A button's shortcut clicks it the way a mouse would, pressed and then released.
  int lines = 0;
  for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4}) {
    QTest::keyClick(list, key, Qt::ControlModifier);
    ++lines;
    ASSERT_TRUE(QTest::qWaitFor([&] { return document().branch(0).lineCount == lines; }));
  }
  EXPECT_EQ(Lines(), "Talkline:|Codeline:|Remark:|Responseblock:");
  EXPECT_EQ(document().branch(0).lines[3].blockId, 1);

  SelectRows({1});
  QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(Lines(), "Talkline:|Remark:|Codeline:|Responseblock:");
  EXPECT_EQ(window().selectedLineRows(), (RowSelection{2}));
  QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
  QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(Lines(), "Codeline:|Talkline:|Remark:|Responseblock:");

  SelectRows({0, 2});
  QTest::keyClick(list, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Lines(), "Talkline:|Responseblock:");
  SelectRows({1});
  QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Lines(), "Talkline:|Codeline:|Remark:|Responseblock:");

  SelectRows({0, 3});
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(Lines(), "Codeline:|Remark:");
  EXPECT_EQ(title(), "Tellwright -  *");

  // Keys meant for a text field stay there.
  SelectRows({0});
  window().projectField()->setFocus();
  QTest::keyClick(window().projectField(), Qt::Key_Delete);
  QTest::keyClick(window().projectField(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Lines(), "Codeline:|Remark:");
}

TEST_F(SessionTest, EditDeleteActsAsTheDeleteKeyOnlyForTheFocusedLineList) {
  Start();
  for (int i = 0; i < 3; ++i) Click(kGadgetRemark);
  SelectRows({1});
  window().characterList()->setFocus();
  Trigger(kCommandDelete);
  EXPECT_EQ(Lines(), "Remark:|Remark:|Remark:");
  window().lineList()->setFocus();
  Trigger(kCommandDelete);
  EXPECT_EQ(Lines(), "Remark:|Remark:");
}

TEST_F(SessionTest, InsertButtonsPutTheLineAtTheFirstSelectedRow) {
  Start();
  Click(kGadgetCodeline);
  Click(kGadgetRemark);
  Click(kGadgetCodeline);
  SelectRows({1, 2});
  Click(kGadgetResponseblock);
  Click(kGadgetResponseblock);  // the refresh dropped the selection: appended
  EXPECT_EQ(Lines(), "Codeline:|Responseblock:|Remark:|Codeline:|Responseblock:");
  EXPECT_EQ(document().branch(0).lines[1].blockId, 1);
  EXPECT_EQ(document().branch(0).lines[4].blockId, 2);
  EXPECT_TRUE(window().selectedLineRows().empty());
}

TEST_F(SessionTest, AFullBranchRefusesTheInsertInAnErrorBox) {
  Start();
  DialogueDocument full;
  DialogueBranch& branch = full.editBranch(0);
  for (int i = 0; i < kLinesPerBranch; ++i) branch.lines.slot(i) = {"Remark", "", "r", "", 0};
  branch.lineCount = kLinesPerBranch;
  session->replaceDocument(std::move(full));
  QString titleBefore = title();
  Click(kGadgetTalkline);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "Error");
  EXPECT_EQ(document().branch(0).lineCount, kLinesPerBranch);
  EXPECT_EQ(document().changed, 0);
  EXPECT_EQ(title(), titleBefore);
}

TEST_F(SessionTest, RowsAreColouredByKind) {
  Start();
  for (int gadget : {kGadgetTalkline, kGadgetCodeline, kGadgetRemark, kGadgetResponseblock}) Click(gadget);
  const QColor colours[] = {{0, 0, 170}, {0, 0, 0}, {0, 170, 0}, {170, 0, 0}};
  LineListModel* model = window().lineModel();
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(model->data(model->index(row, column), Qt::ForegroundRole).value<QColor>(), colours[row]) << row;
}

TEST_F(SessionTest, DoubleClickingACharacterGivesItToTheSelectedLines) {
  // Two characters whose entries read the same; the row tells them apart.
  WriteBytes(temp.file("cast.tlwchr"), "A (b\nc)\nA\nb (c)\nCook\ncook\n");
  Start();
  dialogs.files.push_back(QString::fromStdString(temp.file("cast.tlwchr")));
  Trigger(kCommandLoadCharacterList);
  QListWidget* characters = window().characterList();
  ASSERT_EQ(characters->count(), 4);
  EXPECT_EQ(characters->item(1)->text(), characters->item(2)->text());

  Click(kGadgetTalkline);
  Click(kGadgetCodeline);
  Click(kGadgetTalkline);
  auto doubleClick = [&](int row) {
    QRect rect = characters->visualItemRect(characters->item(row));
    // A double-click as the system delivers it: a click, then the second press.
    QTest::mouseClick(characters->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(characters->viewport(), Qt::LeftButton, {}, rect.center());
  };
  SelectRows({0, 1});
  doubleClick(2);
  EXPECT_EQ(document().branch(0).lines[0].character, "A");
  EXPECT_EQ(document().branch(0).lines[1].character, "");  // a codeline takes no character
  SelectRows({0, 2});
  doubleClick(1);
  EXPECT_EQ(document().branch(0).lines[0].character, "A (b");
  EXPECT_EQ(document().branch(0).lines[2].character, "A (b");
  SelectRows({0});
  doubleClick(0);  // "None"
  EXPECT_EQ(document().branch(0).lines[0].character, "");
}

TEST_F(SessionTest, DelAsksAndDeletesTheSelectedCharacter) {
  Start();
  dialogs.files.push_back(QString::fromStdString(ExampleCast()));
  Trigger(kCommandLoadCharacterList);
  QListWidget* characters = window().characterList();
  Click(kGadgetDeleteCharacter);  // nothing selected: nothing asked
  characters->setCurrentRow(0);
  Click(kGadgetDeleteCharacter);  // "None" is no character
  characters->setCurrentRow(2);
  dialogs.answers = {Answer::No, Answer::Yes};
  Click(kGadgetDeleteCharacter);
  EXPECT_EQ(characters->count(), 4);
  Click(kGadgetDeleteCharacter);
  EXPECT_EQ(dialogs.trace(), "open:Open character list|yesno:Delete character|yesno:Delete character");
  EXPECT_EQ(dialogs.calls[1].text, "Are you sure you want to delete character 'Mara'?");
  ASSERT_EQ(characters->count(), 3);
  EXPECT_EQ(characters->item(2)->text(), "Tobin (fisher_tobin)");
  EXPECT_EQ(document().changed, 1);
}

TEST_F(SessionTest, TheBranchSelectorChoosesAddsAndRenamesBranches) {
  Start({QString::fromStdString(ExampleProject())});
  BranchSelector* selector = window().branchSelector();
  ASSERT_EQ(selector->count(), 4);
  std::string linkedName = document().branch(1).name.str();

  selector->setCurrentIndex(1);
  emit selector->activated(1);  // as a pick from the drop-down
  EXPECT_EQ(document().currentBranch, 1);
  EXPECT_EQ(window().lineModel()->shownBranch(), 1);
  EXPECT_EQ(title(), "Tellwright - lighthouse.tlwdlg *");  // choosing a branch counts as a change

  // As a person types: a click into the field, its text selected, the name
  // typed and Return pressed, every key going to the widget with the focus.
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QLineEdit* field = selector->lineEdit();
  QTest::mouseClick(field, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }));
  auto typeKey = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  };
  typeKey(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(QApplication::focusWidget(), "Harbour");
  typeKey(Qt::Key_Return);
  EXPECT_EQ(document().branch(1).name, "Harbour");
  EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo Rename branch");
  EXPECT_EQ(selector->itemText(1), "Harbour");
  EXPECT_EQ(selector->currentIndex(), 1);
  int links = 0;
  for (int slot = 0; slot < kBlockSlots; ++slot)
    for (int r = 0; r < kResponsesPerBlock; ++r) {
      const Text& link = document().responseBlocks[slot].responses[r].linkBranch;
      EXPECT_NE(link, linkedName);
      links += link == "Harbour";
    }
  EXPECT_GT(links, 0);

  struct Refused {
    QString typed;
    const char* says;
  };
  for (const Refused& refused : {Refused{"", "needs a name"}, Refused{"Tower\u03a9", "U+03A9"}}) {
    dialogs.calls.clear();
    field->setText(refused.typed);
    typeKey(Qt::Key_Return);
    EXPECT_EQ(document().branch(1).name, "Harbour");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(refused.says)) << dialogs.messages()[0].text.toStdString();
  }
  // Enter on the keypad renames as Return does.
  for (const char* name : {"Harbour2", "Harbour"}) {
    typeKey(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), name);
    typeKey(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(document().branch(1).name, name);
  }

  // A typed name that another branch has does not switch to that branch.
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  field->setFocus();
  field->setText(selector->itemText(0));
  window().lineList()->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window().lineList()->hasFocus(); }));
  EXPECT_EQ(document().currentBranch, 1);
  EXPECT_EQ(window().lineModel()->shownBranch(), 1);

  Click(kGadgetAddBranch);
  EXPECT_EQ(document().lastBranchIndex, 4);
  EXPECT_EQ(selector->count(), 5);
  EXPECT_EQ(selector->currentText(), "Unnamed");
  EXPECT_EQ(window().lineModel()->rowCount(), 0);
}

// Where a field drawn with its text differs from the same field drawn
// empty: the pixels of the text.
QRect TextPixels(QLineEdit* field) {
  const QString text = field->text();
  QSignalBlocker quiet(field);
  QImage shown = field->grab().toImage();
  field->setText(QString());
  QImage empty = field->grab().toImage();
  field->setText(text);
  QRect pixels;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) != empty.pixel(x, y)) pixels |= QRect(x, y, 1, 1);
  return pixels;
}

// The branch selector and the "Current project" field show the project's
// texts in letters of their whole height. A font whose lines are taller than
// the field (as the first font Qt finds on a system without its usual one may
// be) puts the text outside, and the fields look empty.
TEST_F(SessionTest, TheOneLineFieldsShowTheProjectsBranchAndEngineProject) {
  Start({QString::fromStdString(ExampleProject())});
  window().lineList()->setFocus();  // no text cursor in the fields
  struct Field {
    QLineEdit* field;
    QString text;
  };
  const Field fields[] = {{window().branchSelector()->lineEdit(), QStringLiteral("Lighthouse_Greeting")},
                          {window().projectField(), QStringLiteral("C:\\Games\\Lighthouse\\lighthouse.wpr")}};
  for (const Field& f : fields) {
    // The font Qt found names the cause when the text is out of sight.
    SCOPED_TRACE(f.text.toStdString() + " in " + QFontInfo(f.field->font()).family().toStdString());
    EXPECT_EQ(f.field->text(), f.text);
    QRect pixels = TextPixels(f.field);
    QFontMetrics metrics(f.field->font());
    EXPECT_GE(pixels.height(), metrics.capHeight());
    EXPECT_GE(pixels.width(), metrics.horizontalAdvance(f.text) / 2);
  }
}

TEST_F(SessionTest, ChooseProjectPutsThePickedFileIntoTheField) {
  StoreSettings("C:\\Games\\Demo\\demo.wpr", {});
  Start();
  EXPECT_EQ(window().projectField()->text(), "C:\\Games\\Demo\\demo.wpr");
  dialogs.files = {QString(), "/games/caf\u00e9/caf\u00e9.vexapro", "/games/\u0416/x.wpr"};
  for (int i = 0; i < 3; ++i) Click(kGadgetChooseProject);
  EXPECT_EQ(dialogs.calls[0].title, "Choose a project file");
  EXPECT_EQ(dialogs.calls[0].text, "C:\\Games\\Demo\\demo.wpr");
  EXPECT_EQ(dialogs.calls[0].filter, "WME project|*.wpr|Vexa project|*.vexapro");
  EXPECT_EQ(document().engineProjectPath, "/games/caf\xe9/caf\xe9.vexapro");  // stored as Windows-1252
  EXPECT_EQ(window().projectField()->text(), "/games/caf\u00e9/caf\u00e9.vexapro");
  ASSERT_EQ(dialogs.messages().size(), 1u);  // a path Windows-1252 cannot hold is refused
  EXPECT_TRUE(dialogs.messages()[0].text.contains("U+0416"));
  EXPECT_EQ(document().changed, 1);
}

TEST_F(SessionTest, TextsSurviveShowingAndSavingByteForByte) {
  // Every byte Windows-1252 leaves undefined, and some it defines.
  std::string odd = "\x80\x81\x8D\x8F\x90\x9D\xE9\xA7";
  DialogueDocument original;
  original.editBranch(0).name = "Start" + odd;
  original.editBranch(0).lines.slot(0) = {"Talkline", "Ann" + odd, "Say " + odd, "v\\" + odd + ".ogg", 0};
  original.editBranch(0).lineCount = 1;
  original.engineProjectPath = "C:\\" + odd + ".wpr";
  ASSERT_TRUE(SaveProject(original, temp.file("odd.tlwdlg")));
  std::string bytes = ReadBytes(temp.file("odd.tlwdlg"));

  Start({QString::fromStdString(temp.file("odd.tlwdlg"))});
  EXPECT_EQ(window().branchSelector()->currentText(),
            QString::fromUtf8("Start\u20ac\u0081\u008d\u008f\u0090\u009d\u00e9\u00a7"));
  // Renaming to the shown text and committing the shown project path keep every byte.
  QTest::keyClick(window().branchSelector()->lineEdit(), Qt::Key_Return);
  window().projectField()->setText(window().projectField()->text());
  dialogs.files.push_back(QString::fromStdString(temp.file("again.tlwdlg")));
  Trigger(kCommandSaveAs);
  EXPECT_EQ(ReadBytes(temp.file("again.tlwdlg")), bytes);
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.trace();
}

TEST_F(SessionTest, KeyboardAndScreenReaderReachEveryControl) {
  Start();
  std::vector<QWidget*> reached;
  QWidget* first = window().gadget(kGadgetTalkline);
  QWidget* widget = first;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(&window()) && widget->window() == &window())
      reached.push_back(widget);
    widget = widget->nextInFocusChain();
  } while (widget != first);
  for (const GadgetSpec& entry : MainWindowGadgets()) {
    QWidget* gadget = window().gadget(entry.id);
    EXPECT_FALSE(gadget->accessibleName().isEmpty()) << entry.id;
    if (entry.kind == GadgetKind::Frame) continue;
    QWidget* focusTarget = gadget->focusProxy() ? gadget->focusProxy() : gadget;
    EXPECT_NE(std::find(reached.begin(), reached.end(), focusTarget), reached.end()) << "gadget " << entry.id;
  }
  EXPECT_EQ(window().lineList()->accessibleName(), "Dialogue lines");
  EXPECT_EQ(window().characterList()->accessibleName(), "Characters");
  EXPECT_EQ(window().branchSelector()->accessibleName(), "Dialogue branches");
  EXPECT_EQ(window().projectField()->accessibleName(), "Current project");
}

TEST_F(SessionTest, AssociateFilesRegistersTheProgramForTheUser) {
  Start();
  Trigger(kCommandAssociate);
  // The shell's keys name the running program (here the test program) and
  // the icon beside it.
  std::string program = RunningProgramPath().value_or("");
  RecordingReporter reporter;
  Registry registry(store, reporter);
  EXPECT_EQ(registry.RegReadValue(RegistryRoot::ClassesRoot, "FileType_tlwdlg\\shell\\open\\command", ""),
            "\"" + program + "\" \"%1\"");
  EXPECT_EQ(registry.RegReadValue(RegistryRoot::ClassesRoot, "FileType_tlwdlg\\DefaultIcon", ""),
            AssociationIconPath(program));
  // Where the desktop does not read the registry, its own files too.
  EXPECT_EQ(std::filesystem::exists(temp.file("data/applications/tellwright.desktop")), kDesktopIntegrationByDefault);
  EXPECT_EQ(std::filesystem::exists(temp.file("data/mime/packages/tellwright.xml")), kDesktopIntegrationByDefault);
  ASSERT_FALSE(dialogs.calls.empty());
  EXPECT_EQ(dialogs.calls.back().kind, "information") << dialogs.trace();
}

}  // namespace
}  // namespace tellwright::testing
