#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "document/dialogue_document.h"
#include "lint/lint.h"

namespace tellwright::lint {

// A line of the document: branch and line index.
struct LineRef {
  int branch = -1;
  int line = -1;
};

// What the index of a lint run takes from one branch: enough to answer the
// questions other branches' rules ask, so that an unchanged branch need not
// be read again.
struct BranchSummary {
  struct Spoken {
    Text character;
    int line = -1;
  };
  struct KeyedText {
    int line = -1;
    std::string foldedKey;
  };
  struct Loop {
    int line = -1;
    int32_t blockId = 0;
    Text character;
  };
  std::vector<Spoken> firstTalk;     // each character's first talkline, in line order
  std::vector<KeyedText> talkKeys;   // talklines with a string-table key, in line order
  std::vector<Loop> loops;           // responseblock lines, in line order
};
BranchSummary SummarizeBranch(const DialogueBranch& branch);

class LintRun;
class SoundFiles;

// The string-table keys of the texts the game shows (folded to one letter
// case), each with the first text that has it in document order and how
// many have it. Kept from run to run, it changes by the keys of what
// changed.
class KeyIndex {
 public:
  void add(const std::string& foldedKey, const ProblemPlace& place);
  // False when the first text with the key went while others still have
  // it: which of them comes first is not known here, so build afresh.
  bool remove(const std::string& foldedKey, const ProblemPlace& place);
  const ProblemPlace* first(const std::string& foldedKey) const;
  bool empty() const { return keys_.empty(); }
  void clear() { keys_.clear(); }

 private:
  struct Entry {
    ProblemPlace first;
    int count = 0;
  };
  std::unordered_map<std::string, Entry> keys_;
};

// The string-table keys of the responses a block offers, folded, with the
// response that has each.
std::vector<std::pair<std::string, int>> BlockKeys(const ResponseBlock& block);

// What the rules of one branch asked of the rest of the document, each
// question once with the answer it got. While every answer still holds and
// the branch is unchanged, the branch's problems are the same.
class BranchReads {
 public:
  enum class Question : uint8_t {
    BranchNamed,
    BranchNamedIgnoringCase,
    BranchName,
    SlotsWithId,
    Block,
    HasFreeBlockSlot,
    FirstUserOf,
    CharactersNamed,
    CharacterNamedIgnoringCase,
    CharacterName,
    FirstWithKey,
    UsesKeys,
    LinkedFromElsewhere,
    DescribePlace,
  };
  void clear();
  // Where to put the answer to a question not asked before; null when it was.
  std::string* add(Question question, std::string_view text, int64_t number);
  // True when every answer is still the same. The first texts with a key
  // are asked again only for the keys in `changedKeys` (folded): the others
  // kept theirs; all of them when it is null.
  bool holdIn(const LintRun& run, const std::unordered_set<std::string>* changedKeys) const;

 private:
  struct Read {
    Question question;
    std::string text;
    int64_t number;
    std::string answer;
  };
  std::vector<Read> reads_;
  std::unordered_set<std::string> asked_;               // question, number and text of each read
  std::unordered_map<std::string, std::string> keys_;  // FirstWithKey: folded key -> answer
};

// What one lint run knows about the document, built once before the rules
// run from the branches' summaries, and the problems they find.
class LintRun {
 public:
  // `summaries` holds one summary per branch to visit and must outlive the
  // run, as must `keys`: every key of the document (the branches'
  // talklines, and the blocks' responses at their first user), which the
  // caller fills before the rules run.
  LintRun(const DialogueDocument& document, const LintOptions& options,
          const std::vector<const BranchSummary*>& summaries, const KeyIndex& keys);

  const DialogueDocument& document() const { return document_; }
  const LintOptions& options() const { return options_; }

  void add(Severity severity, const ProblemPlace& place, std::string_view rule, std::string message, std::string hint,
           ProblemField field = ProblemField::Record) {
    problems_.push_back({severity, place, std::string(rule), std::move(message), std::move(hint), field});
  }
  std::vector<Problem> takeProblems() { return std::exchange(problems_, {}); }

  // Every answer below that a rule gets is noted in `reads` from now on
  // (none when null), so that the answers can be checked again later.
  void noteReadsIn(BranchReads* reads) { reads_ = reads; }

  // The first branch with `name`, exactly or regardless of letter case; -1
  // when there is none.
  int branchNamed(std::string_view name) const;
  int branchNamedIgnoringCase(std::string_view name) const;
  // The name of another branch.
  const Text& branchName(int branch) const;

  // Every stored block slot whose id is `id`, whatever the id, as the
  // dialogue check examines them.
  const std::vector<int>& slotsWithId(int32_t id) const;
  // The block in `slot`.
  const ResponseBlock& block(int slot) const;
  // True when a block slot is still free, as a line with id 0 would get.
  bool hasFreeBlockSlot() const;

  // The slot of the block a responseblock line with `id` runs (the first slot
  // holding that id, as the exports take it); -1 when no block in use has it.
  int blockSlotOf(int32_t id) const;
  // The responseblock lines that run the block in `slot`, in document order.
  const std::vector<LineRef>& usersOf(int slot) const;
  // The first line, or an empty reference when no line uses the block.
  LineRef firstUserOf(int slot) const;

  // The characters with `realName`, in list order.
  const std::vector<int>& charactersNamed(std::string_view realName) const;
  // The first character whose real name equals `realName` regardless of
  // letter case; -1 when none.
  int characterNamedIgnoringCase(std::string_view realName) const;
  const Text& characterName(int character) const;
  // The first line a real name speaks in (a talkline, or a responseblock line
  // with a response said); an empty reference when it speaks nowhere.
  LineRef firstSpokenLine(std::string_view realName) const;

  // The first talkline or response text the game shows, in document order,
  // whose string-table key is `key` regardless of letter case; nullptr when
  // none has it.
  const ProblemPlace* firstWithKey(std::string_view key) const;
  // True when some talkline or response text has a string-table key.
  bool usesKeys() const;

  // True when some response links to branch `index` from a loop of another
  // branch.
  bool linkedFromElsewhere(int index) const;

  // DescribePlace of a place elsewhere in the document.
  std::string describe(const ProblemPlace& place) const;

 private:
  friend class BranchReads;
  // The answer to `question` as noted: the same answer, the same text.
  std::string answer(BranchReads::Question question, std::string_view text, int64_t number) const;
  void note(BranchReads::Question question, std::string_view text, int64_t number) const;

  int slotRun(int32_t id) const;  // blockSlotOf, unnoted
  int findBranch(std::string_view name) const;
  int findBranchIgnoringCase(std::string_view name) const;
  const std::vector<int>& findSlots(int32_t id) const;
  const std::vector<int>& findCharacters(std::string_view realName) const;
  int findCharacterIgnoringCase(std::string_view realName) const;

  const DialogueDocument& document_;
  const LintOptions& options_;
  std::vector<Problem> problems_;
  BranchReads* reads_ = nullptr;

  std::unordered_map<std::string_view, int> branchByName_;
  std::unordered_map<std::string, int> branchByFoldedName_;
  std::unordered_map<int32_t, std::vector<int>> slotsById_;
  std::vector<std::vector<LineRef>> users_;  // per block slot
  std::unordered_map<std::string_view, std::vector<int>> charactersByName_;
  std::unordered_map<std::string_view, LineRef> firstSpoken_;
  std::vector<bool> linkedFromElsewhere_;  // per branch
  std::vector<signed char> blockSaid_;     // per block slot: -1 unknown, 0, 1
  const KeyIndex& keys_;

  void indexBranch(int branch, const BranchSummary& summary);
  void indexFirstSpoken(int branch, const BranchSummary& summary);
};

// The run of responses a loop offers: those before the first one without text.
int ResponsesOffered(const ResponseBlock& block);

// True when some response offered by `block` has the say flag.
bool AnyOfferedResponseSaid(const ResponseBlock& block);

// `text` in single quotes, as the messages name things.
std::string Quoted(std::string_view text);

// The rule families, each called where its part of the document is visited.
void LintCharacters(LintRun& run);
void LintBranchName(LintRun& run, int branch);
void LintUnreachableBranch(LintRun& run, int branch);
void LintTalkline(LintRun& run, int branch, int line);
void LintResponseLine(LintRun& run, int branch, int line);
void LintUnusedBlocks(LintRun& run);
// Every rule of a branch and its lines, in line order; `sounds` null when
// the sound files are not looked for.
void LintBranch(LintRun& run, SoundFiles* sounds, int branch);
// Conflict markers a merge left: in a remark line, and among the `offered`
// responses of a block.
void LintConflictMarkerLine(LintRun& run, int branch, int line);
void LintConflictMarkerResponses(LintRun& run, const ResponseBlock& block, int offered, const ProblemPlace& at);

// Reports a text written into a string literal of the script that would end
// it early, escape something or exceed the engine's length; `what` names the
// text ("talkline's text"), `field` holds it.
void LintStringLiteral(LintRun& run, std::string_view text, const ProblemPlace& place, ProblemField field,
                       std::string_view what);

// Texts that look like UTF-8 are reported once, at the first such text of
// the file. Each branch is looked at right after its rules ran, while its
// texts are still in the processor's cache: on the largest projects a pass
// of its own would cost as much as all the other rules.
struct Utf8Sighting {
  ProblemPlace place;
  ProblemField field = ProblemField::Record;
  std::string_view what;  // names the text: a literal
  std::string sign;       // the first character that UTF-8 writes in several bytes
};
std::optional<Utf8Sighting> FirstUtf8InCharacters(const DialogueDocument& document);
std::optional<Utf8Sighting> FirstUtf8InBranch(const DialogueBranch& branch, int b);
// In the responses of every block in use, placed at the block's first user.
std::optional<Utf8Sighting> FirstUtf8InBlocks(const LintRun& run);
// The warning, put before every other problem.
void ReportUtf8(const Utf8Sighting& sighting, std::vector<Problem>& problems);

// Reports a talkline or response text's string-table key that a table
// cannot hold or that an earlier text has, and a text without a key in a
// project whose texts have keys; `what` names the text ("talkline's text").
void LintTextKey(LintRun& run, std::string_view text, const ProblemPlace& place, std::string_view what);

// Sound files looked up under the engine project's folder, each folder
// listed once.
class SoundFiles {
 public:
  explicit SoundFiles(const DialogueDocument& document, const LintOptions& options);
  // False when the rule is off or the engine project's folder is not here.
  bool active() const { return active_; }
  const std::string& folder() const { return folder_; }
  bool exists(std::string_view soundPath);
  // True when every folder listed so far lists the same names again.
  bool foldersUnchanged();

 private:
  // Hashes std::string and std::string_view alike, so looking up a view
  // makes no string.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  template <typename Value>
  using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

  // A folder's entries by their names folded to small letters, as the
  // engine compares them.
  struct Listing {
    bool exists = false;
    TextMap<std::string> byFoldedName;  // folded name -> the first such name
  };
  const Listing& list(const std::string& folder);
  Listing read(const std::string& folder) const;
  // The folder or file a path names, found part by part from the engine
  // project's folder; nothing when a part is missing.
  std::optional<std::string> resolve(std::string_view soundPath);

  FolderLookup lookup_;
  std::string folder_;
  bool active_ = false;
  TextMap<Listing> listings_;
  TextMap<const Listing*> folders_;  // a sound path's folder part as written -> its listing
  std::string folded_;               // scratch for the name looked up
};

void LintSoundFile(LintRun& run, SoundFiles& sounds, int branch, int line);

}  // namespace tellwright::lint
