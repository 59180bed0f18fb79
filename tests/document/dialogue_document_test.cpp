#include "document/dialogue_document.h"

#include <gtest/gtest.h>

#include <vector>

namespace tellwright {
namespace {

void PutBlock(DialogueDocument& document, int slot, int32_t id) { document.responseBlocks.slot(slot).id = id; }

TEST(DialogueDocument, NewProjectHasOneEmptyDefaultBranch) {
  DialogueDocument document;
  document.engineProjectPath = "C:\\demo.wpr";
  document.editBranch(3).name = "x";
  document.lastBranchIndex = 3;
  document.characters.push_back({"Guy", "guy"});
  PutBlock(document, 2, 9);
  document.currentFile = "a.tlwdlg";
  ResetToNewProject(document);
  EXPECT_EQ(document.lastBranchIndex, 0);
  EXPECT_EQ(document.currentBranch, 0);
  EXPECT_EQ(document.branch(0).name, "Dialog_Default");
  EXPECT_EQ(document.branch(0).lineCount, 0);
  EXPECT_EQ(document.branch(3).name, "");
  EXPECT_TRUE(document.characters.empty());
  EXPECT_FALSE(document.responseBlocks[2].inUse());
  EXPECT_EQ(document.currentFile, "");
  EXPECT_EQ(document.engineProjectPath, "C:\\demo.wpr");
}

TEST(DialogueDocument, KindsAreRecognisedByTheirFirstFourCharacters) {
  struct Case {
    const char* kind;
    LineKind expected;
  };
  const Case cases[] = {{"Talkline", LineKind::Talk},     {"Talk", LineKind::Talk},
                        {"Codeline", LineKind::Code},     {"Remark", LineKind::Remark},
                        {"Rema", LineKind::Remark},       {"Responseblock", LineKind::Response},
                        {"talkline", LineKind::Other},    {"Tal", LineKind::Other},
                        {"", LineKind::Empty},            {"Unknown", LineKind::Other}};
  for (const Case& c : cases) EXPECT_EQ(KindOf(c.kind), c.expected) << c.kind;
}

TEST(DialogueDocument, BlockIdsStartAtOneInSlotOneAndKeepRising) {
  DialogueDocument document;
  BlockAllocation first = AllocateResponseBlock(document);
  BlockAllocation second = AllocateResponseBlock(document);
  EXPECT_EQ(first.id, 1);
  EXPECT_EQ(first.slot, 1);
  EXPECT_EQ(second.id, 2);
  EXPECT_EQ(second.slot, 2);
  EXPECT_EQ(document.responseBlocks[2].id, 2);
}

TEST(DialogueDocument, NewBlockNeverOverwritesAnotherBlock) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int32_t>> blocks;  // slot, id
    int32_t expectedId;
    int expectedSlot;
    int filledBelow = 0;  // slots 0.. below this hold ids 1, 2, ... before `blocks` go in
  };
  const Case cases[] = {
      // After a reload ids 5 and 3 sit in slots 0 and 1: the slot after the
      // highest id is taken, so the first free one is used instead.
      {"slot after the highest is taken", {{0, 5}, {1, 3}}, 6, 2},
      {"slot after the highest is free", {{0, 3}, {1, 5}}, 6, 2},
      {"ties: the first slot with the highest id", {{3, 4}, {7, 4}}, 5, 4},
      {"highest in the last slot", {{0, 1}, {499, 8}}, 9, 1},
      {"gap before the highest", {{2, 1}, {3, 2}}, 3, 4},
      // Every slot but the last in use, the highest id far from it: the
      // search for a free slot has to reach slot 499.
      {"only the last slot is free", {{0, 1000}}, 1001, 499, 499},
  };
  for (const Case& c : cases) {
    DialogueDocument document;
    for (int slot = 0; slot < c.filledBelow; ++slot) PutBlock(document, slot, slot + 1);
    for (auto [slot, id] : c.blocks) PutBlock(document, slot, id);
    std::vector<int32_t> before;
    for (int slot = 0; slot < kBlockSlots; ++slot) before.push_back(document.responseBlocks[slot].id);
    BlockAllocation allocation = AllocateResponseBlock(document);
    EXPECT_TRUE(allocation.status.ok) << c.name;
    EXPECT_EQ(allocation.id, c.expectedId) << c.name;
    EXPECT_EQ(allocation.slot, c.expectedSlot) << c.name;
    before[c.expectedSlot] = c.expectedId;
    for (int slot = 0; slot < kBlockSlots; ++slot)
      EXPECT_EQ(document.responseBlocks[slot].id, before[slot]) << c.name << ", slot " << slot;
  }
}

TEST(DialogueDocument, BlockAllocationIsRefusedWhenEverySlotIsInUse) {
  DialogueDocument document;
  for (int slot = 0; slot < kBlockSlots; ++slot) PutBlock(document, slot, slot + 1);
  BlockAllocation allocation = AllocateResponseBlock(document);
  EXPECT_FALSE(allocation.status.ok);
  EXPECT_NE(allocation.status.message.find("500"), std::string::npos);
  EXPECT_EQ(document.responseBlocks[0].id, 1);
}

TEST(DialogueDocument, RenamingABranchRewritesTheLinksToIt) {
  DialogueDocument document;
  document.editBranch(0).name = "Start";
  document.responseBlocks.slot(7);  // stored first: slot() may move the slots before it
  ResponseBlock& a = document.responseBlocks.slot(0);
  a.id = 1;
  a.responses.slot(0) = {"Go", "", "Start", 0, 0, 0};
  a.responses.slot(1) = {"Other", "", "Elsewhere", 0, 0, 0};
  ResponseBlock& b = document.responseBlocks.slot(7);
  b.id = 2;
  b.responses.slot(0) = {"Again", "", "Start", 0, 1, 0};
  b.responses.slot(1) = {"", "", "Start", 0, 0, 0};  // ends the block: left alone

  EXPECT_EQ(RenameBranch(document, 0, "Harbour"), 2);
  EXPECT_EQ(document.branch(0).name, "Harbour");
  const ResponseBlock& first = document.responseBlocks[0];
  const ResponseBlock& second = document.responseBlocks[7];
  EXPECT_EQ(first.responses[0].linkBranch, "Harbour");
  EXPECT_EQ(first.responses[1].linkBranch, "Elsewhere");
  EXPECT_EQ(second.responses[0].linkBranch, "Harbour");
  EXPECT_EQ(second.responses[1].linkBranch, "Start");
}

TEST(DialogueDocument, LinksNeverMoveToOrFromAnEmptyName) {
  DialogueDocument document;
  document.editBranch(0).name = "";
  ResponseBlock& block = document.responseBlocks.slot(0);
  block.id = 1;
  block.responses.slot(0) = {"Unlinked", "", "", 0, 1, 0};
  block.responses.slot(1) = {"Linked", "", "Start", 0, 0, 0};
  EXPECT_EQ(RenameBranch(document, 0, "Start"), 0);
  EXPECT_EQ(document.responseBlocks[0].responses[0].linkBranch, "");
  EXPECT_EQ(RenameBranch(document, 0, ""), 0);
  EXPECT_EQ(document.responseBlocks[0].responses[1].linkBranch, "Start");
  EXPECT_EQ(document.branch(0).name, "");
}

TEST(DialogueDocument, IdZeroFindsNoBlock) {
  DialogueDocument document;
  document.responseBlocks.slot(3).id = 4;
  EXPECT_EQ(FindBlockSlot(document, 0), std::nullopt);
  EXPECT_EQ(FindBlockSlot(document, 4), 3);
  EXPECT_EQ(FindBlockSlot(document, 5), std::nullopt);
}

TEST(DialogueDocument, PickerEntriesShowBothNames) {
  std::vector<Character> cast = {{"Joe", "actor_joe"}, {"Dr. (Fred)", "fred"}};
  EXPECT_EQ(PickerEntries(cast), (std::vector<std::string>{"None", "Joe (actor_joe)", "Dr. (Fred) (fred)"}));
}

}  // namespace
}  // namespace tellwright
