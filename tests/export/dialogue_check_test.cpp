#include "export/dialogue_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "export/sample_documents.h"

namespace tellwright {
namespace {

using namespace testing;

const std::string kNoName =
    "There's a dialogue branch without a name. This won't work in WME/Vexa. Please give all dialogue branches a "
    "unique name.";
std::string Restricted(const std::string& name) {
  return "The dialogue branch name '" + name +
         "' contains restricted characters. Please correct the dialogue branch name and only use letters, numbers "
         "and the '_' character.";
}
std::string NoCharacter(const std::string& branch, int line) {
  return branch + " - Line " + std::to_string(line) + ": A talkline needs a character given to work.";
}
std::string EndlessLoop(const std::string& branch) {
  return branch +
         " - Reponseblock: The responseblock contains no response that leaves the loop. This would lead to an endless "
         "loop.";
}
std::string SaidByNobody(const std::string& branch) {
  return branch +
         " - Reponseblock: You chose to let a response be said by a character but no character is given. Please "
         "choose a character to talk or the exported script will not work.";
}

struct CheckCase {
  const char* title;
  std::function<void(DialogueDocument&)> build;
  std::string expected;  // "" when the check passes
};

const CheckCase kCases[] = {
    {"fresh project", [](DialogueDocument&) {}, ""},
    {"worked example", [](DialogueDocument& d) { d = WorkedExample(); }, ""},
    {"branch without name", [](DialogueDocument& d) { SetBranch(d, 0, ""); }, kNoName},
    {"blank in name passes", [](DialogueDocument& d) { SetBranch(d, 0, "Talk to Guy"); }, ""},
    {"hyphen in name", [](DialogueDocument& d) { SetBranch(d, 0, "Talk-to-Guy"); }, Restricted("Talk-to-Guy")},
    {"second branch without name",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "A");
       SetBranch(d, 1, "");
     },
     kNoName},
    {"talkline without character first", [](DialogueDocument& d) { SetBranch(d, 0, "Start", {Talk("", "Hello")}); },
     NoCharacter("Start", 0)},
    {"talkline without character later",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {Talk("Guy", "a"), Code("x"), Remark("r"), Talk("Guy", "b"), Talk("", "c")});
     },
     NoCharacter("Start", 4)},
    {"kind judged by its first four characters",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start");
       d.editBranch(0).lines.slot(0) = {"Talkative", "", "x", "", 0};
       d.editBranch(0).lineCount = 1;
     },
     NoCharacter("Start", 0)},
    {"lower-case kind is no talkline",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start");
       d.editBranch(0).lines.slot(0) = {"talkline", "", "x", "", 0};
       d.editBranch(0).lineCount = 1;
     },
     ""},
    {"lines past the line count are not checked",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {Talk("Guy", "a"), Talk("", "b")});
       d.editBranch(0).lineCount = 1;
     },
     ""},
    {"block without leaving response",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("Guy", 3)});
       AddBlock(d, 0, 3, {{.text = "Hi"}, {.text = "Ho"}});
     },
     EndlessLoop("Start")},
    {"only leaving response has empty text",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("Guy", 3)});
       AddBlock(d, 0, 3, {{.text = "Hi"}, {.text = "", .leaveLoop = 1}});
     },
     EndlessLoop("Start")},
    {"leaving response after an empty one counts",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("Guy", 3)});
       AddBlock(d, 0, 3, {{.text = "Hi"}, {.text = ""}, {.text = "Bye", .leaveLoop = 1}});
     },
     ""},
    {"said response without character",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("", 3)});
       AddBlock(d, 0, 3, {{.text = "Bye", .leaveLoop = 1, .sayResponse = 1}});
     },
     SaidByNobody("Start")},
    {"say flag on an unused slot counts",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("", 3)});
       AddBlock(d, 0, 3, {{.text = "Bye", .leaveLoop = 1}, {.text = "", .sayResponse = 1}});
     },
     SaidByNobody("Start")},
    {"endless loop is reported before the missing speaker",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("", 3)});
       AddBlock(d, 0, 3, {{.text = "Hi", .sayResponse = 1}});
     },
     EndlessLoop("Start")},
    {"unmatched block id passes",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("", 42)});
       AddBlock(d, 0, 3, {{.text = "Hi"}});
     },
     ""},
    {"block id 0 finds a free slot, which never leaves",
     [](DialogueDocument& d) { SetBranch(d, 0, "Start", {BlockLine("Guy", 0)}); }, EndlessLoop("Start")},
    {"every block with the id is examined",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("Guy", 3)});
       AddBlock(d, 0, 3, {{.text = "Bye", .leaveLoop = 1}});
       AddBlock(d, 1, 3, {{.text = "Hi"}});
     },
     EndlessLoop("Start")},
    {"first fault in branch order wins",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "One", {Code("x"), Talk("", "a")});
       SetBranch(d, 1, "Two-");
     },
     NoCharacter("One", 1)},
    {"branch name is checked before its lines", [](DialogueDocument& d) { SetBranch(d, 0, "One.", {Talk("", "a")}); },
     Restricted("One.")},
    {"counts outside the tables are bounded",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {Talk("Guy", "a")});
       d.editBranch(0).lineCount = 5000;
       d.lastBranchIndex = 9000;
     },
     kNoName},
    {"negative counts visit nothing",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "", {Talk("", "a")});
       d.lastBranchIndex = -3;
     },
     ""},
};

class CheckDialogueTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckDialogueTest, FindsTheFirstFault) {
  DialogueDocument document;
  GetParam().build(document);
  CheckResult result = CheckDialogue(document);
  EXPECT_EQ(result.ok, GetParam().expected.empty());
  EXPECT_EQ(result.message, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckDialogueTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(ContainsRestrictedCharacterTest, EachOfTheTwentyFiveIsFound) {
  const std::string restricted = "\"/\\!\xA7$%&()=?+-*#.:;,<>|@'";
  ASSERT_EQ(restricted.size(), 25u);
  for (char c : restricted) {
    EXPECT_TRUE(ContainsRestrictedCharacter(std::string("a") + c + "b"))
        << "byte " << int(static_cast<unsigned char>(c));
  }
}

TEST(ContainsRestrictedCharacterTest, EverythingElsePasses) {
  std::string others;
  for (int byte = 1; byte < 256; ++byte) {
    char c = static_cast<char>(byte);
    if (std::string_view("\"/\\!\xA7$%&()=?+-*#.:;,<>|@'").find(c) == std::string_view::npos) others += c;
  }
  EXPECT_EQ(others.size(), 255u - 25u);
  EXPECT_FALSE(ContainsRestrictedCharacter(others));
  EXPECT_FALSE(ContainsRestrictedCharacter(""));
  EXPECT_FALSE(ContainsRestrictedCharacter("Caf\xE9 [Guy] {x} _~^`"));
}

}  // namespace
}  // namespace tellwright
