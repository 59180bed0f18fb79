#include "editing/branch_commands.h"

#include <gtest/gtest.h>

#include "editing_fixtures.h"

namespace tellwright {
namespace {

Response Linking(std::string text, std::string link) {
  Response response;
  response.text = std::move(text);
  response.linkBranch = std::move(link);
  return response;
}

TEST(RenameBranchTest, RewritesEveryLinkToTheOldName) {
  DialogueDocument document;
  document.lastBranchIndex = 1;
  document.editBranch(1).name = "Shop";
  document.currentBranch = 1;
  ResponseBlock& first = document.responseBlocks.slot(1);
  first.id = 1;
  first.responses.slot(0) = Linking("Buy", "Shop");
  first.responses.slot(1) = Linking("Leave", "Dialog_Default");
  ResponseBlock& second = document.responseBlocks.slot(7);
  second.id = 2;
  second.responses.slot(0) = Linking("Back to the shop", "Shop");
  second.responses.slot(2) = Linking("", "Shop");  // past the block's end: not a response

  EditResult result = RenameCurrentBranch(document, "Market");
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(document.branch(1).name, "Market");
  EXPECT_EQ(document.responseBlocks[1].responses[0].linkBranch, "Market");
  EXPECT_EQ(document.responseBlocks[1].responses[1].linkBranch, "Dialog_Default");
  EXPECT_EQ(document.responseBlocks[7].responses[0].linkBranch, "Market");
  EXPECT_EQ(document.responseBlocks[7].responses[2].linkBranch, "Shop");
}

TEST(RenameBranchTest, AcceptsDuplicateNamesAndRefusesAnEmptyOne) {
  DialogueDocument document;
  ResponseBlock& block = document.responseBlocks.slot(1);
  block.id = 1;
  block.responses.slot(0) = Linking("Stay", "Dialog_Default");
  ASSERT_TRUE(AddBranch(document).changed);
  EXPECT_TRUE(RenameCurrentBranch(document, "Dialog_Default").changed);
  EXPECT_EQ(document.branch(1).name, "Dialog_Default");

  document.currentBranch = 0;
  EditResult empty = RenameCurrentBranch(document, "");
  EXPECT_FALSE(empty.changed);
  EXPECT_EQ(empty.status.message, kEmptyBranchNameMessage);
  EXPECT_EQ(document.branch(0).name, "Dialog_Default");
  EXPECT_TRUE(RenameCurrentBranch(document, "Start").changed);
  EXPECT_EQ(block.responses[0].linkBranch, "Start");  // the link still follows
  EXPECT_FALSE(RenameCurrentBranch(document, "Start").changed);
  EXPECT_TRUE(RenameCurrentBranch(document, "start").changed);
}

TEST(RenameBranchTest, RefusesALineBreakAndAMissingBranch) {
  DialogueDocument document;
  for (const char* name : {"two\nlines", "cr\rhere"}) {
    EditResult result = RenameCurrentBranch(document, name);
    EXPECT_FALSE(result.changed);
    EXPECT_FALSE(result.status);
  }
  document.currentBranch = 5;
  EXPECT_FALSE(RenameCurrentBranch(document, "X").status);
  EXPECT_EQ(document.branch(0).name, "Dialog_Default");
  EXPECT_EQ(document.branch(5).name, "");
}

TEST(AddBranchTest, AppendsAnUnnamedBranchAndMakesItCurrent) {
  DialogueDocument document;
  document.currentBranch = 0;
  ASSERT_TRUE(AddBranch(document).changed);
  ASSERT_TRUE(AddBranch(document).changed);
  EXPECT_EQ(document.lastBranchIndex, 2);
  EXPECT_EQ(document.currentBranch, 2);
  EXPECT_EQ(document.branch(1).name, "Unnamed");
  EXPECT_EQ(document.branch(2).name, "Unnamed");
  EXPECT_EQ(document.branch(2).lineCount, 0);
}

TEST(AddBranchTest, StartsTheSlotAfresh) {
  DialogueDocument document;
  DialogueBranch& leftover = document.editBranch(1);  // a slot past the last branch
  leftover.name = "Old";
  leftover.lineCount = 2;
  leftover.lines.slot(0) = testing::Line("Talkline", "stale");
  ASSERT_TRUE(AddBranch(document).changed);
  EXPECT_EQ(document.branch(1).lineCount, 0);
  EXPECT_TRUE(document.branch(1).lines[0].empty());
}

TEST(AddBranchTest, RefusesThe501stBranch) {
  DialogueDocument document;
  document.lastBranchIndex = kBranchSlots - 1;
  document.currentBranch = 3;
  EditResult result = AddBranch(document);
  EXPECT_FALSE(result.changed);
  EXPECT_EQ(result.status.message, "The dialogue is full: a dialogue holds at most 500 branches.");
  EXPECT_EQ(document.lastBranchIndex, kBranchSlots - 1);
  EXPECT_EQ(document.currentBranch, 3);
}

TEST(SelectBranchTest, OnlyBranchesInUse) {
  DialogueDocument document;
  AddBranch(document);
  EXPECT_TRUE(SelectBranch(document, 0).changed);
  EXPECT_EQ(document.currentBranch, 0);
  for (int index : {-1, 2, 500, 501}) EXPECT_FALSE(SelectBranch(document, index).changed) << index;
  EXPECT_EQ(document.currentBranch, 0);
}

}  // namespace
}  // namespace tellwright
