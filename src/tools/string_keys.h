#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"
#include "editing/change_scope.h"
#include "editing/edit_result.h"
#include "lint/lint.h"

namespace tellwright {

// String-table keys in the project's texts. The engine reads a script text
// "/KEY/rest" as "the table's entry KEY, or rest when the table has none"
// (export/engine_text.h), so a key lives in the text itself, as the engine
// reads it, and every file and export stays as it is. Only talkline texts
// and response texts get keys: remarks, codelines, conditions and sound
// files are never shown as dialogue.

// A stored text split at its key. Without a key, `key` is empty and `text`
// is the whole text.
struct KeyedText {
  bool keyed = false;     // the text starts with "/KEY/"
  std::string_view key;   // as written between the two '/'
  std::string_view text;  // what the text says: everything after the key
  // Where `text` starts in the stored text (0 without a key), for mapping
  // positions between the stored text and the text shown without its key.
  size_t keyLength = 0;
};
KeyedText SplitKeyedText(std::string_view stored);

// The stored text after the text shown without its key was edited to
// `shown`: the old text's key (if it had one) stays in front.
std::string WithKeptKey(std::string_view oldStored, std::string_view shown);

// "/" + key + "/" + text.
std::string KeyedTextOf(std::string_view key, std::string_view text);

// Prefixes of the keys this program gives: upper-case letters A-Z, digits
// and '_', at least one character. A key is the prefix and a number of at
// least four digits: "LIGHTHOUSE0001".
bool IsValidKeyPrefix(std::string_view prefix);
inline constexpr std::string_view kInvalidPrefixMessage =
    "A key prefix may hold only upper-case letters A-Z, digits and '_', and must not be empty.";
// The prefix for a project saved as `projectPath`: its file name without the
// extension, upper-cased, with '_' for every run of other characters
// ("my intro-2.tlwdlg" gives "MY_INTRO_2"); "TEXT" for an unsaved project or
// a name without a letter or digit.
std::string DefaultKeyPrefix(std::string_view projectPath);
std::string KeyWithNumber(std::string_view prefix, long long number);

// The highest number of a key "PREFIX" + digits in any talkline or response
// text the project file holds (letter case of the prefix ignored, as the
// engine compares keys); 0 when there is none.
long long HighestKeyNumber(const DialogueDocument& document, std::string_view prefix);

// True when some talkline or response text the project file holds has a
// key: the project is localised through string tables.
bool ProjectUsesKeys(const DialogueDocument& document);

// ProjectUsesKeys() asked again and again of one document as it is edited:
// only the branches and blocks written since the last answer are looked at
// again (those not written are still shared with the copy kept from then).
class KeyUseWatch {
 public:
  bool usesKeys(const DialogueDocument& document);

 private:
  SharedSlotTable<DialogueBranch, kBranchSlots> branches_;
  SharedSlotTable<ResponseBlock, kBlockSlots> blocks_;
  std::vector<bool> branchUses_;
  std::vector<bool> blockUses_;
};

// A talkline text or response text as the game shows it.
struct KeyableText {
  // Talkline: branch, line. Response: blockSlot, response, and the first
  // line that runs the block (branch, line), as the lint names places.
  ProblemPlace place;
  bool response = false;
  bool keyed = false;
  std::string key;        // as written; "" without one
  std::string text;       // as written, without the key (Windows-1252, script escapes unread)
  std::string character;  // the talkline's character, or the responseblock line's for a response
};

// Every talkline text and every response text the game can show, in
// document order: branch by branch, line by line, the responses of a block
// right after the first line that runs it (blocks no line runs are never
// shown and are left out, as are responses after the first one without
// text). Empty talkline texts are left out: there is nothing to translate.
std::vector<KeyableText> ListKeyableTexts(const DialogueDocument& document);
// The same, only those with a key.
std::vector<KeyableText> ListKeyedTexts(const DialogueDocument& document);

struct KeyAssignment {
  int assigned = 0;
  std::string firstKey;  // the first and last key given, "" when none
  std::string lastKey;
  EditResult edit;
};

// Gives every text of ListKeyableTexts that has no key one, in document
// order: `prefix` and the numbers after the highest in use with that prefix
// (HighestKeyNumber), so a key is never given twice, even after keys were
// deleted or a gap was left. Refused, changing nothing, for a prefix that
// is not valid. Changes nothing when every text has a key.
KeyAssignment AssignKeys(DialogueDocument& document, std::string_view prefix);

// The parts AssignKeys may change, for the editor's undo step: the branches
// with a talkline to key, and the blocks (the one slot when only one block
// has responses to key).
ChangeScope ReachOfAssignKeys(const DialogueDocument& document);

struct PasteRekeying {
  std::vector<DialogueLine> lines;  // the lines to paste
  int rekeyed = 0;                  // talklines given a new key
};

// Lines about to be pasted into `document`, with a new key for every
// talkline whose key the project (or an earlier line of `lines`) already
// has, letter case ignored: a pasted copy must not share its original's
// key. A new key keeps the old one's prefix (the key without its last
// digits) when that holds only letters A-Z and a-z, digits and '_', else
// takes `fallbackPrefix`, and is numbered after the highest in use with it. Lines whose key is new to the
// project (lines cut and pasted back) keep it.
PasteRekeying RekeyForPaste(const DialogueDocument& document, std::vector<DialogueLine> lines,
                            std::string_view fallbackPrefix);

}  // namespace tellwright
