#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright {

// What playing a dialogue brings next.
enum class PlayEventKind {
  Said,    // a character says a text (a talkline, or a response with the say flag)
  Silent,  // a text nobody says: no character, one not in the list, or one whose entity cannot talk
  Code,    // a codeline, shown and not run
  Remark,  // a remark
  Menu,    // responses offered; the player waits for choose()
  Chosen,  // the response the writer chose
  End,     // the dialogue ended as the game would end it
  Stop,    // the game would break here; text says why
};

// Where in the document an event comes from, for "go to line".
struct PlayPlace {
  int branch = -1;    // branch index
  int line = -1;      // line index in the branch
  int response = -1;  // response index in the line's block, for menu entries, choices and said responses
};

// How the player takes a response's condition.
enum class ConditionKind {
  None,         // no condition: always offered
  Switch,       // reads the game's state: taken to hold until the writer switches it off
  AlwaysTrue,   // a constant the engine takes as true: always offered, not switchable
  AlwaysFalse,  // a constant the engine takes as false: never offered, not switchable
};
ConditionKind KindOfCondition(std::string_view condition);

struct MenuEntry {
  int response = 0;       // index of the response in its block: its id in the script
  std::string text;       // as the game shows it
  std::string condition;  // as written; "" when there is none
  ConditionKind conditionKind = ConditionKind::None;  // never AlwaysFalse: such a response is not offered
};

// A distinct condition text of the document's responses.
struct PlayCondition {
  std::string text;       // as written
  bool holds = true;      // taken to hold now
  bool constant = false;  // the engine's own value, which setCondition() does not change

  friend bool operator==(const PlayCondition&, const PlayCondition&) = default;
};

// Texts said, shown and offered are shown as the game gets them: the
// script's escapes read ("~n" a line break) and a "/KEY/rest" text as the
// string table's entry for KEY or, without one, as rest. Codelines and
// remarks are shown as written.
struct PlayEvent {
  PlayEventKind kind = PlayEventKind::End;
  PlayPlace place;
  std::string speaker;          // Said: the character's real name; Silent: the line's character
  std::string entity;           // Said: the character's WME entity name; Silent: one that cannot talk, or ""
  std::string text;             // the text said, the code, the remark, the chosen response, or why it stopped
  std::string soundFile;        // Said by a talkline: its sound file
  std::string speechKey;        // Said without a sound file, its text a string-table text: the key after
                                // which the engine names the speech file it plays
  std::vector<MenuEntry> menu;  // Menu: the responses offered, in order
};

// Why a Silent event says nothing, such as "Nell is not in the character
// list".
std::string SilenceReason(const PlayEvent& event);

// One line of plain text per event; a menu lists its entries numbered from
// 1. Remarks are left out when `withRemarks` is false.
std::string TranscriptText(const std::vector<PlayEvent>& events, bool withRemarks = true);

// The string table's entry for a key, or nothing when it has none. The key
// is given as written; the engine compares keys without letter case.
using StringLookup = std::function<std::optional<std::string>(std::string_view key)>;

struct PlayerOptions {
  // The string table the game has loaded; empty for none, so that a
  // "/KEY/rest" text shows rest.
  StringLookup lookupString;
};

// Plays a dialogue the way the exported WME script runs it: a branch's lines
// in order; a talkline said by every character of the list with its real
// name; a responseblock line opening a dialogue branch named after the
// branch it is in and looping over its response menu until a response
// leaves the loop; a link calling the linked branch, which returns into the
// loop. Once responses are not offered again until the outermost open
// dialogue branch ends, Once Game responses not again in this play session;
// both are keyed by the response's index and the innermost open branch's
// name regardless of letter case, as the engine keys them. A condition the
// engine evaluates without the game (a constant such as false or 1) has the
// engine's value; every other distinct condition text holds until the
// writer switches it off. Codelines are shown, not run.
//
// The document is read as it is at each step, so edits made while playing
// show on the next step; it must outlive the player.
class DialoguePlayer {
 public:
  static constexpr int kMaxCallDepth = 100;

  explicit DialoguePlayer(const DialogueDocument& document, PlayerOptions options = {});

  // Starts afresh at line `line` of branch `branch` (Once Game choices are
  // kept only by restart()). Refused when there is no such branch.
  Status start(int branch, int line = 0);
  // Index of the first branch of that name, or -1.
  int findBranch(std::string_view name) const;

  // The next event. While a menu waits for a choice it is returned again;
  // after the end or a stop, that event is returned again.
  PlayEvent step();
  // Chooses entry `entry` (0-based) of the menu that waits. Refused when
  // no menu waits or there is no such entry.
  Status choose(int entry);
  bool waitingForChoice() const { return waiting_; }
  bool finished() const { return finished_; }

  // Starts again where the last start() did. Once Game choices survive only
  // when `keepGameState` is set; condition switches always do.
  void restart(bool keepGameState);

  // Every distinct condition text of the document's responses, in the order
  // first found, whether it is taken to hold and whether it is constant.
  std::vector<PlayCondition> conditions() const;
  // Switches a condition on or off; a constant one keeps its value.
  void setCondition(const std::string& condition, bool holds);

  // Every event step() has returned since the last start or restart, menus
  // (once per offer) and choices included.
  const std::vector<PlayEvent>& transcript() const { return transcript_; }

 private:
  // Where a branch's run is: going through its lines, or in the response
  // loop of the responseblock line at `line`.
  enum class Stage {
    Lines,      // runs line `line` next
    Offer,      // the loop offers its menu next
    Waiting,    // the menu waits for choose()
    Handle,     // the chosen response's say, link and leave run next
    AfterCall,  // the linked branch returned; leave the loop or offer again
  };

  // One running branch: the start branch, or one called by a link.
  struct Frame {
    int branch = 0;
    int line = 0;
    Stage stage = Stage::Lines;
    // The loop, while one runs. Taken from the responseblock line when the
    // loop opens and again at every offer while that line is still a
    // responseblock line, so edits to it show but its removal does not
    // pull the loop out from under the player.
    int32_t blockId = 0;
    Text speaker;         // the responseblock line's character
    Text dialogueBranch;  // the name the loop opened its dialogue branch with
    int chosen = -1;             // index of the chosen response
    Response choice;             // the chosen response as it was when chosen
    bool leaveAfterCall = false;
  };

  struct OnceKey {
    int response;
    std::string branch;  // letter case folded
    friend auto operator<=>(const OnceKey&, const OnceKey&) = default;
  };

  // A text as the game shows it, and its string-table key ("" for none).
  struct GameText {
    std::string shown;
    std::string key;
  };
  GameText gameText(std::string_view written) const;
  bool holds(const Response& response) const;
  OnceKey onceKey(int response) const;

  static Frame EnteredAt(int branch, int line);
  void begin();
  void runOnce();
  void runLine(Frame& frame);
  void refreshLoop(Frame& frame) const;
  void offerMenu(Frame& frame);
  void handleChoice(Frame& frame);
  void closeLoop(Frame& frame);
  void returnFromBranch();
  void say(std::string_view speaker, std::string_view text, std::string_view soundFile, PlayPlace place);
  void post(PlayEvent event);
  void finish(PlayEvent event);
  void stopAt(const Frame& frame, int response, const std::string& why);
  std::string branchName(const Frame& frame) const;
  bool menuOpen() const;
  std::string innermostDialogueBranch() const;
  const ResponseBlock* findBlock(int32_t id) const;

  const DialogueDocument& document_;
  PlayerOptions options_;
  int startBranch_ = -1;
  int startLine_ = 0;
  std::vector<Frame> frames_;
  std::vector<std::string> openDialogueBranches_;  // Game.StartDlgBranch names, innermost last
  std::deque<PlayEvent> queue_;                    // events made but not yet returned by step()
  PlayEvent menu_;                                 // the menu that waits
  PlayEvent final_;                                // the End or Stop returned once finished
  bool waiting_ = false;   // a menu has been returned and waits for choose()
  bool finished_ = false;  // the End or Stop has been returned
  bool over_ = false;      // the End or Stop has been made
  std::set<OnceKey> onceChosen_;
  std::set<OnceKey> onceGameChosen_;
  std::set<std::string, std::less<>> switchedOff_;
  std::vector<PlayEvent> transcript_;
};

}  // namespace tellwright
