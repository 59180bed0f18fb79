#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// The words of a text: its runs of bytes other than blanks, where every
// byte up to 0x20 (space, tab, CR, LF, ...) is a blank. "Don't - go!" has
// three words; the non-breaking space (0xA0) joins words.
int CountWords(std::string_view text);

// Words are counted in talkline and response texts without their
// string-table keys (tools/string_keys.h), which nobody says.

// What a character says. Spoken lines are talklines and the responses a
// character says (those with the say flag, in the block of a responseblock
// line naming the character, counted at every such line), as the recording
// script lists them once per real name.
struct CharacterStats {
  std::string realName;
  bool inList = false;       // false: named by lines but not in the character list
  int linesSpoken = 0;       // talklines and responses said
  int wordsSpoken = 0;       // their words
  int withoutSoundFile = 0;  // talklines without a sound file (responses never have one)

  friend bool operator==(const CharacterStats&, const CharacterStats&) = default;
};

struct BranchStats {
  int branch = 0;  // index
  std::string name;
  int lines = 0;      // lines in use, of every kind
  int responses = 0;  // responses of the blocks its responseblock lines use, each block once
  int words = 0;      // words of its talklines and of those responses

  friend bool operator==(const BranchStats&, const BranchStats&) = default;
};

struct DialogueTotals {
  int branches = 0;
  int lines = 0;             // sum over the branches
  int responses = 0;         // sum over the branches
  int words = 0;             // sum over the branches
  int linesSpoken = 0;       // every spoken line, with a character or without
  int withoutSoundFile = 0;  // every talkline without a sound file

  friend bool operator==(const DialogueTotals&, const DialogueTotals&) = default;
};

struct DialogueStats {
  // The character list's real names in list order (a name listed twice
  // once), then the names only lines use, in the order they first speak.
  // Lines without a character count in the totals only.
  std::vector<CharacterStats> characters;
  std::vector<BranchStats> branches;  // branches in use, in order
  DialogueTotals totals;
};

DialogueStats CountDialogue(const DialogueDocument& document);

// Counts document after document, each most often the one before with a
// branch or two changed: a branch's counts are kept while the branch and the
// blocks its lines run are the same (a copy of a document shares them), and
// only the character rows and the totals are added up afresh. The result is
// always CountDialogue's of the same document.
class StatsCache {
 public:
  StatsCache();
  ~StatsCache();
  StatsCache(const StatsCache&) = delete;
  StatsCache& operator=(const StatsCache&) = delete;

  // The cache keeps the document until the next one.
  DialogueStats count(std::shared_ptr<const DialogueDocument> document);
  // How many branches the last count() read (the others' counts were kept).
  int branchesCounted() const;

 private:
  friend DialogueStats CountDialogue(const DialogueDocument& document);
  struct State;
  DialogueStats run(const DialogueDocument& document, bool remember);

  std::unique_ptr<State> state_;
};

}  // namespace tellwright
