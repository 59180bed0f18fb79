#include "tools/dialogue_stats.h"

#include <gtest/gtest.h>

#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

TEST(CountWordsTest, CountsRunsOfNonBlanks) {
  const std::pair<std::string, int> cases[] = {
      {"", 0},
      {"  ", 0},
      {"one", 1},
      {" two  words ", 2},
      {"tab\tand\r\nbreak", 3},
      {"Don't - go!", 3},
      {"a\xA0"
       "b",
       1},
  };
  for (const auto& [text, words] : cases) EXPECT_EQ(CountWords(text), words) << text;
}

TEST(CountDialogueTest, CountsPerCharacterPerBranchAndInTotal) {
  DialogueDocument d = ToolsDocument();
  SetBranch(d, 2, "StartStart", {Talk("", "Who goes there?")});
  DialogueStats stats = CountDialogue(d);
  // Guy says his talkline and "Hello?"; Élise "Hello?" at Start's line 5
  // and her talkline; the block counts once in Start.
  const std::vector<CharacterStats> characters = {
      {"Guy", true, 2, 4, 0}, {"\xC9lise", true, 2, 3, 1}, {"Narrator", false, 1, 2, 1}};
  const std::vector<BranchStats> branches = {
      {0, "Start", 5, 2, 5}, {1, "Hello_World", 2, 0, 4}, {2, "StartStart", 1, 0, 3}};
  EXPECT_EQ(stats.characters, characters);
  EXPECT_EQ(stats.branches, branches);
  EXPECT_EQ(stats.totals, (DialogueTotals{3, 8, 2, 12, 6, 3}));
}

// Nobody says a string-table key: the same words with keys or without.
TEST(CountDialogueTest, KeysAreNoWords) {
  DialogueDocument d = ToolsDocument();
  DialogueStats plain = CountDialogue(d);
  d.editBranch(0).lines.slot(0).text = "/START0001/Hello there, hello!";
  d.editBranch(1).lines.slot(1).text = "/START0002/Night falls.";
  d.responseBlocks.slot(0).responses.slot(0).text = "/START0003/Hello?";
  DialogueStats keyed = CountDialogue(d);
  EXPECT_EQ(keyed.characters, plain.characters);
  EXPECT_EQ(keyed.branches, plain.branches);
  EXPECT_EQ(keyed.totals, plain.totals);
}

}  // namespace
}  // namespace tellwright
