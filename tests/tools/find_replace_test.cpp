#include "tools/find_replace.h"

#include <gtest/gtest.h>

#include <functional>

#include "editing/branch_commands.h"
#include "editing/character_commands.h"
#include "editing/response_commands.h"
#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

std::string FieldName(SearchField field) {
  switch (field) {
    case kFieldTalkText:
      return "talk";
    case kFieldResponseText:
      return "response";
    case kFieldCodeline:
      return "code";
    case kFieldRemark:
      return "remark";
    case kFieldConditions:
      return "conditions";
    case kFieldSoundFile:
      return "sound";
    case kFieldLink:
      return "link";
    case kFieldBranchName:
      return "branch";
    case kFieldCharacterName:
      return "name";
    default:
      return "entity";
  }
}

// "Start, line 1: talk@13" per match.
std::vector<std::string> Found(const DialogueDocument& d, const SearchQuery& query) {
  std::vector<std::string> found;
  for (const Match& m : FindMatches(d, query))
    found.push_back(DescribePlace(d, m.place) + ": " + FieldName(m.field) + "@" + std::to_string(m.offset));
  return found;
}

TEST(FindMatchesTest, FindsEveryMatchInDocumentOrder) {
  struct Case {
    SearchQuery query;
    std::vector<std::string> expected;
  } cases[] = {
      {{"hello"},
       {"Start, line 1: talk@0", "Start, line 1: talk@13", "Start, line 1: sound@6",
        "Start, line 2, response 1: response@0", "Start, line 2, response 1: conditions@0",
        "Start, line 2, response 1: link@0", "Start, line 3: code@5", "Start, line 4: remark@4",
        "Hello_World: branch@0", "responseblock 9, response 1: response@0"}},
      {{.text = "hello", .wholeWords = true},
       {"Start, line 1: talk@0", "Start, line 1: talk@13", "Start, line 1: sound@6",
        "Start, line 2, response 1: response@0", "Start, line 3: code@5", "Start, line 4: remark@4",
        "responseblock 9, response 1: response@0"}},
      {{.text = "Hello", .matchCase = true},
       {"Start, line 1: talk@0", "Start, line 2, response 1: response@0", "Start, line 2, response 1: link@0",
        "Start, line 3: code@5", "Hello_World: branch@0"}},
      {{.text = "hello", .fields = kFieldLink | kFieldConditions},
       {"Start, line 2, response 1: conditions@0", "Start, line 2, response 1: link@0"}},
      {{"\xC9LISE"}, {"Hello_World, line 1: talk@0", "character \xC9lise: name@0"}},
      {{.text = "lise", .wholeWords = true}, {}},
      {{"caf"}, {"Hello_World, line 1: talk@8"}},
      {{.text = "caf", .wholeWords = true}, {}},
      {{""}, {}},
  };
  const DialogueDocument d = ToolsDocument();
  for (const Case& c : cases) EXPECT_EQ(Found(d, c.query), c.expected) << c.query.text;
}

// A whole word ends at a digit no more than at a letter: "met" is not
// found inside "met2", where replacing it would break the code.
TEST(FindMatchesTest, WholeWordsCountDigitsAsWordCharacters) {
  DialogueDocument d;
  SetBranch(d, 0, "Start", {Code("met2 = 2met + met;")});
  std::vector<Match> matches = FindMatches(d, {.text = "met", .wholeWords = true});
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].offset, 14u);
}

TEST(FindMatchesTest, GivesTheTextAroundEachMatch) {
  DialogueDocument d;
  const std::string x(40, 'x'), y(40, 'y');
  SetBranch(d, 0, "Start", {Remark(x + "aaaa" + y), Remark("aab")});
  std::vector<Match> matches = FindMatches(d, {"aa"});
  ASSERT_EQ(matches.size(), 3u);
  EXPECT_EQ(matches[0].offset, 40u);
  EXPECT_EQ(matches[0].context, std::string(30, 'x') + "aaaa" + std::string(28, 'y'));
  EXPECT_EQ(matches[0].contextOffset, 30u);
  EXPECT_EQ(matches[1].offset, 42u);  // not overlapping the first
  EXPECT_EQ(matches[1].context, std::string(28, 'x') + "aaaa" + std::string(30, 'y'));
  EXPECT_EQ(matches[2].context, "aab");
  EXPECT_EQ(matches[2].contextOffset, 0u);
}

// A key is for the engine: a search does not see it and a replace keeps it.
TEST(FindMatchesTest, LooksBehindTheKey) {
  DialogueDocument d = ToolsDocument();
  d.editBranch(0).lines.slot(0).text = "/HELLO0001/Hello there, hello!";
  d.responseBlocks.slot(0).responses.slot(1).text = "/BYE/Bye";
  EXPECT_EQ(Found(d, {.text = "hello", .fields = kFieldTalkText}),
            (std::vector<std::string>{"Start, line 1: talk@11", "Start, line 1: talk@24"}));
  EXPECT_EQ(Found(d, {.text = "bye", .wholeWords = true, .fields = kFieldResponseText}),
            (std::vector<std::string>{"Start, line 2, response 2: response@5"}));
  EXPECT_TRUE(Found(d, {.text = "HELLO0001"}).empty());
  std::vector<Match> matches = FindMatches(d, {.text = "hello", .fields = kFieldTalkText});
  EXPECT_EQ(matches[0].context, "Hello there, hello!");
  EXPECT_EQ(matches[0].contextOffset, 0u);

  DialogueDocument one = d;
  EXPECT_TRUE(ReplaceMatch(one, matches[1], "you").changed);
  EXPECT_EQ(one.branch(0).lines[0].text, "/HELLO0001/Hello there, you!");
  ReplaceAllResult all = ReplaceAll(d, {.text = "hello", .fields = kFieldTalkText}, "bye");
  EXPECT_EQ(all.replaced, 2);
  EXPECT_EQ(d.branch(0).lines[0].text, "/HELLO0001/bye there, bye!");

  // A response is never left saying nothing, key or no key.
  const DialogueDocument before = d;
  std::vector<Match> bye = FindMatches(d, {.text = "Bye", .fields = kFieldResponseText});
  ASSERT_EQ(bye.size(), 1u);
  EXPECT_EQ(ReplaceMatch(d, bye[0], "").status.message, kEmptyResponseMessage);
  EXPECT_EQ(ReplaceAll(d, {.text = "Bye", .fields = kFieldResponseText}, "").edit.status.message,
            kEmptyResponseMessage);
  EXPECT_TRUE(d == before);
}

// The texts a replacement may touch, as one string to compare.
std::string Texts(const DialogueDocument& d) {
  std::string out;
  for (int b = 0; b < d.branchCount(); ++b) {
    out += d.branch(b).name + "[";
    for (int l = 0; l < d.branch(b).lineCount; ++l)
      out += d.branch(b).lines[l].character + ":" + d.branch(b).lines[l].text + "|";
    out += "]";
  }
  for (int slot : {0, 3})
    for (int r = 0; r < d.responseBlocks[slot].usedResponses(); ++r) {
      const Response& response = d.responseBlocks[slot].responses[r];
      out += "{" + response.text + "," + response.conditions + ">" + response.linkBranch + "}";
    }
  for (const Character& c : d.characters) out += "<" + c.realName + "/" + c.entityName + ">";
  return out;
}

struct ReplaceCase {
  std::string title;
  SearchQuery query;
  int match;  // which match ReplaceMatch takes; -1: ReplaceAll
  std::string replacement;
  ReplaceOptions options = {};
  std::string refusal = "";   // "" when it is done
  std::string expected = "";  // Texts after it ("" when refused: unchanged)
  int replaced = -1;          // ReplaceAll's count
  std::function<void(DialogueDocument&)> meanwhile = {};
};

const std::string kBefore =
    "Start[Guy:Hello there, hello!|Guy:|:Game.Hello();|:say hello, bye|\xC9lise:|]"
    "Hello_World[\xC9lise:\xE9lise, \"caf\xE9\"?|Narrator:Night falls.|]StartStart[]"
    "{Hello?,hello_ok>Hello_World}{Bye,>Start}{hello unused,>StartStart}<Guy/guy><\xC9lise/elise>";

std::string After(std::string_view from, std::string_view to) {
  std::string text = kBefore;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

TEST(ReplaceTest, ReplacesInPlaceOrRefusesChangingNothing) {
  const ReplaceCase cases[] = {
      {"OneTalkText", {"hello"}, 1, "bye", {}, "", After("Hello there, hello!", "Hello there, bye!")},
      {"BranchNameTakesItsLinks",
       {.text = "World", .fields = kFieldBranchName},
       0,
       "Moon",
       {},
       "",
       After("Hello_World", "Hello_Moon")},
      {"CharacterKeepsItsLines",
       {.text = "Guy", .fields = kFieldCharacterName},
       0,
       "Bob",
       {},
       "",
       After("<Guy/", "<Bob/")},
      {"CharacterRenamesItsLines",
       {.text = "Guy", .fields = kFieldCharacterName},
       0,
       "Bob",
       {true},
       "",
       After("Guy", "Bob")},
      {"EntityName",
       {.text = "elise", .matchCase = true, .fields = kFieldEntityName},
       0,
       "lisa",
       {},
       "",
       After("/elise>", "/lisa>")},
      {"LineBreak", {"hello"}, 0, "a\r\nb", {}, "The replacement text cannot contain a line break.", ""},
      {"EmptyBranchName",
       {.text = "Start", .fields = kFieldBranchName},
       0,
       "",
       {},
       std::string(kEmptyBranchNameMessage),
       ""},
      {"EmptyResponse", {"Bye"}, 0, "", {}, std::string(kEmptyResponseMessage), ""},
      {"TakenRealName",
       {.text = "Guy", .fields = kFieldCharacterName},
       0,
       "\xC9lise",
       {},
       std::string(kDuplicateRealNameMessage),
       ""},
      {"MatchGone",
       {"hello"},
       1,
       "bye",
       {},
       "The text found is no longer there: the dialogue changed since the search. Search again.",
       "",
       -1,
       [](DialogueDocument& d) { d.editBranch(0).lines.slot(0).text = "Hello!"; }},
      {"All",
       {"hello"},
       -1,
       "bye",
       {},
       "",
       "Start[Guy:bye there, bye!|Guy:|:Game.bye();|:say bye, bye|\xC9lise:|]"
       "bye_World[\xC9lise:\xE9lise, \"caf\xE9\"?|Narrator:Night falls.|]StartStart[]"
       "{bye?,bye_ok>bye_World}{Bye,>Start}{bye unused,>StartStart}<Guy/guy><\xC9lise/elise>",
       10},
      {"AllLinksFollowOldNames",
       {.text = "Start", .fields = kFieldBranchName},
       -1,
       "StartStart",
       {},
       "",
       After("Start", "StartStart"),
       3},
      {"AllSpeakers", {.text = "u", .fields = kFieldCharacterName}, -1, "uu", {true}, "", After("Guy", "Guuy"), 1},
      {"AllKeepSpeakers", {.text = "u", .fields = kFieldCharacterName}, -1, "uu", {}, "", After("<Guy/", "<Guuy/"), 1},
      {"AllOrNothing", {"bye"}, -1, "", {}, std::string(kEmptyResponseMessage), ""},
      {"AllTakenRealName",
       {.text = "\xC9lise", .fields = kFieldCharacterName},
       -1,
       "Guy",
       {},
       std::string(kDuplicateRealNameMessage),
       ""},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.title);
    DialogueDocument d = ToolsDocument();
    ASSERT_EQ(Texts(d), kBefore);
    std::vector<Match> matches = FindMatches(d, c.query);
    if (c.meanwhile) c.meanwhile(d);
    const DialogueDocument before = d;
    EditResult result;
    if (c.match >= 0) {
      ASSERT_LT(c.match, static_cast<int>(matches.size()));
      result = ReplaceMatch(d, matches[c.match], c.replacement, c.options);
    } else {
      ReplaceAllResult all = ReplaceAll(d, c.query, c.replacement, c.options);
      result = all.edit;
      EXPECT_EQ(all.replaced, c.refusal.empty() ? c.replaced : 0);
    }
    EXPECT_EQ(result.status.message, c.refusal);
    EXPECT_EQ(result.changed, c.refusal.empty());
    if (c.refusal.empty())
      EXPECT_EQ(Texts(d), c.expected);
    else
      EXPECT_TRUE(d == before);
  }
}

// Undo restores what the reach declared: a part left out would stay changed.
TEST(ReplaceTest, ReachHoldsEverythingTheReplacementChanges) {
  const ReplaceCase cases[] = {
      {"Talk", {"hello"}, 1, "bye"},
      {"Response", {"hello"}, 3, "bye"},
      {"Branch", {.text = "World", .fields = kFieldBranchName}, 0, "Moon"},
      {"Speakers", {.text = "lise", .fields = kFieldCharacterName}, 0, "lisa", {true}},
      {"All", {"hello"}, -1, "bye"},
      {"AllNames", {.text = "S", .matchCase = true}, -1, "T", {true}},
      {"AllSpeakers", {"u"}, -1, "uu", {true}},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.title);
    DialogueDocument d = ToolsDocument();
    std::vector<Match> matches = FindMatches(d, c.query);
    ReplaceReach reach =
        c.match >= 0 ? ReachOfReplace(d, matches[c.match], c.options) : ReachOfReplaceAll(d, c.query, c.options);
    EXPECT_TRUE(UndoneAndRedone(d, reach.scope(), [&](DialogueDocument& document) {
      return c.match >= 0 ? ReplaceMatch(document, matches[c.match], c.replacement, c.options)
                          : ReplaceAll(document, c.query, c.replacement, c.options).edit;
    }));
  }
}

}  // namespace
}  // namespace tellwright
