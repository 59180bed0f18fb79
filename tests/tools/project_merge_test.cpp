#include "tools/project_merge.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/project_file.h"
#include "tools/merge_fixture.h"
#include "tools/project_show.h"

namespace tellwright {
namespace {

using namespace testing;
using Change = std::function<void(DialogueDocument&)>;

struct MergeCase {
  const char* title;
  Change ours, theirs;             // applied to MergeBase()
  Change expected;                 // the merged project, applied to MergeBase()
  std::vector<std::string> conflicts = {};  // as DescribeConflict words them
};

void None(DialogueDocument&) {}

// A change to one field of a line or a response, on each side.
Change SetLine(int b, int l, Text DialogueLine::*field, Text value) {
  return [=](DialogueDocument& d) { LineOf(d, b, l).*field = value; };
}
template <typename T>
Change SetResponse(int r, T Response::*field, T value) {
  return [=](DialogueDocument& d) { ResponseOf(d, 0, r).*field = value; };
}
Change Both(Change first, Change second) {
  return [=](DialogueDocument& d) {
    first(d);
    second(d);
  };
}

// The line both sides changed, kept in both versions.
Change LineConflict(int b, int l, Change ours, Change theirs) {
  return [=](DialogueDocument& d) {
    DialogueDocument o = d, t = d;
    ours(o);
    theirs(t);
    ReplaceLines(d, b, l, 1, ConflictLines({LineOf(o, b, l)}, {LineOf(t, b, l)}));
  };
}
Change ResponseConflict(int r, Change ours, Change theirs) {
  return [=](DialogueDocument& d) {
    DialogueDocument o = d, t = d;
    ours(o);
    theirs(t);
    ReplaceResponses(d, 0, r, 1, ConflictResponses({ResponseOf(o, 0, r)}, {ResponseOf(t, 0, r)}));
  };
}

const Change kHelloAnn = SetLine(0, 0, &DialogueLine::text, "Hello, Ann.");
const Change kByeThen = SetResponse<Text>(0, &Response::text, "Bye then");
const Change kDeleteIntro = DeleteLastBranch;

const MergeCase kCases[] = {
    {"nothing changed", None, None, None},
    {"one side changed", kHelloAnn, None, kHelloAnn},
    {"changes to different lines", kHelloAnn, SetLine(0, 2, &DialogueLine::text, "Game.Bow();"),
     Both(kHelloAnn, SetLine(0, 2, &DialogueLine::text, "Game.Bow();"))},
    {"changes to different fields of one line", kHelloAnn, SetLine(0, 0, &DialogueLine::soundFile, "hello2.ogg"),
     Both(kHelloAnn, SetLine(0, 0, &DialogueLine::soundFile, "hello2.ogg"))},
    {"the same change on both sides", kHelloAnn, kHelloAnn, kHelloAnn},
    {"a line inserted on one side, another changed on the other",
     [](DialogueDocument& d) { ReplaceLines(d, 0, 1, 0, {Talk("Guy", "Nice day.")}); },
     SetLine(0, 4, &DialogueLine::text, "They go."),
     [](DialogueDocument& d) {
       LineOf(d, 0, 4).text = "They go.";
       ReplaceLines(d, 0, 1, 0, {Talk("Guy", "Nice day.")});
     }},
    {"a line moved on one side, another changed on the other",
     [](DialogueDocument& d) {
       ReplaceLines(d, 0, 2, 1, {});
       ReplaceLines(d, 0, 4, 0, {Code("Game.Wave();")});
     },
     kHelloAnn,
     [](DialogueDocument& d) {
       LineOf(d, 0, 0).text = "Hello, Ann.";
       ReplaceLines(d, 0, 2, 1, {});
       ReplaceLines(d, 0, 4, 0, {Code("Game.Wave();")});
     }},
    {"a line deleted on one side, unchanged on the other",
     [](DialogueDocument& d) { ReplaceLines(d, 0, 4, 1, {}); }, kHelloAnn,
     [](DialogueDocument& d) {
       LineOf(d, 0, 0).text = "Hello, Ann.";
       ReplaceLines(d, 0, 4, 1, {});
     }},
    // Both sides changed one field of a line.
    {"both changed the text of a line", kHelloAnn, SetLine(0, 0, &DialogueLine::text, "Hello, all."),
     LineConflict(0, 0, kHelloAnn, SetLine(0, 0, &DialogueLine::text, "Hello, all.")),
     {"Start, line 1: both sides changed the text of the line"}},
    {"both changed the character of a line", SetLine(0, 1, &DialogueLine::character, "Guy"),
     SetLine(0, 1, &DialogueLine::character, "Bob"),
     LineConflict(0, 1, SetLine(0, 1, &DialogueLine::character, "Guy"), SetLine(0, 1, &DialogueLine::character, "Bob")),
     {"Start, line 2: both sides changed the character of the line"}},
    {"both changed the sound file of a line", SetLine(0, 0, &DialogueLine::soundFile, "a.ogg"),
     SetLine(0, 0, &DialogueLine::soundFile, "b.ogg"),
     LineConflict(0, 0, SetLine(0, 0, &DialogueLine::soundFile, "a.ogg"),
                  SetLine(0, 0, &DialogueLine::soundFile, "b.ogg")),
     {"Start, line 1: both sides changed the soundFile of the line"}},
    {"both changed the block of a responseblock line", [](DialogueDocument& d) { LineOf(d, 0, 3).blockId = 5; },
     [](DialogueDocument& d) { LineOf(d, 0, 3).blockId = 6; },
     LineConflict(0, 3, [](DialogueDocument& d) { LineOf(d, 0, 3).blockId = 5; },
                  [](DialogueDocument& d) { LineOf(d, 0, 3).blockId = 6; }),
     {"Start, line 4: both sides changed these lines"}},
    {"both changed two fields of a line the same way, one differently",
     Both(kHelloAnn, SetLine(0, 0, &DialogueLine::soundFile, "a.ogg")),
     Both(kHelloAnn, SetLine(0, 0, &DialogueLine::soundFile, "b.ogg")),
     LineConflict(0, 0, Both(kHelloAnn, SetLine(0, 0, &DialogueLine::soundFile, "a.ogg")),
                  Both(kHelloAnn, SetLine(0, 0, &DialogueLine::soundFile, "b.ogg"))),
     {"Start, line 1: both sides changed the soundFile of the line"}},
    // Both sides changed the same stretch of lines.
    {"lines added at the same place", [](DialogueDocument& d) { ReplaceLines(d, 0, 2, 0, {Remark("A")}); },
     [](DialogueDocument& d) { ReplaceLines(d, 0, 2, 0, {Remark("B")}); },
     [](DialogueDocument& d) { ReplaceLines(d, 0, 2, 0, ConflictLines({Remark("A")}, {Remark("B")})); },
     {"Start, line 3: both sides added lines here"}},
    {"a line deleted on one side, changed on the other", [](DialogueDocument& d) { ReplaceLines(d, 0, 1, 1, {}); },
     SetLine(0, 1, &DialogueLine::text, "Hi, Guy!"),
     [](DialogueDocument& d) { ReplaceLines(d, 0, 1, 1, ConflictLines({}, {Talk("Ann", "Hi, Guy!")})); },
     {"Start, line 2: ours deleted lines that theirs changed"}},
    {"a responseblock line deleted on one side, its responses changed on the other",
     [](DialogueDocument& d) { ReplaceLines(d, 0, 3, 1, {}); }, kByeThen,
     [](DialogueDocument& d) {
       ResponseOf(d, 0, 0).text = "Bye then";
       ReplaceLines(d, 0, 3, 1, ConflictLines({}, {BlockLine("Guy", 1)}));
     },
     {"Start, line 4: ours deleted lines that theirs changed"}},
    // Responses in their block.
    {"different responses of one block changed", kByeThen, SetResponse<Text>(1, &Response::conditions, "x"),
     Both(kByeThen, SetResponse<Text>(1, &Response::conditions, "x"))},
    {"different fields of one response changed", SetResponse<int32_t>(1, &Response::visibility, kAlways),
     SetResponse<Text>(1, &Response::linkBranch, "Start"),
     Both(SetResponse<int32_t>(1, &Response::visibility, kAlways),
          SetResponse<Text>(1, &Response::linkBranch, "Start"))},
    {"a response added on one side, another changed on the other",
     [](DialogueDocument& d) { ResponseOf(d, 0, 2) = MakeResponse({.text = "Wait"}); }, kByeThen,
     Both(kByeThen, [](DialogueDocument& d) { ResponseOf(d, 0, 2) = MakeResponse({.text = "Wait"}); })},
    {"both changed the text of a response", kByeThen, SetResponse<Text>(0, &Response::text, "Bye now"),
     ResponseConflict(0, kByeThen, SetResponse<Text>(0, &Response::text, "Bye now")),
     {"Start, line 4, responseblock 1, response 1: both sides changed the text of the response"}},
    {"both changed the conditions of a response", SetResponse<Text>(1, &Response::conditions, "a"),
     SetResponse<Text>(1, &Response::conditions, "b"),
     ResponseConflict(1, SetResponse<Text>(1, &Response::conditions, "a"),
                      SetResponse<Text>(1, &Response::conditions, "b")),
     {"Start, line 4, responseblock 1, response 2: both sides changed the conditions of the response"}},
    {"both changed the link of a response", SetResponse<Text>(1, &Response::linkBranch, "Start"),
     SetResponse<Text>(1, &Response::linkBranch, ""),
     ResponseConflict(1, SetResponse<Text>(1, &Response::linkBranch, "Start"),
                      SetResponse<Text>(1, &Response::linkBranch, "")),
     {"Start, line 4, responseblock 1, response 2: both sides changed the linkBranch of the response"}},
    {"both changed the visibility of a response", SetResponse<int32_t>(1, &Response::visibility, kAlways),
     SetResponse<int32_t>(1, &Response::visibility, kOnceGame),
     ResponseConflict(1, SetResponse<int32_t>(1, &Response::visibility, kAlways),
                      SetResponse<int32_t>(1, &Response::visibility, kOnceGame)),
     {"Start, line 4, responseblock 1, response 2: both sides changed the visibility of the response"}},
    {"both changed the leave-loop flag of a response", SetResponse<int32_t>(0, &Response::leaveLoop, 0),
     SetResponse<int32_t>(0, &Response::leaveLoop, 2),
     ResponseConflict(0, SetResponse<int32_t>(0, &Response::leaveLoop, 0),
                      SetResponse<int32_t>(0, &Response::leaveLoop, 2)),
     {"Start, line 4, responseblock 1, response 1: both sides changed the leaveLoop of the response"}},
    {"both changed the say flag of a response", SetResponse<int32_t>(1, &Response::sayResponse, 1),
     SetResponse<int32_t>(1, &Response::sayResponse, 2),
     ResponseConflict(1, SetResponse<int32_t>(1, &Response::sayResponse, 1),
                      SetResponse<int32_t>(1, &Response::sayResponse, 2)),
     {"Start, line 4, responseblock 1, response 2: both sides changed the sayResponse of the response"}},
    // Blocks by id.
    {"blocks added on both sides with the same id",
     [](DialogueDocument& d) {
       ReplaceLines(d, 1, 1, 0, {BlockLine("Guy", 2)});
       AddBlock(d, 1, 2, {{.text = "Yes", .leaveLoop = 1}});
     },
     [](DialogueDocument& d) {
       ReplaceLines(d, 0, 5, 0, {BlockLine("Ann", 2)});
       AddBlock(d, 1, 2, {{.text = "Left", .leaveLoop = 1}});
     },
     [](DialogueDocument& d) {
       ReplaceLines(d, 1, 1, 0, {BlockLine("Guy", 2)});
       ReplaceLines(d, 0, 5, 0, {BlockLine("Ann", 3)});
       AddBlock(d, 1, 2, {{.text = "Yes", .leaveLoop = 1}});
       AddBlock(d, 2, 3, {{.text = "Left", .leaveLoop = 1}});
     }},
    // Branches by name, renames by their lines.
    {"a branch renamed on one side, its lines and links changed on the other",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Meet"); },
     [](DialogueDocument& d) {
       LineOf(d, 1, 0).text = "I am Guy, hello.";
       ResponseOf(d, 0, 2) = MakeResponse({.text = "Tell me more.", .linkBranch = "Intro"});
     },
     [](DialogueDocument& d) {
       LineOf(d, 1, 0).text = "I am Guy, hello.";
       ResponseOf(d, 0, 2) = MakeResponse({.text = "Tell me more.", .linkBranch = "Intro"});
       RenameBranch(d, 1, "Meet");
     }},
    {"both renamed a branch differently", [](DialogueDocument& d) { RenameBranch(d, 1, "Meet"); },
     [](DialogueDocument& d) { RenameBranch(d, 1, "Hello"); },
     [](DialogueDocument& d) {
       RenameBranch(d, 1, "Meet");
       ReplaceLines(d, 1, 0, 0,
                    ConflictLines({Remark("Branch name: Meet")}, {Remark("Branch name: Hello")}));
     },
     {"Meet, line 1: both sides renamed the branch (ours \"Meet\", theirs \"Hello\"); it keeps ours"}},
    {"a branch renamed on one side to the name of a branch the other side added",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Outro"); },
     [](DialogueDocument& d) { SetBranch(d, 2, "Outro", {Remark("o")}); },
     [](DialogueDocument& d) {
       RenameBranch(d, 1, "Outro");
       SetBranch(d, 2, "Outro", {Remark("o")});
     },
     {"the branch name \"Outro\": ours and theirs each gave it to another branch; rename one"}},
    {"branches added on both sides", [](DialogueDocument& d) { SetBranch(d, 2, "Outro", {Remark("o")}); },
     [](DialogueDocument& d) { SetBranch(d, 2, "Aside", {Remark("t")}); },
     [](DialogueDocument& d) {
       SetBranch(d, 2, "Outro", {Remark("o")});
       SetBranch(d, 3, "Aside", {Remark("t")});
     }},
    {"one branch added on both sides with different lines",
     [](DialogueDocument& d) { SetBranch(d, 2, "Outro", {Remark("o")}); },
     [](DialogueDocument& d) { SetBranch(d, 2, "Outro", {Remark("t")}); },
     [](DialogueDocument& d) { SetBranch(d, 2, "Outro", {}).lines.splice(0, 0, ConflictLines({Remark("o")}, {Remark("t")})), d.editBranch(2).lineCount = 5; },
     {"Outro, line 1: both sides added lines here"}},
    {"a branch deleted on one side, unchanged on the other", kDeleteIntro, kHelloAnn, Both(kDeleteIntro, kHelloAnn)},
    {"a branch deleted on one side, changed on the other", kDeleteIntro, SetLine(1, 0, &DialogueLine::text, "Guy!"),
     [](DialogueDocument& d) { ReplaceLines(d, 1, 0, 1, ConflictLines({}, {Talk("Guy", "Guy!")})); },
     {"Intro, line 1: ours deleted the branch, theirs changed it"}},
    // The cast by real name, the engine project path.
    {"cast changed on both sides", [](DialogueDocument& d) { d.characters.push_back({"Bob", "bob"}); },
     [](DialogueDocument& d) { d.characters[1].entityName = "ann2"; },
     [](DialogueDocument& d) {
       d.characters[1].entityName = "ann2";
       d.characters.push_back({"Bob", "bob"});
     }},
    {"both changed the entity name of a character", [](DialogueDocument& d) { d.characters[0].entityName = "guy_o"; },
     [](DialogueDocument& d) { d.characters[0].entityName = "guy_t"; },
     [](DialogueDocument& d) { d.characters = {{"Guy", "guy_o"}, {"Guy", "guy_t"}, {"Ann", "ann"}}; },
     {"the character \"Guy\": both sides changed its entity name (ours \"guy_o\", theirs \"guy_t\"); both are kept"}},
    {"both changed the engine project path", [](DialogueDocument& d) { d.engineProjectPath = "a.wpr"; },
     [](DialogueDocument& d) { d.engineProjectPath = "b.wpr"; },
     [](DialogueDocument& d) { d.engineProjectPath = "a.wpr"; },
     {"the engine project path: both sides changed it (ours \"a.wpr\", theirs \"b.wpr\"); ours is kept"}},
};

class ProjectMergeTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(ProjectMergeTest, MergesByRecordsAndKeepsBothVersionsOfAConflict) {
  DialogueDocument base = MergeBase(), ours = MergeBase(), theirs = MergeBase(), expected = MergeBase();
  GetParam().ours(ours);
  GetParam().theirs(theirs);
  GetParam().expected(expected);
  MergeResult result = MergeProjects(&base, ours, theirs);
  ASSERT_TRUE(result.status.ok) << result.status.message;
  EXPECT_EQ(WriteProject(result.merged), WriteProject(expected))
      << "merged:\n" << ShowProject(result.merged) << "expected:\n" << ShowProject(expected);
  std::vector<std::string> conflicts;
  for (const MergeConflict& conflict : result.conflicts) conflicts.push_back(DescribeConflict(conflict));
  EXPECT_EQ(conflicts, GetParam().conflicts);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectMergeTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(ProjectMergeTest, WithoutABaseBothVersionsAreAdditions) {
  DialogueDocument ours = MergeBase(), theirs = MergeBase();
  LineOf(theirs, 1, 0).text = "Guy.";
  MergeResult result = MergeProjects(nullptr, ours, theirs);
  ASSERT_TRUE(result.status.ok);
  DialogueDocument expected = MergeBase();
  ReplaceLines(expected, 1, 0, 1, ConflictLines({Talk("Guy", "I am Guy.")}, {Talk("Guy", "Guy.")}));
  EXPECT_EQ(WriteProject(result.merged), WriteProject(expected)) << ShowProject(result.merged);
  ASSERT_EQ(result.conflicts.size(), 1u);
  EXPECT_EQ(DescribeConflict(result.conflicts[0]), "Intro, line 1: both sides added lines here");
}

// A merge that would pass a table end is refused rather than saved damaged.
TEST(ProjectMergeTest, RefusesAResultBeyondTheCapacities) {
  DialogueDocument base = MergeBase(), ours = MergeBase(), theirs = MergeBase();
  std::vector<DialogueLine> many(kLinesPerBranch - 1, Remark("filler"));
  ReplaceLines(ours, 1, 1, 0, many);
  ReplaceLines(theirs, 1, 0, 0, {Remark("first")});  // 1000 lines on ours, 2 on theirs: merged 1001
  MergeResult result = MergeProjects(&base, ours, theirs);
  EXPECT_FALSE(result.status.ok);
  EXPECT_NE(result.status.message.find("the branch \"Intro\" would have 1001 lines"), std::string::npos)
      << result.status.message;

  DialogueDocument fullBlock = MergeBase(), moreResponses = MergeBase();
  for (int r = 2; r < kResponsesPerBlock; ++r) ResponseOf(fullBlock, 0, r) = MakeResponse({.text = "r" + std::to_string(r)});
  ResponseOf(moreResponses, 0, 0).text = "Bye!";
  ResponseOf(fullBlock, 0, 0).text = "Bye?";  // the conflict adds theirs and three markers
  result = MergeProjects(&base, fullBlock, moreResponses);
  EXPECT_FALSE(result.status.ok);
  EXPECT_NE(result.status.message.find("the responseblock 1 would have 104 responses"), std::string::npos)
      << result.status.message;
}

}  // namespace
}  // namespace tellwright
