#include "editing/line_slots.h"

#include <gtest/gtest.h>

#include "editing_fixtures.h"

namespace tellwright {
namespace {

using testing::Line;
using testing::Texts;
using testing::WithLines;

struct CompactCase {
  const char* name;
  const char* lines;  // "_" marks a free slot
  int lineCount;      // the count as stored, may differ from the words
  const char* expected;
  int removed;
};

class CompactTest : public ::testing::TestWithParam<CompactCase> {};

TEST_P(CompactTest, KeepsOrderAndCountsKeptLines) {
  const CompactCase& c = GetParam();
  DialogueDocument document = WithLines(c.lines);
  DialogueBranch& branch = document.editBranch(0);
  branch.lineCount = c.lineCount;
  EXPECT_EQ(CompactBranch(branch), c.removed);
  EXPECT_EQ(Texts(document), c.expected);
  for (int i = branch.lineCount; i < c.lineCount; ++i) EXPECT_TRUE(branch.lines[i].empty()) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompactTest,
    ::testing::Values(CompactCase{"NothingFree", "a b c", 3, "a b c", 0},
                      CompactCase{"FreeInMiddle", "a _ b _ c", 5, "a b c", 2},
                      CompactCase{"AllFree", "_ _ _", 3, "", 3},
                      CompactCase{"FreeAtStart", "_ a b", 3, "a b", 1},
                      // A loaded count larger than the lines: the free rows go.
                      CompactCase{"CountPastLines", "a b _ _", 4, "a b", 2},
                      // Lines stored beyond a too small count stay out of view
                      // instead of being pulled in behind a gap.
                      CompactCase{"LinesBeyondCount", "a _ b c d", 3, "a b", 1},
                      CompactCase{"NegativeCount", "a b", -4, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineSlotsTest, CompactLeavesSlotsBeyondTheOldCountAlone) {
  DialogueDocument document = WithLines("a _ b c d");
  DialogueBranch& branch = document.editBranch(0);
  branch.lineCount = 3;
  CompactBranch(branch);
  EXPECT_TRUE(branch.lines[2].empty());
  EXPECT_EQ(branch.lines[3].text, "c");
  EXPECT_EQ(branch.lines[4].text, "d");
}

struct RoomCase {
  const char* name;
  const char* lines;
  int at;
  int n;
  const char* expected;
};

class MakeRoomTest : public ::testing::TestWithParam<RoomCase> {};

TEST_P(MakeRoomTest, OpensEmptyLinesAtThePlace) {
  const RoomCase& c = GetParam();
  DialogueDocument document = WithLines(c.lines);
  ASSERT_TRUE(MakeRoom(document.editBranch(0), c.at, c.n));
  EXPECT_EQ(Texts(document), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MakeRoomTest,
                         ::testing::Values(RoomCase{"AtStart", "a b c", 0, 2, "_ _ a b c"},
                                           RoomCase{"InMiddle", "a b c", 1, 1, "a _ b c"},
                                           RoomCase{"AtEnd", "a b c", 3, 2, "a b c _ _"},
                                           RoomCase{"MoreThanTheTail", "a b c", 2, 3, "a b _ _ _ c"},
                                           RoomCase{"Nothing", "a b", 1, 0, "a b"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineSlotsTest, MakeRoomDoesNotBringBackLinesStoredBeyondTheCount) {
  DialogueDocument document = WithLines("a b c d");
  document.editBranch(0).lineCount = 2;  // c and d are leftovers past the count
  ASSERT_TRUE(MakeRoom(document.editBranch(0), 0, 2));
  EXPECT_EQ(Texts(document), "_ _ a b");
}

TEST(LineSlotsTest, MakeRoomRefusesWhatWouldPassTheTableAndChangesNothing) {
  DialogueDocument document;
  DialogueBranch& branch = document.editBranch(0);
  for (int i = 0; i < 998; ++i) branch.lines.slot(i) = Line("Codeline", std::to_string(i));
  branch.lineCount = 998;
  DialogueBranch before = branch;

  Status full = MakeRoom(branch, 5, 3);
  EXPECT_FALSE(full);
  EXPECT_NE(full.message.find("1000"), std::string::npos);
  EXPECT_FALSE(MakeRoom(branch, 999, 1));  // past the last line
  EXPECT_FALSE(MakeRoom(branch, -1, 1));
  EXPECT_FALSE(MakeRoom(branch, 0, -1));
  EXPECT_EQ(branch, before);

  EXPECT_TRUE(MakeRoom(branch, 998, 2));
  EXPECT_EQ(branch.lineCount, 1000);
}

TEST(LineSlotsTest, SwapExchangesAllFieldsAndClearKeepsTheBlock) {
  DialogueDocument document;
  document.responseBlocks.slot(1).id = 7;
  DialogueBranch& branch = document.editBranch(0);
  branch.lines.slot(0) = DialogueLine{"Talkline", "Joe", "Hi", "hi.ogg", 0};
  branch.lines.slot(1) = DialogueLine{"Responseblock", "Ann", "", "", 7};
  branch.lineCount = 2;

  SwapLines(branch, 0, 1);
  EXPECT_EQ(branch.lines[0], (DialogueLine{"Responseblock", "Ann", "", "", 7}));
  EXPECT_EQ(branch.lines[1], (DialogueLine{"Talkline", "Joe", "Hi", "hi.ogg", 0}));

  ClearLine(branch, 0);
  EXPECT_EQ(branch.lines[0], DialogueLine{});
  EXPECT_EQ(document.responseBlocks[1].id, 7);
}

}  // namespace
}  // namespace tellwright
