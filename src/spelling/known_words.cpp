#include "spelling/known_words.h"

#include "base/cp1252_case.h"
#include "export/document_index.h"
#include "spelling/text_words.h"

namespace tellwright {

namespace {

// The word without a possessive "'s" (or "’s"); the word itself without one.
std::string_view WithoutPossessive(std::string_view word) {
  if (word.size() > 2 && (word.back() == 's' || word.back() == 'S')) {
    char apostrophe = word[word.size() - 2];
    if (apostrophe == '\'' || apostrophe == '\x92') return word.substr(0, word.size() - 2);
  }
  return word;
}

}  // namespace

void KnownWords::add(std::string_view word) {
  if (!word.empty()) folded_.insert(FoldedCase1252(word));
}

void KnownWords::add(const std::vector<std::string>& words) {
  for (const std::string& word : words) add(word);
}

void KnownWords::addNamesOf(const DialogueDocument& document) {
  for (const Character& character : document.characters) {
    add(NameWords(character.realName));
    add(NameWords(character.entityName));
  }
  for (int b = 0; b < BranchesToVisit(document); ++b) add(NameWords(document.branch(b).name));
}

bool KnownWords::contains(std::string_view word) const {
  if (folded_.empty()) return false;
  if (folded_.count(FoldedCase1252(word))) return true;
  std::string_view stem = WithoutPossessive(word);
  return stem.size() != word.size() && folded_.count(FoldedCase1252(stem));
}

}  // namespace tellwright
