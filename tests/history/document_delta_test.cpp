#include "history/document_delta.h"

#include <gtest/gtest.h>

#include <functional>

#include "editing/branch_commands.h"
#include "editing/character_commands.h"
#include "editing/line_commands.h"
#include "editing/response_commands.h"

namespace tellwright {
namespace {

constexpr int kLines = 900;

// Three branches, the first with many lines; blocks 1 and 2 link to
// branch "Beach"; two characters.
DialogueDocument Fixture() {
  DialogueDocument document;
  document.branches.slot(0).name = "Start";
  document.branches.slot(1).name = "Beach";
  document.branches.slot(2).name = "Cave";
  document.lastBranchIndex = 2;
  DialogueBranch& start = document.editBranch(0);
  for (int i = 0; i < kLines; ++i) {
    DialogueLine& line = start.lines.slot(i);
    line.kind = kTalkline;
    line.character = "Guybrush";
    line.text = "A line long enough to live on the heap, number " + std::to_string(i);
  }
  start.lineCount = kLines;
  for (int id : {1, 2, 3}) {
    ResponseBlock& block = document.responseBlocks.slot(id - 1);
    block.id = id;
    block.responses.slot(0) = Response{"Go", "", id < 3 ? "Beach" : "Cave", kAlways, 0, 0};
  }
  document.characters = {{"Guybrush", "guybrush"}, {"Elaine", "elaine"}};
  // Lines left over in the slot a new branch takes.
  document.branches.slot(3).lines.slot(0).text = "stale";
  return document;
}

LineListState Focused() { return {true, false}; }

TEST(DocumentDeltaTest, UndoRestoresExactlyAndRedoRepeatsKeepingOnlyWhatChanged) {
  struct Case {
    const char* name;
    ChangeScope scope;
    std::function<EditResult(DialogueDocument&)> change;
  };
  const Case cases[] = {
      {"EditOneLine",
       {kScopeCurrentBranch},
       [](DialogueDocument& d) {
         d.editBranch(0).lines.slot(450).text = "Changed";
         return EditResult::Changed();
       }},
      {"InsertAtTop", {kScopeCurrentBranch}, [](DialogueDocument& d) { return InsertLine(d, kRemark, {0}); }},
      {"InsertResponseblock",
       {kScopeCurrentBranch | kScopeBlocks},
       [](DialogueDocument& d) { return InsertLine(d, kResponseblock, {5}); }},
      {"DeleteTwoApart",
       {kScopeCurrentBranch},
       [](DialogueDocument& d) {
         return DeleteLines(d, {10, 12}, Focused());
       }},
      {"DeleteLast",
       {kScopeCurrentBranch},
       [](DialogueDocument& d) { return DeleteLines(d, {kLines - 1}, Focused()); }},
      {"MoveDown", {kScopeCurrentBranch}, [](DialogueDocument& d) { return MoveLinesDown(d, {300}, Focused()); }},
      {"RenameWithLinks",
       {kScopeBranchTable | kScopeBlocks},
       [](DialogueDocument& d) {
         d.currentBranch = 1;
         return RenameCurrentBranch(d, "Shore");
       }},
      {"AddBranchOverStaleSlot", {kScopeBranchTable}, [](DialogueDocument& d) { return AddBranch(d); }},
      {"AddResponse",
       {kScopeBlocks, 2},
       [](DialogueDocument& d) {
         return AddResponse(d, 2, Response{"Leave", "", "", kOnce, 1, 0});
       }},
      {"EditCharacter",
       {kScopeCharacters},
       [](DialogueDocument& d) { return EditCharacter(d, 2, "Elaine M.", "elaine"); }},
      {"DeleteCharacter", {kScopeCharacters}, [](DialogueDocument& d) { return DeleteCharacter(d, 1); }},
      {"ProjectPath",
       {kScopeProjectPath},
       [](DialogueDocument& d) {
         d.engineProjectPath = "C:\\Games\\Other\\other.wpr";
         return EditResult::Changed();
       }},
  };
  for (const Case& c : cases) {
    const DialogueDocument before = Fixture();
    DialogueDocument document = before;
    ChangeRecorder recorder(document, c.scope);
    ASSERT_TRUE(c.change(document).changed) << c.name;
    const DialogueDocument after = document;
    EXPECT_EQ(ChangesOutsideScope(before, after, c.scope), std::vector<std::string>{}) << c.name;
    DocumentDelta delta = recorder.finish(document);
    EXPECT_FALSE(delta.empty()) << c.name;
    // A copy of the first branch alone would be over 90 KB.
    EXPECT_LE(delta.bytes(), 4096u) << c.name;

    UndoDelta(document, delta);
    EXPECT_TRUE(document == before) << c.name;
    RedoDelta(document, delta);
    EXPECT_TRUE(document == after) << c.name;
    UndoDelta(document, delta);
    EXPECT_TRUE(document == before) << c.name;
  }
}

// Only the shown branch moved, or a change outside the scope's parts
// changed nothing it watches: nothing to undo.
TEST(DocumentDeltaTest, ChangingOnlyTheShownBranchIsNoStep) {
  DialogueDocument document = Fixture();
  ChangeRecorder recorder(document, {kScopeCurrentBranch});
  ASSERT_TRUE(SelectBranch(document, 2).changed);
  DocumentDelta delta = recorder.finish(document);
  EXPECT_TRUE(delta.empty());
  EXPECT_EQ(delta.currentBranch.before, 0);
  EXPECT_EQ(delta.currentBranch.after, 2);
}

// A scope declared too narrow would give an undo step that misses part of
// the change: the guard names what lies outside it.
TEST(DocumentDeltaTest, ChangesOutsideTheDeclaredScopeAreNamed) {
  struct Case {
    const char* name;
    ChangeScope scope;
    std::function<void(DialogueDocument&)> change;
    std::vector<std::string> outside;
  };
  const Case cases[] = {
      {"another branch's lines", {kScopeCurrentBranch}, [](DialogueDocument& d) {
         d.editBranch(2).lines.slot(0).text = "x";
       }, {"branch 2"}},
      {"a rename without the branch table", {kScopeCurrentBranch}, [](DialogueDocument& d) {
         d.editBranch(1).name = "Shore";
       }, {"branch 1"}},
      {"lines of a branch the table scope only names", {kScopeBranchTable}, [](DialogueDocument& d) {
         d.editBranch(1).lines.slot(0).text = "x";
       }, {"branch 1"}},
      {"a block other than the declared one", {kScopeBlocks, 0}, [](DialogueDocument& d) {
         d.responseBlocks.slot(1).responses.slot(0).text = "Stay";
       }, {"response block slot 1"}},
      {"a new branch without the table", {kScopeCurrentBranch}, [](DialogueDocument& d) {
         d.lastBranchIndex = 3;
       }, {"the number of branches"}},
      {"the cast and the project path", {kScopeCurrentBranch}, [](DialogueDocument& d) {
         d.characters.pop_back();
         d.engineProjectPath = "other.wpr";
       }, {"the characters", "the engine project path"}},
      {"what no change may touch", {~0u}, [](DialogueDocument& d) {
         d.currentFile = "elsewhere.tlwdlg";
         d.changed = 1;
       }, {"the project file's path", "the changed flag"}},
      {"a branch named in the scope", {0, -1, {2}}, [](DialogueDocument& d) {
         d.editBranch(2).lines.slot(0).text = "x";
       }, {}},
  };
  for (const Case& c : cases) {
    const DialogueDocument before = Fixture();
    DialogueDocument after = before;
    c.change(after);
    EXPECT_EQ(ChangesOutsideScope(before, after, c.scope), c.outside) << c.name;
  }
}

TEST(SlotTableSpliceTest, ReplacesARunAndDropsWhatFallsOffTheEnd) {
  struct Case {
    std::vector<int> start;
    int first;
    int count;
    std::vector<int> items;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {{1, 2, 3}, 1, 1, {7, 8}, {1, 7, 8, 3}}, {{1, 2, 3}, 0, 3, {}, {}},
      {{1, 2}, 3, 0, {9}, {1, 2, 0, 9}},        // past the stored slots
      {{1, 2, 3, 4}, 0, 0, {5}, {5, 1, 2, 3}},  // the last slot falls off a full table
      {{1, 2, 3}, 2, 1, {0}, {1, 2}},           // trailing empty slots are not kept
  };
  for (const Case& c : cases) {
    SlotTable<int, 4> table;
    for (size_t i = 0; i < c.start.size(); ++i) table.slot(static_cast<int>(i)) = c.start[i];
    table.splice(c.first, c.count, c.items);
    std::vector<int> got;
    for (int i = 0; i < table.stored(); ++i) got.push_back(table[i]);
    EXPECT_EQ(got, c.expected);
  }
}

}  // namespace
}  // namespace tellwright
