#include "tools/string_keys.h"

#include <gtest/gtest.h>

#include <functional>

#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

// Every line's text and every stored response's text with its conditions,
// in table order, so a test sees what changed and what did not.
std::vector<std::string> AllTexts(const DialogueDocument& d) {
  std::vector<std::string> texts;
  for (int b = 0; b < d.branchCount(); ++b)
    for (int l = 0; l < d.branch(b).lineCount; ++l) texts.push_back(d.branch(b).lines[l].text + "|" + d.branch(b).lines[l].soundFile);
  for (int slot = 0; slot < d.responseBlocks.stored(); ++slot)
    for (int r = 0; r < d.responseBlocks[slot].responses.stored(); ++r)
      texts.push_back(d.responseBlocks[slot].responses[r].text + "|" + d.responseBlocks[slot].responses[r].conditions);
  return texts;
}

// Start: Guy says Hello, a codeline, a remark, an empty talkline, the
// block with id 1 (Bye, Who are you?); Intro: Guy says one line. Block 2
// is run by no line.
DialogueDocument Project() {
  DialogueDocument d;
  d.characters.push_back({"Guy", "guy"});
  SetBranch(d, 0, "Start",
            {Talk("Guy", "Hello", "hello.ogg"), Code("Game.Hello();"), Remark("a remark"), Talk("Guy", ""),
             BlockLine("Guy", 1)});
  SetBranch(d, 1, "Intro", {Talk("Guy", "I am Guy.")});
  AddBlock(d, 1, 1, {{.text = "Bye", .leaveLoop = 1, .conditions = "x"}, {.text = "Who are you?"}});
  AddBlock(d, 2, 2, {{.text = "Never shown"}});
  return d;
}

struct AssignCase {
  const char* title;
  std::function<void(DialogueDocument&)> before;
  const char* prefix;
  std::vector<std::string> expected;  // AllTexts afterwards
  int assigned;
};

const AssignCase kAssignCases[] = {
    {"every talkline and response text, nothing else",
     [](DialogueDocument&) {},
     "DEMO",
     {"/DEMO0001/Hello|hello.ogg", "Game.Hello();|", "a remark|", "|", "|", "/DEMO0004/I am Guy.|",
      "/DEMO0002/Bye|x", "/DEMO0003/Who are you?|", "Never shown|"},
     4},
    {"numbered after the highest key, gaps left alone",
     [](DialogueDocument& d) {
       d.editBranch(0).lines.slot(0).text = "/DEMO0002/Hello";
       d.responseBlocks.slot(2).responses.slot(0).text = "/DEMO0007/Never shown";
     },
     "DEMO",
     {"/DEMO0002/Hello|hello.ogg", "Game.Hello();|", "a remark|", "|", "|", "/DEMO0010/I am Guy.|",
      "/DEMO0008/Bye|x", "/DEMO0009/Who are you?|", "/DEMO0007/Never shown|"},
     3},
    {"other prefixes do not count, letter case does not matter",
     [](DialogueDocument& d) {
       d.editBranch(0).lines.slot(0).text = "/OTHER0040/Hello";
       d.editBranch(1).lines.slot(0).text = "/demo0011/I am Guy.";
     },
     "DEMO",
     {"/OTHER0040/Hello|hello.ogg", "Game.Hello();|", "a remark|", "|", "|", "/demo0011/I am Guy.|",
      "/DEMO0012/Bye|x", "/DEMO0013/Who are you?|", "Never shown|"},
     2},
    {"a hand-made key is kept",
     [](DialogueDocument& d) { d.responseBlocks.slot(1).responses.slot(0).text = "/BYE/Bye"; },
     "A_1",
     {"/A_10001/Hello|hello.ogg", "Game.Hello();|", "a remark|", "|", "|", "/A_10003/I am Guy.|", "/BYE/Bye|x",
      "/A_10002/Who are you?|", "Never shown|"},
     3},
    {"past 9999 the number grows a digit",
     [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "/K9999/Hello"; },
     "K",
     {"/K9999/Hello|hello.ogg", "Game.Hello();|", "a remark|", "|", "|", "/K10002/I am Guy.|", "/K10000/Bye|x",
      "/K10001/Who are you?|", "Never shown|"},
     3},
};

class AssignKeysTest : public ::testing::TestWithParam<AssignCase> {};

TEST_P(AssignKeysTest, KeysEveryTextTheGameShowsOnce) {
  DialogueDocument d = Project();
  GetParam().before(d);
  KeyAssignment result = AssignKeys(d, GetParam().prefix);
  EXPECT_TRUE(result.edit.changed);
  EXPECT_EQ(result.assigned, GetParam().assigned);
  EXPECT_EQ(AllTexts(d), GetParam().expected);
  // A second run finds nothing left to key.
  DialogueDocument again = d;
  KeyAssignment second = AssignKeys(again, GetParam().prefix);
  EXPECT_FALSE(second.edit.changed);
  EXPECT_TRUE(second.edit.status.ok);
  EXPECT_EQ(again, d);
}

INSTANTIATE_TEST_SUITE_P(Cases, AssignKeysTest, ::testing::ValuesIn(kAssignCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(AssignKeysTest, RefusesAPrefixTheTableRulesDoNotAllow) {
  for (const char* prefix : {"", "demo", "DE MO", "DE-MO", "\xC4RGER"}) {
    DialogueDocument d = Project();
    KeyAssignment result = AssignKeys(d, prefix);
    EXPECT_FALSE(result.edit.status.ok) << prefix;
    EXPECT_EQ(d, Project()) << prefix;
  }
}

// One undo step takes back what Assign keys did, and redo does it again:
// the reach holds every part it changes.
TEST(AssignKeysTest, UndoneAndRedoneAsOneStep) {
  for (bool responsesKeyed : {false, true}) {
    DialogueDocument d = Project();
    AddBlock(d, 3, 3, {{.text = "Other block"}});
    SetBranch(d, 2, "Third", {BlockLine("Guy", 3)});
    if (responsesKeyed) d.responseBlocks.slot(1).responses.slot(0).text = "/X/Bye";
    EXPECT_TRUE(UndoneAndRedone(d, ReachOfAssignKeys(d),
                                [](DialogueDocument& document) { return AssignKeys(document, "DEMO").edit; }));
  }
  DialogueDocument d = Project();
  d.editBranch(1).lines.slot(0).text = "/A0002/I am Guy.";
  ChangeScope scope = ReachOfAssignKeys(d);
  EXPECT_EQ(scope.branches, std::vector<int>{0});
  EXPECT_EQ(scope.blockSlot, 1);
}

TEST(DefaultKeyPrefixTest, FromTheProjectsFileName) {
  const std::pair<std::string, std::string> cases[] = {
      {"/games/lighthouse.tlwdlg", "LIGHTHOUSE"},
      {"C:\\Games\\my intro-2.tlwdlg", "MY_INTRO_2"},
      {"act_1.tlwdlg", "ACT_1"},
      {"\xC3\x89t\xC3\xA9.tlwdlg", "T"},
      {"", "TEXT"},
      {"---.tlwdlg", "TEXT"},
  };
  for (const auto& [path, prefix] : cases) {
    EXPECT_EQ(DefaultKeyPrefix(path), prefix) << path;
    EXPECT_TRUE(IsValidKeyPrefix(DefaultKeyPrefix(path))) << path;
  }
}

// What the editor shows and keeps: the text without its key, and the key
// in front again after an edit.
TEST(KeyedTextTest, SplitAndKeptThroughAnEdit) {
  KeyedText keyed = SplitKeyedText("/INTRO0001/Hello /there/");
  EXPECT_TRUE(keyed.keyed);
  EXPECT_EQ(keyed.key, "INTRO0001");
  EXPECT_EQ(keyed.text, "Hello /there/");
  EXPECT_EQ(keyed.keyLength, 11u);
  for (const char* plain : {"Hello", "/me waves", "", "a/b/c"}) {
    KeyedText split = SplitKeyedText(plain);
    EXPECT_FALSE(split.keyed) << plain;
    EXPECT_EQ(split.text, plain);
    EXPECT_EQ(split.keyLength, 0u);
  }
  EXPECT_EQ(WithKeptKey("/INTRO0001/Hello", "Goodbye"), "/INTRO0001/Goodbye");
  EXPECT_EQ(WithKeptKey("/INTRO0001/Hello", ""), "/INTRO0001/");
  EXPECT_EQ(WithKeptKey("Hello", "Goodbye"), "Goodbye");
}

struct PasteCase {
  const char* title;
  std::vector<DialogueLine> pasted;
  std::vector<std::string> expected;  // texts after re-keying
  int rekeyed;
};

// The project holds DEMO0001-DEMO0004 (after Assign keys) and ACT_20007.
const PasteCase kPasteCases[] = {
    {"a copy gets the next key of its prefix",
     {Talk("Guy", "/DEMO0001/Hello"), Talk("Guy", "/demo0004/I am Guy.")},
     {"/DEMO0005/Hello", "/demo0006/I am Guy."},
     2},
    {"lines cut and pasted back keep their keys",
     {Talk("Guy", "/DEMO0100/Hello"), Talk("Guy", "Plain"), Code("/DEMO0001/ not a text")},
     {"/DEMO0100/Hello", "Plain", "/DEMO0001/ not a text"},
     0},
    {"a key pasted twice is given once, and new keys pass kept ones",
     {Talk("Guy", "/DEMO0005/a"), Talk("Guy", "/DEMO0005/b"), Talk("Guy", "/DEMO0002/c")},
     {"/DEMO0005/a", "/DEMO0006/b", "/DEMO0007/c"},
     2},
    {"each prefix numbered on its own",
     {Talk("Guy", "/ACT_20007/x"), Talk("Guy", "/DEMO0003/y")},
     {"/ACT_20008/x", "/DEMO0005/y"},
     2},
    {"a key of another form takes the fallback prefix",
     {Talk("Guy", "/DEMO0001/x"), Talk("Guy", "/SHOUT/y"), Talk("Guy", "/SHOUT/z"), Talk("Guy", "/hi.1/w")},
     {"/DEMO0005/x", "/SHOUT/y", "/SHOUT0001/z", "/hi.1/w"},
     2},
};

class RekeyForPasteTest : public ::testing::TestWithParam<PasteCase> {};

TEST_P(RekeyForPasteTest, NoPastedLineSharesAKey) {
  DialogueDocument d = Project();
  AssignKeys(d, "DEMO");
  d.editBranch(1).lines.slot(1) = Talk("Guy", "/ACT_20007/Act two");
  d.editBranch(1).lineCount = 2;
  DialogueDocument before = d;
  PasteRekeying result = RekeyForPaste(d, GetParam().pasted, "FALLBACK");
  std::vector<std::string> texts;
  for (const DialogueLine& line : result.lines) texts.push_back(line.text.str());
  EXPECT_EQ(texts, GetParam().expected);
  EXPECT_EQ(result.rekeyed, GetParam().rekeyed);
  EXPECT_EQ(d, before);
}

INSTANTIATE_TEST_SUITE_P(Cases, RekeyForPasteTest, ::testing::ValuesIn(kPasteCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(ListKeyedTextsTest, PlaceKeyTextAndSpeakerOfEachKeyedText) {
  DialogueDocument d = Project();
  AssignKeys(d, "DEMO");
  d.characters.push_back({"Ann", "ann"});
  SetBranch(d, 1, "Intro", {Talk("Ann", "/DEMO0004/I am Ann."), Talk("Ann", "unkeyed")});
  std::vector<KeyableText> texts = ListKeyedTexts(d);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].place, (ProblemPlace{.branch = 0, .line = 0}));
  EXPECT_EQ(texts[0].key, "DEMO0001");
  EXPECT_EQ(texts[0].text, "Hello");
  EXPECT_EQ(texts[0].character, "Guy");
  EXPECT_EQ(texts[2].place, (ProblemPlace{.branch = 0, .line = 4, .response = 1, .blockSlot = 1}));
  EXPECT_TRUE(texts[2].response);
  EXPECT_EQ(texts[2].text, "Who are you?");
  EXPECT_EQ(texts[2].character, "Guy");
  EXPECT_EQ(texts[3].text, "I am Ann.");
  EXPECT_EQ(texts[3].character, "Ann");
}

// The watch answers as a full look would after every step of a run of
// edits, each on a document that shares what the step did not write.
TEST(KeyUseWatchTest, FollowsEveryEditAsAFullLookWould) {
  const std::pair<const char*, std::function<void(DialogueDocument&)>> steps[] = {
      {"a key typed into a talkline",
       [](DialogueDocument& d) { d.editBranch(1).lines.slot(0).text = "/INTRO_1/I am Guy."; }},
      {"the key taken out again", [](DialogueDocument& d) { d.editBranch(1).lines.slot(0).text = "I am Guy."; }},
      {"a key in a response", [](DialogueDocument& d) { d.responseBlocks.slot(1).responses.slot(1).text = "/R1/Who?"; }},
      {"its block freed", [](DialogueDocument& d) { d.responseBlocks.slot(1).id = -1; }},
      {"a keyed line past the line count", [](DialogueDocument& d) { d.editBranch(0).lines.slot(7).text = "/K/x"; }},
      {"the line count taking it in",
       [](DialogueDocument& d) {
         d.editBranch(0).lines.slot(7).kind = kTalkline;
         d.editBranch(0).lineCount = 8;
       }},
      {"the branch out of use", [](DialogueDocument& d) { d.lastBranchIndex = -1; }},
      {"and back in use", [](DialogueDocument& d) { d.lastBranchIndex = 1; }},
  };
  DialogueDocument document = Project();
  KeyUseWatch watch;
  EXPECT_FALSE(watch.usesKeys(document));
  for (const auto& [what, edit] : steps) {
    DialogueDocument next = document;
    edit(next);
    document = std::move(next);
    EXPECT_EQ(watch.usesKeys(document), ProjectUsesKeys(document)) << what;
  }
  EXPECT_TRUE(ProjectUsesKeys(document));  // the run ends with a key in use
}

}  // namespace
}  // namespace tellwright
