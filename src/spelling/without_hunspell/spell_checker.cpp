// The spell checker of a build without Hunspell (the Windows cross-build):
// no dictionary can be opened, so the editor's Spelling menu offers "None"
// only and nothing is ever marked.
#include "spelling/spell_checker.h"

namespace tellwright {

struct SpellChecker::Engine {};

SpellCheckerOpening SpellChecker::Open(const InstalledDictionary& dictionary) {
  return {Status::Error("This build of Tellwright has no spelling check (Hunspell), so the dictionary " +
                       dictionary.language + " cannot be used."),
          nullptr};
}

SpellChecker::SpellChecker(std::string language, std::unique_ptr<Engine> engine)
    : language_(std::move(language)), engine_(std::move(engine)) {}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::knows(std::string_view) const { return true; }

std::vector<std::string> SpellChecker::suggestions(std::string_view, size_t) const { return {}; }

}  // namespace tellwright
