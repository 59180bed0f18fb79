#include "play/dialogue_player.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <tuple>

namespace tellwright {
namespace {

DialogueLine Talk(std::string who, std::string text, std::string sound = "") {
  return {std::string(kTalkline), std::move(who), std::move(text), std::move(sound), 0};
}
DialogueLine Code(std::string code) { return {std::string(kCodeline), "", std::move(code), "", 0}; }
DialogueLine Note(std::string remark) { return {std::string(kRemark), "", std::move(remark), "", 0}; }
DialogueLine Menu(std::string who, int32_t blockId) {
  return {std::string(kResponseblock), std::move(who), "", "", blockId};
}

// `flags`: S say, L leave loop, O once, G once game.
Response R(std::string text, std::string_view flags = "", std::string link = "", std::string condition = "") {
  int32_t visibility = flags.find('G') != flags.npos ? kOnceGame : flags.find('O') != flags.npos ? kOnce : kAlways;
  return {std::move(text), std::move(condition),          std::move(link),
          visibility,      flags.find('L') != flags.npos, flags.find('S') != flags.npos};
}

struct BranchSpec {
  std::string name;
  std::vector<DialogueLine> lines;
};
struct BlockSpec {
  int32_t id;
  std::vector<Response> responses;
};

DialogueDocument Doc(const std::vector<BranchSpec>& branches, const std::vector<BlockSpec>& blocks = {},
                     std::vector<Character> characters = {{"Ada", "actor_ada"}, {"Mara", "keeper_mara"}}) {
  DialogueDocument document;
  for (size_t b = 0; b < branches.size(); ++b) {
    DialogueBranch& branch = document.editBranch(static_cast<int>(b));
    branch.name = branches[b].name;
    for (size_t l = 0; l < branches[b].lines.size(); ++l) branch.lines.slot(static_cast<int>(l)) = branches[b].lines[l];
    branch.lineCount = static_cast<int32_t>(branches[b].lines.size());
  }
  document.lastBranchIndex = static_cast<int32_t>(branches.size()) - 1;
  for (size_t slot = 0; slot < blocks.size(); ++slot) {
    ResponseBlock& block = document.responseBlocks.slot(static_cast<int>(slot) + 1);
    block.id = blocks[slot].id;
    for (size_t r = 0; r < blocks[slot].responses.size(); ++r)
      block.responses.slot(static_cast<int>(r)) = blocks[slot].responses[r];
  }
  document.characters = std::move(characters);
  return document;
}

using Edit = std::function<void(DialogueDocument&)>;

// Plays branch 0 of a document and answers as told; `out` collects the
// transcripts, with restarts and refusals marked where they happened.
struct Session {
  explicit Session(const DialogueDocument& document) : player(document) {
    EXPECT_TRUE(player.start(0));
    run();
  }

  // `actions`, a word each: a number chooses that menu entry (1-based), R
  // restarts keeping the Once Game choices and r without them, S starts
  // afresh at branch 0, off:COND and on:COND
  // switches a condition off, E applies `edit` to `document`.
  std::string play(const std::string& actions, DialogueDocument* document = nullptr, const Edit& edit = nullptr) {
    std::istringstream words(actions);
    for (std::string word; words >> word; run()) {
      if (word == "R" || word == "r") {
        mark("== restart");
        player.restart(word == "R");
        shown = 0;
      } else if (word == "S") {
        mark("== start");
        EXPECT_TRUE(player.start(0));
        shown = 0;
      } else if (word.starts_with("off:")) {
        player.setCondition(word.substr(4), false);
      } else if (word.starts_with("on:")) {
        player.setCondition(word.substr(3), true);
      } else if (word == "E") {
        edit(*document);
      } else if (Status status = player.choose(std::stoi(word) - 1); !status) {
        mark("?? " + status.message);
      }
    }
    mark("");
    return out;
  }

  void run() {
    while (!player.finished() && !player.waitingForChoice()) player.step();
  }
  void mark(const std::string& line) {
    const auto& events = player.transcript();
    out += TranscriptText({events.begin() + static_cast<long>(shown), events.end()});
    shown = events.size();
    if (!line.empty()) out += line + "\n";
  }

  DialoguePlayer player;
  std::string out;
  size_t shown = 0;
};

std::string Play(DialogueDocument& document, const std::string& actions, const Edit& edit = nullptr) {
  return Session(document).play(actions, &document, edit);
}

TEST(DialoguePlayerTest, LinesPlayInOrderAndTalklinesAreSaidByEveryMatchingCharacter) {
  DialogueDocument document =
      Doc({{"Start",
            {Note("Ada climbs the last steps."), Talk("Mara", "Mind the oil.", "voice\\m1.ogg"),
             Code("Game.SetGlobal(\"met\", true);"), DialogueLine{"Music", "", "ignored", "", 0}, DialogueLine{},
             Talk("Nell", "Hello."), Talk("Twin", "We agree."), Talk("", "Nobody.")}}},
          {}, {{"Twin", "twin_a"}, {"Mara", "keeper_mara"}, {"Twin", "twin_b"}});
  EXPECT_EQ(Play(document, ""),
            "// Ada climbs the last steps.\n"
            "Mara: Mind the oil. [voice\\m1.ogg]\n"
            "(code) Game.SetGlobal(\"met\", true);\n"
            "(silent: Nell is not in the character list) Hello.\n"
            "Twin: We agree.\n"
            "Twin: We agree.\n"
            "(silent: no character given) Nobody.\n"
            "-- The end.\n");

  DialoguePlayer player(document);
  ASSERT_TRUE(player.start(0, 6));
  PlayEvent first = player.step();
  PlayEvent second = player.step();
  EXPECT_EQ(first.entity + " " + second.entity, "twin_a twin_b");
  EXPECT_EQ(second.place.line, 6);
  PlayEvent remark;
  remark.kind = PlayEventKind::Remark;
  EXPECT_EQ(TranscriptText({remark}, false), "");
}

struct LoopCase {
  const char* name;
  DialogueDocument document;
  const char* actions;
  const char* transcript;
};

TEST(DialoguePlayerTest, ResponseLoopsOfferChooseCallAndLeaveAsTheScriptDoes) {
  LoopCase cases[] = {
      {"LinkReturnsIntoTheLoop_ThenSayLinkLeaveInThatOrder",
       Doc({{"Start", {Menu("Ada", 1), Talk("Mara", "After.")}}, {"Beach", {Talk("Mara", "At the beach.")}}},
           {{1, {R("To the beach", "SL", "Beach"), R("Peek", "", "Beach")}}}),
       "2 1",
       "  1. To the beach\n  2. Peek\n> Peek\nMara: At the beach.\n"
       "  1. To the beach\n  2. Peek\n> To the beach\nAda: To the beach\nMara: At the beach.\n"
       "Mara: After.\n-- The end.\n"},
      {"OnceIsNotOfferedAgainInItsLoop", Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Ask", "O"), R("Go", "L")}}}),
       "1 1", "  1. Ask\n  2. Go\n> Ask\n  1. Go\n> Go\n-- The end.\n"},
      {"OnceKeyIsSharedByANestedRunOfTheSameBranch",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Ask", "O"), R("Again", "", "Start"), R("Go", "L")}}}), "2 1 2 2",
       "  1. Ask\n  2. Again\n  3. Go\n> Again\n"
       "  1. Ask\n  2. Again\n  3. Go\n> Ask\n  1. Again\n  2. Go\n> Go\n"
       "  1. Again\n  2. Go\n> Go\n-- The end.\n"},
      {"OnceKeyDiffersInANestedBranchOfAnotherName",
       Doc({{"Start", {Menu("Ada", 1)}}, {"Cave", {Menu("Ada", 2)}}},
           {{1, {R("Ask", "O"), R("Visit", "", "Cave"), R("Go", "L")}}, {2, {R("Ask too", "O"), R("Back", "L")}}}),
       "1 1 1 1 2",
       "  1. Ask\n  2. Visit\n  3. Go\n> Ask\n  1. Visit\n  2. Go\n> Visit\n"
       "  1. Ask too\n  2. Back\n> Ask too\n  1. Back\n> Back\n  1. Visit\n  2. Go\n> Go\n-- The end.\n"},
      {"OnceIsForgottenWhenTheOutermostDialogueBranchEnds",
       Doc({{"Start", {Menu("Ada", 1), Menu("Ada", 2)}}},
           {{1, {R("Ask", "O"), R("Go", "L")}}, {2, {R("Ask again", "O"), R("Go on", "L")}}}),
       "1 1 1 1",
       "  1. Ask\n  2. Go\n> Ask\n  1. Go\n> Go\n"
       "  1. Ask again\n  2. Go on\n> Ask again\n  1. Go on\n> Go on\n-- The end.\n"},
      {"OnceGameSurvivesOnlyTheRestartThatKeepsIt",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Secret", "G"), R("Go", "L")}}}), "1 1 R 1 r 1 1",
       "  1. Secret\n  2. Go\n> Secret\n  1. Go\n> Go\n-- The end.\n== restart\n"
       "  1. Go\n> Go\n-- The end.\n== restart\n"
       "  1. Secret\n  2. Go\n> Secret\n  1. Go\n> Go\n-- The end.\n"},
      {"OnceGameIsForgottenWhenStartingAgain",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Secret", "G"), R("Go", "L")}}}), "1 1 S 1 1",
       "  1. Secret\n  2. Go\n> Secret\n  1. Go\n> Go\n-- The end.\n== start\n"
       "  1. Secret\n  2. Go\n> Secret\n  1. Go\n> Go\n-- The end.\n"},
      {"OnceIsForgottenWhenTheOutermostBranchEndsAfterALinkReturnedIntoItsLoop",
       Doc({{"Start", {Menu("Ada", 1), Menu("Ada", 1)}}, {"Cave", {Menu("Ada", 2)}}},
           {{1, {R("Ask", "O"), R("Visit", "", "Cave"), R("Go", "L")}}, {2, {R("Back", "L")}}}),
       "1 1 1 2 1 2",
       "  1. Ask\n  2. Visit\n  3. Go\n> Ask\n  1. Visit\n  2. Go\n> Visit\n  1. Back\n> Back\n"
       "  1. Visit\n  2. Go\n> Go\n  1. Ask\n  2. Visit\n  3. Go\n> Ask\n  1. Visit\n  2. Go\n> Go\n-- The end.\n"},
      {"ConditionSwitchedOffStaysOffAcrossRestarts",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Ask", "", "", "knows"), R("Bribe", "", "", "rich"), R("Go", "L")}}}),
       "off:knows 2 2 r 2",
       "  1. Ask  [if knows]\n  2. Bribe  [if rich]\n  3. Go\n> Bribe\n  1. Bribe  [if rich]\n  2. Go\n> Go\n"
       "-- The end.\n== restart\n  1. Bribe  [if rich]\n  2. Go\n> Go\n-- The end.\n"},
  };
  for (LoopCase& c : cases) EXPECT_EQ(Play(c.document, c.actions), c.transcript) << c.name;

  DialoguePlayer player(cases[8].document);
  player.setCondition("knows", false);
  EXPECT_EQ(player.conditions(), (std::vector<PlayCondition>{{"knows", false, false}, {"rich", true, false}}));
}

// What the engine makes of texts, conditions, names and entities, shown as
// the game shows it.
TEST(DialoguePlayerTest, ShowsWhatTheEngineShows) {
  const std::vector<Character> cast = {
      {"Ada", "actor_ada"}, {"Mara", "keeper_mara"}, {"Narrator", "Game"}, {"Me", "self"}};
  LoopCase cases[] = {
      {"ConstantConditionsHaveTheEnginesValueAndCannotBeSwitched",
       Doc({{"Start", {Menu("Ada", 1)}}},
           {{1,
             {R("Off", "", "", "false"), R("Zero", "", "", " ( 0.0 ) "), R("No", "", "", "\"no\""),
              R("Null", "", "", "null"), R("On", "", "", "1"), R("Yes", "", "", "\"YES\""),
              R("Not off", "", "", "!false"), R("Knows", "", "", "knows"), R("Go", "L")}}}),
       "off:1 on:false off:knows 4 4",
       "  1. On  [if 1: always true]\n  2. Yes  [if \"YES\": always true]\n  3. Not off  [if !false: always true]\n"
       "  4. Knows  [if knows]\n  5. Go\n> Knows\n"
       "  1. On  [if 1: always true]\n  2. Yes  [if \"YES\": always true]\n  3. Not off  [if !false: always true]\n"
       "  4. Go\n> Go\n-- The end.\n"},
      {"EscapesInTextsResponsesAndSoundFiles",
       Doc({{"Start", {Talk("Mara", "Say ~\"hi~\"~nor ~~ not~", "voice\\~~m1.ogg"), Menu("Ada", 1)}}},
           {{1, {R("Go ~\"now~\"", "SL")}}}, cast),
       "1",
       "Mara: Say \"hi\"\nor ~ not~ [voice\\~m1.ogg]\n  1. Go \"now\"\n> Go \"now\"\nAda: Go \"now\"\n-- The end.\n"},
      {"StringTableTextsShowTheirRestAndNameTheSpeechFile",
       Doc({{"Start",
             {Talk("Mara", "/greet01/Welcome.~nSit."), Talk("Mara", "/greet02/Again.", "m2.ogg"),
              Talk("Mara", "/no key"), Talk("Mara", "~/x/y"), Menu("Ada", 1)}}},
           {{1, {R("/bye/Bye.", "SL")}}}, cast),
       "1",
       "Mara: Welcome.\nSit. [no sound file: the engine plays the speech file named after the key greet01]\n"
       "Mara: Again. [m2.ogg]\nMara: /no key\nMara: y [no sound file: the engine plays the speech file named after "
       "the key x]\n  1. Bye.\n> Bye.\nAda: Bye. [no sound file: the engine plays the speech file named after the key "
       "bye]\n-- The end.\n"},
      {"OnceIsKeyedByTheBranchNameWithoutCase",
       Doc({{"Start", {Menu("Ada", 1)}}, {"START", {Menu("Ada", 2)}}},
           {{1, {R("Ask", "O"), R("Visit", "", "START"), R("Go", "L")}}, {2, {R("Ask too", "O"), R("Back", "L")}}}),
       "1 1 1 2",
       "  1. Ask\n  2. Visit\n  3. Go\n> Ask\n  1. Visit\n  2. Go\n> Visit\n"
       "  1. Back\n> Back\n  1. Visit\n  2. Go\n> Go\n-- The end.\n"},
      {"EntitiesThatCannotTalk",
       Doc({{"Start", {Talk("Narrator", "Once upon a time."), Talk("Me", "Hm."), Menu("Me", 1)}}},
           {{1, {R("Bye", "SL")}}}, cast),
       "1",
       "(silent: Narrator speaks through Game, an engine object that cannot talk) Once upon a time.\n"
       "(silent: Me speaks through self, an engine object that cannot talk) Hm.\n"
       "  1. Bye\n> Bye\n(silent: Me speaks through self, an engine object that cannot talk) Bye\n-- The end.\n"},
  };
  for (LoopCase& c : cases) EXPECT_EQ(Play(c.document, c.actions), c.transcript) << c.name;

  DialoguePlayer player(cases[0].document);
  std::vector<PlayCondition> conditions = player.conditions();
  ASSERT_EQ(conditions.size(), 8u);
  EXPECT_EQ(conditions[0], (PlayCondition{"false", false, true}));
  EXPECT_EQ(conditions[4], (PlayCondition{"1", true, true}));
  EXPECT_EQ(conditions[7], (PlayCondition{"knows", true, false}));
}

// A string table plugged in: its entry for the key, compared as the table
// compares keys; the text's rest where it has none.
TEST(DialoguePlayerTest, StringTableEntriesReplaceTheRest) {
  DialogueDocument document = Doc({{"Start", {Talk("Mara", "/GREET01/Welcome."), Talk("Mara", "/other/Hm.")}}});
  PlayerOptions options;
  options.lookupString = [](std::string_view key) -> std::optional<std::string> {
    if (key == "GREET01") return "Willkommen.";
    return std::nullopt;
  };
  DialoguePlayer player(document, options);
  ASSERT_TRUE(player.start(0));
  EXPECT_EQ(player.step().text, "Willkommen.");
  PlayEvent second = player.step();
  EXPECT_EQ(second.text, "Hm.");
  EXPECT_EQ(second.speechKey, "other");
}

struct StopCase {
  const char* name;
  DialogueDocument document;
  std::string actions;
  const char* stop;  // the transcript's last line
  PlayPlace place;
};

TEST(DialoguePlayerTest, PlayStopsAndStaysStoppedWhereTheGameWouldBreak) {
  std::string hundredAnswers;
  for (int i = 0; i < DialoguePlayer::kMaxCallDepth; ++i) hundredAnswers += "1 ";
  StopCase cases[] = {
      {"EverythingUsedUp",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Ask", "O")}}}),
       "1",
       "!! Stopped: Start, line 1: Nothing can be offered here: every response of responseblock 1 is used up or "
       "switched off, so the game would wait here forever.",
       {0, 0, -1}},
      {"EmptyBlock",
       Doc({{"Start", {Talk("Ada", "Hm."), Menu("Ada", 1)}}}, {{1, {}}}),
       "",
       "!! Stopped: Start, line 2: Nothing can be offered here: responseblock 1 has no responses, so the game would "
       "wait here forever.",
       {0, 1, -1}},
      {"MissingLink",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Sail", "SL", "Ship")}}}),
       "1",
       "!! Stopped: Start, line 1: The response \"Sail\" links to the branch \"Ship\", which does not exist: the "
       "script would not compile.",
       {0, 0, 0}},
      {"MissingBlock",
       Doc({{"Start", {Menu("Ada", 7)}}}, {{1, {R("Go", "L")}}}),
       "",
       "!! Stopped: Start, line 1: No responseblock has the id 7: the export writes an empty response loop here, "
       "which never offers a response and never ends, so the game would hang here.",
       {0, 0, -1}},
      {"LineWithoutBlock",
       Doc({{"Start", {Menu("Ada", 0)}}}),
       "",
       "!! Stopped: Start, line 1: No responseblock has the id 0: the export writes an empty response loop here, "
       "which never offers a response and never ends, so the game would hang here.",
       {0, 0, -1}},
      {"OnlyConstantFalseResponses",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Go", "L", "", "false")}}}),
       "",
       "!! Stopped: Start, line 1: Nothing can be offered here: every response of responseblock 1 is used up or "
       "switched off, so the game would wait here forever.",
       {0, 0, -1}},
      {"CallsTooDeep",
       Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Again", "", "Start")}}}),
       hundredAnswers,
       "!! Stopped: Start, line 1: The response \"Again\" calls the branch \"Start\" while 100 branches are already "
       "running, none of them returning: a link cycle without a way out?",
       {0, 0, 0}},
  };
  for (StopCase& c : cases) {
    Session session(c.document);
    std::string transcript = session.play(c.actions);
    std::string last = transcript.substr(transcript.rfind('\n', transcript.size() - 2) + 1);
    EXPECT_EQ(last, std::string(c.stop) + "\n") << c.name;

    DialoguePlayer& player = session.player;
    size_t events = player.transcript().size();
    PlayEvent again = player.step();
    EXPECT_EQ(again.kind, PlayEventKind::Stop) << c.name;
    EXPECT_EQ(std::tie(again.place.branch, again.place.line, again.place.response),
              std::tie(c.place.branch, c.place.line, c.place.response))
        << c.name;
    EXPECT_FALSE(player.choose(0)) << c.name;
    EXPECT_EQ(player.transcript().size(), events) << c.name;
  }
}

struct EditCase {
  const char* name;
  DialogueDocument document;
  const char* actions;
  Edit edit;
  const char* transcript;
};

TEST(DialoguePlayerTest, EditsWhilePlayingAreReadAtTheNextStep) {
  auto blockOne = [](DialogueDocument& d) -> ResponseBlock& { return d.responseBlocks.slot(1); };
  EditCase cases[] = {
      {"ResponseblockLineDeletedWhileItsMenuWaits",
       Doc({{"Start", {Menu("Ada", 1), Talk("Mara", "After."), Talk("Mara", "Last.")}}}, {{1, {R("Go", "L")}}}), "E 1",
       [](DialogueDocument& d) {
         d.editBranch(0).lines.splice(0, 1, {});
         d.editBranch(0).lineCount = 2;
       },
       "  1. Go\n> Go\nMara: Last.\n-- The end.\n"},
      {"ResponseTextChangedWhileOffered", Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Go", "SL")}}}), "E 1",
       [&](DialogueDocument& d) { blockOne(d).responses.slot(0).text = "Leave"; },
       "  1. Go\n> Leave\nAda: Leave\n-- The end.\n"},
      {"OfferedResponseRemoved", Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Stay"), R("Go", "L")}}}), "E 2 1",
       [&](DialogueDocument& d) { blockOne(d).responses.splice(0, 1, {}); },
       "  1. Stay\n  2. Go\n?? The response \"Go\" is no longer in its block; the menu is offered again as it is "
       "now.\n  1. Go\n> Go\n-- The end.\n"},
      {"BlockFreedWhileItsMenuWaits", Doc({{"Start", {Menu("Ada", 1)}}}, {{1, {R("Go", "L")}}}), "E 1",
       [&](DialogueDocument& d) { blockOne(d).id = 0; },
       "  1. Go\n?? The response \"Go\" is no longer in its block; the menu is offered again as it is now.\n"
       "!! Stopped: Start, line 1: No responseblock has the id 1: the export writes an empty response loop here, "
       "which never offers a response and never ends, so the game would hang here.\n"},
      {"LinkedBranchDeletedWhileRunning",
       Doc({{"Start", {Menu("Ada", 1)}}, {"Cave", {Menu("Ada", 2), Talk("Mara", "Gone.")}}},
           {{1, {R("Visit", "", "Cave"), R("Go", "L")}}, {2, {R("Back", "L")}}}),
       "1 E 1 2",
       [](DialogueDocument& d) {
         d.editBranch(1) = DialogueBranch{};
         d.lastBranchIndex = 0;
       },
       "  1. Visit\n  2. Go\n> Visit\n  1. Back\n> Back\n  1. Visit\n  2. Go\n> Go\n-- The end.\n"},
  };
  for (EditCase& c : cases) EXPECT_EQ(Play(c.document, c.actions, c.edit), c.transcript) << c.name;
}

}  // namespace
}  // namespace tellwright
