#include "editing/line_commands.h"
#include "editing/line_slots.h"

#include <gtest/gtest.h>

#include "editing_fixtures.h"

namespace tellwright {
namespace {

using testing::CurrentLines;
using testing::Line;
using testing::MoveCase;
using testing::Texts;
using testing::WithLines;

constexpr LineListState kFocused{true, false};
constexpr LineListState kUnfocused{false, false};
constexpr LineListState kEditing{true, true};

DialogueDocument FullBranch() {
  DialogueDocument document;
  DialogueBranch& branch = document.editBranch(0);
  for (int i = 0; i < kLinesPerBranch; ++i) branch.lines.slot(i) = Line("Remark", std::to_string(i));
  branch.lineCount = kLinesPerBranch;
  return document;
}

// --- InsertLine ---------------------------------------------------------

struct InsertCase {
  const char* name;
  RowSelection rows;
  int expectedRow;
};

class InsertLineTest : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertLineTest, GoesToTheFirstSelectedRowOrTheEnd) {
  DialogueDocument document = WithLines("l0 l1 l2 l3 l4 l5 l6 l7 l8 l9");
  EditResult result = InsertLine(document, kCodeline, GetParam().rows);
  ASSERT_TRUE(result.changed);
  const DialogueBranch& branch = document.branch(0);
  EXPECT_EQ(branch.lines[GetParam().expectedRow], Line("Codeline", ""));
  std::vector<std::string> expected = testing::Words("l0 l1 l2 l3 l4 l5 l6 l7 l8 l9");
  expected.insert(expected.begin() + GetParam().expectedRow, "Codeline");
  std::string joined;
  for (const std::string& word : expected) joined += (joined.empty() ? "" : " ") + word;
  EXPECT_EQ(Texts(document), joined);
}

INSTANTIATE_TEST_SUITE_P(Cases, InsertLineTest,
                         ::testing::Values(InsertCase{"NoSelection", {}, 10},
                                           InsertCase{"Rows3And7", {3, 7}, 3},
                                           InsertCase{"UnsortedAndRepeated", {7, 3, 7}, 3},
                                           InsertCase{"FirstRow", {0}, 0},
                                           InsertCase{"LastRow", {9}, 9},
                                           // Rows the list no longer has count as no selection.
                                           InsertCase{"OnlyStaleRows", {10, 42, -1}, 10},
                                           InsertCase{"StaleAndValid", {42, 5}, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InsertLineTest, KeepsTheOtherLinesInOrder) {
  DialogueDocument document = WithLines("a b c d e f g h");
  InsertLine(document, kTalkline, {3, 7});
  EXPECT_EQ(Texts(document), "a b c Talkline d e f g h");
}

TEST(InsertLineTest, ResponseblockLinesGetRisingBlockIds) {
  DialogueDocument document;
  ASSERT_TRUE(InsertLine(document, kResponseblock, {}).changed);
  ASSERT_TRUE(InsertLine(document, kResponseblock, {}).changed);
  const DialogueBranch& branch = document.branch(0);
  EXPECT_EQ(branch.lines[0], Line("Responseblock", "", "", 1));
  EXPECT_EQ(branch.lines[1], Line("Responseblock", "", "", 2));
  EXPECT_EQ(document.responseBlocks[1].id, 1);
  EXPECT_EQ(document.responseBlocks[2].id, 2);
}

TEST(InsertLineTest, AFullBranchRefusesAndNoBlockIsTaken) {
  DialogueDocument document = FullBranch();
  DialogueDocument before = document;
  for (std::string_view kind : {kTalkline, kResponseblock}) {
    EditResult result = InsertLine(document, kind, {4});
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(result.status.message, "The dialogue branch is full: a branch holds at most 1000 lines.");
  }
  EXPECT_EQ(document.branch(0), before.branch(0));
  EXPECT_EQ(document.responseBlocks.stored(), 0);
}

TEST(InsertLineTest, ResponseblockIsRefusedWhenEveryBlockIsInUse) {
  DialogueDocument document = WithLines("a b");
  for (int slot = 0; slot < kBlockSlots; ++slot) document.responseBlocks.slot(slot).id = slot + 1;
  EditResult result = InsertLine(document, kResponseblock, {});
  EXPECT_FALSE(result.changed);
  EXPECT_FALSE(result.status.message.empty());
  EXPECT_EQ(Texts(document), "a b");
  // The other kinds still go in.
  EXPECT_TRUE(InsertLine(document, kRemark, {}).changed);
}

TEST(InsertLineTest, RefusesAnUnknownKindAndAMissingBranch) {
  DialogueDocument document = WithLines("a");
  EXPECT_FALSE(InsertLine(document, "Talk", {}).status);
  document.currentBranch = 3;  // no such branch in use
  EXPECT_FALSE(InsertLine(document, kTalkline, {}).status);
  EXPECT_EQ(document.branch(3).lineCount, 0);
}

// --- AssignCharacter ----------------------------------------------------

struct AssignCase {
  const char* name;
  std::string_view kind;
  int row;
  const char* expected;
};

class AssignCharacterTest : public ::testing::TestWithParam<AssignCase> {};

TEST_P(AssignCharacterTest, SetsTheRealNameOnSpeakingLines) {
  const AssignCase& c = GetParam();
  DialogueDocument document;
  document.characters = {{"Joe", "actor_joe"}, {"Dr. (Evil)", "evil"}};
  CurrentLines(document).lines.slot(0) = Line(std::string(c.kind), "x", "Old");
  CurrentLines(document).lineCount = 1;
  EXPECT_TRUE(AssignCharacter(document, c.row, {0}).changed);
  EXPECT_EQ(document.branch(0).lines[0].character, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AssignCharacterTest,
                         ::testing::Values(AssignCase{"NamedOnTalkline", kTalkline, 1, "Joe"},
                                           AssignCase{"NamedOnResponseblock", kResponseblock, 1, "Joe"},
                                           AssignCase{"NamedOnCodeline", kCodeline, 1, "Old"},
                                           AssignCase{"NamedOnRemark", kRemark, 1, "Old"},
                                           AssignCase{"NoneOnCodeline", kCodeline, 0, ""},
                                           AssignCase{"NoneOnTalkline", kTalkline, 0, ""},
                                           // The whole real name, not the part before its own " (".
                                           AssignCase{"ParenthesesInName", kTalkline, 2, "Dr. (Evil)"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AssignCharacterTest, NeedsASelection) {
  DialogueDocument document = WithLines("a");
  EXPECT_FALSE(AssignCharacter(document, 0, {}).changed);
  EXPECT_FALSE(AssignCharacter(document, 0, {1}).changed);
  EXPECT_FALSE(AssignCharacter(document, 1, {0}).changed);  // a row without a character
}

// --- Cut, Copy, Paste ---------------------------------------------------

TEST(ClipboardTest, CutOfEveryLineEmptiesTheBranch) {
  DialogueDocument document = WithLines("a b c");
  LineClipboard clipboard;
  EditResult result = CutLines(document, {2, 0, 1}, kFocused, clipboard);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(document.branch(0).lineCount, 0);
  ASSERT_EQ(clipboard.lines.size(), 3u);
  EXPECT_EQ(clipboard.lines[0].text, "a");
  EXPECT_EQ(clipboard.lines[2].text, "c");
  EXPECT_TRUE(document.branch(0).lines[0].empty());
}

TEST(ClipboardTest, CutAndCopyTakeSelectedLinesInRowOrder) {
  DialogueDocument document = WithLines("a b c d");
  LineClipboard clipboard;
  CopyLines(document, {3, 1, 3, 9}, kUnfocused, clipboard);
  ASSERT_EQ(clipboard.lines.size(), 2u);
  EXPECT_EQ(clipboard.lines[0].text, "b");
  EXPECT_EQ(clipboard.lines[1].text, "d");
  EXPECT_EQ(Texts(document), "a b c d");

  CutLines(document, {2}, kUnfocused, clipboard);
  ASSERT_EQ(clipboard.lines.size(), 1u);
  EXPECT_EQ(clipboard.lines[0].text, "c");
  EXPECT_EQ(Texts(document), "a b d");
}

TEST(ClipboardTest, CopyAndCutKeepTheClipboardWhenTheyCannotRun) {
  DialogueDocument document = WithLines("a b");
  LineClipboard clipboard{{Line("Remark", "kept")}};
  CopyLines(document, {}, kFocused, clipboard);
  CopyLines(document, {0}, kEditing, clipboard);
  EXPECT_FALSE(CutLines(document, {5}, kFocused, clipboard).changed);
  EXPECT_FALSE(CutLines(document, {0}, kEditing, clipboard).changed);
  ASSERT_EQ(clipboard.lines.size(), 1u);
  EXPECT_EQ(clipboard.lines[0].text, "kept");
  EXPECT_EQ(Texts(document), "a b");
}

TEST(ClipboardTest, FreeSlotsInsideTheCountAreNotCopied) {
  DialogueDocument document = WithLines("a _ b");
  LineClipboard clipboard;
  CutLines(document, {0, 1}, kFocused, clipboard);
  ASSERT_EQ(clipboard.lines.size(), 1u);
  EXPECT_EQ(clipboard.lines[0].text, "a");
  EXPECT_EQ(Texts(document), "b");
}

struct PasteCase {
  const char* name;
  RowSelection rows;
  const char* expected;
};

class PasteTest : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PasteTest, InsertsBeforeTheFirstSelectedRowOrAppends) {
  DialogueDocument document = WithLines("a b c d");
  LineClipboard clipboard{{Line("Talkline", "x"), Line("Talkline", "y")}};
  EXPECT_TRUE(PasteLines(document, GetParam().rows, kFocused, clipboard).changed);
  EXPECT_EQ(Texts(document), GetParam().expected);
  EXPECT_EQ(clipboard.lines.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Cases, PasteTest,
                         ::testing::Values(PasteCase{"NoSelection", {}, "a b c d x y"},
                                           PasteCase{"FirstRow", {0}, "x y a b c d"},
                                           PasteCase{"Rows3And1", {3, 1}, "a x y b c d"},
                                           PasteCase{"LastRow", {3}, "a b c x y d"},
                                           PasteCase{"OnlyStaleRows", {4, 100}, "a b c d x y"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PasteTest, RepeatsAndKeepsBlockIds) {
  DialogueDocument document;
  InsertLine(document, kResponseblock, {});
  LineClipboard clipboard;
  CopyLines(document, {0}, kFocused, clipboard);
  PasteLines(document, {}, kFocused, clipboard);
  PasteLines(document, {0}, kFocused, clipboard);
  const DialogueBranch& branch = document.branch(0);
  ASSERT_EQ(branch.lineCount, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(branch.lines[i].blockId, 1) << i;
  EXPECT_EQ(document.responseBlocks[2].id, 0);  // no new block was made
}

TEST(PasteTest, DoesNothingWithoutFocusWhileEditingOrWithAnEmptyClipboard) {
  DialogueDocument document = WithLines("a");
  LineClipboard clipboard{{Line("Talkline", "x")}};
  EXPECT_FALSE(PasteLines(document, {}, kUnfocused, clipboard).changed);
  EXPECT_FALSE(PasteLines(document, {}, kEditing, clipboard).changed);
  EXPECT_FALSE(PasteLines(document, {}, kFocused, LineClipboard{}).changed);
  EXPECT_EQ(Texts(document), "a");
}

TEST(PasteTest, RefusesLinesThatWouldPassTheBranchLimit) {
  for (RowSelection rows : {RowSelection{}, RowSelection{10}}) {
    DialogueDocument document = FullBranch();
    DialogueBranch& branch = document.editBranch(0);
    ClearLine(branch, 999);
    branch.lineCount = 999;
    DialogueDocument before = document;
    LineClipboard clipboard{{Line("Talkline", "x"), Line("Talkline", "y")}};
    EditResult result = PasteLines(document, rows, kFocused, clipboard);
    EXPECT_FALSE(result.changed);
    EXPECT_NE(result.status.message.find("1000"), std::string::npos);
    EXPECT_EQ(document.branch(0), before.branch(0));
  }
}

TEST(PasteTest, TheClipboardSurvivesANewProject) {
  DialogueDocument document = WithLines("a b");
  LineClipboard clipboard;
  CopyLines(document, {1}, kFocused, clipboard);
  ResetToNewProject(document);
  EXPECT_TRUE(PasteLines(document, {}, kFocused, clipboard).changed);
  EXPECT_EQ(Texts(document), "b");
}

// --- Delete -------------------------------------------------------------

TEST(DeleteLinesTest, RemovesTheSelectedLinesUnderItsConditions) {
  DialogueDocument document = WithLines("a b c d e");
  EXPECT_FALSE(DeleteLines(document, {1}, kUnfocused).changed);
  EXPECT_FALSE(DeleteLines(document, {1}, kEditing).changed);
  EXPECT_FALSE(DeleteLines(document, {7}, kFocused).changed);
  EXPECT_EQ(Texts(document), "a b c d e");
  EXPECT_TRUE(DeleteLines(document, {4, 1, 1, 8}, kFocused).changed);
  EXPECT_EQ(Texts(document), "a c d");
}

// --- Move up and down ---------------------------------------------------

class MoveLinesTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveLinesTest, FollowsTheMarksRule) {
  const MoveCase& c = GetParam();
  DialogueDocument document = WithLines("a b c d e");
  EditResult result = c.up ? MoveLinesUp(document, c.rows, kFocused) : MoveLinesDown(document, c.rows, kFocused);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(Texts(document), c.expected);
  EXPECT_EQ(result.selectRows, c.reselected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoveLinesTest,
    ::testing::Values(MoveCase{"UpOne", true, {2}, "a c b d e", {1}},
                      MoveCase{"UpBlock", true, {2, 3}, "a c d b e", {1, 2}},
                      MoveCase{"UpRows0And1", true, {0, 1}, "b a c d e", {0, 1}},
                      MoveCase{"UpFirstRowStays", true, {0}, "a b c d e", {0}},
                      MoveCase{"UpApart", true, {1, 4}, "b a c e d", {0, 3}},
                      MoveCase{"DownOne", false, {1}, "a c b d e", {2}},
                      MoveCase{"DownBlock", false, {1, 2}, "a d b c e", {2, 3}},
                      MoveCase{"DownLastTwo", false, {3, 4}, "a b c e d", {3, 4}},
                      MoveCase{"DownLastRowStays", false, {4}, "a b c d e", {4}},
                      // Stale and repeated rows are dropped before the move.
                      MoveCase{"UpStaleRows", true, {3, 3, 9, 5}, "a b d c e", {2}},
                      MoveCase{"DownStaleRows", false, {-2, 4, 5}, "a b c d e", {4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MoveLinesTest, DoesNothingWithoutFocusSelectionOrWhileEditing) {
  DialogueDocument document = WithLines("a b c");
  EXPECT_FALSE(MoveLinesUp(document, {1}, kUnfocused).changed);
  EXPECT_FALSE(MoveLinesDown(document, {1}, kEditing).changed);
  EXPECT_FALSE(MoveLinesUp(document, {}, kFocused).changed);
  EXPECT_FALSE(MoveLinesDown(document, {3, 8}, kFocused).changed);
  EXPECT_EQ(Texts(document), "a b c");
}

TEST(MoveLinesTest, LinesStoredBeyondTheCountNeverMoveIn) {
  DialogueDocument document = WithLines("a b c");
  CurrentLines(document).lineCount = 2;
  MoveLinesDown(document, {1, 2}, kFocused);
  EXPECT_EQ(Texts(document), "a b");
  EXPECT_EQ(document.branch(0).lines[2].text, "c");
}

}  // namespace
}  // namespace tellwright
