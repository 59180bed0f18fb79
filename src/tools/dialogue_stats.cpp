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

// The statistics being gathered, with each real name's row.
class Counter {
 public:
  explicit Counter(const DialogueDocument& document) : document_(document), blocks_(document) {
    for (const Character& character : document.characters)
      if (CharacterStats* row = speaker(character.realName)) row->inList = true;
  }

  DialogueStats run() {
    for (int b = 0; b < BranchesToVisit(document_); ++b) branch(b);
    return std::move(stats_);
  }

 private:
  void branch(int b) {
    const DialogueBranch& branch = document_.branch(b);
    BranchStats row{b, branch.name.str()};
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
        if (!block) continue;
        const BlockCounts& counts = countsOf(*block);
        if (counted.insert(block).second) {
          row.responses += counts.responses;
          row.words += counts.words;
        }
        if (counts.said > 0) spoken(line.character, counts.said, counts.saidWords);
      }
    }
    DialogueTotals& totals = stats_.totals;
    ++totals.branches;
    totals.lines += row.lines;
    totals.responses += row.responses;
    totals.words += row.words;
    stats_.branches.push_back(std::move(row));
  }

  void spoken(std::string_view realName, int words, bool talklineWithoutSound) {
    ++stats_.totals.linesSpoken;
    if (talklineWithoutSound) ++stats_.totals.withoutSoundFile;
    if (CharacterStats* row = speaker(realName)) {
      ++row->linesSpoken;
      row->wordsSpoken += words;
      if (talklineWithoutSound) ++row->withoutSoundFile;
    }
  }
  // `lines` responses said, `words` words in all.
  void spoken(std::string_view realName, int lines, int words) {
    stats_.totals.linesSpoken += lines;
    if (CharacterStats* row = speaker(realName)) {
      row->linesSpoken += lines;
      row->wordsSpoken += words;
    }
  }

  // What a block adds wherever it runs, counted once per block: a block run
  // by many lines is not read again at each.
  struct BlockCounts {
    int responses = 0;  // offered
    int words = 0;      // of them all
    int said = 0;       // with the say flag
    int saidWords = 0;  // of those
  };
  const BlockCounts& countsOf(const ResponseBlock& block) {
    auto [at, isNew] = blockCounts_.try_emplace(&block);
    if (!isNew) return at->second;
    BlockCounts& counts = at->second;
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

  // The row of a real name, added at the end when it is new; none for "".
  CharacterStats* speaker(std::string_view realName) {
    if (realName.empty()) return nullptr;
    auto [it, added] = rowByName_.try_emplace(realName, stats_.characters.size());
    if (added) stats_.characters.push_back({std::string(realName)});
    return &stats_.characters[it->second];
  }

  const DialogueDocument& document_;
  BlockIndex blocks_;
  DialogueStats stats_;
  std::unordered_map<std::string_view, size_t> rowByName_;  // views the document's names
  std::unordered_map<const ResponseBlock*, BlockCounts> blockCounts_;
};

}  // namespace

DialogueStats CountDialogue(const DialogueDocument& document) { return Counter(document).run(); }

}  // namespace tellwright
