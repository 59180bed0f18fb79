#include "editing/response_commands.h"

#include <gtest/gtest.h>

#include "editing_fixtures.h"

namespace tellwright {
namespace {

using testing::MoveCase;

constexpr int kSlot = 3;

Response Said(std::string text, int32_t visibility = kAlways, int32_t leaveLoop = 0) {
  Response response = NewResponse();
  response.text = std::move(text);
  response.visibility = visibility;
  response.leaveLoop = leaveLoop;
  return response;
}

// A block in slot kSlot with id 9 holding one response per word.
DialogueDocument WithResponses(const std::string& texts) {
  DialogueDocument document;
  ResponseBlock& block = document.responseBlocks.slot(kSlot);
  block.id = 9;
  std::vector<std::string> words = testing::Words(texts);
  for (size_t i = 0; i < words.size(); ++i) block.responses.slot(static_cast<int>(i)) = Said(words[i]);
  return document;
}

std::string Texts(const DialogueDocument& document) {
  std::string out;
  for (const ResponseRow& row : ResponseRows(document, kSlot)) out += (out.empty() ? "" : " ") + row.text;
  return out;
}

DialogueDocument FullBlock() {
  DialogueDocument document;
  ResponseBlock& block = document.responseBlocks.slot(kSlot);
  block.id = 9;
  for (int i = 0; i < kResponsesPerBlock; ++i) block.responses.slot(i) = Said("r" + std::to_string(i));
  return document;
}

TEST(ResponseRowsTest, ShowVisibilityAndLeaveLoop) {
  DialogueDocument document;
  ResponseBlock& block = document.responseBlocks.slot(kSlot);
  block.id = 9;
  block.responses.slot(0) = Said("a", kAlways);
  block.responses.slot(1) = Said("b", kOnce, 1);
  block.responses.slot(2) = Said("c", kOnceGame);
  block.responses.slot(3) = Said("d", 7);
  block.responses.slot(3).conditions = "hasKey";
  block.responses.slot(3).linkBranch = "Shop";
  block.responses.slot(5) = Said("after the end");
  std::vector<ResponseRow> rows = ResponseRows(document, kSlot);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].visibility, "Always");
  EXPECT_EQ(rows[1].visibility, "Once");
  EXPECT_EQ(rows[2].visibility, "Once game");
  EXPECT_EQ(rows[3].visibility, "");
  EXPECT_FALSE(rows[0].darkRed);
  EXPECT_TRUE(rows[1].darkRed);
  EXPECT_EQ(rows[3].conditions, "hasKey");
  EXPECT_EQ(rows[3].linkBranch, "Shop");
}

TEST(NewResponseTest, SaysTheResponseAndStaysInTheLoop) {
  Response response = NewResponse();
  EXPECT_EQ(response, (Response{"", "", "", kAlways, 0, 1}));
}

TEST(AddResponseTest, FillsTheFirstFreeSlot) {
  DialogueDocument document = WithResponses("a b");
  EXPECT_TRUE(AddResponse(document, kSlot, Said("c")).changed);
  EXPECT_EQ(Texts(document), "a b c");
  EditResult empty = AddResponse(document, kSlot, Said(""));
  EXPECT_FALSE(empty.changed);
  EXPECT_EQ(empty.status.message, kEmptyResponseMessage);
  EXPECT_EQ(Texts(document), "a b c");
}

TEST(AddResponseTest, AFullBlockIsRefusedWithoutOverwriting) {
  DialogueDocument document = FullBlock();
  DialogueDocument before = document;
  EXPECT_FALSE(CheckRoomForResponse(document, kSlot));
  EditResult result = AddResponse(document, kSlot, Said("one more"));
  EXPECT_FALSE(result.changed);
  EXPECT_EQ(result.status.message, "The responseblock is full: a responseblock holds at most 100 responses.");
  EXPECT_EQ(document.responseBlocks[kSlot], before.responseBlocks[kSlot]);
}

TEST(ResponseCommandsTest, OnlyBlocksInUseAreEdited) {
  DialogueDocument document = WithResponses("a");
  for (int slot : {0, -1, 500, 501}) {
    EXPECT_FALSE(CheckRoomForResponse(document, slot)) << slot;
    EXPECT_FALSE(AddResponse(document, slot, Said("x")).status) << slot;
    EXPECT_FALSE(EditResponse(document, slot, 0, Said("x")).changed) << slot;
    EXPECT_FALSE(DeleteResponses(document, slot, {0}).changed) << slot;
    EXPECT_FALSE(MoveResponsesUp(document, slot, {0}).changed) << slot;
    EXPECT_TRUE(ResponseRows(document, slot).empty()) << slot;
  }
  EXPECT_EQ(document.responseBlocks.stored(), kSlot + 1);
  EXPECT_EQ(document.responseBlocks[0], ResponseBlock{});
}

TEST(EditResponseTest, StoresAllFieldsOrNothing) {
  DialogueDocument document = WithResponses("a b");
  Response changed{"B", "hasKey", "Shop", kOnceGame, 1, 0};
  EXPECT_TRUE(EditResponse(document, kSlot, 1, changed).changed);
  EXPECT_EQ(document.responseBlocks[kSlot].responses[1], changed);
  EditResult again = EditResponse(document, kSlot, 1, changed);  // the same again: nothing to mark
  EXPECT_FALSE(again.changed);
  EXPECT_TRUE(again.status);

  for (Response refused : {Response{"", "x", "", 0, 0, 0}, Response{"a\nb", "", "", 0, 0, 0}}) {
    EditResult result = EditResponse(document, kSlot, 0, refused);
    EXPECT_FALSE(result.changed);
    EXPECT_FALSE(result.status);
  }
  EXPECT_EQ(EditResponse(document, kSlot, 0, Response{}).status.message, kEmptyResponseMessage);
  EXPECT_FALSE(EditResponse(document, kSlot, 2, Said("past the end")).changed);
  EXPECT_EQ(Texts(document), "a B");
}

struct DeleteCase {
  const char* name;
  RowSelection rows;
  const char* expected;
  bool changed;
};

class DeleteResponsesTest : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteResponsesTest, LaterResponsesMoveUp) {
  DialogueDocument document = WithResponses("a b c d");
  EditResult result = DeleteResponses(document, kSlot, GetParam().rows);
  EXPECT_EQ(result.changed, GetParam().changed);
  EXPECT_EQ(Texts(document), GetParam().expected);
  const ResponseBlock& block = document.responseBlocks[kSlot];
  for (int i = block.usedResponses(); i < 4; ++i) EXPECT_EQ(block.responses[i], Response{}) << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteResponsesTest,
                         ::testing::Values(DeleteCase{"First", {0}, "b c d", true},
                                           DeleteCase{"Middle", {2}, "a b d", true},
                                           DeleteCase{"Last", {3}, "a b c", true},
                                           DeleteCase{"Several", {3, 0, 0}, "b c", true},
                                           DeleteCase{"Everything", {0, 1, 2, 3}, "", true},
                                           DeleteCase{"None", {}, "a b c d", false},
                                           // A row past the block must not empty the last response.
                                           DeleteCase{"StaleRow", {4}, "a b c d", false},
                                           DeleteCase{"FarStaleRow", {99}, "a b c d", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeleteResponsesTest, WorksInAFullBlock) {
  DialogueDocument document = FullBlock();
  EXPECT_TRUE(DeleteResponses(document, kSlot, {0}).changed);
  const ResponseBlock& block = document.responseBlocks[kSlot];
  EXPECT_EQ(block.usedResponses(), 99);
  EXPECT_EQ(block.responses[0].text, "r1");
  EXPECT_EQ(block.responses[98].text, "r99");
  EXPECT_EQ(block.responses[99], Response{});
  EXPECT_TRUE(DeleteResponses(document, kSlot, {98}).changed);
  EXPECT_EQ(block.usedResponses(), 98);
}

TEST(DeleteResponsesTest, TheOnlyResponseLeavesAnEmptyBlock) {
  DialogueDocument document = WithResponses("a");
  EXPECT_TRUE(DeleteResponses(document, kSlot, {0}).changed);
  EXPECT_EQ(document.responseBlocks[kSlot].id, 9);
  EXPECT_EQ(document.responseBlocks[kSlot].usedResponses(), 0);
}

class MoveResponsesTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveResponsesTest, FollowsTheMarksRule) {
  const MoveCase& c = GetParam();
  DialogueDocument document = WithResponses("a b c");
  EditResult result = c.up ? MoveResponsesUp(document, kSlot, c.rows) : MoveResponsesDown(document, kSlot, c.rows);
  EXPECT_TRUE(result.changed);  // also when nothing could move, as the list is refilled
  EXPECT_EQ(Texts(document), c.expected);
  EXPECT_EQ(result.selectRows, c.reselected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveResponsesTest,
                         ::testing::Values(MoveCase{"Up", true, {2}, "a c b", {1}},
                                           MoveCase{"UpFirst", true, {0}, "a b c", {0}},
                                           MoveCase{"Down", false, {0}, "b a c", {1}},
                                           MoveCase{"DownLast", false, {2}, "a b c", {2}},
                                           // A row past the block would open a hole in it.
                                           MoveCase{"DownStale", false, {2, 3}, "a b c", {2}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MoveResponsesTest, WithoutAValidRowNothingHappens) {
  DialogueDocument document = WithResponses("a b c");
  EXPECT_FALSE(MoveResponsesUp(document, kSlot, {}).changed);
  EXPECT_FALSE(MoveResponsesUp(document, kSlot, {3}).changed);
  EXPECT_EQ(Texts(document), "a b c");
}

TEST(BlocksOfSelectedLinesTest, OpensExistingBlocksOfResponseblockLines) {
  DialogueDocument document = WithResponses("a");
  document.responseBlocks.slot(5).id = 4;
  DialogueBranch& branch = document.editBranch(0);
  branch.lines.slot(0) = testing::Line("Responseblock", "", "", 4);
  branch.lines.slot(1) = testing::Line("Talkline", "hi");
  branch.lines.slot(2) = testing::Line("Responseblock", "", "", 9);
  branch.lines.slot(3) = testing::Line("Responseblock", "", "", 0);   // would find a free slot
  branch.lines.slot(4) = testing::Line("Responseblock", "", "", 77);  // block gone
  branch.lines.slot(5) = testing::Line("Codeline", "", "", 9);
  branch.lineCount = 6;
  EXPECT_EQ(BlocksOfSelectedLines(document, {5, 4, 3, 2, 1, 0, 0, 6}), (std::vector<int>{5, kSlot}));
}

}  // namespace
}  // namespace tellwright
