#include "lint/lint.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/dialogue_check.h"
#include "export/sample_documents.h"

namespace tellwright {
namespace {

using namespace testing;

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;
constexpr Severity N = Severity::Note;

ProblemPlace Branch(int b) { return {.branch = b}; }
ProblemPlace Line(int b, int l) { return {.branch = b, .line = l}; }
ProblemPlace InBlock(int b, int l, int slot, int response = -1) {
  return {.branch = b, .line = l, .response = response, .blockSlot = slot};
}
ProblemPlace Block(int slot) { return {.blockSlot = slot}; }
ProblemPlace OfCharacter(int c, int b, int l) { return {.branch = b, .line = l, .character = c}; }

// Start: Guy says Hello, then the block in slot 1 (id 1): "Bye" said and
// leaving, "Who are you?" once, linking to Intro, where Guy says one line.
DialogueDocument Clean() {
  DialogueDocument d = WorkedExample();
  SetBranch(d, 1, "Intro", {Talk("Guy", "I am Guy.")});
  return d;
}

Response& Bye(DialogueDocument& d) { return d.responseBlocks.slot(1).responses.slot(0); }
Response& Who(DialogueDocument& d) { return d.responseBlocks.slot(1).responses.slot(1); }

// Gives Hello, Bye, Who are you? and I am Guy. the texts given.
void KeyAll(DialogueDocument& d, const char* hello, const char* bye, const char* who, const char* guy) {
  d.editBranch(0).lines.slot(0).text = hello;
  Bye(d).text = bye;
  Who(d).text = who;
  d.editBranch(1).lines.slot(0).text = guy;
}

struct Expected {
  Severity severity;
  std::string rule;
  ProblemPlace place;
};

struct LintCase {
  const char* title;
  std::function<void(DialogueDocument&)> change;  // applied to Clean()
  std::vector<Expected> expected;                 // in the order reported
  std::string messagePart = "";                   // in the first problem's message
};

const LintCase kCases[] = {
    {"clean project", [](DialogueDocument&) {}, {}},
    // The dialogue check's faults, every one of them.
    {"branch without name and talkline without character",
     [](DialogueDocument& d) {
       d.editBranch(0).name = "";
       SetBranch(d, 1, "Intro", {Talk("", "a"), Talk("", "b")});
     },
     {{E, "branch-name-empty", Branch(0)},
      {E, "talkline-no-character", Line(1, 0)},
      {E, "talkline-no-character", Line(1, 1)}},
     "There's a dialogue branch without a name."},
    {"restricted character, and the link no longer matches",
     [](DialogueDocument& d) { d.editBranch(1).name = "In-tro"; },
     {{E, "link-missing", InBlock(0, 1, 1, 1)},
      {E, "branch-name-restricted", Branch(1)},
      {N, "branch-unreachable", Branch(1)}},
     "'Intro', but no dialogue branch has this name"},
    {"loop without exit",
     [](DialogueDocument& d) { Bye(d).leaveLoop = 0; },
     {{E, "loop-no-exit", InBlock(0, 1, 1)}},
     "Start - Reponseblock: The responseblock contains no response"},
    {"response said by nobody",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(1).character = ""; },
     {{E, "response-said-by-nobody", InBlock(0, 1, 1)}}},
    // Branch names as WME function names.
    {"blank in name",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Talk to Guy"); },
     {{E, "branch-name-identifier", Branch(1)}},
     "it contains a blank"},
    {"leading digit",
     [](DialogueDocument& d) { RenameBranch(d, 1, "1st"); },
     {{E, "branch-name-identifier", Branch(1)}},
     "starts with a digit"},
    {"accented letter",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Caf\xE9"); },
     {{E, "branch-name-identifier", Branch(1)}},
     "not an ASCII letter"},
    {"keyword", [](DialogueDocument& d) { RenameBranch(d, 1, "while"); }, {{E, "branch-name-keyword", Branch(1)}}},
    {"engine function",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Sleep"); },
     {{E, "branch-name-predefined", Branch(1)}},
     "Duplicate declaration of function"},
    {"engine variable",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Game"); },
     {{E, "branch-name-predefined", Branch(1)}}},
    {"names are case-sensitive", [](DialogueDocument& d) { RenameBranch(d, 1, "sleep"); }, {}},
    {"at-sign inside a name is restricted",
     [](DialogueDocument& d) { RenameBranch(d, 1, "Dlg@1"); },
     {{E, "branch-name-restricted", Branch(1)}}},
    {"200 characters pass", [](DialogueDocument& d) { RenameBranch(d, 1, std::string(200, 'a')); }, {}},
    {"201 characters",
     [](DialogueDocument& d) { RenameBranch(d, 1, std::string(201, 'a')); },
     {{W, "branch-name-long", Branch(1)}}},
    {"4095 characters are long but still a string",
     [](DialogueDocument& d) { RenameBranch(d, 1, std::string(4095, 'a')); },
     {{W, "branch-name-long", Branch(1)}}},
    {"name too long for a string",
     [](DialogueDocument& d) { RenameBranch(d, 1, std::string(4096, 'a')); },
     {{E, "string-too-long", Branch(1)}}},
    {"duplicate name",
     [](DialogueDocument& d) { SetBranch(d, 2, "Intro"); },
     {{E, "branch-name-duplicate", Branch(2)}, {N, "branch-unreachable", Branch(2)}}},
    {"names differing in case",
     [](DialogueDocument& d) { SetBranch(d, 2, "INTRO"); },
     {{W, "branch-name-case", Branch(2)}, {N, "branch-unreachable", Branch(2)}},
     "'Intro' and 'INTRO' differ only in letter case: the game keys Once and Once Game choices by the branch's name "
     "regardless of case, so the two share them"},
    // Links.
    {"link to a missing branch",
     [](DialogueDocument& d) { Who(d).linkBranch = "Outro"; },
     {{E, "link-missing", InBlock(0, 1, 1, 1)}, {N, "branch-unreachable", Branch(1)}},
     "Function 'Outro' is referenced but not defined"},
    {"link matching only without case",
     [](DialogueDocument& d) { Who(d).linkBranch = "intro"; },
     {{E, "link-case", InBlock(0, 1, 1, 1)}, {N, "branch-unreachable", Branch(1)}},
     "named 'Intro'"},
    {"link to its own branch does not reach it",
     [](DialogueDocument& d) {
       SetBranch(d, 1, "Intro", {BlockLine("Guy", 4)});
       AddBlock(d, 4, 4, {{.text = "Again", .leaveLoop = 1, .linkBranch = "Intro"}});
       Who(d).linkBranch = "";
     },
     {{N, "branch-unreachable", Branch(1)}}},
    // Texts in string literals.
    {"double quote in a talkline",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "Say \"hi\""; },
     {{E, "string-quote", Line(0, 0)}}},
    {"escapes the writer meant pass",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "Say ~\"hi~\"~nor ~~ not"; },
     {}},
    {"tilde at the end",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "Hi~"; },
     {{E, "string-tilde-end", Line(0, 0)}}},
    {"tilde before another character",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "50~ off"; },
     {{W, "string-tilde", Line(0, 0)}},
     "'~ '"},
    {"double quote in a sound file",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).soundFile = "a\".ogg"; },
     {{E, "string-quote", Line(0, 0)}},
     "sound file name"},
    {"double quote in a response",
     [](DialogueDocument& d) { Bye(d).text = "\"Bye\""; },
     {{E, "string-quote", InBlock(0, 1, 1, 0)}}},
    {"4095 bytes after escapes pass",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = std::string(4093, 'a') + "~n~~"; },
     {}},
    {"4096 bytes after escapes",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = std::string(4094, 'a') + "~n~~"; },
     {{E, "string-too-long", Line(0, 0)}},
     "4096 bytes"},
    // Characters.
    {"talkline character not in the list",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).character = "guy"; },
     {{W, "character-unknown", Line(0, 0)}},
     "'Guy' differs only in letter case"},
    {"responseblock line character not in the list",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(1).character = "Bob"; },
     {{W, "character-unknown", InBlock(0, 1, 1)}}},
    {"character of a block nobody says needs no entry",
     [](DialogueDocument& d) {
       d.editBranch(0).lines.slot(1).character = "Bob";
       Bye(d).sayResponse = 0;
     },
     {}},
    {"two characters with one real name",
     [](DialogueDocument& d) {
       d.characters.push_back({"Guy", "guy2"});
     },
     {{W, "character-name-shared", OfCharacter(1, 0, 0)}}},
    {"entity name that is no script name",
     [](DialogueDocument& d) { d.characters[0].entityName = "old guy"; },
     {{E, "entity-name-identifier", OfCharacter(0, 0, 0)}}},
    {"at-sign inside an entity name is valid", [](DialogueDocument& d) { d.characters[0].entityName = "guy@2"; }, {}},
    {"entity name of a character who speaks only through responses",
     [](DialogueDocument& d) {
       d.characters.push_back({"Ann", "old ann"});
       d.editBranch(0).lines.slot(1).character = "Ann";
     },
     {{E, "entity-name-identifier", OfCharacter(1, 0, 1)}}},
    {"entity that cannot talk",
     [](DialogueDocument& d) { d.characters[0].entityName = "Game"; },
     {{W, "entity-cannot-talk", OfCharacter(0, 0, 0)}},
     "the game ignores every line 'Guy' says"},
    {"entity that cannot talk, speaking only through responses",
     [](DialogueDocument& d) {
       d.characters.push_back({"Me", "self"});
       d.editBranch(0).lines.slot(1).character = "Me";
     },
     {{W, "entity-cannot-talk", OfCharacter(1, 0, 1)}}},
    {"entity names are case-sensitive", [](DialogueDocument& d) { d.characters[0].entityName = "game"; }, {}},
    {"entity name of a character who says nothing",
     [](DialogueDocument& d) {
       d.characters.push_back({"Ann", ""});
     },
     {}},
    // Response loops.
    {"every way out has a condition",
     [](DialogueDocument& d) {
       Bye(d).conditions = "Game.GetGlobal(\"done\")";
       Who(d).visibility = kAlways;
     },
     {{W, "loop-trap", InBlock(0, 1, 1)}}},
    {"only way out has a condition, the other response is once",
     [](DialogueDocument& d) { Bye(d).conditions = "Game.GetGlobal(\"done\")"; },
     {{W, "loop-trap", InBlock(0, 1, 1)}, {W, "menu-may-run-empty", InBlock(0, 1, 1)}}},
    {"menu that can run empty",
     [](DialogueDocument& d) {
       Bye(d).visibility = kOnceGame;
       Who(d).conditions = "x";
     },
     {{W, "loop-trap", InBlock(0, 1, 1)}, {W, "menu-may-run-empty", InBlock(0, 1, 1)}}},
    {"condition that is always false",
     [](DialogueDocument& d) { Who(d).conditions = "false"; },
     {{N, "condition-always-false", InBlock(0, 1, 1, 1)}},
     "'false' is always false in the game"},
    {"condition that is always true counts as none",
     [](DialogueDocument& d) {
       Who(d).conditions = " (\"Yes\") ";
       Bye(d).conditions = "1";
     },
     {{N, "condition-always-true", InBlock(0, 1, 1, 0)}, {N, "condition-always-true", InBlock(0, 1, 1, 1)}}},
    {"only way out switched off for good",
     [](DialogueDocument& d) { Bye(d).conditions = "0"; },
     {{N, "condition-always-false", InBlock(0, 1, 1, 0)}, {E, "loop-exit-never-offered", InBlock(0, 1, 1)}}},
    {"once-offered way out stays until it is taken", [](DialogueDocument& d) { Bye(d).visibility = kOnce; }, {}},
    {"only way out after the end",
     [](DialogueDocument& d) {
       AddBlock(d, 1, 1, {{.text = "Hi", .linkBranch = "Intro"}, {.text = ""}, {.text = "Bye", .leaveLoop = 1}});
     },
     {{E, "loop-exit-after-end", InBlock(0, 1, 1)}, {W, "response-after-end", InBlock(0, 1, 1, 2)}}},
    // Blocks.
    {"block that does not exist, before another loop",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("Guy", 7), BlockLine("Guy", 1)});
     },
     {{E, "block-missing", InBlock(0, 0, -1)}},
     "Duplicate declaration of variable"},
    {"block id 0",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(1).blockId = 0; },
     {{E, "loop-no-exit", InBlock(0, 1, 0)},
      {E, "block-missing", InBlock(0, 1, -1)},
      {N, "branch-unreachable", Branch(1)},
      {N, "block-unused", Block(1)}}},
    {"block run by two lines",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "Start", {BlockLine("Guy", 1), Talk("Guy", "Hm."), BlockLine("Guy", 1)});
     },
     {{W, "block-shared", InBlock(0, 2, 1)}},
     "line 1 of 'Start'"},
    {"block no line runs",
     [](DialogueDocument& d) { AddBlock(d, 3, 9, {{.text = "Hi"}}); },
     {{N, "block-unused", Block(3)}}},
    {"two blocks with one id",
     [](DialogueDocument& d) { AddBlock(d, 3, 1, {{.text = "Hi"}}); },
     {{E, "loop-no-exit", InBlock(0, 1, 3)}, {W, "block-id-duplicate", Block(3)}}},
    // What a merge left to decide.
    {"conflict markers around two versions of a line",
     [](DialogueDocument& d) {
       SetBranch(d, 1, "Intro",
                 {Remark("<<<<<<< ours"), Talk("Guy", "I am Guy."), Remark("======="), Talk("Guy", "Guy here."),
                  Remark(">>>>>>> theirs")});
     },
     {{E, "merge-conflict", Line(1, 0)}, {E, "merge-conflict", Line(1, 2)}, {E, "merge-conflict", Line(1, 4)}},
     "A merge left a conflict here"},
    {"a marker the writer left behind, with git's label",
     [](DialogueDocument& d) { SetBranch(d, 1, "Intro", {Talk("Guy", "I am Guy."), Remark(">>>>>>> feature")}); },
     {{E, "merge-conflict", Line(1, 1)}},
     "'>>>>>>> feature' is left here"},
    {"remarks that only look alike pass",
     [](DialogueDocument& d) {
       SetBranch(d, 1, "Intro", {Remark("<<< ours"), Remark("======= part two ======="), Code("x = \"<<<<<<<\";")});
     },
     {}},
    {"conflict markers among responses",
     [](DialogueDocument& d) {
       AddBlock(d, 1, 1,
                {{.text = "<<<<<<< ours"}, {.text = "Bye", .leaveLoop = 1, .sayResponse = 1}, {.text = "======="},
                 {.text = "Later", .leaveLoop = 1}, {.text = ">>>>>>> theirs"}});
     },
     {{E, "merge-conflict", InBlock(0, 1, 1, 0)},
      {E, "merge-conflict", InBlock(0, 1, 1, 2)},
      {E, "merge-conflict", InBlock(0, 1, 1, 4)},
      {N, "branch-unreachable", Branch(1)}}},
    {"conflict markers in a block no line runs",
     [](DialogueDocument& d) { AddBlock(d, 3, 9, {{.text = "<<<<<<< ours"}, {.text = "Hi"}}); },
     {{E, "merge-conflict", {.response = 0, .blockSlot = 3}}, {N, "block-unused", Block(3)}}},
    // Texts.
    {"texts saved as UTF-8, once per project",
     [](DialogueDocument& d) {
       d.editBranch(1).lines.slot(0).text = "Caf\xC3\xA9 au lait";
       Bye(d).text = "Adi\xC3\xA8" "u";
     },
     {{W, "text-utf8", Line(1, 0)}},
     "'\xC3\xA9', which is how UTF-8 writes '\xE9'"},
    {"UTF-8 only in a response, reported before the other problems",
     [](DialogueDocument& d) {
       Who(d).text = "Qui \xC3\xAAtes-vous?";
       RenameBranch(d, 1, "while");
     },
     {{W, "text-utf8", InBlock(0, 1, 1, 1)}, {E, "branch-name-keyword", Branch(1)}}},
    {"accents in Windows-1252 pass",
     [](DialogueDocument& d) { d.editBranch(1).lines.slot(0).text = "Caf\xE9 cr\xE8me \xC3 la \xA9"; },
     {}},
    // String-table keys.
    {"a key on every text",
     [](DialogueDocument& d) { KeyAll(d, "/K1/Hello", "/K2/Bye", "/K3/Who are you?", "/K4/I am Guy."); },
     {}},
    {"a slash without a second one is no key",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "/me waves"; },
     {}},
    {"duplicate key, letter case aside",
     [](DialogueDocument& d) { KeyAll(d, "/K1/Hello", "/K2/Bye", "/K3/Who are you?", "/k1/I am Guy."); },
     {{E, "string-key-duplicate", Line(1, 0)}},
     "The string-table key 'k1' of the talkline's text is also the key of Start, line 1"},
    {"duplicate key in a response",
     [](DialogueDocument& d) { KeyAll(d, "/K1/Hello", "/K1/Bye", "/K3/Who are you?", "/K4/I am Guy."); },
     {{E, "string-key-duplicate", InBlock(0, 1, 1, 0)}}},
    {"texts without a key in a project that uses keys",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "/K1/Hello"; },
     {{W, "string-key-missing", InBlock(0, 1, 1, 0)},
      {W, "string-key-missing", InBlock(0, 1, 1, 1)},
      {W, "string-key-missing", Line(1, 0)}},
     "but the response text has none"},
    {"keys a string table cannot hold",
     [](DialogueDocument& d) { KeyAll(d, "//Hello", "/K~nX/Bye", "/K3/Who are you?", "/A B/I am Guy."); },
     {{W, "string-key-malformed", Line(0, 0)},
      {W, "string-key-malformed", InBlock(0, 1, 1, 0)},
      {W, "string-key-malformed", Line(1, 0)}},
     "The talkline's text starts with '//'"},
    // Everything else.
    {"branch nothing links to",
     [](DialogueDocument& d) { SetBranch(d, 2, "Outro"); },
     {{N, "branch-unreachable", Branch(2)}}},
    {"line of an unknown kind",
     [](DialogueDocument& d) { d.editBranch(1).lines.slot(0).kind = "talkline"; },
     {{W, "line-kind-unknown", Line(1, 0)}}},
};

std::string Describe(const std::vector<Problem>& problems) {
  std::string text;
  for (const Problem& p : problems)
    text += std::string(SeverityName(p.severity)) + " " + p.rule + " b" + std::to_string(p.place.branch) + " l" +
            std::to_string(p.place.line) + " r" + std::to_string(p.place.response) + " s" +
            std::to_string(p.place.blockSlot) + " c" + std::to_string(p.place.character) + ": " + p.message + "\n";
  return text;
}

class LintRuleTest : public ::testing::TestWithParam<LintCase> {};

TEST_P(LintRuleTest, FindsEveryProblemAtItsPlace) {
  DialogueDocument document = Clean();
  GetParam().change(document);
  std::vector<Problem> problems = LintDialogue(document, {.checkSoundFiles = false});
  const std::vector<Expected>& expected = GetParam().expected;
  ASSERT_EQ(problems.size(), expected.size()) << Describe(problems);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(problems[i].severity, expected[i].severity) << Describe(problems);
    EXPECT_EQ(problems[i].rule, expected[i].rule) << Describe(problems);
    EXPECT_EQ(problems[i].place, expected[i].place) << Describe(problems);
    EXPECT_FALSE(problems[i].message.empty());
    EXPECT_FALSE(problems[i].hint.empty());
  }
  if (!GetParam().messagePart.empty()) {
    EXPECT_NE(problems.front().message.find(GetParam().messagePart), std::string::npos) << problems.front().message;
  }
}

// Whatever the check finds, the lint reports as an error in the same words,
// and the lint's check rules stay silent when the check passes.
TEST_P(LintRuleTest, AgreesWithTheDialogueCheck) {
  DialogueDocument document = Clean();
  GetParam().change(document);
  std::vector<Problem> problems = LintDialogue(document, {.checkSoundFiles = false});
  const std::vector<std::string> checkRules = {"branch-name-empty", "branch-name-restricted", "talkline-no-character",
                                               "loop-no-exit", "response-said-by-nobody"};
  std::vector<Problem> checked;
  for (const Problem& problem : problems)
    if (std::find(checkRules.begin(), checkRules.end(), problem.rule) != checkRules.end()) checked.push_back(problem);
  CheckResult result = CheckDialogue(document);
  ASSERT_EQ(result.ok, checked.empty()) << result.message;
  if (!result.ok) {
    // The check counts lines from 0, the lint's places from 1: the lint
    // keeps the check's words but not its line number.
    if (checked.front().rule == "talkline-no-character")
      EXPECT_TRUE(result.message.ends_with(" - Line " + std::to_string(checked.front().place.line) + ": " +
                                           checked.front().message))
          << result.message << " / " << checked.front().message;
    else
      EXPECT_EQ(checked.front().message, result.message);
    EXPECT_EQ(checked.front().severity, E);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LintRuleTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(LintPlaceTest, DescribedAsAWriterCountsRows) {
  DialogueDocument d = Clean();
  d.characters.push_back({"Ann", "ann"});
  const std::pair<ProblemPlace, std::string> cases[] = {
      {Branch(1), "Intro"},
      {Line(0, 0), "Start, line 1"},
      {InBlock(0, 1, 1, 0), "Start, line 2, response 1"},
      {Block(1), "responseblock 1"},
      {OfCharacter(1, 0, 0), "character Ann"},
      {{}, ""},
  };
  for (const auto& [place, text] : cases) EXPECT_EQ(DescribePlace(d, place), text);
  d.editBranch(0).name = "";
  EXPECT_EQ(DescribePlace(d, Line(0, 4)), "branch 1 (no name), line 5");
}

// Every message is shown after a place counted from 1, so none may carry the
// check's line counted from 0.
TEST(LintPlaceTest, MessagesCarryNoLineCountedFromZero) {
  DialogueDocument d = Clean();
  SetBranch(d, 1, "Intro", {Talk("Guy", "a"), Talk("", "b")});
  std::vector<Problem> problems = LintDialogue(d, {.checkSoundFiles = false});
  ASSERT_EQ(problems.size(), 1u) << Describe(problems);
  EXPECT_EQ(DescribePlace(d, problems[0].place) + ": " + problems[0].message,
            "Intro, line 2: A talkline needs a character given to work.");
}

TEST(LintCountTest, CountsBySeverity) {
  DialogueDocument d = Clean();
  SetBranch(d, 2, "while");                              // error, note
  d.editBranch(0).lines.slot(0) = Talk("guy", "a\"b~");  // warning, two errors
  ProblemCounts counts = CountProblems(LintDialogue(d, {.checkSoundFiles = false}));
  EXPECT_EQ(counts.errors, 3);
  EXPECT_EQ(counts.warnings, 1);
  EXPECT_EQ(counts.notes, 1);
}

}  // namespace
}  // namespace tellwright
