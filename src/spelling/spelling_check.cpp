#include "spelling/spelling_check.h"

#include <algorithm>
#include <map>

#include "export/document_index.h"

namespace tellwright {

bool WordJudge::known(const std::string& word) {
  auto found = answers_.find(word);
  if (found != answers_.end()) return found->second;
  bool answer = known_.contains(word) || checker_.knows(word);
  answers_.emplace(word, answer);
  return answer;
}

std::vector<TextWord> WordJudge::misspelled(std::vector<TextWord> words) {
  std::erase_if(words, [this](const TextWord& word) { return known(word.word); });
  return words;
}

namespace {

class MisspellingSearch {
 public:
  MisspellingSearch(const DialogueDocument& document, WordJudge& judge, const SpellingOptions& options)
      : document_(document), judge_(judge), options_(options), blockDone_(kBlockSlots, false) {}

  std::vector<Misspelling> run() {
    for (int b = 0; b < BranchesToVisit(document_); ++b) {
      const DialogueBranch& branch = document_.branch(b);
      for (int l = 0; l < LinesToVisit(branch); ++l) visitLine(b, l, branch.lines[l]);
    }
    for (int slot = 0; slot < kBlockSlots; ++slot)
      if (!blockDone_[slot] && document_.responseBlocks[slot].inUse()) visitBlock(slot, {});
    return std::move(found_);
  }

 private:
  void visitLine(int b, int l, const DialogueLine& line) {
    switch (KindOf(line.kind)) {
      case LineKind::Talk:
        add({.branch = b, .line = l}, SpokenWords(line.text));
        break;
      case LineKind::Remark:
        if (options_.remarks) add({.branch = b, .line = l}, RemarkWords(line.text));
        break;
      case LineKind::Response:
        if (std::optional<int> slot = FindBlockSlot(document_, line.blockId); slot && !blockDone_[*slot])
          visitBlock(*slot, {.branch = b, .line = l});
        break;
      default:
        break;
    }
  }

  void visitBlock(int slot, ProblemPlace user) {
    blockDone_[slot] = true;
    const ResponseBlock& block = document_.responseBlocks[slot];
    for (int r = 0; r < block.usedResponses(); ++r) {
      ProblemPlace place = user;
      place.blockSlot = slot;
      place.response = r;
      add(place, SpokenWords(block.responses[r].text));
    }
  }

  void add(const ProblemPlace& place, std::vector<TextWord> words) {
    for (TextWord& word : judge_.misspelled(std::move(words))) found_.push_back({place, std::move(word)});
  }

  const DialogueDocument& document_;
  WordJudge& judge_;
  const SpellingOptions& options_;
  std::vector<bool> blockDone_;
  std::vector<Misspelling> found_;
};

}  // namespace

std::vector<Misspelling> FindMisspellings(const DialogueDocument& document, WordJudge& judge,
                                          const SpellingOptions& options) {
  return MisspellingSearch(document, judge, options).run();
}

std::vector<Problem> SpellingNotes(const std::vector<Misspelling>& misspellings) {
  std::vector<Problem> notes;
  notes.reserve(misspellings.size());
  for (const Misspelling& misspelling : misspellings)
    notes.push_back({Severity::Note, misspelling.place, std::string(kSpellingRule),
                     "'" + misspelling.word.word + "' is not in the dictionary.",
                     "Correct the spelling, or add the word to the project dictionary.", ProblemField::Text});
  return notes;
}

std::vector<UnknownWord> UnknownWords(const std::vector<Misspelling>& misspellings) {
  std::map<std::string, std::vector<ProblemPlace>> byWord;
  for (const Misspelling& misspelling : misspellings) byWord[misspelling.word.word].push_back(misspelling.place);
  std::vector<UnknownWord> words;
  for (auto& [word, places] : byWord) words.push_back({word, std::move(places)});
  std::stable_sort(words.begin(), words.end(),
                   [](const UnknownWord& a, const UnknownWord& b) { return a.places.size() > b.places.size(); });
  return words;
}

}  // namespace tellwright
