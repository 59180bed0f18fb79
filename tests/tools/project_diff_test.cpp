#include "tools/project_diff.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tools/merge_fixture.h"
#include "tools/project_diff_text.h"
#include "tools/project_show.h"

namespace tellwright {
namespace {

using namespace testing;

TEST(ProjectShowTest, OneRecordALineWithTheResponsesUnderTheirLine) {
  DialogueDocument d = MergeBase();
  DialogueBranch& intro = d.editBranch(1);
  intro.lines.slot(1) = BlockLine("Ann", 7);
  intro.lineCount = 4;
  LineOf(d, 0, 2).text = "a\tb";
  ResponseOf(d, 0, 1).visibility = 5;
  ResponseOf(d, 0, 1).leaveLoop = 2;
  ResponseOf(d, 0, 1).conditions = "Game.Ready()";
  AddBlock(d, 3, 9, {{.text = "Unused", .visibility = kOnceGame, .sayResponse = 1}});
  EXPECT_EQ(ShowProject(d),
            "Project path: \"C:\\Game\\game.wpr\"\n"
            "Character \"Guy\", entity \"guy\"\n"
            "Character \"Ann\", entity \"ann\"\n"
            "Branch 1 \"Start\", 5 lines\n"
            "  Line 1: Talkline Guy: \"Hello there.\"  sound \"hello.ogg\"\n"
            "  Line 2: Talkline Ann: \"Hi, Guy.\"\n"
            "  Line 3: Codeline \"a\\x09b\"\n"
            "  Line 4: Responseblock Guy, block 1\n"
            "    Response 1: \"Bye\"  Always, leave loop, say\n"
            "    Response 2: \"Who are you?\" -> Intro  visibility 5, leave loop 2  if \"Game.Ready()\"\n"
            "  Line 5: Remark \"They part.\"\n"
            "Branch 2 \"Intro\", 2 lines (stored line count 4)\n"
            "  Line 1: Talkline Guy: \"I am Guy.\"\n"
            "  Line 2: Responseblock Ann, block 7\n"
            "    (no block has the id 7)\n"
            "Block 9, run by no line\n"
            "    Response 1: \"Unused\"  Once Game, say\n");
}

struct DiffCase {
  const char* title;
  std::function<void(DialogueDocument&)> change;  // applied to MergeBase()
  std::string expected;                           // DiffText
};

const DiffCase kCases[] = {
    {"nothing changed", [](DialogueDocument&) {}, ""},
    {"the text of a line",
     [](DialogueDocument& d) { LineOf(d, 0, 0).text = "Hello there, Ann."; },
     "@@ Branch \"Start\" @@\n"
     "- Line 1: Talkline Guy: \"Hello there.\"  sound \"hello.ogg\"\n"
     "+ Line 1: Talkline Guy: \"Hello there, Ann.\"  sound \"hello.ogg\"\n"
     "  changed: text\n"},
    {"the character and sound of a line",
     [](DialogueDocument& d) { LineOf(d, 0, 0).character = "Ann", LineOf(d, 0, 0).soundFile = ""; },
     "@@ Branch \"Start\" @@\n"
     "- Line 1: Talkline Guy: \"Hello there.\"  sound \"hello.ogg\"\n"
     "+ Line 1: Talkline Ann: \"Hello there.\"\n"
     "  changed: character, soundFile\n"},
    {"a line inserted, another deleted",
     [](DialogueDocument& d) {
       ReplaceLines(d, 0, 4, 1, {});
       ReplaceLines(d, 0, 2, 0, {Remark("Wave.")});
     },
     "@@ Branch \"Start\" @@\n"
     "+ Line 3: Remark \"Wave.\"\n"
     "- Line 5: Remark \"They part.\"\n"},
    {"a line moved",
     [](DialogueDocument& d) {
       ReplaceLines(d, 0, 2, 1, {});
       ReplaceLines(d, 0, 4, 0, {Code("Game.Wave();")});
     },
     "@@ Branch \"Start\" @@\n"
     "> Line 3 -> 5: Codeline \"Game.Wave();\"\n"},
    {"the responses of a block",
     [](DialogueDocument& d) {
       ResponseOf(d, 0, 0).text = "Bye then";
       ResponseOf(d, 0, 2) = MakeResponse({.text = "Wait"});
     },
     "@@ Branch \"Start\" @@\n"
     "  Line 4: Responseblock Guy, block 1\n"
     "    - Response 1: \"Bye\"  Always, leave loop, say\n"
     "    + Response 1: \"Bye then\"  Always, leave loop, say\n"
     "      changed: text\n"
     "    + Response 3: \"Wait\"  Always\n"},
    {"a line that runs another block with the same responses",
     [](DialogueDocument& d) {
       LineOf(d, 0, 3).blockId = 2;
       d.responseBlocks.slot(0).id = 2;
     },
     "@@ Branch \"Start\" @@\n"
     "- Line 4: Responseblock Guy, block 1\n"
     "+ Line 4: Responseblock Guy, block 2\n"
     "  changed: blockId\n"},
    {"a responseblock line inserted, with its responses",
     [](DialogueDocument& d) {
       ReplaceLines(d, 1, 1, 0, {BlockLine("Guy", 2)});
       AddBlock(d, 1, 2, {{.text = "Go", .leaveLoop = 1}});
     },
     "@@ Branch \"Intro\" @@\n"
     "+ Line 2: Responseblock Guy, block 2\n"
     "    + Response 1: \"Go\"  Always, leave loop\n"},
    {"a branch renamed, with the links to it",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Meet"); },
     "@@ Branch \"Start\" @@\n"
     "  Line 4: Responseblock Guy, block 1\n"
     "    - Response 2: \"Who are you?\" -> Intro  Once\n"
     "    + Response 2: \"Who are you?\" -> Meet  Once\n"
     "      changed: linkBranch\n"
     "@@ Branch \"Meet\", renamed from \"Intro\" @@\n"},
    {"a branch added and one removed",
     [](DialogueDocument& d) { d.editBranch(1) = DialogueBranch{"Outro", 1, {}}, LineOf(d, 1, 0) = Remark("End."); },
     "@@ Branch \"Outro\", added @@\n"
     "+ Line 1: Remark \"End.\"\n"
     "@@ Branch \"Intro\", removed @@\n"
     "- Line 1: Talkline Guy: \"I am Guy.\"\n"},
    {"branches in another order",
     [](DialogueDocument& d) { std::swap(d.editBranch(0), d.editBranch(1)); },
     "@@ Branch \"Start\", moved from 1 to 2 @@\n"},
    {"the stored line count",
     [](DialogueDocument& d) { d.editBranch(1).lineCount = 3; },
     "@@ Branch \"Intro\" @@\n"
     "  stored line count 1 -> 3\n"},
    {"the cast",
     [](DialogueDocument& d) { d.characters = {{"Guy", "guy2"}, {"Bob", "bob"}}; },
     "- Character \"Guy\", entity \"guy\"\n"
     "+ Character \"Guy\", entity \"guy2\"\n"
     "+ Character \"Bob\", entity \"bob\"\n"
     "- Character \"Ann\", entity \"ann\"\n"},
    {"the engine project path",
     [](DialogueDocument& d) { d.engineProjectPath = "D:\\game.wpr"; },
     "- Project path: \"C:\\Game\\game.wpr\"\n"
     "+ Project path: \"D:\\game.wpr\"\n"},
    {"a block no line runs",
     [](DialogueDocument& d) { AddBlock(d, 1, 9, {{.text = "Hi"}}); },
     "@@ Block 9, run by no line, added @@\n"
     "    + Response 1: \"Hi\"  Always\n"},
};

class ProjectDiffTest : public ::testing::TestWithParam<DiffCase> {};

TEST_P(ProjectDiffTest, ShowsWhatChangedByMeaning) {
  DialogueDocument before = MergeBase(), after = MergeBase();
  GetParam().change(after);
  ProjectDiff diff = DiffProjects(&before, &after);
  EXPECT_EQ(DiffText(diff), GetParam().expected);
  EXPECT_EQ(diff.same(), GetParam().expected.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectDiffTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(ProjectDiffTest, AProjectAgainstNoneIsAllAdded) {
  DialogueDocument project = WorkedExample();
  EXPECT_EQ(DiffText(DiffProjects(nullptr, &project)),
            "+ Project path: \"\"\n"
            "+ Character \"Guy\", entity \"guy\"\n"
            "@@ Branch \"Start\", added @@\n"
            "+ Line 1: Talkline Guy: \"Hello\"\n"
            "+ Line 2: Responseblock Guy, block 1\n"
            "    + Response 1: \"Bye\"  Always, leave loop, say\n"
            "    + Response 2: \"Who are you?\" -> Intro  Once\n");
}

}  // namespace
}  // namespace tellwright
