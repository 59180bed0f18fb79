#include "tools/dialogue_stats.h"

#include <unordered_map>
#include <unordered_set>

#include "export/document_index.h"
#include "tools/string_keys.h"

namespace tellwright {

int CountWords(std::string_view text) {
  // Counts the bytes that start a word, without a branch per byte: texts
  // are many and their blanks fall anywhere.
  int words = 0;
  bool blankBefore = true;
  for (char c : text) {
    bool blank = static_cast<unsigned char>(c) <= 0x20;
    words += static_cast<int>(blankBefore & !blank);
    blankBefore = blank;
  }
  return words;
}

namespace {

// What a branch adds to the statistics.
struct BranchCount {
  struct Speaker {
    std::string realName;
    int linesSpoken = 0;
    int wordsSpoken = 0;
    int withoutSoundFile = 0;
  };
  bool done = false;  // counted in a run that remembered it
  BranchStats row;
  std::vector<Speaker> speakers;  // in the order they first speak in the branch
  int linesSpoken = 0;            // with a character or without
  int withoutSoundFile = 0;
  // The block each responseblock line's id ran, as the count found it: the
  // same object while the cache keeps the document it was found in.
  std::vector<std::pair<int32_t, const ResponseBlock*>> blocksRun;

  bool blocksStillRun(const BlockIndex& blocks) const {
    for (const auto& [id, block] : blocksRun)
      if (blocks.firstWithId(id) != block) return false;
    return true;
  }
};

// What a block adds wherever it runs, counted once per block in a count: a
// block run by many lines is not read again at each.
class BlockCounter {
 public:
  struct Counts {
    int responses = 0;  // offered
    int words = 0;      // of them all
    int said = 0;       // with the say flag
    int saidWords = 0;  // of those
  };
  const Counts& countsOf(const ResponseBlock& block) {
    auto [at, isNew] = counts_.try_emplace(&block);
    if (!isNew) return at->second;
    Counts& counts = at->second;
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      int words = CountWords(SplitKeyedText(response.text).text);
      ++counts.responses;
      counts.words += words;
      if (FlagSet(response.sayResponse)) {
        ++counts.said;
        counts.saidWords += words;
      }
    }
    return counts;
  }

 private:
  std::unordered_map<const ResponseBlock*, Counts> counts_;
};

// The counts of one branch.
class BranchCounter {
 public:
  BranchCounter(const DialogueDocument& document, const BlockIndex& blocks, BlockCounter& blockCounts)
      : document_(document), blocks_(blocks), blockCounts_(blockCounts) {}

  BranchCount count(int b) {
    const DialogueBranch& branch = document_.branch(b);
    count_.row = {b, branch.name.str()};
    BranchStats& row = count_.row;
    std::unordered_set<const ResponseBlock*> counted;  // each block once in the branch
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      if (line.empty()) continue;
      ++row.lines;
      LineKind kind = KindOf(line.kind);
      if (kind == LineKind::Talk) {
        int words = CountWords(SplitKeyedText(line.text).text);
        row.words += words;
        spoken(line.character, words, line.soundFile.empty());
      } else if (kind == LineKind::Response) {
        const ResponseBlock* block = blocks_.firstWithId(line.blockId);
        count_.blocksRun.push_back({line.blockId, block});
        if (!block) continue;
        const BlockCounter::Counts& counts = blockCounts_.countsOf(*block);
        if (counted.insert(block).second) {
          row.responses += counts.responses;
          row.words += counts.words;
        }
        if (counts.said > 0) said(line.character, counts.said, counts.saidWords);
      }
    }
    count_.done = true;
    return std::move(count_);
  }

 private:
  void spoken(std::string_view realName, int words, bool talklineWithoutSound) {
    ++count_.linesSpoken;
    if (talklineWithoutSound) ++count_.withoutSoundFile;
    if (BranchCount::Speaker* row = speaker(realName)) {
      ++row->linesSpoken;
      row->wordsSpoken += words;
      if (talklineWithoutSound) ++row->withoutSoundFile;
    }
  }
  // `lines` responses said, `words` words in all.
  void said(std::string_view realName, int lines, int words) {
    count_.linesSpoken += lines;
    if (BranchCount::Speaker* row = speaker(realName)) {
      row->linesSpoken += lines;
      row->wordsSpoken += words;
    }
  }
  // The branch's row of a real name, added at the end when it is new; none for "".
  BranchCount::Speaker* speaker(std::string_view realName) {
    if (realName.empty()) return nullptr;
    auto [it, added] = speakerByName_.try_emplace(realName, count_.speakers.size());
    if (added) count_.speakers.push_back({std::string(realName)});
    return &count_.speakers[it->second];
  }

  const DialogueDocument& document_;
  const BlockIndex& blocks_;
  BlockCounter& blockCounts_;
  BranchCount count_;
  std::unordered_map<std::string_view, size_t> speakerByName_;  // views the document's names
};

// The branches' counts added up, each real name's row where it first speaks.
class Totaller {
 public:
  explicit Totaller(const DialogueDocument& document) {
    for (const Character& character : document.characters)
      if (CharacterStats* row = speaker(character.realName)) row->inList = true;
  }

  void add(const BranchCount& count) {
    DialogueTotals& totals = stats_.totals;
    ++totals.branches;
    totals.lines += count.row.lines;
    totals.responses += count.row.responses;
    totals.words += count.row.words;
    totals.linesSpoken += count.linesSpoken;
    totals.withoutSoundFile += count.withoutSoundFile;
    for (const BranchCount::Speaker& said : count.speakers) {
      CharacterStats* row = speaker(said.realName);
      row->linesSpoken += said.linesSpoken;
      row->wordsSpoken += said.wordsSpoken;
      row->withoutSoundFile += said.withoutSoundFile;
    }
    stats_.branches.push_back(count.row);
  }

  DialogueStats take() { return std::move(stats_); }

 private:
  // The row of a real name, added at the end when it is new; none for "".
  CharacterStats* speaker(std::string_view realName) {
    if (realName.empty()) return nullptr;
    auto [it, added] = rowByName_.try_emplace(std::string(realName), stats_.characters.size());
    if (added) stats_.characters.push_back({std::string(realName)});
    return &stats_.characters[it->second];
  }

  DialogueStats stats_;
  std::unordered_map<std::string, size_t> rowByName_;
};

}  // namespace

struct StatsCache::State {
  std::shared_ptr<const DialogueDocument> previous;  // keeps the blocks the counts name alive
  std::vector<BranchCount> branches;                  // per branch index
  int counted = 0;
};

StatsCache::StatsCache() : state_(std::make_unique<State>()) {}
StatsCache::~StatsCache() = default;

int StatsCache::branchesCounted() const { return state_->counted; }

DialogueStats StatsCache::count(std::shared_ptr<const DialogueDocument> document) {
  DialogueStats stats = run(*document, true);
  state_->previous = std::move(document);
  return stats;
}

DialogueStats StatsCache::run(const DialogueDocument& document, bool remember) {
  State& state = *state_;
  state.counted = 0;
  const BlockIndex blocks(document);
  const int branches = BranchesToVisit(document);
  state.branches.resize(branches);
  Totaller totaller(document);
  BlockCounter blockCounts;
  for (int b = 0; b < branches; ++b) {
    BranchCount& entry = state.branches[b];
    const bool same = remember && state.previous && entry.done &&
                      document.branches.sharesSlot(state.previous->branches, b) && entry.blocksStillRun(blocks);
    if (!same) {
      entry = BranchCounter(document, blocks, blockCounts).count(b);
      ++state.counted;
    }
    totaller.add(entry);
  }
  return totaller.take();
}

DialogueStats CountDialogue(const DialogueDocument& document) { return StatsCache().run(document, false); }

}  // namespace tellwright
