#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/dialogue_document.h"
#include "lint/lint.h"
#include "spelling/known_words.h"
#include "spelling/spell_checker.h"
#include "spelling/text_words.h"

namespace tellwright {

// Whether words are spelt right: known to the project, else to the
// dictionary. Each different word is asked of the dictionary once, so a
// project that says "the" a million times asks once. One judge per thread.
class WordJudge {
 public:
  WordJudge(const SpellChecker& checker, const KnownWords& known) : checker_(checker), known_(known) {}
  bool known(const std::string& word);
  // The words of `words` that are not known.
  std::vector<TextWord> misspelled(std::vector<TextWord> words);

 private:
  const SpellChecker& checker_;
  const KnownWords& known_;
  std::unordered_map<std::string, bool> answers_;
};

struct SpellingOptions {
  bool remarks = false;  // remarks are the writers' own notes, not the game's
};

// A word the judge does not know, and where: a line's text (branch, line) or
// a response's (block slot, response and, when a line runs the block, the
// first such line), as the lint places its problems.
struct Misspelling {
  ProblemPlace place;
  TextWord word;
};

// Every misspelled word of the texts a player reads (talklines and
// responses, and remarks when asked for), in the lint's order: branch by
// branch, line by line, a block's responses after the first line that runs
// it, then the blocks no line runs. Codelines, conditions, links and sound
// files are never words.
std::vector<Misspelling> FindMisspellings(const DialogueDocument& document, WordJudge& judge,
                                          const SpellingOptions& options = {});

inline constexpr std::string_view kSpellingRule = "spelling";

// A "spelling" note per misspelling, in the text that holds it.
std::vector<Problem> SpellingNotes(const std::vector<Misspelling>& misspellings);

// An unknown word with how often and where it stands.
struct UnknownWord {
  std::string word;  // Windows-1252
  std::vector<ProblemPlace> places;
};

// The different unknown words, the most frequent first, then by their bytes.
std::vector<UnknownWord> UnknownWords(const std::vector<Misspelling>& misspellings);

}  // namespace tellwright
